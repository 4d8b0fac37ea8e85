// The revolver turret behind "Revolver_Dll.dll": the library is loaded once,
// the device searched for on COM1..99, and its state polled while a move is
// outstanding.
#include "driver/turret_libraries.h"
#include "infra/library_loader.h"
#include "infra/log.h"
#include "zoom/turrets/turret_kinds.h"

#include <iterator>

namespace {

constexpr int kLastPort = 99;

struct RevolverLibrary {
    RevolverGetDllVersion getDllVersion;
    RevolverGetFwVersion getFwVersion;
    RevolverInitComm initComm;
    RevolverCloseComm closeComm;
    RevolverGetState getState;
    RevolverGoToPosition goToPosition;
};

HMODULE g_revolverModule;
RevolverLibrary g_revolver;
bool g_revolverLoaded;
uint8_t g_revolverPort;   // where the device answered; 0: not found yet
bool g_revolverBusy;

void PressAKey(const char* error)
{
    g_log.Write(error);
    g_log.Write("press a key to continue\n");
}

// All nine exports, or none of the library.
bool FindExports(HMODULE module)
{
    constexpr const char* kUncalled[] = {"SetTimeOutRxCommand", "GetParameters", "Zephon"};
    for (const char* name : kUncalled)
        if (!GetProcAddress(module, name))
            return false;
    g_revolver = {FindLibraryExport<RevolverGetDllVersion>(module, "GetDllVersion"),
                  FindLibraryExport<RevolverGetFwVersion>(module, "GetFwVersion"),
                  FindLibraryExport<RevolverInitComm>(module, "InitComm"),
                  FindLibraryExport<RevolverCloseComm>(module, "CloseComm"),
                  FindLibraryExport<RevolverGetState>(module, "GetState"),
                  FindLibraryExport<RevolverGoToPosition>(module, "GoToPosition")};
    return g_revolver.getDllVersion && g_revolver.getFwVersion && g_revolver.initComm && g_revolver.closeComm &&
           g_revolver.getState && g_revolver.goToPosition;
}

// Loads the library the first time only; a library that failed is tried
// again on the next goto.
bool LoadRevolverLibrary()
{
    if (g_revolverLoaded)
        return true;
    HMODULE module = LoadProgramLibrary(L"Revolver_Dll.dll");
    if (!module) {
        PressAKey("Error 1 Init DLL\n");
        return false;
    }
    if (!FindExports(module)) {
        FreeLibrary(module);
        g_revolver = {};
        PressAKey("Error 2 Init DLL\n");
        return false;
    }
    g_revolverModule = module;
    g_revolverLoaded = true;
    g_log.Write("DLL open succesfully\n");
    g_log.Write("\n");
    g_log.Write("Searching Comm port\n");
    return true;
}

bool InitRevolver()
{
    if (!LoadRevolverLibrary())
        return false;
    char firmware[kRevolverTextSize] = "";
    for (int port = 1; port <= kLastPort && !g_revolverPort; ++port) {
        if (g_revolver.initComm(port, kRevolverBaudRate) != 0)
            continue;
        if (g_revolver.getFwVersion(firmware) >= 0) {
            LogPrintf(g_log, "\ndevice found on com: %d\n", port);
            g_revolverPort = static_cast<uint8_t>(port);
        } else {
            g_revolver.closeComm();
        }
    }
    if (!g_revolverPort) {
        g_log.Write("\n");
        g_log.Write("device not found program exit\n");
        return false;
    }
    // The library fills the buffer as it likes: it ends where the buffer does.
    firmware[std::size(firmware) - 1] = '\0';
    const char* dllVersion = g_revolver.getDllVersion();
    g_log.Write("\n");
    LogPrintf(g_log, "Dll......Ver. %s\n", dllVersion ? dllVersion : "");
    LogPrintf(g_log, "Firmware Ver. %s\n", firmware);
    g_log.Write("\n");
    return true;
}

void LogStateError(int32_t result)
{
    g_log.Write("\n");
    g_log.Write("\n");
    if (result == -1)
        g_log.Write("timeout error\n");
    else if (result == -2)
        g_log.Write("Checksum error\n");
    g_log.Write("press a key to continue");
    g_log.Write("\n");
}

} // namespace

void SetUpRevolver()
{
    if (!g_revolverPort)
        InitRevolver();
}

void RevolverGoto(int8_t n)
{
    LogPrintf(g_log, "TCZR_GoToPosition(%d)\n", n);
    g_revolverBusy = true;
    if (g_revolverLoaded)
        g_revolver.goToPosition(n);
}

// Only while a move is outstanding: an idle turret is not asked.
void RevolverPoll()
{
    if (!g_revolverPort || !g_revolverBusy)
        return;
    uint8_t o[10] = {};
    const int32_t result = g_revolver.getState(&o[0], &o[1], &o[2], &o[3], &o[4], &o[5], &o[6], &o[7], &o[8], &o[9]);
    if (result != 0) {
        LogStateError(result);
        return;
    }
    const bool fault = o[1] || o[2] || o[3] || o[4] || o[5] || o[6];
    if (fault) {
        g_revolverBusy = false;
        return;
    }
    if (o[9] == 0) {
        g_log.Write("mMoveFunc is NULL\n");
        g_log.Write("TCZR zoom complete\n");
    }
    g_revolverBusy = o[9] != 0;
}

void ResetRevolver()
{
    if (g_revolverModule)
        FreeLibrary(g_revolverModule);
    g_revolverModule = nullptr;
    g_revolver = {};
    g_revolverLoaded = false;
    g_revolverPort = 0;
    g_revolverBusy = false;
}
