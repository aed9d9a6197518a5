// plaxet.exe: the form editor's main window, run until it is closed.
#include <windows.h>

#include "form/data_folder.h"
#include "form/form_document.h"
#include "win/process.h"
#include "ui/main_window.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before any shell call: the document openers Show File may start need it.
    const plaxet::ComApartment com;
    plaxet::FormDocument form;
    plaxet::EditorState editor;
    plaxet::MainWindow main(form, editor);
    main.programFolder = plaxet::runningProgramFolder();
    main.knownFolders = plaxet::knownFolderPath;
    main.commandLine = plaxet::commandLineArguments();
    plaxet::runMainWindow(main);
    return 0;
}
