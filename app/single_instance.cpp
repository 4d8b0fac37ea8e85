#include "app/single_instance.h"

#include "infra/user_prompts.h"

#include <windows.h>

namespace {
constexpr const wchar_t* kInstanceMutexNames[] = {L"QuayRunning", L"Quay-LXRunning", L"Quay-KRunning", L"FjordRunning"};
} // namespace

bool AnotherInstanceRunning()
{
    bool running = false;
    for (const wchar_t* name : kInstanceMutexNames) {
        // Deliberately never closed: the handle marks this process as running.
        HANDLE marker = CreateMutexW(nullptr, FALSE, name);
        if (marker == nullptr || GetLastError() == ERROR_ALREADY_EXISTS)
            running = true;
    }
    return running;
}

void ShowAlreadyRunningMessage()
{
    ShowMessageBox(nullptr, L"Another TavRosen application is already running.  Please run only one instance at a time.",
                   L"stagetune", MB_OK);
}
