#include "ui/sender_command.h"

#include "form/sender_file.h"
#include "ui/business_command.h"
#include "ui/sender_dialog.h"
#include "win/message_box.h"

namespace plaxet {

void editSender(MainWindow& main) {
    SenderAnswer answer = askSenderLines(
        main.window, main.form.senderLines, [&main] { main.editor.changed = true; },
        [&main](HWND dialog) { editBusinessDetails(main, dialog); });
    if (!answer.lines) return;
    main.form.senderLines = std::move(*answer.lines);
    if (!answer.keep) return;
    const ReplaceResult saved = saveSenderLines(main.form, main.folders.senderFilePath);
    if (!saved.ok)
        MessageBox("The sender lines are kept for this session but were not saved:\r\n" +
                       saved.error,
                   "Save Data", MB_OK | MB_ICONSTOP);
}

} // namespace plaxet
