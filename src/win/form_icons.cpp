#include "win/dpi.h"
#include "win/form_record.h"
#include "win/forms.h"

namespace plaxet {
namespace {

using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);

// An icon's size at `dpi`: the system's answer where it has one, else the
// 96-DPI size scaled.
int iconSize(int metric, int dpi) {
    static const auto forDpi = [] {
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<GetSystemMetricsForDpiFunction>(reinterpret_cast<void (*)()>(
                            GetProcAddress(user32, "GetSystemMetricsForDpi")))
                      : nullptr;
    }();
    if (forDpi)
        if (const int size = forDpi(metric, static_cast<UINT>(dpi)); size > 0) return size;
    return scaleToDpi(metric == SM_CXSMICON ? 16 : 32, dpi);
}

UniqueIcon loadIcon(LPCWSTR resource, int size) {
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), resource, IMAGE_ICON, size, size, 0)));
}

} // namespace

void applyFormIcons(FormRecord& form) {
    if (!form.iconResource) return;
    UniqueIcon small = loadIcon(form.iconResource, iconSize(SM_CXSMICON, form.dpi));
    if (!small) return;
    SendMessageW(form.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    form.smallIcon = std::move(small); // the one it replaced is no longer shown
    if (!form.bigIcon) return;
    if (UniqueIcon large = loadIcon(form.iconResource, iconSize(SM_CXICON, form.dpi))) {
        SendMessageW(form.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(large.get()));
        form.largeIcon = std::move(large);
    }
}

void FormSetIcon(HWND form, LPCWSTR resource, bool big) {
    FormRecord* record = findFormRecord(form);
    if (!record) return;
    record->iconResource = resource;
    record->bigIcon = big;
    applyFormIcons(*record);
}

} // namespace plaxet
