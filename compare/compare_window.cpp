#include "compare/compare_window.h"

#include "board/board_lock.h"
#include "board/flash_baseline.h"
#include "board/flash_store.h"
#include "board/param_io.h"
#include "core/param_diff.h"
#include "infra/log.h"
#include "infra/user_prompts.h"
#include "params/board_history.h"
#include "params/par_file.h"
#include "res/resource.h"
#include "ui/control_text.h"
#include "ui/dialog.h"
#include "ui/fields.h"
#include "ui/modeless.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

HWND g_compareDlg;

namespace {

enum SourceKind : int { kBoard, kFlash, kFile, kHistory, kAxis };
constexpr const wchar_t* kKindNames[] = {L"Board now", L"Flash", L".par file", L"Saved state", L"Board axis"};
constexpr const wchar_t* kAxisNames[kAxisCount] = {L"X", L"Y", L"Z", L"Q", L"Zoom"};
constexpr const wchar_t* kColumns[] = {L"Number", L"Name", L"Axis", L"", L"", L"Difference"};
constexpr int kColumnWidths[] = {46, 112, 28, 66, 66, 56};   // dialog units: they grow with the dpi
constexpr int kLeftColumn = 3;
constexpr int kRightColumn = 4;
constexpr wchar_t kCsvFilter[] = L"CSV Files (*.csv)\0*.csv\0";

struct SideControls {
    int kind;
    int detail;
    int file;
};
constexpr SideControls kLeft = {IDC_CMP_LEFT_KIND, IDC_CMP_LEFT_DETAIL, IDC_CMP_LEFT_FILE};
constexpr SideControls kRight = {IDC_CMP_RIGHT_KIND, IDC_CMP_RIGHT_DETAIL, IDC_CMP_RIGHT_FILE};

struct Side {
    int kind = kBoard;
    int axis = 0;
    std::wstring file;                      // the .par file or the saved state's file
    std::optional<BoardConfig> config;      // none: the file could not be read
    std::wstring name;
};

struct CompareState {
    Side left{kBoard};
    Side right{kFlash};
    std::vector<BoardHistoryEntry> history;
    std::vector<DiffRow> rows;      // shown, in the list's order
    std::vector<DiffRowText> texts;
    int sortColumn = -1;
    bool descending = false;
};
CompareState g_state;

bool IsBoardSide(const Side& side) { return side.kind == kBoard || side.kind == kAxis; }
bool IsAxisCompare() { return g_state.left.kind == kAxis || g_state.right.kind == kAxis; }

std::wstring FileName(const std::wstring& path) { return std::filesystem::path(path).filename().wstring(); }

void TakeSource(Side& side)
{
    switch (side.kind) {
    case kBoard: side.config = CurrentBoardConfig(); side.name = L"Board"; break;
    case kFlash: side.config = FlashBaseline(); side.name = L"Flash"; break;
    case kAxis: side.config = CurrentBoardConfig(); side.name = std::wstring(L"Board ") + kAxisNames[side.axis]; break;
    default:
        side.config = side.file.empty() ? std::nullopt : ReadParConfig(side.file);
        side.name = side.kind == kHistory ? L"Saved " + FileName(side.file) : FileName(side.file);
        break;
    }
}

std::vector<DiffRow> AllRows()
{
    const CompareState& s = g_state;
    if (IsAxisCompare()) {
        const int rightAxis = s.right.kind == kAxis ? s.right.axis : 0;
        std::vector<DiffRow> rows = DiffAxes(CurrentBoardConfig(), s.left.kind == kAxis ? s.left.axis : 0, rightAxis);
        MarkBoardKept(rows);
        return rows;
    }
    if (!s.left.config || !s.right.config)
        return {};
    std::vector<DiffRow> rows = DiffConfigs(*s.left.config, *s.right.config);
    if (IsBoardSide(s.left) || IsBoardSide(s.right))
        MarkBoardKept(rows);
    return rows;
}

double SortValue(const DiffRowText& t, int column)
{
    switch (column) {
    case kLeftColumn: return t.leftValue;
    case kRightColumn: return t.rightValue;
    default: return t.differenceValue;
    }
}

const std::wstring& SortText(const DiffRowText& t, int column)
{
    switch (column) {
    case 1: return t.name;
    default: return t.axis;
    }
}

bool RowBefore(size_t a, size_t b)
{
    const CompareState& s = g_state;
    const DiffRowText& ta = s.texts[a];
    const DiffRowText& tb = s.texts[b];
    switch (s.sortColumn) {
    case 0: return std::pair(s.rows[a].kind, s.rows[a].number) < std::pair(s.rows[b].kind, s.rows[b].number);
    case 1:
    case 2: return SortText(ta, s.sortColumn) < SortText(tb, s.sortColumn);
    default: return SortValue(ta, s.sortColumn) < SortValue(tb, s.sortColumn);
    }
}

void SortRows()
{
    CompareState& s = g_state;
    if (s.sortColumn < 0)
        return;
    std::vector<size_t> order(s.rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&s](size_t a, size_t b) {
        return s.descending ? RowBefore(b, a) : RowBefore(a, b);
    });
    std::vector<DiffRow> rows;
    std::vector<DiffRowText> texts;
    for (size_t i : order) {
        rows.push_back(s.rows[i]);
        texts.push_back(std::move(s.texts[i]));
    }
    s.rows = std::move(rows);
    s.texts = std::move(texts);
}

