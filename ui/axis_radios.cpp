#include "ui/axis_radios.h"

#include <iterator>

int AxisOfRadio(int id)
{
    for (int a = 0; a < static_cast<int>(std::size(kAxisRadioIds)); ++a)
        if (kAxisRadioIds[a] == id)
            return a;
    return -1;
}

void CheckAxisRadio(HWND wnd, int axis)
{
    for (int a = 0; a < static_cast<int>(std::size(kAxisRadioIds)); ++a)
        CheckDlgButton(wnd, kAxisRadioIds[a], a == axis ? BST_CHECKED : BST_UNCHECKED);
}
