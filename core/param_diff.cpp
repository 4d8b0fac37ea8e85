#include "core/param_diff.h"

#include "core/session_state.h"
#include "core/unit_conversion.h"

#include <cwchar>

namespace {

constexpr const wchar_t* kAxisTexts[kAxisCount] = {L"X", L"Y", L"Z", L"Q", L"Zoom"};
constexpr int kFirstBlockEnd = kParamFirstAxisBlock + kAxisParamStride * kAxisCount;
constexpr int kSecondBlockEnd = kParamSecondAxisBlock + kAxisParamStride * kEncoderAxisCount;

std::span<const ParamFieldName> g_fieldNames;

// Item groups in the record layout's words: a group of several items names
// each by its axis (or, for the zoom positions, by its position).
struct ItemGroupName {
    int first;
    int count;
    int step;
    const wchar_t* name;
    bool byPosition;
};
constexpr ItemGroupName kItemGroupNames[] = {
    {1000, 1, 1, L"Memory Initiailized", false},
    {1001, 1, 1, L"Auto Homing Enabled", false},
    {1002, 1, 1, L"Homing Scan Direction", false},
    {1003, 1, 1, L"Homing Find Start Limit", false},
    {1004, 5, 1, L"Zeroing Method", false},
    {1009, 1, 1, L"Startup Zeroing Enabled", false},
    {1010, 5, 4, L"Zero Offset (c)", false},
    {1030, 5, 4, L"Auto Home Velocity %", false},
    {1050, 1, 1, L"Zoom Axis", false},
    {1051, 1, 1, L"Zoom Backlash", false},
    {1055, 10, 4, L"Zoom Pos", true},
    {1095, 1, 1, L"SW Fence Enabled", false},
    {1096, 1, 1, L"Flick Disabled, Lamp RS232", false},
    {1097, 1, 1, L"Flick Decel", false},
    {1101, 3, 4, L"SW Fence + (c)", false},
    {1113, 3, 4, L"SW Fence - (c)", false},
    {1125, 1, 1, L"Home Start pos", false},
    {1129, 1, 1, L"Joystick J1, J2", false},
    {1130, 1, 1, L"Joystick J3, GPIO G1", false},
    {1131, 1, 1, L"GPIO G2, G3", false},
    {1132, 1, 1, L"GPIO G4, G5", false},
    {1133, 1, 1, L"GPIO G6, G7", false},
    {1134, 1, 1, L"GPIO G8", false},
    {1135, 4, 1, L"Steps Per Rev (Stp) / 4", false},
    {1139, 4, 1, L"Micro Steps Per Step (\u00b5Stp) / 2", false},
    {1143, 4, 4, L"Distance Per Motor Revolution (mm)", false},
    {1159, 1, 1, L"(c) per 360\u00b0 of stage", false},
    {1163, 1, 1, L"Joystick J4, J5", false},
};

struct ItemPlace {
    const ItemGroupName* group = nullptr;
    int index = 0;   // within the group
};

ItemPlace PlaceOfItem(int number)
{
    for (const ItemGroupName& g : kItemGroupNames) {
        const int offset = number - g.first;
        if (offset >= 0 && offset < g.count * g.step && offset % g.step == 0)
            return {&g, offset / g.step};
    }
    return {};
}

const ParamFieldName* FieldOfParam(int number, int axis)
{
    const int xNumber = axis >= 0 && number < kFirstBlockEnd ? number - kAxisParamStride * axis : -1;
    for (const ParamFieldName& field : g_fieldNames)
        if (field.param == xNumber)
            return &field;
    return nullptr;
}

bool IsConvertingMode() { return g_unitMode == kUnitInch || g_unitMode == kUnitMm; }

DiffRow ParamRow(int left, int right, uint32_t leftValue, uint32_t rightValue)
{
    return {DiffRowKind::Param, left, right, AxisOfParam(left), leftValue, rightValue};
}

void AddAxisBlock(std::vector<DiffRow>& rows, const BoardConfig& config, int block, int leftAxis, int rightAxis)
{
    for (int i = 0; i < kAxisParamStride; ++i) {
        const int left = AxisParam(block + i, leftAxis);
        const int right = AxisParam(block + i, rightAxis);
        rows.push_back(ParamRow(left, right, config.params[left], config.params[right]));
    }
}

std::wstring Formatted(const wchar_t* format, auto value)
{
    wchar_t text[64];
    std::swprintf(text, std::size(text), format, value);
    return text;
}

struct ShownValue {
    std::wstring text;
    double value = 0;
    bool numeric = true;
};

ShownValue ShowParam(const DiffRow& row, uint32_t bits)
{
    const auto stored = static_cast<int32_t>(bits);
    const ParamFieldName* field = FieldOfParam(row.number, row.axis);
    if (!field || field->raw || !IsConvertingMode())
        return {Formatted(L"%d", stored), static_cast<double>(stored)};
    const int kind = g_unitMode == kUnitInch ? field->kindInch : field->kindMm;
    if (g_stepperCalValid[row.axis] == 0 && IsStepperKind(kind))
        return {L"?????", 0, false};
    const double units = CountsToUnits(stored, row.axis, kind);
    return {Formatted(L"%g", units), units};
}

ShownValue ShowItem(const DiffRow& row, uint32_t bits)
{
    const FlashItemType type = kFlashItemTable[FindFlashItem(row.number)].type;
    const FlashItemValue value = FlashItemFromBits(type, bits);
    switch (type) {
    case FlashItemType::Byte: return {Formatted(L"%u", unsigned{value.byteValue}), static_cast<double>(value.byteValue)};
    case FlashItemType::Int32: return {Formatted(L"%d", value.intValue), static_cast<double>(value.intValue)};
    default: return {Formatted(L"%g", double{value.floatValue}), double{value.floatValue}};
    }
}

ShownValue Show(const DiffRow& row, uint32_t bits)
{
    return row.kind == DiffRowKind::Param ? ShowParam(row, bits) : ShowItem(row, bits);
}

std::wstring NameOf(const DiffRow& row)
{
    if (row.kind == DiffRowKind::Item) {
        const ItemPlace place = PlaceOfItem(row.number);
        if (!place.group)
            return Formatted(L"%d", row.number);
        if (place.group->byPosition)
            return std::wstring(place.group->name) + Formatted(L" %d", place.index + 1);
        if (place.group->count > 1)
            return std::wstring(place.group->name) + L" " + kAxisTexts[place.index];
        return place.group->name;
    }
    const ParamFieldName* field = FieldOfParam(row.number, row.axis);
    return field ? field->caption[IsConvertingMode() ? g_unitMode : 0] : Formatted(L"P%03d", row.number);
}

std::wstring NumberOf(const DiffRow& row)
{
    if (row.kind == DiffRowKind::Item)
        return Formatted(L"%d", row.number);
    if (row.rightNumber != row.number)
        return Formatted(L"P%03d", row.number) + Formatted(L"/P%03d", row.rightNumber);
    return Formatted(L"P%03d", row.number);
}

void AppendUtf8(std::string& out, const std::wstring& text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = static_cast<uint32_t>(text[i]);
        // Two UTF-16 units where wchar_t is 16 bits wide.
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
            c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<uint32_t>(text[++i]) - 0xDC00);
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
}