void SetColumnTitle(HWND list, int column, const std::wstring& title)
{
    LVCOLUMNW c{};
    c.mask = LVCF_TEXT;
    c.pszText = const_cast<wchar_t*>(title.c_str());
    ListView_SetColumn(list, column, &c);
}

void ShowSummary(HWND wnd, const UnsavedCount& count)
{
    wchar_t text[160];
    if (!g_state.left.config || !g_state.right.config)
        std::swprintf(text, std::size(text), L"A source could not be read");
    else
        std::swprintf(text, std::size(text), L"%d %ls and %d %ls differ", count.params,
                      count.params == 1 ? L"parameter" : L"parameters", count.items,
                      count.items == 1 ? L"record item" : L"record items");
    SetDlgItemTextW(wnd, IDC_CMP_SUMMARY, text);
}

// The rows built again from the sources as they stand, and the list filled.
void ShowRows(HWND wnd)
{
    CompareState& s = g_state;
    std::vector<DiffRow> all = AllRows();
    ShowSummary(wnd, CountDiffering(all));
    s.rows = IsBoxChecked(wnd, IDC_CMP_ALL) ? std::move(all) : DifferingRows(std::move(all));
    s.texts.clear();
    s.texts.reserve(s.rows.size());
    for (const DiffRow& row : s.rows)
        s.texts.push_back(DescribeDiffRow(row));
    SortRows();
    HWND list = GetDlgItem(wnd, IDC_CMP_LIST);
    SetColumnTitle(list, kLeftColumn, s.left.name);
    SetColumnTitle(list, kRightColumn, s.right.name);
    ListView_SetItemCountEx(list, static_cast<int>(s.rows.size()), 0);
    InvalidateRect(list, nullptr, TRUE);
    EnableWindow(GetDlgItem(wnd, IDC_CMP_WRITE), IsBoardSide(s.left) != IsBoardSide(s.right) || IsAxisCompare());
}

void FillDetail(HWND wnd, const SideControls& c, const Side& side)
{
    HWND detail = GetDlgItem(wnd, c.detail);
    SendMessageW(detail, CB_RESETCONTENT, 0, 0);
    int selected = 0;
    if (side.kind == kAxis) {
        for (const wchar_t* name : kAxisNames)
            SendMessageW(detail, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
        selected = side.axis;
    } else if (side.kind == kHistory) {
        for (size_t i = 0; i < g_state.history.size(); ++i) {
            SendMessageW(detail, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g_state.history[i].date.c_str()));
            if (g_state.history[i].path == side.file)
                selected = static_cast<int>(i);
        }
    } else if (side.kind == kFile && !side.file.empty()) {
        SendMessageW(detail, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(FileName(side.file).c_str()));
    }
    SendMessageW(detail, CB_SETCURSEL, selected, 0);
    EnableWindow(detail, side.kind == kAxis || side.kind == kHistory);
    EnableWindow(GetDlgItem(wnd, c.file), side.kind == kFile);
}

