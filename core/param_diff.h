#pragma once
// Two configurations of the board side by side: the 512 parameters and the
// 62 record items of each, row by row, with the values shown the way the
// main window shows them. Also the rows' CSV form and the unsaved count the
// main window's flash line reports.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/flash_items.h"
#include "core/param_table.h"

// What the board holds, or held, or a file says.
struct BoardConfig {
    uint32_t params[kParamCount] = {};
    FlashItemValues items = {};
};

// A main-window field as the diff names and converts it: the X number, the
// caption per unit mode (As Stored, inches, millimetres) and the conversion
// kinds of the converting modes.
struct ParamFieldName {
    int param;
    const wchar_t* caption[3];
    int kindInch;
    int kindMm;
    bool raw;
};

// The main window registers its fields once; until then parameters are
// named "P123" and shown as stored.
void SetParamFieldNames(std::span<const ParamFieldName> names);

enum class DiffRowKind : uint8_t { Param, Item };

struct DiffRow {
    DiffRowKind kind = DiffRowKind::Param;
    int number = 0;        // parameter 0..511 or item number 1000..1163 of the left side
    int rightNumber = 0;   // the right side's: another axis's twin when axes are compared
    int axis = -1;         // of the left side; -1 for board-wide rows
    uint32_t left = 0;     // raw bits (a float item's pattern)
    uint32_t right = 0;
    bool kept = false;     // the board kept another value than the program wrote
    bool Differs() const { return left != right || kept; }
};

// Every parameter, then every item in table order: 574 rows.
std::vector<DiffRow> DiffConfigs(const BoardConfig& left, const BoardConfig& right);
// The per-axis blocks of one axis against another's (the second block only
// when both axes have one), row by row; no item rows.
std::vector<DiffRow> DiffAxes(const BoardConfig& config, int leftAxis, int rightAxis);

// The axis a parameter belongs to, -1 for a board-wide one.
int AxisOfParam(int number);

struct UnsavedCount {
    int params = 0;
    int items = 0;
    int Total() const { return params + items; }
};
UnsavedCount CountDiffering(std::span<const DiffRow> rows);
// The rows that differ, in their order: what Compare lists by default.
std::vector<DiffRow> DifferingRows(std::vector<DiffRow> rows);
// "Saved to flash" or "Not saved to flash: 3 parameters, 1 record item".
std::wstring UnsavedText(const UnsavedCount& count);

// A row as the list and the CSV show it, in the current unit mode; a row the
// board kept says so after its name.
struct DiffRowText {
    std::wstring number;   // "P090" or "1010"
    std::wstring name;
    std::wstring axis;     // "X".."Zoom" or empty
    std::wstring left;
    std::wstring right;
    std::wstring difference;   // empty where the values do not subtract
    double leftValue = 0;      // the shown values as numbers, for sorting
    double rightValue = 0;
    double differenceValue = 0;
};
DiffRowText DescribeDiffRow(const DiffRow& row);

// The header line and one line per row, CR LF, UTF-8; fields with a comma
// or a quote are quoted.
std::string FormatDiffCsv(std::span<const DiffRow> rows, const wchar_t* leftName, const wchar_t* rightName);
