#pragma once
// Hears every item added to a list box, whoever adds it: this process's own
// drain, or a writer in another thread or process that flushes the full log
// buffer straight into the list box.
#include <windows.h>

#include <functional>

class ListAddTap {
public:
    using Sink = std::function<void(const wchar_t* line)>;

    // The sink runs after the list box has stored the item.
    ListAddTap(HWND list, Sink sink);
    ~ListAddTap();
    ListAddTap(const ListAddTap&) = delete;
    ListAddTap& operator=(const ListAddTap&) = delete;

private:
    static LRESULT CALLBACK Procedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam);

    HWND list_;
    WNDPROC original_;
    Sink sink_;
};