void AppendCsvField(std::string& out, const std::wstring& text)
{
    if (text.find_first_of(L",\"\r\n") == std::wstring::npos) {
        AppendUtf8(out, text);
        return;
    }
    out += '"';
    for (wchar_t c : text) {
        if (c == L'"')
            out += '"';
        AppendUtf8(out, std::wstring(1, c));
    }
    out += '"';
}

void AppendCsvLine(std::string& out, std::initializer_list<std::wstring> fields)
{
    bool first = true;
    for (const std::wstring& field : fields) {
        if (!first)
            out += ',';
        AppendCsvField(out, field);
        first = false;
    }
    out += "\r\n";
}

} // namespace

void SetParamFieldNames(std::span<const ParamFieldName> names) { g_fieldNames = names; }

int AxisOfParam(int number)
{
    if (number >= kParamFirstAxisBlock && number < kFirstBlockEnd)
        return (number - kParamFirstAxisBlock) / kAxisParamStride;
    if (number >= kParamSecondAxisBlock && number < kSecondBlockEnd)
        return (number - kParamSecondAxisBlock) / kAxisParamStride;
    return -1;
}

std::vector<DiffRow> DiffConfigs(const BoardConfig& left, const BoardConfig& right)
{
    std::vector<DiffRow> rows;
    rows.reserve(kParamCount + kFlashItemCount);
    for (int n = 0; n < kParamCount; ++n)
        rows.push_back(ParamRow(n, n, left.params[n], right.params[n]));
    for (int i = 0; i < kFlashItemCount; ++i) {
        const FlashItem& item = kFlashItemTable[i];
        rows.push_back({DiffRowKind::Item, item.number, item.number, -1, FlashItemBits(item.type, left.items[i]),
                        FlashItemBits(item.type, right.items[i])});
    }
    return rows;
}

