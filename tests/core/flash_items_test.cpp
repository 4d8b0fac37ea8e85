// The program's record in the board's flash: where each item lies in the
// flash words, its type and its default.
#include "core/flash_items.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <iterator>

namespace {

// Flash words prefilled with a pattern.
struct FakeFlash final : FlashWords {
    FakeFlash()
    {
        for (size_t i = 0; i < words.size(); ++i)
            words[i] = 0x9E3779B9u * static_cast<uint32_t>(i + 1);
    }
    uint32_t Read(int index) override { return words.at(index); }
    void Write(int index, uint32_t word) override { words.at(index) = word; }
    // Byte o of the user area, counted as the board counts it.
    uint8_t UserByte(int o) const { return static_cast<uint8_t>(words.at(15 + o / 4) >> (8 * (o % 4))); }

    std::array<uint32_t, 64> words;
};

// Word-aligned or spanning two words, an item keeps the bytes around it.
TEST(FlashItemLayout, BytesAndWordsLandLittleEndianAtEveryAlignmentAndFloatsKeepTheirBits)
{
    for (int offset = 20; offset < 24; ++offset) {
        for (int size : {1, 4}) {
            SCOPED_TRACE(testing::Message() << "offset " << offset << " size " << size);
            FakeFlash f;
            const FakeFlash before;
            const uint32_t value = size == 1 ? 0xA5u : 0xC0FFEE42u;
            size == 1 ? WriteFlashByte(f, offset, 0xA5) : WriteFlashWord32(f, offset, value);
            for (int o = 16, k = 16 - offset; o < 32; ++o, ++k)
                EXPECT_EQ(f.UserByte(o), k >= 0 && k < size ? uint8_t(value >> (8 * k)) : before.UserByte(o)) << o;
            EXPECT_EQ(size == 1 ? ReadFlashByte(f, offset) : ReadFlashWord32(f, offset), value);
        }
    }
    FakeFlash flash;
    for (uint32_t bits : {0x40CB3333u, 0x80000000u, 0x00000001u, 0x7FC00001u, 0xFF800000u}) {
        WriteFlashFloat(flash, FlashItemOffset(1097), std::bit_cast<float>(bits));
        EXPECT_EQ(std::bit_cast<uint32_t>(ReadFlashFloat(flash, FlashItemOffset(1097))), bits);
    }
}

// The item table as the board's user area is documented: number, type and
// compiled-in default, each item at byte offset number - 1000.
struct DocumentedItem {
    int number;
    FlashItemType type;
    double defaultValue;
};
constexpr FlashItemType kB = FlashItemType::Byte, kI = FlashItemType::Int32, kF = FlashItemType::Float;
constexpr DocumentedItem kDocumentedItems[] = {
    {1000, kB, 90}, {1001, kB, 0}, {1002, kB, 0}, {1003, kB, 0}, {1004, kB, 0}, {1005, kB, 0}, {1006, kB, 0},
    {1007, kB, 0}, {1008, kB, 0}, {1009, kB, 0},
    {1010, kI, 0}, {1014, kI, 0}, {1018, kI, 0}, {1022, kI, 0}, {1026, kI, 0},
    {1030, kF, 0}, {1034, kF, 0}, {1038, kF, 0}, {1042, kF, 0}, {1046, kF, 0},
    {1050, kB, 0}, {1051, kF, 0},
    {1055, kF, 0}, {1059, kF, 0}, {1063, kF, 0}, {1067, kF, 0}, {1071, kF, 0}, {1075, kF, 0}, {1079, kF, 0},
    {1083, kF, 0}, {1087, kF, 0}, {1091, kF, 0},
    {1095, kB, 0}, {1096, kB, 0}, {1097, kF, 0},
    {1101, kI, 1000000000}, {1105, kI, 1000000000}, {1109, kI, 1000000000},
    {1113, kI, -1000000000}, {1117, kI, -1000000000}, {1121, kI, -1000000000},
    {1125, kF, 5.0},
    {1129, kB, 0}, {1130, kB, 0}, {1131, kB, 0}, {1132, kB, 0}, {1133, kB, 0}, {1134, kB, 0},
    {1135, kB, 50}, {1136, kB, 50}, {1137, kB, 50}, {1138, kB, 50},
    {1139, kB, 32}, {1140, kB, 32}, {1141, kB, 32}, {1142, kB, 32},
    {1143, kF, 6.35}, {1147, kF, 6.35}, {1151, kF, 2.54}, {1155, kF, 6.35},
    {1159, kI, 0}, {1163, kB, 0}};

TEST(FlashItemLayout, EveryItemHasItsDocumentedNumberTypeDefaultAndPlace)
{
    ASSERT_EQ(std::size(kDocumentedItems), static_cast<size_t>(kFlashItemCount));
    ResetFlashItems();
    FakeFlash flash;
    WriteAllFlashItems(flash);
    for (int i = 0; i < kFlashItemCount; ++i) {
        const DocumentedItem& d = kDocumentedItems[i];
        const FlashItem& item = kFlashItemTable[i];
        SCOPED_TRACE(d.number);
        EXPECT_EQ(item.number, d.number);
        EXPECT_EQ(item.type, d.type);
        const uint32_t bits = d.type == kF ? std::bit_cast<uint32_t>(static_cast<float>(d.defaultValue))
                                           : static_cast<uint32_t>(static_cast<int32_t>(d.defaultValue));
        EXPECT_EQ(FlashItemBits(item.type, item.defaultValue), bits);
        for (int k = 0; k < (d.type == kB ? 1 : 4); ++k)
            EXPECT_EQ(flash.UserByte(d.number - 1000 + k), static_cast<uint8_t>(bits >> (8 * k))) << k;
    }
    EXPECT_TRUE(FlashMarkerValid(flash)) << "item 1000's default is the marker";
}

} // namespace
