#include "scope/response_window.h"

#include <commctrl.h>

#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "core/response_capture.h"
#include "core/scope_capture.h"
#include "core/session_state.h"
#include "infra/clock.h"
#include "res/resource.h"
#include "scope/response_run.h"
#include "scope/scope_files.h"
#include "scope/scope_window.h"
#include "ui/control_text.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modeless.h"

HWND g_responseWnd;

namespace {

constexpr UINT kTickMs = 10;
constexpr int kHeaderMargin = 16;   // pixels at 96 dpi
constexpr const wchar_t* kUnitCaptions[] = {L"Distance (counts)", L"Distance (in)", L"Distance (mm)"};
constexpr const char* kUnitNames[] = {"counts", "in", "mm"};

struct Row {
    std::vector<std::string> cells;
    ScopeCapture capture;
};

// What the technician chose is kept while the window is closed; the rows are not.
ResponseRunSettings g_settings;
ShownFields g_fields;
int g_captionUnit = -1;   // the unit mode the distance's caption names
std::vector<Row> g_rows;

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

void ShowNumber(HWND wnd, int id, double value)
{
    wchar_t text[64];
    std::swprintf(text, std::size(text), L"%g", value);
    g_fields.ShowText(wnd, id, text);
}

void ShowDistanceCaption(HWND wnd)
{
    g_captionUnit = g_unitMode;
    SetControlTextIfChanged(wnd, IDC_RESPONSE_DISTANCE_CAPTION, kUnitCaptions[g_unitMode]);
}

void ShowSettings(HWND wnd)
{
    SendDlgItemMessageW(wnd, IDC_RESPONSE_AXIS, CB_RESETCONTENT, 0, 0);
    for (const char* name : kScopeAxisNames)
        SendDlgItemMessageW(wnd, IDC_RESPONSE_AXIS, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(name).c_str()));
    g_fields.ShowSelection(wnd, IDC_RESPONSE_AXIS, g_settings.axis);
    ShowDistanceCaption(wnd);
    ShowNumber(wnd, IDC_RESPONSE_DISTANCE, g_settings.distance);
    ShowNumber(wnd, IDC_RESPONSE_VELOCITY, g_settings.velocityPercent);
    ShowNumber(wnd, IDC_RESPONSE_DWELL, g_settings.dwellMs);
    ShowNumber(wnd, IDC_RESPONSE_REPETITIONS, g_settings.repetitions);
}

void TakeWhole(HWND wnd, int id, int32_t& stored)
{
    if (const auto value = g_fields.TakeTypedNumber<int32_t>(wnd, id, WholeSigned))
        stored = *value;
}

void TakeSettings(HWND wnd)
{
    if (const int axis = ListSelection(wnd, IDC_RESPONSE_AXIS); axis >= 0)
        g_settings.axis = axis;
    if (const auto distance = g_fields.TakeTypedNumber<double>(wnd, IDC_RESPONSE_DISTANCE, WholeDouble))
        g_settings.distance = *distance;
    TakeWhole(wnd, IDC_RESPONSE_VELOCITY, g_settings.velocityPercent);
    TakeWhole(wnd, IDC_RESPONSE_DWELL, g_settings.dwellMs);
    TakeWhole(wnd, IDC_RESPONSE_REPETITIONS, g_settings.repetitions);
}

void ShowState(HWND wnd, const std::wstring& text) { SetControlTextIfChanged(wnd, IDC_RESPONSE_STATE, text.c_str()); }

HWND Table(HWND wnd) { return GetDlgItem(wnd, IDC_RESPONSE_RUNS); }

// Every column as wide as its widest text, its name included (with the
// header's own margins, which the list's measure of its items leaves out).
void FitColumns(HWND wnd)
{
    HWND table = Table(wnd);
    const int margin = MulDiv(kHeaderMargin, GetDpiForWindow(wnd), USER_DEFAULT_SCREEN_DPI);
    for (int c = 0; c < kResponseColumns; ++c) {
        ListView_SetColumnWidth(table, c, LVSCW_AUTOSIZE);
        const int name = ListView_GetStringWidth(table, Wide(kResponseColumnNames[c]).c_str()) + margin;
        if (ListView_GetColumnWidth(table, c) < name)
            ListView_SetColumnWidth(table, c, name);
    }
}

