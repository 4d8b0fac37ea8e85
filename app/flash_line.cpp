#include "app/flash_line.h"

#include "app/persistence_buttons.h"
#include "board/flash_baseline.h"
#include "compare/compare_window.h"
#include "infra/settings.h"
#include "infra/user_prompts.h"
#include "res/resource.h"
#include "ui/control_text.h"
#include "ui/main_window_handle.h"

#include <cwchar>
#include <string>

namespace {

constexpr COLORREF kUnsavedColour = RGB(192, 0, 0);
constexpr wchar_t kUnsavedCaption[] = L"Unsaved changes";
bool g_unsavedShown = false;

} // namespace

void ShowFlashLine(HWND mainWnd)
{
    const UnsavedCount count = UnsavedChanges();
    const std::wstring text = HasFlashBaseline() ? UnsavedText(count) : std::wstring();
    const bool unsaved = count.Total() > 0;
    if (SetControlTextIfChanged(mainWnd, IDC_FLASH_STATE, text.c_str()) || unsaved != g_unsavedShown)
        InvalidateRect(GetDlgItem(mainWnd, IDC_FLASH_STATE), nullptr, TRUE);
    g_unsavedShown = unsaved;
}

HBRUSH FlashLineColour(HWND, HDC dc, HWND control)
{
    if (GetDlgCtrlID(control) != IDC_FLASH_STATE || !g_unsavedShown)
        return nullptr;
    SetTextColor(dc, kUnsavedColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void OnFlashLineClicked(HWND) { OpenCompareWindow(CompareStart::BoardAgainstFlash); }

void OnCompareButton(HWND) { OpenCompareWindow(CompareStart::AsLeft); }

bool MayLoseUnsavedChanges(HWND mainWnd)
{
    const int changes = UnsavedChanges().Total();
    if (changes == 0 || GetSettingInt(L"stagetune", L"WarnUnsavedChanges", L"1") == 0)
        return true;
    wchar_t text[256];
    std::swprintf(text, std::size(text),
                  L"%d changes are not saved to flash and are lost when the board is switched off or reset. "
                  L"Save to flash first?",
                  changes);
    switch (ShowMessageBox(mainWnd, text, kUnsavedCaption, MB_YESNOCANCEL | MB_ICONWARNING)) {
    case IDYES: OnSaveToFlashButton(mainWnd); return true;
    case IDNO: return true;
    default: return false;
    }
}
