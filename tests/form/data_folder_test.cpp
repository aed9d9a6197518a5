#include "form/data_folder.h"
#include "form/form_file.h"

#include "runtime/codepage.h"
#include "runtime/paths.h"
#include "runtime/text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#ifdef _WIN32
#include "runtime/file.h"
#include "runtime/wide.h"
#include "temp_folder.h"

#include <windows.h>
#endif

namespace plaxet {
namespace {

KnownFolderLookup fakeShell(std::map<int, std::string> folders) {
    return [folders](int id) {
        auto found = folders.find(id);
        return found == folders.end() ? std::string() : found->second;
    };
}

const KnownFolderLookup kWindowsShell = fakeShell(
    {{kProgramFilesFolderId, "C:\\Program Files"}, {kCommonAppDataFolderId, "C:\\ProgramData"}});

} // namespace

TEST(DataFolder, AnInstalledCopyKeepsItsDataInTheCommonFolder) {
    for (const char* started :
         {"C:\\Program Files\\Orvane\\plaxet\\", "c:\\PROGRAM FILES\\orvane\\PLAXET\\",
          "C:\\Program Files\\Orvane\\plaxet"}) {
        const DataFolders folders = findDataFolders(started, kWindowsShell, kWindowsPaths);
        EXPECT_EQ(folders.installFolder, "C:\\Program Files\\Orvane\\plaxet\\");
        EXPECT_EQ(folders.dataFolder, "C:\\ProgramData\\Orvane\\plaxet\\") << started;
        EXPECT_EQ(folders.senderFilePath, "C:\\ProgramData\\Orvane\\plaxet\\quillet.ini");
        EXPECT_EQ(folders.helpFilePath, "C:\\ProgramData\\Orvane\\plaxet\\plaxet.ahp");
    }
}

TEST(DataFolder, AnyOtherCopyKeepsItsDataBesideItself) {
    DataFolders folders = findDataFolders("D:\\Tools\\Plaxet\\", kWindowsShell, kWindowsPaths);
    EXPECT_EQ(folders.programFolder, "D:\\Tools\\Plaxet\\");
    EXPECT_EQ(folders.dataFolder, "d:\\tools\\plaxet\\");
    EXPECT_EQ(folders.senderFilePath, "d:\\tools\\plaxet\\quillet.ini");
    EXPECT_EQ(folders.helpFilePath, "d:\\tools\\plaxet\\plaxet.ahp");

    // Without a program-files folder no copy counts as installed.
    folders = findDataFolders("C:\\Program Files\\Orvane\\plaxet\\", fakeShell({}), kWindowsPaths);
    EXPECT_EQ(folders.installFolder, "");
    EXPECT_EQ(folders.dataFolder, "c:\\program files\\orvane\\plaxet\\");

    // An installed copy whose common folder cannot be found stays beside itself.
    folders =
        findDataFolders("C:\\Program Files\\Orvane\\plaxet\\",
                        fakeShell({{kProgramFilesFolderId, "C:\\Program Files"}}), kWindowsPaths);
    EXPECT_EQ(folders.dataFolder, "c:\\program files\\orvane\\plaxet\\");
}

TEST(DataFolder, LinuxPathsKeepTheirLetterCase) {
    DataFolders folders = findDataFolders("/home/Ann/Plaxet", fakeShell({}), kPosixPaths);
    EXPECT_EQ(folders.programFolder, "/home/Ann/Plaxet/");
    EXPECT_EQ(folders.dataFolder, "/home/Ann/Plaxet/");
    EXPECT_EQ(folders.senderFilePath, "/home/Ann/Plaxet/quillet.ini");

    const KnownFolderLookup shell =
        fakeShell({{kProgramFilesFolderId, "/opt"}, {kCommonAppDataFolderId, "/var/lib"}});
    folders = findDataFolders("/opt/Orvane/plaxet/", shell, kPosixPaths);
    EXPECT_EQ(folders.dataFolder, "/var/lib/Orvane/plaxet/");
    folders = findDataFolders("/OPT/orvane/plaxet/", shell, kPosixPaths);
    EXPECT_EQ(folders.dataFolder, "/OPT/orvane/plaxet/");
}

TEST(DataFolder, TheHostFindsItsOwnProgramFolder) {
    const std::string folder = runningProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_TRUE(endsFolder(folder.back()));
    const DataFolders folders = findDataFolders(folder, knownFolderPath);
    EXPECT_EQ(folders.helpFilePath, folders.dataFolder + "plaxet.ahp");
}

#ifdef _WIN32
namespace {

// The all-users data folder as the machine's settings name it, pointed
// elsewhere for as long as this lives and then put back.
class CommonDataFolderSetting {
  public:
    explicit CommonDataFolderSetting(const std::string& folder) {
        DWORD size = sizeof old_;
        saved_ = RegGetValueW(HKEY_LOCAL_MACHINE, kKey, kName, RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND,
                              nullptr, old_, &size) == ERROR_SUCCESS;
        changed_ = saved_ && set(toWide(folder));
    }
    ~CommonDataFolderSetting() {
        if (changed_) set(old_);
    }
    CommonDataFolderSetting(const CommonDataFolderSetting&) = delete;
    CommonDataFolderSetting& operator=(const CommonDataFolderSetting&) = delete;
    bool changed() const { return changed_; }

