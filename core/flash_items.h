#pragma once
// The program's per-machine record kept in the user area of the board's
// flash: the item table with its compiled-in defaults, the item layout in
// flash words, and the unpacked record `krv_user_box_data` that the rest of
// the program reads and changes.
//
// Nothing here talks to the driver: flash words are reached through
// FlashWords, which the board code implements over AXB_ReadFlashWord and
// AXB_WriteFlashWord (and tests over an array).
#include <array>
#include <cstdint>

#include "core/param_table.h"

// ---------------------------------------------------------------------------
// Flash words

struct FlashWords {
    virtual uint32_t Read(int wordIndex) = 0;
    virtual void Write(int wordIndex, uint32_t word) = 0;

protected:
    ~FlashWords() = default;
};

// Item N lives at byte offset N - 1000 of the user area, which starts at
// word 15; byte o is byte (o mod 4) of its word, least significant first.
inline constexpr int kFlashItemFirstNumber = 1000;
inline constexpr int kFlashUserFirstWord = 15;
inline constexpr uint8_t kFlashMarker = 90;   // 'Z' in item 1000: the user area is valid

struct FlashSlot {
    int word;    // index of the word that holds the item's first byte
    int shift;   // bit position of that byte within the word: 0, 8, 16 or 24
};

constexpr FlashSlot FlashSlotOf(int offset)
{
    return {kFlashUserFirstWord + offset / 4, 8 * (offset % 4)};
}

constexpr int FlashItemOffset(int number) { return number - kFlashItemFirstNumber; }

// By byte offset within the user area. A 32-bit value whose offset is not a
// multiple of 4 spans two words, little-endian; the bytes of both words that
// do not belong to it are kept.
uint8_t ReadFlashByte(FlashWords& flash, int offset);
uint32_t ReadFlashWord32(FlashWords& flash, int offset);
float ReadFlashFloat(FlashWords& flash, int offset);
void WriteFlashByte(FlashWords& flash, int offset, uint8_t value);
void WriteFlashWord32(FlashWords& flash, int offset, uint32_t value);
void WriteFlashFloat(FlashWords& flash, int offset, float value);

// The marker test of the flash check: the low byte of word 15 is 90.
bool FlashMarkerValid(FlashWords& flash);

// ---------------------------------------------------------------------------
// Item table

enum class FlashItemType : uint8_t {
    Byte = 1,
    Int32 = 2,    // signed 32-bit
    Float = 3,    // 32-bit float
};

// Only the field of the item's type is used.
struct FlashItemValue {
    uint8_t byteValue = 0;
    float floatValue = 0.0f;
    int32_t intValue = 0;
};

struct FlashItem {
    uint16_t number;
    FlashItemType type;
    FlashItemValue defaultValue;
};

inline constexpr int kFlashItemCount = 62;
using FlashItemValues = std::array<FlashItemValue, kFlashItemCount>;

constexpr FlashItem ByteItem(uint16_t number, uint8_t value = 0)
{
    return {number, FlashItemType::Byte, {value, 0.0f, 0}};
}
constexpr FlashItem IntItem(uint16_t number, int32_t value = 0)
{
    return {number, FlashItemType::Int32, {0, 0.0f, value}};
}
constexpr FlashItem FloatItem(uint16_t number, float value = 0.0f)
{
    return {number, FlashItemType::Float, {0, value, 0}};
}

