#include "core/flash_items.h"

#include <bit>
#include <cstdio>

namespace {

constexpr int ItemSize(FlashItemType type) { return type == FlashItemType::Byte ? 1 : 4; }

// A typo in the table would make two items share flash bytes.
constexpr bool ItemsLieBackToBack()
{
    int next = 0;
    for (const FlashItem& item : kFlashItemTable) {
        if (FlashItemOffset(item.number) != next)
            return false;
        next += ItemSize(item.type);
    }
    return true;
}
static_assert(ItemsLieBackToBack());

constexpr FlashItemValues DefaultItemValues()
{
    FlashItemValues values{};
    for (int i = 0; i < kFlashItemCount; ++i)
        values[i] = kFlashItemTable[i].defaultValue;
    return values;
}

// The record's layout over the items, walked once for unpacking and once
// for packing so that the two directions cannot disagree.
template <class Data, class Visitor>
constexpr void VisitRecordFields(Data& d, Visitor& v)
{
    v.Byte(1000, d.memoryInitialized);
    for (int a = 0; a < kAxisCount; ++a) {
        v.Flag(1001, a, d.autoHomeEnabled[a]);
        v.Flag(1002, a, d.homingScanDirection[a]);
        v.Flag(1003, a, d.homingFindStartLimit[a]);
        v.Byte(1004 + a, d.zeroingMethod[a]);
        v.Flag(1009, a, d.startupZeroingEnabled[a]);
        v.Int(1010 + 4 * a, d.machine_zero_offset[a]);
        v.Float(1030 + 4 * a, d.autoHomeVelocityPercent[a]);
    }
    v.Byte(1050, d.zoomAxis);
    v.Float(1051, d.zoomBacklash);
    for (int i = 0; i < kUserBoxZoomPositions; ++i)
        v.Float(1055 + 4 * i, d.zoomPos[i]);
    for (int a = 0; a < kUserBoxFenceAxes; ++a) {
        v.Flag(1095, a, d.swFenceEnabled[a]);
        v.Int(1101 + 4 * a, d.swFencePlus[a]);
        v.Int(1113 + 4 * a, d.swFenceMinus[a]);
    }
    for (int a = 0; a < kEncoderAxisCount; ++a)
        v.Flag(1095, 3 + a, d.analogRefMarkInverted[a]);
    v.Flag(1096, 0, d.flickDisabled);
    v.Flag(1096, 1, d.lampRs232);
    v.Float(1097, d.flickDecel);
    v.Float(1125, d.homeStartPos);
    // The nibbles run low then high through 1129..1134 as J1, J2, J3, G1..G8;
    // J4 and J5 were added later in 1163.
    for (int j = 0; j < 3; ++j)
        v.Nibble(1129 + j / 2, 4 * (j % 2), d.joystickSecondFunction[j]);
    for (int j = 3; j < kUserBoxJoystickButtons; ++j)
        v.Nibble(1163, 4 * (j - 3), d.joystickSecondFunction[j]);
    for (int g = 0; g < kUserBoxGpioPins; ++g)
        v.Nibble(1130 + (g + 1) / 2, 4 * ((g + 1) % 2), d.gpioSoftwareFunction[g]);
    for (int a = 0; a < kEncoderAxisCount; ++a) {
        v.Byte(1135 + a, d.stepsPerRevDiv4[a]);
        v.Byte(1139 + a, d.microStepsPerStepDiv2[a]);
        v.Float(1143 + 4 * a, d.distancePerMotorRevMm[a]);
    }
    v.Int(1159, d.counts_per_360_q);
}

struct Unpacker {
    const FlashItemValues& values;

    constexpr const FlashItemValue& At(int number) const { return values[FindFlashItem(number)]; }
    constexpr void Byte(int number, uint8_t& field) const { field = At(number).byteValue; }
    constexpr void Int(int number, int32_t& field) const { field = At(number).intValue; }
    constexpr void Float(int number, float& field) const { field = At(number).floatValue; }
    constexpr void Flag(int number, int bit, uint8_t& field) const
    {
        field = (At(number).byteValue >> bit) & 1u;
    }
    constexpr void Nibble(int number, int shift, uint8_t& field) const
    {
        field = (At(number).byteValue >> shift) & 0xFu;
    }
};

struct Packer {
    FlashItemValues& values;