void ShowSide(HWND wnd, const SideControls& c, Side& side)
{
    SendDlgItemMessageW(wnd, c.kind, CB_SETCURSEL, side.kind, 0);
    if (side.kind == kHistory && side.file.empty() && !g_state.history.empty())
        side.file = g_state.history.front().path;
    FillDetail(wnd, c, side);
    TakeSource(side);
}

void ShowSources(HWND wnd)
{
    g_state.history = BoardHistory();
    ShowSide(wnd, kLeft, g_state.left);
    ShowSide(wnd, kRight, g_state.right);
    ShowRows(wnd);
}

Side& SideOf(int id) { return id == kLeft.kind || id == kLeft.detail || id == kLeft.file ? g_state.left : g_state.right; }
const SideControls& ControlsOf(int id) { return &SideOf(id) == &g_state.left ? kLeft : kRight; }

void OnKindChanged(HWND wnd, int id)
{
    Side& side = SideOf(id);
    side.kind = ListSelection(wnd, id);
    if (side.kind != kFile)
        side.file.clear();
    ShowSide(wnd, ControlsOf(id), side);
}

void OnDetailChanged(HWND wnd, int id)
{
    Side& side = SideOf(id);
    const int selection = ListSelection(wnd, id);
    if (side.kind == kAxis)
        side.axis = std::clamp(selection, 0, kAxisCount - 1);
    else if (side.kind == kHistory && selection >= 0 && selection < static_cast<int>(g_state.history.size()))
        side.file = g_state.history[selection].path;
    TakeSource(side);
}

void OnFileButton(HWND wnd, int id)
{
    const std::wstring path = AskParFileToRead();
    if (path.empty())
        return;
    Side& side = SideOf(id);
    side.file = path;
    ShowSide(wnd, ControlsOf(id), side);
}

std::vector<int> SelectedRows(HWND wnd)
{
    std::vector<int> rows;
    HWND list = GetDlgItem(wnd, IDC_CMP_LIST);
    for (int i = ListView_GetNextItem(list, -1, LVNI_SELECTED); i >= 0; i = ListView_GetNextItem(list, i, LVNI_SELECTED))
        rows.push_back(i);
    return rows;
}

// The board side takes the other side's value of the row.
void WriteRow(const DiffRow& row, bool boardIsLeft)
{
    const uint32_t value = boardIsLeft ? row.right : row.left;
    if (row.kind == DiffRowKind::Param) {
        StoreParam(boardIsLeft ? row.number : row.rightNumber, value);
        return;
    }
    const int index = FindFlashItem(row.number);
    SetFlashItem(BoardFlashWords(), index, FlashItemFromBits(kFlashItemTable[index].type, value));
}

void OnWriteSelected(HWND wnd)
{
    const bool boardIsLeft = IsBoardSide(g_state.left);
    const std::vector<int> selected = SelectedRows(wnd);
    if (selected.empty())
        return;
    BoardLockGuard lock;
    if (!lock) {
        g_log.Write("Failed to get ZEZ_LOCK Compare\n");
        return;
    }
    bool itemsWritten = false;
    for (int i : selected) {
        WriteRow(g_state.rows[i], boardIsLeft);
        itemsWritten |= g_state.rows[i].kind == DiffRowKind::Item;
    }
    if (itemsWritten)
        UnpackUserBoxDataToLog();
}

void OnExport(HWND wnd)
{
    const std::wstring file =
        AskFileName({wnd, nullptr, kCsvFilter, L"changes.csv", {}, L"csv", OFN_OVERWRITEPROMPT, true});
    if (file.empty())
        return;
    const std::string csv = FormatDiffCsv(g_state.rows, g_state.left.name.c_str(), g_state.right.name.c_str());
    std::ofstream out(std::filesystem::path(file), std::ios::binary | std::ios::trunc);
    out.write(csv.data(), static_cast<std::streamsize>(csv.size()));
    if (!out.good()) {
        g_log.Write("Error could not write ");
        g_log.Write(file.c_str());
        g_log.Write("\n");
    }
}

const std::wstring& CellText(const DiffRowText& t, int column)
{
    const std::wstring* cells[] = {&t.number, &t.name, &t.axis, &t.left, &t.right, &t.difference};
    return *cells[std::clamp(column, 0, static_cast<int>(std::size(cells)) - 1)];
}

