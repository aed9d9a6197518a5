#include "shell/main_window_fixture.h"

#include "form/form_file.h"
#include "ui/control_ids.h"
#include "win/controls.h"
#include "win/forms.h"

namespace plaxet::testing {

void MainWindowTest::TearDown() {
    if (IsWindow(window)) DestroyWindow(window);
}

void MainWindowTest::open(const std::string& commandLine) {
    main = std::make_unique<MainWindow>(form, editor);
    main->programFolder = folder.path().string() + "\\";
    main->knownFolders = [](int) { return std::string(); };
    main->commandLine = commandLine;
    window = createMainWindow(*main);
    ASSERT_NE(window, nullptr);
    FormShowModeless(window, mainWindowProcedure(*main));
    ASSERT_TRUE(pumpUntil(window, [this] { return GetForegroundWindow() == window; }));
}

std::string MainWindowTest::text(int id) const {
    return ControlGetText(window, id);
}

void MainWindowTest::setText(int id, const std::string& value) {
    // WM_SETTEXT, as typing would change the text: the box reports EN_CHANGE.
    ControlSetText(window, id, value);
}

void MainWindowTest::click(int id) {
    SendMessageW(control(id), BM_CLICK, 0, 0);
}

void MainWindowTest::command(int id, int notification) {
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(id, notification), 0);
}

void MainWindowTest::focus(int id) {
    SetFocus(control(id));
    ASSERT_TRUE(pumpUntil(window, [this, id] { return GetFocus() == control(id); }));
}

DWORD MainWindowTest::styleOf(int id) const {
    return static_cast<DWORD>(GetWindowLongW(control(id), GWL_STYLE));
}

std::string MainWindowTest::writeSampleForm(const std::string& name, int32_t formType,
                                            int32_t moreItems) {
    FormDocument sample;
    setFormDate(sample, "03/15/2024");
    sample.addresseeLines = {"Ann Smith", "12 Elm Street", "Springfield, IL 62701", "555-0100"};
    sample.formType = formType;
    const char* items[][3] = {
        {"03/01/2024", "Paint", "10"}, {"", "Brush", "2.5"}, {"", "Tax (10%)", ""}};
    for (size_t i = 0; i < 3; ++i) {
        editItem(sample, i + 1).date = items[i][0];
        editItem(sample, i + 1).description = items[i][1];
        editItem(sample, i + 1).cost = items[i][2];
    }
    sample.itemCount = 3;
    for (int32_t k = 1; k <= moreItems; ++k) {
        Item& item = editItem(sample, sample.itemCount + 1);
        item.description = "Item " + std::to_string(k);
        item.cost = std::to_string(k);
        ++sample.itemCount;
    }
    sample.notes = "Thank you\r\nSee you soon";
    const std::string path = folder.file(name);
    const ReplaceResult written = writeFormFile(sample, path);
    EXPECT_TRUE(written.ok) << written.error;
    return path;
}

std::vector<PlacedControl>
expectPlacedApart(HWND form, const std::function<bool(HWND, const RECT&)>& include) {
    RECT client{};
    GetClientRect(form, &client);
    std::vector<PlacedControl> placed;
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT place{};
        GetWindowRect(child, &place);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&place), 2);
        if (!include(child, place)) continue;
        const std::string name =
            std::to_string(GetDlgCtrlID(child)) + " \"" + windowText(child) + "\"";
        EXPECT_TRUE(place.left >= 0 && place.top >= 0 && place.right <= client.right &&
                    place.bottom <= client.bottom)
            << name << " lies outside the form";
        for (const PlacedControl& other : placed) {
            RECT common{};
            EXPECT_FALSE(IntersectRect(&common, &place, &other.place))
                << name << " overlaps " << GetDlgCtrlID(other.control) << " \""
                << windowText(other.control) << "\"";
        }
        placed.push_back({child, place});
    }
    return placed;
}

bool isGroupBox(HWND control) {
    wchar_t kind[32] = {};
    GetClassNameW(control, kind, 32);
    return std::wstring(kind) == L"Button" &&
           (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

} // namespace plaxet::testing