    FlashItemValue& At(int number) { return values[FindFlashItem(number)]; }
    void Byte(int number, const uint8_t& field) { At(number).byteValue = field; }
    void Int(int number, const int32_t& field) { At(number).intValue = field; }
    void Float(int number, const float& field) { At(number).floatValue = field; }
    void Flag(int number, int bit, const uint8_t& field) { Insert(number, bit, 1u, field != 0 ? 1u : 0u); }
    void Nibble(int number, int shift, const uint8_t& field) { Insert(number, shift, 0xFu, field & 0xFu); }

    void Insert(int number, int shift, unsigned mask, unsigned bits)
    {
        uint8_t& byte = At(number).byteValue;
        byte = static_cast<uint8_t>((byte & ~(mask << shift)) | (bits << shift));
    }
};

// Every field names an existing item of its own type, no two fields share a
// bit, and no item is left without a field.
struct LayoutCheck {
    std::array<uint32_t, kFlashItemCount> claimed{};
    bool ok = true;

    constexpr void Claim(int number, FlashItemType type, uint32_t bits)
    {
        const int index = FindFlashItem(number);
        if (index < 0 || kFlashItemTable[index].type != type || (claimed[index] & bits) != 0) {
            ok = false;
            return;
        }
        claimed[index] |= bits;
    }
    constexpr void Byte(int number, const uint8_t&) { Claim(number, FlashItemType::Byte, 0xFFu); }
    constexpr void Int(int number, const int32_t&) { Claim(number, FlashItemType::Int32, ~0u); }
    constexpr void Float(int number, const float&) { Claim(number, FlashItemType::Float, ~0u); }
    constexpr void Flag(int number, int bit, const uint8_t&) { Claim(number, FlashItemType::Byte, 1u << bit); }
    constexpr void Nibble(int number, int shift, const uint8_t&)
    {
        Claim(number, FlashItemType::Byte, 0xFu << shift);
    }
};

constexpr bool RecordCoversEveryItem()
{
    const KrvUserBoxData data{};
    LayoutCheck check;
    VisitRecordFields(data, check);
    for (uint32_t bits : check.claimed)
        if (bits == 0)
            return false;
    return check.ok;
}
static_assert(RecordCoversEveryItem());

constexpr KrvUserBoxData Unpacked(const FlashItemValues& values)
{
    KrvUserBoxData data{};
    Unpacker unpacker{values};
    VisitRecordFields(data, unpacker);
    return data;
}

constexpr uint32_t LowMask(int bits) { return (uint32_t{1} << bits) - 1; }

// Stepper drive data whose zero means "never written" rather than a usable
// value.
constexpr int kZeroReplacedItems[] = {1135, 1136, 1137, 1138, 1139, 1140, 1141, 1142,
                                      1143, 1147, 1151, 1155};

constexpr bool IsZero(FlashItemType type, const FlashItemValue& value)
{
    return type == FlashItemType::Float ? value.floatValue == 0.0f : value.byteValue == 0;
}

} // namespace

constinit FlashItemValues g_flashItemValues = DefaultItemValues();
constinit KrvUserBoxData krv_user_box_data = Unpacked(DefaultItemValues());
constinit int32_t (&machine_zero_offset)[kAxisCount] = krv_user_box_data.machine_zero_offset;

uint8_t ReadFlashByte(FlashWords& flash, int offset)
{
    const FlashSlot slot = FlashSlotOf(offset);
    return static_cast<uint8_t>(flash.Read(slot.word) >> slot.shift);
}

uint32_t ReadFlashWord32(FlashWords& flash, int offset)
{
    const FlashSlot slot = FlashSlotOf(offset);
    const uint32_t low = flash.Read(slot.word);
    if (slot.shift == 0)
        return low;
    const uint32_t high = flash.Read(slot.word + 1);
    return (low >> slot.shift) | (high << (32 - slot.shift));
}

float ReadFlashFloat(FlashWords& flash, int offset)
{
    return std::bit_cast<float>(ReadFlashWord32(flash, offset));
}

void WriteFlashByte(FlashWords& flash, int offset, uint8_t value)
{
    const FlashSlot slot = FlashSlotOf(offset);
    const uint32_t word = flash.Read(slot.word);
    flash.Write(slot.word, (word & ~(uint32_t{0xFF} << slot.shift)) | (uint32_t{value} << slot.shift));
}