void AddColumns(HWND wnd)
{
    for (int c = 0; c < kResponseColumns; ++c) {
        std::wstring name = Wide(kResponseColumnNames[c]);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT;
        column.pszText = name.data();
        ListView_InsertColumn(Table(wnd), c, &column);
    }
    ListView_SetExtendedListViewStyle(Table(wnd), LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    FitColumns(wnd);
}

void AddRow(HWND wnd, const ResponseRunResult& run)
{
    const ResponseRowHead head{run.time, run.axis, run.p, run.d, run.i, run.savedToFlash ? "yes" : "no",
                               kUnitNames[g_unitMode], run.overshootMean, run.overshootWorst};
    Row row{ResponseRowCells(head, run.figures), run.capture};
    const int item = static_cast<int>(g_rows.size());
    for (int c = 0; c < kResponseColumns; ++c) {
        std::wstring text = Wide(row.cells[c]);
        if (c == 0) {
            LVITEMW entry{};
            entry.mask = LVIF_TEXT;
            entry.iItem = item;
            entry.pszText = text.data();
            ListView_InsertItem(Table(wnd), &entry);
        } else {
            ListView_SetItemText(Table(wnd), item, c, text.data());
        }
    }
    g_rows.push_back(std::move(row));
    FitColumns(wnd);
}

std::vector<int> SelectedRows(HWND wnd)
{
    std::vector<int> rows;
    for (int i = ListView_GetNextItem(Table(wnd), -1, LVNI_SELECTED); i >= 0 && size_t(i) < g_rows.size();
         i = ListView_GetNextItem(Table(wnd), i, LVNI_SELECTED))
        rows.push_back(i);
    return rows;
}

void OnRun(HWND wnd)
{
    if (ResponseRunActive())
        return;
    TakeSettings(wnd);
    if (const auto refusal = ResponseRunRefusal(g_settings)) {
        ShowState(wnd, *refusal);
        return;
    }
    StartResponseRun(g_settings);
    ShowState(wnd, L"Running.");
}

void OnStop(HWND) { StopResponseRun(); }

void OnExport(HWND wnd)
{
    if (g_rows.empty()) {
        ShowState(wnd, L"There is no run to export.");
        return;
    }
    const auto path = AskScopeFileName(wnd, ScopeFileKind::kResponseRuns, true);
    if (!path)
        return;
    std::vector<std::vector<std::string>> cells;
    for (const Row& row : g_rows)
        cells.push_back(row.cells);
    ShowState(wnd, WriteScopeFile(*path, ResponseRowsCsv(cells)) ? L"Runs exported." : L"The file could not be written.");
}

// One selected run opens alone, two overlaid (the upper one dimmed behind).
void OnOpenInScope(HWND wnd)
{
    const std::vector<int> rows = SelectedRows(wnd);
    if (ResponseRunActive()) {
        ShowState(wnd, L"Not while a run is under way.");
    } else if (rows.size() == 1) {
        ShowCaptureInScope(g_rows[rows[0]].capture, nullptr);
    } else if (rows.size() == 2) {
        ShowCaptureInScope(g_rows[rows[1]].capture, &g_rows[rows[0]].capture);
    } else {
        ShowState(wnd, L"Select one run, or two to overlay.");
    }
}

void OnTick(HWND wnd)
{
    // The main window's unit may change while this window is open; a run
    // takes the distance in the unit mode, so the caption follows it.
    if (g_captionUnit != g_unitMode)
        ShowDistanceCaption(wnd);
    if (auto run = ResponseRunTick()) {
        AddRow(wnd, *run);
        ShowState(wnd, L"Run ended.");
    }
}

void OnInit(HWND wnd)
{
    g_fields.Forget();
    g_rows.clear();
    ShowSettings(wnd);
    AddColumns(wnd);
    StartTimer(wnd, IDT_TICK, kTickMs);
}

// A run does not outlive its window: the axis stops and what was captured
// is kept for the report.
void OnDestroyed(HWND)
{
    StopResponseRun();
    ResponseRunTick();
    g_rows.clear();
}

void OnClose(HWND wnd) { CloseModeless(g_responseWnd, wnd); }

constexpr CommandRoute kRoutes[] = {
    {IDC_RESPONSE_RUN, WindowHandler<OnRun>},
    {IDC_RESPONSE_STOP, WindowHandler<OnStop>},
    {IDC_RESPONSE_EXPORT, WindowHandler<OnExport>},
    {IDC_RESPONSE_SCOPE, WindowHandler<OnOpenInScope>},
    {IDC_RESPONSE_CLOSE, WindowHandler<OnClose>},
};
constexpr DialogBehaviour kBehaviour = {.init = OnInit,
                                        .routes = kRoutes,
                                        .tick = OnTick,
                                        .destroyed = OnDestroyed,
                                        .modeless = &g_responseWnd};

} // namespace

INT_PTR CALLBACK MoveResponseDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND OpenResponseWindow()
{
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    return OpenModeless(g_responseWnd, IDD_MOVE_RESPONSE, MoveResponseDlgProc);
}

size_t ResponseRows() { return g_rows.size(); }

void ResetResponseWindow()
{
    DestroyModeless(g_responseWnd);
    g_settings = ResponseRunSettings{};
    g_fields.Forget();
    g_rows.clear();
}