// Table order is the order of writing to flash and to parameter files. The
// items lie back to back: bytes take one byte, the others four.
inline constexpr FlashItem kFlashItemTable[kFlashItemCount] = {
    ByteItem(1000, kFlashMarker),
    ByteItem(1001), ByteItem(1002), ByteItem(1003),                             // homing flags
    ByteItem(1004), ByteItem(1005), ByteItem(1006), ByteItem(1007), ByteItem(1008), // zeroing method
    ByteItem(1009),
    IntItem(1010), IntItem(1014), IntItem(1018), IntItem(1022), IntItem(1026),      // zero offsets
    FloatItem(1030), FloatItem(1034), FloatItem(1038), FloatItem(1042), FloatItem(1046),
    ByteItem(1050),
    FloatItem(1051),
    FloatItem(1055), FloatItem(1059), FloatItem(1063), FloatItem(1067), FloatItem(1071), // zoom positions
    FloatItem(1075), FloatItem(1079), FloatItem(1083), FloatItem(1087), FloatItem(1091),
    ByteItem(1095), ByteItem(1096),
    FloatItem(1097),
    IntItem(1101, 1000000000), IntItem(1105, 1000000000), IntItem(1109, 1000000000),
    IntItem(1113, -1000000000), IntItem(1117, -1000000000), IntItem(1121, -1000000000),
    FloatItem(1125, 5.0f),
    ByteItem(1129), ByteItem(1130), ByteItem(1131), ByteItem(1132), ByteItem(1133), ByteItem(1134),
    ByteItem(1135, 50), ByteItem(1136, 50), ByteItem(1137, 50), ByteItem(1138, 50),  // steps / 4
    ByteItem(1139, 32), ByteItem(1140, 32), ByteItem(1141, 32), ByteItem(1142, 32),  // microsteps / 2
    FloatItem(1143, 6.35f), FloatItem(1147, 6.35f), FloatItem(1151, 2.54f), FloatItem(1155, 6.35f),
    IntItem(1159),
    ByteItem(1163),
};

// The table's current values, in table order. They start as the defaults.
extern FlashItemValues g_flashItemValues;

// Index of the item in kFlashItemTable, or -1 when no item has this number.
constexpr int FindFlashItem(int number)
{
    for (int i = 0; i < kFlashItemCount; ++i)
        if (kFlashItemTable[i].number == number)
            return i;
    return -1;
}

// The 32-bit pattern an item's value has in flash (a byte item: 0..255).
uint32_t FlashItemBits(FlashItemType type, const FlashItemValue& value);
FlashItemValue FlashItemFromBits(FlashItemType type, uint32_t bits);

// One item between g_flashItemValues and flash: byte items by
// read-modify-write of their word, 32-bit and float items by the 32-bit
// writer.
void ReadFlashItem(FlashWords& flash, int index);
void WriteFlashItem(FlashWords& flash, int index);
// Stores a value in the item and writes it to flash at once (uncommitted).
void SetFlashItem(FlashWords& flash, int index, const FlashItemValue& value);

// Every item in table order; committing the words is the caller's part.
void ReadAllFlashItems(FlashWords& flash);
void WriteAllFlashItems(FlashWords& flash);

// A user area written before it carried stepper drive data reads zero there,
// which no drive can use: steps per revolution, microsteps and leads that
// read zero take their defaults (50, 32, and 6.35/6.35/2.54/6.35 mm).
void ReplaceZeroFlashItems();

// ---------------------------------------------------------------------------
// The unpacked record

inline constexpr int kUserBoxFenceAxes = 3;     // X, Y, Z
inline constexpr int kUserBoxZoomPositions = 10;
inline constexpr int kUserBoxJoystickButtons = 5;
inline constexpr int kUserBoxGpioPins = 8;

