#include "setup/setup_axis.h"

#include "res/resource.h"
#include "ui/main_window_handle.h"

bool DisplayParamNumber()
{
    return g_mainWnd && IsDlgButtonChecked(g_mainWnd, IDC_DISPLAY_PARAM_NUMBER) == BST_CHECKED;
}

std::wstring WideFromUtf8(const char* text)
{
    wchar_t wide[256] = {};
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, static_cast<int>(std::size(wide)) - 1);
    return wide;
}
