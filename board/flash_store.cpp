#include "board/flash_store.h"

#include "board/board_lock.h"
#include "board/board_ready.h"
#include "board/fences.h"
#include "board/flash_baseline.h"
#include "core/flash_items.h"
#include "core/param_table.h"
#include "driver/axb400.h"
#include "infra/log.h"
#include "infra/user_prompts.h"
#include "ui/main_window_handle.h"

namespace {

constexpr wchar_t kFlashErrorText[] = L"A corrupt value has been detected in flash.  OK to set to defaults";
constexpr wchar_t kFlashErrorCaption[] = L"Flash error";

class DriverFlashWords final : public FlashWords {
public:
    uint32_t Read(int wordIndex) override
    {
        uint32_t word = 0;
        AXB_ReadFlashWord(0, wordIndex, &word);
        return word;
    }
    void Write(int wordIndex, uint32_t word) override { AXB_WriteFlashWord(0, wordIndex, word); }
};

DriverFlashWords g_boardFlash;

// Timer messages keep being dispatched while the "Flash error" box is open,
// and the readiness check they run may reach the flash check again.
bool g_flashCheckRunning = false;

void LogText(const char* text) { g_log.Write(text); }

} // namespace

FlashWords& BoardFlashWords() { return g_boardFlash; }

void UnpackUserBoxDataToLog() { UnpackUserBoxData(LogText); }

void CheckFlash()
{
    if (g_flashCheckRunning)
        return;
    g_flashCheckRunning = true;
    if (FlashMarkerValid(g_boardFlash)) {
        ReadAllFlashItems(g_boardFlash);
        ReplaceZeroFlashItems();
    } else if (ShowMessageBox(g_mainWnd, kFlashErrorText, kFlashErrorCaption, MB_OKCANCEL) == IDOK) {
        // The values in memory may come from a parameter file or another
        // board, a bad marker included; writing those back would ask again
        // at every start.
        ResetFlashItems();
        WriteUserBoxData();
    }
    UnpackUserBoxDataToLog();
    g_flashCheckRunning = false;
}

void WriteUserBoxData()
{
    WriteAllFlashItems(g_boardFlash);
    AXB_CommitFlashWords(0);
}

bool SaveToFlash()
{
    // The whole save under the lock: while another program of the family is
    // at the board, nothing is written, not even the opened fences.
    BoardLockGuard lock;
    if (!lock) {
        g_log.Write("Failed to get ZEZ_LOCK SaveToFlash: nothing written\n");
        return false;
    }
    // Fences depend on the homed zero: stored parameters carry them open.
    DisableSoftwareFences();
    const bool loaded = IsAXBBoardLoaded(false);
    if (loaded) {
        PackUserBoxData();
        WriteUserBoxData();
        AXB_SaveParamsToFlash(0);
        // With the fences open, as the flash now holds them.
        TakeFlashBaseline();
    }
    EnableSoftwareFences();
    return loaded;
}

void ResetFlashStore()
{
    g_flashCheckRunning = false;
}
