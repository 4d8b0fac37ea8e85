// logview: shows the program's log lines as they arrive and, given a file
// path on its command line, appends every line to that file.
#include "infra/log.h"
#include "tools/logview/list_add_tap.h"
#include "tools/logview/log_drain.h"
#include "tools/logview/logview_process.h"

#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

using namespace log_channel;

namespace {

constexpr wchar_t kWindowClass[] = L"StagetuneLogView";
constexpr int kWindowWidth = 900;
constexpr int kWindowHeight = 500;
constexpr int kFontHeight = 14;
// Trimming the list drops half of its lines at once, since a list box removes
// its first item by moving all the others.
constexpr int kItemsKeptByTrim = kLogviewMaxLines / 2;
// Repainting the list after each line would cost more than everything else
// the viewer does (about 1 ms a line under Wine); lines are added with
// redrawing off and shown together at most this often.
constexpr UINT_PTR kRefreshTimer = 1;
constexpr UINT kRefreshMs = 50;

bool g_refreshPending = false;

// Appends each line to the file as it arrives, unbuffered, so that a script
// can read the file while the viewer runs.
class LineFile {
public:
    explicit LineFile(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr))
    {
    }
    ~LineFile()
    {
        if (IsOpen())
            CloseHandle(handle_);
    }
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;

    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Append(const wchar_t* line)
    {
        if (!IsOpen())
            return;
        const std::string text = ToUtf8(line) + '\n';
        DWORD written = 0;
        WriteFile(handle_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }

private:
    HANDLE handle_;
};

// Re-inserts the newest lines into the emptied list. LB_INSERTSTRING rather
// than LB_ADDSTRING: these lines are already in the file.
void TrimOldest(HWND list, int count)
{
    std::vector<std::wstring> kept;
    for (int i = count - kItemsKeptByTrim; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()));
        kept.push_back(std::move(text));
    }
    SendMessageW(list, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& text : kept)
        SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.c_str()));
}

void ScheduleRefresh(HWND window, HWND list)
{
    if (g_refreshPending)
        return;
    g_refreshPending = true;
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SetTimer(window, kRefreshTimer, kRefreshMs, nullptr);
}

// Shows the newest lines.
void Refresh(HWND window, HWND list)
{
    KillTimer(window, kRefreshTimer);
    g_refreshPending = false;
    const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
    if (count > kLogviewMaxLines)
        TrimOldest(list, count);
    const LRESULT last = SendMessageW(list, LB_GETCOUNT, 0, 0) - 1;
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(last), 0);
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

LRESULT CALLBACK ViewerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        MoveWindow(GetDlgItem(window, kViewerListId), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_TIMER:
        if (wParam == kRefreshTimer)
            Refresh(window, GetDlgItem(window, kViewerListId));
        return 0;
    case WM_SETFOCUS:
        SetFocus(GetDlgItem(window, kViewerListId));
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND CreateViewerWindow(HINSTANCE instance)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ViewerProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);
    // Untitled until its list can take lines: writers find the viewer by its
    // title and flush straight into that list.
    return CreateWindowExW(0, kWindowClass, L"", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                           kWindowWidth, kWindowHeight, nullptr, nullptr, instance, nullptr);
}

HWND CreateLineList(HWND window, HINSTANCE instance, HFONT font)
{
    const HWND list = CreateWindowExW(0, L"LISTBOX", nullptr,
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY, 0, 0, 0,
                                      0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kViewerListId)),
                                      instance, nullptr);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return list;
}

// False once the quit message arrives.
bool ServeMessages(int& exitCode)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            exitCode = static_cast<int>(msg.wParam);
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return true;
}

// Wakes for window messages and for the writers' event. The event does not
// count, so every drain takes all complete lines.
int RunViewer(LogDrain& drain, HWND list)
{
    const HANDLE linesReady = drain.LinesReady();
    drain.DrainInto(list);
    int exitCode = 0;
    do {
        const DWORD wake = MsgWaitForMultipleObjectsEx(1, &linesReady, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (wake == WAIT_OBJECT_0)
            drain.DrainInto(list);
    } while (ServeMessages(exitCode));
    return exitCode;
}

// The file to append to: the first argument, if any.
std::wstring FileArgument()
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring path = arguments != nullptr && count > 1 ? arguments[1] : L"";
    LocalFree(arguments);
    return path;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    LogDrain drain;
    if (!drain.Open()) {
        MessageBoxW(nullptr, L"The log channel cannot be opened.", kViewerTitle, MB_ICONERROR);
        return 1;
    }
    const std::wstring path = FileArgument();
    std::unique_ptr<LineFile> file = path.empty() ? nullptr : std::make_unique<LineFile>(path);

    const HFONT font = CreateFontW(-kFontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                                   L"Consolas");
    const HWND window = CreateViewerWindow(instance);
    if (window == nullptr)
        return 1;
    const HWND list = CreateLineList(window, instance, font);
    if (file && !file->IsOpen()) {
        const std::wstring warning = L"Cannot write to " + path;
        SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(warning.c_str()));
    }
    ListAddTap tap(list, [&](const wchar_t* line) {
        if (file)
            file->Append(line);
        ScheduleRefresh(window, list);
    });

    RECT client{};
    GetClientRect(window, &client);
    MoveWindow(list, 0, 0, client.right, client.bottom, FALSE);
    SetWindowTextW(window, kViewerTitle);
    ShowWindow(window, show);
    const int exitCode = RunViewer(drain, list);
    DeleteObject(font);
    return exitCode;
}
