// windows/: a picture of each open window of the program as it is on the
// screen (a window covered by another shows what covers it), one BMP each.
#include "report/report_parts.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

constexpr int kBitsPerPixel = 24;
constexpr size_t kMaxTitle = 60;
constexpr const char kUnsafeNameChars[] = "\\/:*?\"<>|";

struct Picture {
    std::wstring title;
    std::string bmp;
};

template <typename T>
void Append(std::string& out, const T& value)
{
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// The window drawn into a bottom-up 24-bit DIB, as a BMP file.
std::string PictureOf(HWND wnd)
{
    RECT r{};
    GetWindowRect(wnd, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    if (width <= 0 || height <= 0)
        return {};
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = kBitsPerPixel;
    info.biCompression = BI_RGB;
    const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
    info.biSizeImage = stride * static_cast<DWORD>(height);

    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    std::string bmp;
    if (bitmap != nullptr && memory != nullptr) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        // What is on the screen: Wine's PrintWindow leaves out the controls.
        HDC window = GetWindowDC(wnd);
        BitBlt(memory, 0, 0, width, height, window, 0, 0, SRCCOPY);
        ReleaseDC(wnd, window);
        GdiFlush();
        SelectObject(memory, old);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;   // "BM"
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + info.biSizeImage;
        Append(bmp, file);
        Append(bmp, info);
        bmp.append(static_cast<const char*>(bits), info.biSizeImage);
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    if (memory != nullptr)
        DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return bmp;
}

BOOL CALLBACK CollectWindow(HWND wnd, LPARAM context)
{
    if (!IsWindowVisible(wnd))
        return TRUE;
    wchar_t title[kMaxTitle + 1] = {};
    GetWindowTextW(wnd, title, static_cast<int>(std::size(title)));
    std::string bmp = PictureOf(wnd);
    if (!bmp.empty())
        reinterpret_cast<std::vector<Picture>*>(context)->push_back({title, std::move(bmp)});
    return TRUE;
}

// "01 stagetune 4.0.0.bmp": numbered in the order the system lists the
// windows, the title made safe for a file name.
std::string FileName(size_t index, const std::wstring& title)
{
    std::string name = Utf8(title);
    for (char& c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr(kUnsafeNameChars, c) != nullptr)
            c = '_';
    char number[8];
    std::snprintf(number, sizeof number, "%02zu", index + 1);
    return std::string(number) + (name.empty() ? "" : " " + name) + ".bmp";
}

} // namespace

void AddWindowPictures(ReportContext& report, std::string_view folder)
{
    std::vector<Picture> pictures;
    EnumThreadWindows(GetCurrentThreadId(), CollectWindow, reinterpret_cast<LPARAM>(&pictures));
    for (size_t i = 0; i < pictures.size(); ++i)
        report.zip.Add(std::string(folder) + FileName(i, pictures[i].title), pictures[i].bmp);
}
