#include "status/power_dialog.h"

#include "core/power_samples.h"
#include "core/session_state.h"
#include "driver/axb400.h"
#include "infra/clock.h"
#include "res/resource.h"
#include "ui/control_text.h"
#include "ui/dialog.h"
#include "ui/modeless.h"

#include <cwchar>
#include <iterator>

HWND g_powerDlg;

namespace {

constexpr UINT kRefreshMs = 100;

constexpr int kCurrentFields[] = {IDC_POWER_CURRENT_X, IDC_POWER_CURRENT_Y, IDC_POWER_CURRENT_Z,
                                  IDC_POWER_CURRENT_Q, IDC_POWER_CURRENT_ZOOM};
// The driver counts hundredths of a milliamp.
constexpr double kMilliampsPerCount = 0.01;

using VoltageRead = int(AXBAPI*)(int board, uint16_t* voltage);

struct SupplyRow {
    PowerSupply supply;
    int field;
    VoltageRead read;
    double voltsPerCount;
};

constexpr SupplyRow kSupplyRows[] = {
    {kPowerSupplyVoltage, IDC_POWER_SUPPLY, AXB_GetSupplyVoltage, 0.1},
    {kInterpolatorVoltage, IDC_POWER_INTERPOLATOR, AXB_GetInterpolatorVoltage, 0.1},
    {kEncoderVoltage, IDC_POWER_ENCODER, AXB_GetEncoderVoltage, 0.01},
};

void ShowValue(HWND wnd, int id, double value)
{
    wchar_t text[128];
    std::swprintf(text, std::size(text), L"%.3f", value);
    SetControlTextIfChanged(wnd, id, text);
}

void ShowMotorCurrents(HWND wnd)
{
    for (int axis = 0; axis < static_cast<int>(std::size(kCurrentFields)); ++axis) {
        uint32_t current = 0;
        AXB_GetMotorCurrent(0, axis, &current);
        ShowValue(wnd, kCurrentFields[axis], current * kMilliampsPerCount);
    }
}

void SamplePower(HWND wnd)
{
    PowerReading reading{};
    for (const SupplyRow& row : kSupplyRows) {
        uint16_t raw = 0;
        row.read(0, &raw);
        reading[row.supply] = static_cast<float>(raw * row.voltsPerCount);
    }
    ShowMotorCurrents(wnd);
    g_powerSamples.Add(reading);
    const PowerAverage average = g_powerSamples.Average();
    for (const SupplyRow& row : kSupplyRows)
        ShowValue(wnd, row.field, average[row.supply]);
}

void OnInit(HWND wnd)
{
    ShowMotorCurrents(wnd);
    StartTimer(wnd, IDT_TICK, kRefreshMs);
}

void OnTick(HWND wnd)
{
    if (g_boardPresent)
        SamplePower(wnd);
}

void OnOk(HWND wnd) { CloseModeless(g_powerDlg, wnd); }

constexpr CommandRoute kRoutes[] = {
    {IDC_POWER_OK, WindowHandler<OnOk>},
};
constexpr DialogBehaviour kBehaviour = {.init = OnInit, .routes = kRoutes, .tick = OnTick, .modeless = &g_powerDlg};

} // namespace

INT_PTR CALLBACK PowerDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND OpenPowerDialog()
{
    HWND wnd = OpenModeless(g_powerDlg, IDD_POWER, PowerDlgProc);
    if (wnd)
        UpdateWindow(wnd);
    return wnd;
}

void ResetPowerDialog()
{
    DestroyModeless(g_powerDlg);
    g_powerSamples = PowerSamples{};
}
