#include "tests/support/prompt_guard.h"

#include "infra/user_prompts.h"
#include "tests/support/ui_driver.h"

#include <gtest/gtest.h>

void FailOnUnexpectedPrompts()
{
    InstallMessageBoxAnswer([](HWND, std::wstring_view text, std::wstring_view caption, UINT) {
        ADD_FAILURE() << "unexpected message box: " << Narrow(std::wstring(caption)) << ": "
                      << Narrow(std::wstring(text));
        return IDCANCEL;
    });
    InstallFileDialogAnswer([](OPENFILENAMEW&, bool) {
        ADD_FAILURE() << "unexpected file dialog";
        return false;
    });
}
