#include "lamp/lux400_rows.h"

#include "board/param_io.h"
#include "core/lamp_commands.h"
#include "core/number_text.h"
#include "core/param_table.h"
#include "infra/log.h"
#include "res/resource.h"
#include "ui/control_text.h"
#include "ui/fields.h"

#include <string>

namespace {

struct LuxRow {
    int param;
    int limitField;    // 0: the output has a fixed current
    int caption;
    int modeBox;
    int fullScaleMa;   // the current at a limit of 100 %
};

constexpr LuxRow kLuxRows[] = {
    {26, IDC_LUX_LIMIT_1, IDC_LUX_CURRENT_1, IDC_LUX_MODE_1, 200},
    {27, IDC_LUX_LIMIT_2, IDC_LUX_CURRENT_2, IDC_LUX_MODE_2, 200},
    {28, 0, IDC_LUX_CURRENT_3, IDC_LUX_MODE_3, 0},
    {29, 0, IDC_LUX_CURRENT_4, IDC_LUX_MODE_4, 0},
    {30, 0, IDC_LUX_CURRENT_5, IDC_LUX_MODE_5, 0},
    {31, 0, IDC_LUX_CURRENT_6, IDC_LUX_MODE_6, 0},
    {32, IDC_LUX_LIMIT_7, IDC_LUX_CURRENT_7, IDC_LUX_MODE_7, 800},
};

constexpr char kFixedCurrent[] = "120ma";

// Besides the rows: the frame, headings and row labels of the group.
constexpr int kLuxFrame[] = {
    IDC_LUX_GROUP, IDC_LUX_HEADING_LIMIT, IDC_LUX_HEADING_CURRENT, IDC_LUX_HEADING_MODE,
    IDC_LUX_OUTPUT_1, IDC_LUX_OUTPUT_2, IDC_LUX_OUTPUT_3, IDC_LUX_OUTPUT_4, IDC_LUX_OUTPUT_5,
    IDC_LUX_OUTPUT_6, IDC_LUX_OUTPUT_7, IDC_LAMP_APPLY_LUX,
};

void ShowCaption(HWND dialog, const LuxRow& row, uint32_t param)
{
    char text[128];
    if (row.limitField != 0)
        FormatLuxCurrent(text, sizeof text, LuxLimit(param), row.fullScaleMa);
    SetControlTextIfChanged(dialog, row.caption, row.limitField != 0 ? text : kFixedCurrent);
}

} // namespace

void FillLuxRows(HWND dialog)
{
    for (const LuxRow& row : kLuxRows) {
        const uint32_t param = g_param[row.param];
        if (row.limitField != 0)
            SetDlgItemInt(dialog, row.limitField, static_cast<UINT>(LuxLimit(param)), FALSE);
        CheckBox(dialog, row.modeBox, LuxMode(param));
        ShowCaption(dialog, row, param);
    }
}

void ApplyLuxRows(HWND dialog)
{
    g_log.Write("Made it here\n");
    for (const LuxRow& row : kLuxRows) {
        uint32_t& param = g_param[row.param];
        int limit = LuxLimit(param);
        // A limit field that holds no number keeps the limit.
        if (row.limitField != 0)
            limit = SaturatedLeadingInteger(FieldText(dialog, row.limitField), kLargestLampFieldNumber).value_or(limit);
        param = WithLux(param, limit, IsBoxChecked(dialog, row.modeBox));
        if (row.limitField != 0)
            ShowCaption(dialog, row, param);
        WriteParamReadBack(row.param, param);
        LogPrintf(g_log, "%08x\n", param);
    }
}

void ShowLuxControls(HWND dialog, bool show)
{
    for (const LuxRow& row : kLuxRows) {
        if (row.limitField != 0)
            ShowControl(dialog, row.limitField, show);
        ShowControl(dialog, row.caption, show);
        ShowControl(dialog, row.modeBox, show);
    }
    for (int id : kLuxFrame)
        ShowControl(dialog, id, show);
}
