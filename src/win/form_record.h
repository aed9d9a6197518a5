#pragma once
// What the toolkit keeps for each form and its controls. Internal to the
// toolkit: the rest of the program names forms by window and controls by id.
#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "win/controls.h"
#include "win/forms.h"
#include "win/handles.h"

namespace plaxet {

struct ControlRecord {
    HWND window = nullptr;
    int id = kNoId;
    ControlKind kind = ControlKind::Label;
    EventProcedure procedure;
    COLORREF textColor = kDefaultColor;
    COLORREF backgroundColor = kDefaultColor;
    UniqueBrush backgroundBrush; // made on first use for a solid background
    int font = 0;                // number in the font table; 0 for none of ours
    int leftMargin = -1;         // a text box's margins in layout pixels, -1 unset
    int rightMargin = -1;
};

struct FormRecord {
    HWND window = nullptr;
    HWND owner = nullptr;
    EventProcedure procedure; // empty until the form is shown
    UniqueAccelerators accelerators;
    intptr_t* resultSink = nullptr; // FormShowModal's result, while it runs
    bool modal = false;
    bool pixels = false;
    int dpi = 96;        // the DPI the form and its controls are laid out for
    bool ending = false; // inside FormEnd
    std::vector<std::unique_ptr<ControlRecord>> controls;
    ControlRecord self; // colours of the form window itself
    HWND statusBar = nullptr;
    LPCWSTR iconResource = nullptr; // FormSetIcon's, made again at another DPI
    bool bigIcon = false;
    UniqueIcon smallIcon; // the form's icons at its DPI
    UniqueIcon largeIcon;
};

// Loads the form's icons (FormSetIcon) at the sizes of its DPI and gives
// them to the window.
void applyFormIcons(FormRecord& form);

// The record of a toolkit form, or null for any other window.
FormRecord* findFormRecord(HWND form);
// The record of one of the form's controls, or null.
ControlRecord* findControlRecord(FormRecord& form, HWND control);

} // namespace plaxet
