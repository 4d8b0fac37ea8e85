// windows/: a picture of each open window of the program as it is on the
// screen (a window covered by another shows what covers it), one BMP each.
#include "report/report_parts.h"
#include "ui/bmp_picture.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

constexpr size_t kMaxTitle = 60;
constexpr const char kUnsafeNameChars[] = "\\/:*?\"<>|";

struct Picture {
    std::wstring title;
    std::string bmp;
};

// The window as it is on the screen: Wine's PrintWindow leaves out the
// controls.
std::string PictureOf(HWND wnd)
{
    RECT r{};
    GetWindowRect(wnd, &r);
    return DrawBmpPicture(r.right - r.left, r.bottom - r.top, [wnd, &r](HDC dc) {
        HDC window = GetWindowDC(wnd);
        BitBlt(dc, 0, 0, r.right - r.left, r.bottom - r.top, window, 0, 0, SRCCOPY);
        ReleaseDC(wnd, window);
    });
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