  private:
    static constexpr const wchar_t* kKey =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
    static constexpr const wchar_t* kName = L"Common AppData";
    static bool set(const std::wstring& value) {
        return RegSetKeyValueW(HKEY_LOCAL_MACHINE, kKey, kName, REG_EXPAND_SZ, value.c_str(),
                               static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) ==
               ERROR_SUCCESS;
    }
    wchar_t old_[MAX_PATH] = {};
    bool saved_ = false;
    bool changed_ = false;
};

} // namespace

// Known folders come through the wide API: an installed copy whose all-users
// data folder has a name the code page cannot spell keeps its data there.
TEST(DataFolder, AKnownFolderOutsideTheCodePageIsFoundWhole) {
    testing::TempFolder dir;
    const std::string common = dir.file("Łódź 王芳");
    ASSERT_TRUE(createFolder(common));
    const CommonDataFolderSetting setting(common);
    if (!setting.changed()) GTEST_SKIP() << "this process may not change the all-users folders";
    EXPECT_EQ(knownFolderPath(kCommonAppDataFolderId), common);
    const std::string programFiles = knownFolderPath(kProgramFilesFolderId);
    ASSERT_FALSE(programFiles.empty());
    EXPECT_EQ(findDataFolders(programFiles + "\\Orvane\\plaxet\\", knownFolderPath).dataFolder,
              common + "\\Orvane\\plaxet\\");
}
#endif

TEST(Paths, FolderAndFileNameParts) {
    EXPECT_EQ(folderPart("c:\\forms\\smith.plx", kWindowsPaths), "c:\\forms\\");
    EXPECT_EQ(fileNamePart("c:\\forms\\smith.plx", kWindowsPaths), "smith.plx");
    EXPECT_EQ(folderPart("c:smith.plx", kWindowsPaths), "c:");
    EXPECT_EQ(folderPart("c:/forms/smith.plx", kWindowsPaths), "c:/forms/");
    EXPECT_EQ(folderPart("smith.plx", kWindowsPaths), "");
    EXPECT_EQ(fileNamePart("smith.plx", kWindowsPaths), "smith.plx");
    // On Linux a colon or a backslash is part of a name.
    EXPECT_EQ(folderPart("/srv/a:b\\c.plx", kPosixPaths), "/srv/");
    EXPECT_EQ(fileNamePart("/srv/a:b\\c.plx", kPosixPaths), "a:b\\c.plx");
    EXPECT_EQ(withTrailingSeparator("/srv", kPosixPaths), "/srv/");
    EXPECT_EQ(withTrailingSeparator("/srv/", kPosixPaths), "/srv/");
    EXPECT_EQ(withTrailingSeparator("", kPosixPaths), "");
    EXPECT_TRUE(samePathText("C:\\A.PLX", "c:\\a.plx", kWindowsPaths));
    EXPECT_FALSE(samePathText("/A.plx", "/a.plx", kPosixPaths));
}

// Japanese, Chinese and Korean Windows hold some characters in two bytes,
// and the second may have the code of a capital letter: the katakana A is
// 0x83 0x41 in code page 932. scripts/test-codepage.sh runs this test with
// such a code page and sets PLAXET_DOUBLE_BYTE_CODE_PAGE, so there it can
// never pass by being skipped.
TEST(DoubleByteCodePage, KeepsItsOwnCharactersInTwoBytesAndTheirCase) {
    const uint32_t previous = codePageInUse();
    if (std::getenv("PLAXET_DOUBLE_BYTE_CODE_PAGE"))
        ASSERT_EQ(previous, 932u) << "the system's code page is not Japanese";
    else if (!useCodePage(932))
        GTEST_SKIP() << "code page 932 cannot be converted here";

    // Katakana "a-pu-ri" (an application), in UTF-8 and in code page 932.
    const std::string app = "\xE3\x82\xA2\xE3\x83\x97\xE3\x83\xAA";
    const std::string appInPage = "\x83\x41\x83\x76\x83\x8A";
    const CodePageText converted = toCodePage("ABC" + app);
    const std::string back = fromCodePage("ABC" + appInPage);
    FormDocument form;
    form.addresseeLines[0] = app;
    editItem(form, 1).description = "Q" + app;
    form.itemCount = 1;
    const std::string bytes = formFileBytes(form);
    FormDocument loaded;
    const bool read = readFormFileBytes(bytes, loaded).ok;
    ASSERT_TRUE(useCodePage(previous));

    EXPECT_TRUE(converted.exact);
    EXPECT_EQ(converted.bytes, "ABC" + appInPage);
    EXPECT_EQ(back, "ABC" + app);
    // The form file holds the code page's two-byte characters and no block.
    EXPECT_NE(bytes.find(appInPage), std::string::npos);
    EXPECT_EQ(bytes.size(), 10u + 4 + 2 + 6 + 3 * 2 + 4 + 3 * 4 + 7 + 4);
    ASSERT_TRUE(read);
    EXPECT_EQ(loaded.addresseeLines[0], app);
    EXPECT_EQ(itemAt(loaded, 1).description, "Q" + app);

    EXPECT_EQ(LCase("ABC" + app + "XYZ"), "abc" + app + "xyz");
    const DataFolders folders =
        findDataFolders("D:\\Tools\\" + app + "\\Plaxet", {}, kWindowsPaths);
    EXPECT_EQ(folders.dataFolder, "d:\\tools\\" + app + "\\plaxet\\");
    EXPECT_EQ(folders.helpFilePath, "d:\\tools\\" + app + "\\plaxet\\plaxet.ahp");
}

} // namespace plaxet