void OnGetDisplayInfo(NMLVDISPINFOW& info)
{
    LVITEMW& item = info.item;
    if ((item.mask & LVIF_TEXT) == 0 || item.iItem < 0 || item.iItem >= static_cast<int>(g_state.texts.size()))
        return;
    const std::wstring& text = CellText(g_state.texts[item.iItem], item.iSubItem);
    lstrcpynW(item.pszText, text.c_str(), item.cchTextMax);
}

void OnColumnClicked(HWND wnd, int column)
{
    g_state.descending = g_state.sortColumn == column && !g_state.descending;
    g_state.sortColumn = column;
    ShowRows(wnd);
}

void OnNotify(HWND wnd, const NMHDR& header)
{
    if (header.idFrom != IDC_CMP_LIST)
        return;
    if (header.code == LVN_GETDISPINFOW)
        OnGetDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(&header)));
    else if (header.code == LVN_COLUMNCLICK)
        OnColumnClicked(wnd, reinterpret_cast<const NMLISTVIEW&>(header).iSubItem);
}

void InitColumns(HWND wnd)
{
    HWND list = GetDlgItem(wnd, IDC_CMP_LIST);
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        LVCOLUMNW c{};
        c.mask = LVCF_TEXT | LVCF_WIDTH;
        c.pszText = const_cast<wchar_t*>(kColumns[i]);
        RECT width{0, 0, kColumnWidths[i], 0};
        MapDialogRect(wnd, &width);
        c.cx = width.right;
        ListView_InsertColumn(list, i, &c);
    }
}

void OnInit(HWND wnd)
{
    for (int id : {IDC_CMP_LEFT_KIND, IDC_CMP_RIGHT_KIND})
        for (const wchar_t* name : kKindNames)
            SendDlgItemMessageW(wnd, id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    InitColumns(wnd);
    ShowSources(wnd);
}

void OnAllBox(HWND) {}   // ShowRows reads the box

// Every routed command ends in the program's after-command refresh, which
// shows the rows again (RefreshCompareWindow): the handlers only change what
// the rows are made of.
constexpr CommandRoute kRoutes[] = {
    {IDC_CMP_LEFT_KIND, OnKindChanged, CBN_SELCHANGE},
    {IDC_CMP_RIGHT_KIND, OnKindChanged, CBN_SELCHANGE},
    {IDC_CMP_LEFT_DETAIL, OnDetailChanged, CBN_SELCHANGE},
    {IDC_CMP_RIGHT_DETAIL, OnDetailChanged, CBN_SELCHANGE},
    {IDC_CMP_LEFT_FILE, OnFileButton},
    {IDC_CMP_RIGHT_FILE, OnFileButton},
    {IDC_CMP_ALL, WindowHandler<OnAllBox>},
    {IDC_CMP_WRITE, WindowHandler<OnWriteSelected>},
    {IDC_CMP_EXPORT, WindowHandler<OnExport>},
};

constexpr DialogBehaviour kBehaviour = {
    .init = OnInit,
    .routes = kRoutes,
    .notified = OnNotify,
    .modeless = &g_compareDlg,
};

} // namespace

INT_PTR CALLBACK CompareDlgProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return HandleDialogMessage(kBehaviour, wnd, message, wParam, lParam);
}

HWND OpenCompareWindow(CompareStart start)
{
    if (start == CompareStart::BoardAgainstFlash) {
        g_state.left = {kBoard};
        g_state.right = {kFlash};
    }
    const bool wasOpen = g_compareDlg != nullptr;
    OpenModeless(g_compareDlg, IDD_COMPARE, CompareDlgProc);
    if (wasOpen && g_compareDlg)
        ShowSources(g_compareDlg);
    return g_compareDlg;
}

void RefreshCompareWindow()
{
    if (!g_compareDlg)
        return;
    // Files stay as read; the board and its flash baseline may have changed.
    for (Side* side : {&g_state.left, &g_state.right})
        if (side->kind != kFile && side->kind != kHistory)
            TakeSource(*side);
    ShowRows(g_compareDlg);
}

void ResetCompareWindow()
{
    DestroyModeless(g_compareDlg);
    g_state = {};
}