void WriteFlashWord32(FlashWords& flash, int offset, uint32_t value)
{
    const FlashSlot slot = FlashSlotOf(offset);
    if (slot.shift == 0) {
        flash.Write(slot.word, value);
        return;
    }
    const uint32_t low = flash.Read(slot.word);
    const uint32_t high = flash.Read(slot.word + 1);
    const uint32_t keptLow = LowMask(slot.shift);
    flash.Write(slot.word, (low & keptLow) | (value << slot.shift));
    flash.Write(slot.word + 1, (high & ~keptLow) | (value >> (32 - slot.shift)));
}

void WriteFlashFloat(FlashWords& flash, int offset, float value)
{
    WriteFlashWord32(flash, offset, std::bit_cast<uint32_t>(value));
}

bool FlashMarkerValid(FlashWords& flash)
{
    return (flash.Read(kFlashUserFirstWord) & 0xFF) == kFlashMarker;
}

uint32_t FlashItemBits(FlashItemType type, const FlashItemValue& value)
{
    switch (type) {
    case FlashItemType::Byte: return value.byteValue;
    case FlashItemType::Int32: return static_cast<uint32_t>(value.intValue);
    case FlashItemType::Float: return std::bit_cast<uint32_t>(value.floatValue);
    }
    return 0;
}

FlashItemValue FlashItemFromBits(FlashItemType type, uint32_t bits)
{
    FlashItemValue value;
    switch (type) {
    case FlashItemType::Byte: value.byteValue = static_cast<uint8_t>(bits); break;
    case FlashItemType::Int32: value.intValue = static_cast<int32_t>(bits); break;
    case FlashItemType::Float: value.floatValue = std::bit_cast<float>(bits); break;
    }
    return value;
}

void ReadFlashItem(FlashWords& flash, int index)
{
    const FlashItem& item = kFlashItemTable[index];
    const int offset = FlashItemOffset(item.number);
    const uint32_t bits = item.type == FlashItemType::Byte ? ReadFlashByte(flash, offset)
                                                           : ReadFlashWord32(flash, offset);
    g_flashItemValues[index] = FlashItemFromBits(item.type, bits);
}

void WriteFlashItem(FlashWords& flash, int index)
{
    const FlashItem& item = kFlashItemTable[index];
    const int offset = FlashItemOffset(item.number);
    const uint32_t bits = FlashItemBits(item.type, g_flashItemValues[index]);
    if (item.type == FlashItemType::Byte)
        WriteFlashByte(flash, offset, static_cast<uint8_t>(bits));
    else
        WriteFlashWord32(flash, offset, bits);
}

void SetFlashItem(FlashWords& flash, int index, const FlashItemValue& value)
{
    g_flashItemValues[index] = value;
    WriteFlashItem(flash, index);
}

void ReadAllFlashItems(FlashWords& flash)
{
    for (int i = 0; i < kFlashItemCount; ++i)
        ReadFlashItem(flash, i);
}

void WriteAllFlashItems(FlashWords& flash)
{
    for (int i = 0; i < kFlashItemCount; ++i)
        WriteFlashItem(flash, i);
}

void ReplaceZeroFlashItems()
{
    for (int number : kZeroReplacedItems) {
        const int index = FindFlashItem(number);
        const FlashItem& item = kFlashItemTable[index];
        if (IsZero(item.type, g_flashItemValues[index]))
            g_flashItemValues[index] = item.defaultValue;
    }
}

KrvUserBoxData UnpackItemValues(const FlashItemValues& values)
{
    return Unpacked(values);
}

void PackItemValues(const KrvUserBoxData& data, FlashItemValues& values)
{
    Packer packer{values};
    VisitRecordFields(data, packer);
}

void UnpackUserBoxData(void (*log)(const char* text))
{
    krv_user_box_data = Unpacked(g_flashItemValues);
    char line[64];
    std::snprintf(line, sizeof line, "krv_user_box_data.counts_per_360_q%d\n",
                  static_cast<int>(krv_user_box_data.counts_per_360_q));
    log(line);
}

void PackUserBoxData()
{
    PackItemValues(krv_user_box_data, g_flashItemValues);
}

void ResetFlashItems()
{
    g_flashItemValues = DefaultItemValues();
    krv_user_box_data = Unpacked(g_flashItemValues);
}

void ApplyDelNewFlash(uint32_t (&params)[kParamCount])
{
    for (int n = 256; n < kParamCount; ++n)
        params[n] = 0;
    for (const ParamAssignment& entry : kDelNewFlashTable)
        params[entry.param] = entry.value;
}
