#include "ui/control_text.h"

#include "infra/clock.h"
#include "infra/cost_meter.h"

#include <cwchar>

namespace {

constexpr int kCompareCapacity = 256;

} // namespace

bool SetControlTextIfChanged(HWND dialog, int id, const wchar_t* text)
{
    HWND control = GetDlgItem(dialog, id);
    if (!control)
        return false;
    wchar_t shown[kCompareCapacity];
    int length = GetWindowTextW(control, shown, kCompareCapacity);
    // A text as long as the buffer may have been cut: compare by writing.
    if (length < kCompareCapacity - 1 && wcscmp(shown, text) == 0)
        return false;
    MeteredScope metered(g_controlWriteCost);
    SetWindowTextW(control, text);
    return true;
}

bool SetControlTextIfChanged(HWND dialog, int id, const char* text)
{
    wchar_t wide[kCompareCapacity];
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, wide, kCompareCapacity);
    if (n == 0)
        wide[kCompareCapacity - 1] = L'\0';
    return SetControlTextIfChanged(dialog, id, wide);
}

uint64_t ControlTextWrites() { return g_controlWriteCost.calls.load(); }

// The control is looked up once per window: finding a dialog's child is a
// round trip to the window server under Wine.
void ShownTexts::Write(HWND dialog, int id, Readout& readout, uint64_t now)
{
    if (readout.dialog != dialog || !readout.control) {
        readout.dialog = dialog;
        readout.control = GetDlgItem(dialog, id);
    }
    {
        MeteredScope metered(g_controlWriteCost);
        SetWindowTextA(readout.control, readout.latest.c_str());
    }
    readout.shown = readout.latest;
    readout.writtenMs = now;
    readout.written = true;
}

bool ShownTexts::Set(HWND dialog, int id, const char* text)
{
    Readout& readout = readouts_[id];
    readout.latest = text;
    if (readout.written && readout.shown == readout.latest)
        return false;
    const uint64_t now = NowMs64();
    if (readout.written && now - readout.writtenMs < kReadoutPeriodMs)
        return false;
    Write(dialog, id, readout, now);
    return true;
}

void ShownTexts::WriteDue(HWND dialog)
{
    const uint64_t now = NowMs64();
    for (auto& [id, readout] : readouts_)
        if (readout.shown != readout.latest && now - readout.writtenMs >= kReadoutPeriodMs)
            Write(dialog, id, readout, now);
}