// One byte per flag (0 or 1 when unpacked; any nonzero value counts as set
// when packed) and one byte per nibble (0..15). Per-axis arrays are indexed
// by axis, 0 = X .. 4 = Zoom.
struct KrvUserBoxData {
    uint8_t memoryInitialized;                                // 1000, "Memory Initiailized"
    uint8_t autoHomeEnabled[kAxisCount];                      // 1001 bits 0..4
    uint8_t homingScanDirection[kAxisCount];                  // 1002 bits 0..4
    uint8_t homingFindStartLimit[kAxisCount];                 // 1003 bits 0..4
    uint8_t zeroingMethod[kAxisCount];                        // 1004 + a, list position
    uint8_t startupZeroingEnabled[kAxisCount];                // 1009 bits 0..4
    int32_t machine_zero_offset[kAxisCount];                  // 1010 + 4a, "Zero Offset (c)"
    float autoHomeVelocityPercent[kAxisCount];                // 1030 + 4a
    uint8_t zoomAxis;                                         // 1050
    float zoomBacklash;                                       // 1051
    float zoomPos[kUserBoxZoomPositions];                     // 1055 + 4i, "Zoom Pos 1".."Zoom Pos 10"
    uint8_t swFenceEnabled[kUserBoxFenceAxes];                // 1095 bits 0..2
    uint8_t analogRefMarkInverted[kEncoderAxisCount];       // 1095 bits 3..6
    uint8_t flickDisabled;                                    // 1096 bit 0
    uint8_t lampRs232;                                        // 1096 bit 1
    float flickDecel;                                         // 1097
    int32_t swFencePlus[kUserBoxFenceAxes];                   // 1101 + 4a, "SW Fence + (c)"
    int32_t swFenceMinus[kUserBoxFenceAxes];                  // 1113 + 4a, "SW Fence - (c)"
    float homeStartPos;                                       // 1125
    uint8_t joystickSecondFunction[kUserBoxJoystickButtons];  // J1..J5: 1129 low, high; 1130 low; 1163 low, high
    uint8_t gpioSoftwareFunction[kUserBoxGpioPins];           // G1..G8: 1130 high; 1131..1133 low, high; 1134 low
    uint8_t stepsPerRevDiv4[kEncoderAxisCount];             // 1135 + a, "Steps Per Rev (Stp)" / 4
    uint8_t microStepsPerStepDiv2[kEncoderAxisCount];       // 1139 + a, "Micro Steps Per Step" / 2
    float distancePerMotorRevMm[kEncoderAxisCount];         // 1143 + 4a, lead in mm
    int32_t counts_per_360_q;                                 // 1159, "(c) per 360° of stage"
};

// The process-wide record; it starts as the unpacked defaults.
extern KrvUserBoxData krv_user_box_data;
// The per-axis zero offsets under the name the motion code uses: the same
// five values as krv_user_box_data.machine_zero_offset.
extern int32_t (&machine_zero_offset)[kAxisCount];

// Pure forms: the record from item values, and item values from the record.
// Packing changes only the bits and fields the record carries; the other
// bits of a flag or nibble byte keep their value.
KrvUserBoxData UnpackItemValues(const FlashItemValues& values);
void PackItemValues(const KrvUserBoxData& data, FlashItemValues& values);

// krv_user_box_data from g_flashItemValues. Logs
// "krv_user_box_data.counts_per_360_q" + value + "\n" as one text through
// log (required), which keeps this file free of the log channel.
void UnpackUserBoxData(void (*log)(const char* text));
// g_flashItemValues from krv_user_box_data, so that the next flash write
// carries the record's changes.
void PackUserBoxData();

// Item values back to the defaults and the record to their unpacked form.
void ResetFlashItems();

// ---------------------------------------------------------------------------
// "Del New Flash"

struct ParamAssignment {
    uint16_t param;
    uint32_t value;
};

inline constexpr ParamAssignment kDelNewFlashTable[] = {
    {260, 100}, {300, 100}, {340, 100}, {380, 100},
    {264, 10}, {304, 10}, {344, 10}, {384, 10},
    {261, 1000000000}, {301, 1000000000}, {341, 1000000000}, {381, 1000000000},
    // P084 appears twice in the fresh-board list; the repeat is harmless.
    {13, 0}, {84, 0}, {84, 0}, {85, 0}, {86, 0}, {87, 0}, {88, 0}, {89, 0},
    {124, 0}, {125, 0}, {126, 0}, {127, 0}, {128, 0}, {129, 0},
    {164, 0}, {165, 0}, {166, 0}, {167, 0}, {168, 0}, {169, 0},
    {230, 0}, {231, 0},
    {237, 0}, {238, 0}, {239, 0}, {240, 0}, {241, 0},
    {244, 0}, {245, 0}, {246, 0}, {247, 0}, {248, 0}, {249, 0},
    {250, 0}, {251, 0}, {252, 0}, {253, 0}, {254, 0}, {255, 0},
};

// The parameter table of a fresh board: P256..P511 cleared, then
// kDelNewFlashTable applied in order.
void ApplyDelNewFlash(uint32_t (&params)[kParamCount]);
