#pragma once
// A picture drawn by the caller into a 24-bit bitmap, returned as the bytes
// of a BMP file: what the scope's "Picture..." saves and the service report
// keeps of each window.
#include <windows.h>

#include <functional>
#include <string>

// Empty when the bitmap cannot be made (or the size is not positive).
std::string DrawBmpPicture(int width, int height, const std::function<void(HDC dc)>& draw);
