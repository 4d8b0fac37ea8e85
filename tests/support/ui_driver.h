#pragma once
// Driving windows as a technician would: type into fields, press buttons,
// read what the window shows.
#include <windows.h>

#include <string>

// Handles every posted and sent message waiting for this thread (the main
// window's dialog navigation included). Returns true when a quit message was
// among them; its exit code goes to *exitCode.
bool PumpMessages(int* exitCode = nullptr);

void TypeText(HWND dialog, int id, const std::wstring& text);
std::wstring ControlText(HWND dialog, int id);
// As a click: the button takes the focus, then its command is sent.
void PressButton(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);
bool IsControlVisible(HWND dialog, int id);
bool IsControlEnabled(HWND dialog, int id);

std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);
