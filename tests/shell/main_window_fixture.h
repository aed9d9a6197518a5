#pragma once
// A real main window for a test: made in a fresh data folder, shown without
// a loop of its own, driven with real messages and answered by a scripted
// responder.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "form/form_document.h"
#include "shell/scripted_responder.h"
#include "shell/window_driver.h"
#include "temp_folder.h"
#include "ui/main_window.h"

namespace plaxet::testing {

class MainWindowTest : public ::testing::Test {
  protected:
    void TearDown() override;

    // Creates, initialises and shows the window as the program does at start.
    void open(const std::string& commandLine = "");

    HWND control(int id) const { return GetDlgItem(window, id); }
    std::string text(int id) const;
    void setText(int id, const std::string& text);
    void click(int id);
    void command(int id, int notification = 0);
    // Moves the keyboard focus and runs messages until it has arrived.
    void focus(int id);
    bool isOpen() const { return IsWindow(window) != FALSE; }
    std::string title() const { return windowText(window); }
    DWORD styleOf(int id) const;
    // A form file with three items written by the core, for opening; with
    // `moreItems`, that many plain items follow them.
    std::string writeSampleForm(const std::string& name, int32_t formType = kReceipt,
                                int32_t moreItems = 0);

    TempFolder folder;
    FormDocument form;
    EditorState editor;
    ScriptedResponder responder;
    std::unique_ptr<MainWindow> main;
    HWND window = nullptr;
};

// A child control as placed in its form's client area.
struct PlacedControl {
    HWND control;
    RECT place;
};
// The form's child controls that `include` picks (given each with its
// place), each expected to lie within the client area and to overlap none
// of the others.
std::vector<PlacedControl> expectPlacedApart(HWND form,
                                             const std::function<bool(HWND, const RECT&)>& include);

// Whether a control is a group box, whose frame holds other controls.
bool isGroupBox(HWND control);

} // namespace plaxet::testing