std::vector<DiffRow> DiffAxes(const BoardConfig& config, int leftAxis, int rightAxis)
{
    std::vector<DiffRow> rows;
    AddAxisBlock(rows, config, kParamFirstAxisBlock, leftAxis, rightAxis);
    if (leftAxis < kEncoderAxisCount && rightAxis < kEncoderAxisCount)
        AddAxisBlock(rows, config, kParamSecondAxisBlock, leftAxis, rightAxis);
    return rows;
}

UnsavedCount CountDiffering(std::span<const DiffRow> rows)
{
    UnsavedCount count;
    for (const DiffRow& row : rows)
        if (row.Differs())
            ++(row.kind == DiffRowKind::Param ? count.params : count.items);
    return count;
}

std::vector<DiffRow> DifferingRows(std::vector<DiffRow> rows)
{
    std::erase_if(rows, [](const DiffRow& row) { return !row.Differs(); });
    return rows;
}

std::wstring UnsavedText(const UnsavedCount& count)
{
    if (count.Total() == 0)
        return L"Saved to flash";
    std::wstring text = L"Not saved to flash: ";
    if (count.params > 0)
        text += Formatted(count.params == 1 ? L"%d parameter" : L"%d parameters", count.params);
    if (count.params > 0 && count.items > 0)
        text += L", ";
    if (count.items > 0)
        text += Formatted(count.items == 1 ? L"%d record item" : L"%d record items", count.items);
    return text;
}

DiffRowText DescribeDiffRow(const DiffRow& row)
{
    const ShownValue left = Show(row, row.left);
    const ShownValue right = Show(row, row.right);
    const std::wstring name = NameOf(row) + (row.kept ? L" (the board kept its value)" : L"");
    DiffRowText text{NumberOf(row), name, row.axis >= 0 ? kAxisTexts[row.axis] : L"", left.text, right.text, {}};
    text.leftValue = left.value;
    text.rightValue = right.value;
    if (left.numeric && right.numeric) {
        text.differenceValue = right.value - left.value;
        text.difference = Formatted(L"%g", text.differenceValue);
    }
    return text;
}

std::string FormatDiffCsv(std::span<const DiffRow> rows, const wchar_t* leftName, const wchar_t* rightName)
{
    std::string out;
    AppendCsvLine(out, {L"Number", L"Name", L"Axis", leftName, rightName, L"Difference"});
    for (const DiffRow& row : rows) {
        const DiffRowText t = DescribeDiffRow(row);
        AppendCsvLine(out, {t.number, t.name, t.axis, t.left, t.right, t.difference});
    }
    return out;
}
