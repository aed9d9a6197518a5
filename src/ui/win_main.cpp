// plaxet.exe: the form editor's main window, run until it is closed.
#include <windows.h>

#include "form/data_folder.h"
#include "form/form_document.h"
#include "output/document_settings.h"
#include "runtime/codepage.h"
#include "runtime/environment.h"
#include "runtime/system_fonts.h"
#include "ui/main_window.h"
#include "win/process.h"

namespace {

// The user's paper as the locale states it: A4, or letter for every other size.
plaxet::PaperSize userPaperSize() {
    DWORD size = 0;
    const int read =
        GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_IPAPERSIZE | LOCALE_RETURN_NUMBER,
                        reinterpret_cast<LPWSTR>(&size), sizeof size / sizeof(WCHAR));
    constexpr DWORD kA4 = 9; // DMPAPER_A4
    return read != 0 && size == kA4 ? plaxet::PaperSize::A4 : plaxet::PaperSize::Letter;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before any shell call: the document openers Show File may start need it.
    const plaxet::ComApartment com;
    plaxet::FormDocument form;
    plaxet::EditorState editor;
    plaxet::MainWindow main(form, editor);
    main.programFolder = plaxet::runningProgramFolder();
    main.knownFolders = plaxet::knownFolderPath;
    main.commandLine = plaxet::commandLineArguments();
    main.documentSettings.paper = userPaperSize();
    main.documentSettings.codePage = plaxet::codePageInUse();
    main.documentSettings.fontFiles = plaxet::documentFontFiles();
    main.documentSettings.findFonts = plaxet::systemFontsFor;
    main.documentSettings.archivalFonts = plaxet::archivalFontFiles();
    main.documentSettings.creationTime = plaxet::fixedCreationTime();
    plaxet::runMainWindow(main);
    return 0;
}
