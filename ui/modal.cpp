#include "ui/modal.h"

INT_PTR RunModalDialog(HWND owner, int templateId, DLGPROC proc)
{
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner, proc, 0);
}
