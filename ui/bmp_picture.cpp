#include "ui/bmp_picture.h"

namespace {

constexpr WORD kBmpSignature = 0x4D42;   // "BM"

template <class T>
void Append(std::string& out, const T& value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

} // namespace

std::string DrawBmpPicture(int width, int height, const std::function<void(HDC dc)>& draw)
{
    if (width <= 0 || height <= 0)
        return {};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;   // bottom-up, as BMP files keep their rows
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    info.biSizeImage = stride * static_cast<DWORD>(height);

    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    std::string bmp;
    if (bitmap != nullptr && bits != nullptr && memory != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        draw(memory);
        GdiFlush();
        SelectObject(memory, old);
        BITMAPFILEHEADER file{};
        file.bfType = kBmpSignature;
        file.bfOffBits = sizeof file + sizeof info;
        file.bfSize = file.bfOffBits + info.biSizeImage;
        Append(bmp, file);
        Append(bmp, info);
        bmp.append(static_cast<const char*>(bits), info.biSizeImage);
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    if (memory != nullptr)
        DeleteDC(memory);
    return bmp;
}
