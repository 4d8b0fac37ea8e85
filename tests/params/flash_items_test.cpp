#include "params/flash_items.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <iterator>
#include <set>
#include <initializer_list>
#include <string>
#include <vector>

namespace {

// The board's flash words, prefilled with a pattern, recording which words
// were written.
struct FakeFlash final : FlashWords {
    explicit FakeFlash(bool pattern = true)
    {
        for (size_t i = 0; i < words.size(); ++i)
            words[i] = pattern ? 0x9E3779B9u * static_cast<uint32_t>(i + 1) : 0;
    }
    uint32_t Read(int index) override { return words.at(index); }
    void Write(int index, uint32_t word) override
    {
        words.at(index) = word;
        written.insert(index);
    }
    // Byte o of the user area, counted as the board counts it.
    uint8_t UserByte(int o) const { return static_cast<uint8_t>(words.at(15 + o / 4) >> (8 * (o % 4))); }

    std::array<uint32_t, 64> words;
    std::set<int> written;
};

template <class T>
std::vector<int> Bytes(const T& field)
{
    return std::vector<int>(std::begin(field), std::end(field));
}

class FlashItemsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFlashItems(); }
    void TearDown() override { ResetFlashItems(); }
    static FlashItemValue& Item(int number) { return g_flashItemValues[FindFlashItem(number)]; }
    static uint32_t Bits(const FlashItemValues& values, int i) { return FlashItemBits(kFlashItemTable[i].type, values[i]); }
    // Each item's value as a number, whatever its type.
    static void ExpectItems(std::initializer_list<std::pair<int, double>> expected)
    {
        for (auto [number, value] : expected) {
            const FlashItemValue& v = Item(number);
            switch (kFlashItemTable[FindFlashItem(number)].type) {
            case FlashItemType::Byte: EXPECT_EQ(v.byteValue, value) << number; break;
            case FlashItemType::Int32: EXPECT_EQ(v.intValue, value) << number; break;
            case FlashItemType::Float: EXPECT_EQ(v.floatValue, static_cast<float>(value)) << number; break;
            }
        }
    }
};

TEST(FlashItemLayout, Item1010SpansWords17And18KeepingTheirOtherBytes)
{
    FakeFlash flash;
    flash.words[17] = 0xAABBCCDDu;
    flash.words[18] = 0x11223344u;
    WriteFlashWord32(flash, FlashItemOffset(1010), 0x12345678u);
    EXPECT_EQ(flash.words[17], 0x5678CCDDu);
    EXPECT_EQ(flash.words[18], 0x11221234u);
    EXPECT_EQ(flash.written, (std::set<int>{17, 18}));
    EXPECT_EQ(ReadFlashWord32(flash, FlashItemOffset(1010)), 0x12345678u);
}

TEST(FlashItemLayout, BytesAndWordsLandLittleEndianAtEveryAlignmentAndKeepTheirNeighbours)
{
    for (int offset = 20; offset < 24; ++offset) {
        for (int size : {1, 4}) {
            FakeFlash flash;
            const FakeFlash before = flash;
            const uint32_t value = size == 1 ? 0xA5u : 0xC0FFEE42u;
            size == 1 ? WriteFlashByte(flash, offset, 0xA5) : WriteFlashWord32(flash, offset, value);
            for (int o = 16; o < 32; ++o) {
                const int k = o - offset;
                const uint8_t expected = k >= 0 && k < size ? static_cast<uint8_t>(value >> (8 * k)) : before.UserByte(o);
                EXPECT_EQ(flash.UserByte(o), expected) << "offset " << offset << " size " << size << " byte " << o;
            }
            EXPECT_EQ(size == 1 ? ReadFlashByte(flash, offset) : ReadFlashWord32(flash, offset), value);
        }
    }
}

TEST(FlashItemLayout, FloatsKeepTheirBitPatternAndTheMarkerIsTheLowByteOfWord15)
{
    for (uint32_t bits : {0x40CB3333u, 0xBFC00000u, 0x80000000u, 0x00000001u, 0x7FC00001u, 0xFF800000u}) {
        FakeFlash flash;
        WriteFlashFloat(flash, FlashItemOffset(1097), std::bit_cast<float>(bits));
        EXPECT_EQ(std::bit_cast<uint32_t>(ReadFlashFloat(flash, FlashItemOffset(1097))), bits);
    }
    FakeFlash flash;
    for (uint32_t word15 : {0x5Au, 0x12345A5Au, 0x59u, 0x5A00u}) {
        flash.words[15] = word15;
        EXPECT_EQ(FlashMarkerValid(flash), (word15 & 0xFF) == 0x5A) << std::hex << word15;
    }
}

TEST_F(FlashItemsTest, AllItemsWrittenToErasedFlashStayInTheUserAreaAndReadBack)
{
    FakeFlash flash;
    flash.words.fill(0xFFFFFFFFu);
    WriteAllFlashItems(flash);
    EXPECT_EQ(*flash.written.begin(), 15);
    EXPECT_EQ(*flash.written.rbegin(), 55);
    EXPECT_TRUE(FlashMarkerValid(flash));
    EXPECT_EQ(static_cast<int32_t>(ReadFlashWord32(flash, FlashItemOffset(1113))), -1000000000);

    Item(1010).intValue = -25;
    SetFlashItem(flash, FindFlashItem(1125), FlashItemFromBits(FlashItemType::Float, 0x40F00000u));
    Item(1163).byteValue = 0xDC;
    WriteFlashItem(flash, FindFlashItem(1163));
    const FlashItemValues written = g_flashItemValues;
    WriteAllFlashItems(flash);
    ResetFlashItems();
    ReadAllFlashItems(flash);
    ExpectItems({{1125, 7.5}, {1151, 2.54}});
    for (int i = 0; i < kFlashItemCount; ++i)
        EXPECT_EQ(Bits(g_flashItemValues, i), Bits(written, i)) << "item " << kFlashItemTable[i].number;
}

TEST_F(FlashItemsTest, BlankStepperDataTakesItsDefaultsAndNothingElseDoes)
{
    FakeFlash blank(false);
    ReadAllFlashItems(blank);
    Item(1136).byteValue = 7;
    Item(1151).floatValue = 1.0f;
    Item(1155).floatValue = -0.0f;
    ReplaceZeroFlashItems();
    ExpectItems({{1135, 50}, {1136, 7}, {1137, 50}, {1138, 50}, {1139, 32}, {1140, 32}, {1141, 32}, {1142, 32},
                 {1143, 6.35}, {1147, 6.35}, {1151, 1.0}, {1155, 6.35},
                 // Zeros elsewhere are values, even where the default differs.
                 {1125, 0}, {1101, 0}, {1000, 0}});
}

TEST_F(FlashItemsTest, FlagsAndNibblesUnpackPerAxisAndPackBack)
{
    const std::pair<int, uint8_t> bytes[] = {{1001, 0b10101}, {1003, 0b01000}, {1095, 0b1011010}, {1096, 0b10},
                                             {1129, 0x21}, {1130, 0x43}, {1131, 0x65}, {1132, 0x87},
                                             {1133, 0xA9}, {1134, 0x0B}, {1163, 0xDC}};
    for (auto [number, value] : bytes)
        Item(number).byteValue = value;
    const KrvUserBoxData d = UnpackItemValues(g_flashItemValues);
    EXPECT_EQ(Bytes(d.autoHomeEnabled), (std::vector<int>{1, 0, 1, 0, 1}));
    EXPECT_EQ(Bytes(d.homingFindStartLimit), (std::vector<int>{0, 0, 0, 1, 0}));
    EXPECT_EQ(Bytes(d.swFenceEnabled), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(Bytes(d.analogRefMarkInverted), (std::vector<int>{1, 1, 0, 1}));
    EXPECT_EQ(d.flickDisabled, 0);
    EXPECT_EQ(d.lampRs232, 1);
    EXPECT_EQ(Bytes(d.joystickSecondFunction), (std::vector<int>{1, 2, 3, 12, 13}));
    EXPECT_EQ(Bytes(d.gpioSoftwareFunction), (std::vector<int>{4, 5, 6, 7, 8, 9, 10, 11}));

    FlashItemValues packed{};
    PackItemValues(d, packed);
    for (int i = 0; i < kFlashItemCount; ++i)
        EXPECT_EQ(Bits(packed, i), Bits(g_flashItemValues, i)) << "item " << kFlashItemTable[i].number;
}

TEST_F(FlashItemsTest, PackingCountsNonzeroAsSetAndKeepsBitsTheRecordLacks)
{
    Item(1001).byteValue = 0x1F;
    Item(1095).byteValue = 0x80;
    Item(1096).byteValue = 0xF0;
    Item(1134).byteValue = 0xE0;
    KrvUserBoxData d = UnpackItemValues(g_flashItemValues);
    d.autoHomeEnabled[1] = 0;
    d.swFenceEnabled[2] = 2;
    d.lampRs232 = 0x80;
    d.gpioSoftwareFunction[7] = 0x13;   // only the low nibble is stored
    d.gpioSoftwareFunction[5] = 0x1F;   // G6 must not spill into G7 above it
    PackItemValues(d, g_flashItemValues);
    ExpectItems({{1001, 0x1D}, {1095, 0x84}, {1096, 0xF2}, {1134, 0xE3}, {1133, 0x0F}});
}

std::string g_logged;

TEST_F(FlashItemsTest, ProcessRecordFollowsTheItemsAndResetRestoresTheDefaults)
{
    Item(1018).intValue = 1234;
    Item(1159).intValue = -360000;
    g_logged.clear();
    UnpackUserBoxData([](const char* text) { g_logged += text; });
    EXPECT_EQ(g_logged, "krv_user_box_data.counts_per_360_q-360000\n");
    EXPECT_EQ(machine_zero_offset[2], 1234);

    machine_zero_offset[4] = -77;
    krv_user_box_data.swFencePlus[1] = 4000;
    PackUserBoxData();
    ExpectItems({{1026, -77}, {1105, 4000}});

    ResetFlashItems();
    ExpectItems({{1026, 0}, {1000, 90}});
    EXPECT_EQ(machine_zero_offset[4], 0);
    EXPECT_EQ(krv_user_box_data.swFenceMinus[2], -1000000000);
    EXPECT_EQ(krv_user_box_data.homeStartPos, 5.0f);
    EXPECT_EQ(krv_user_box_data.microStepsPerStepDiv2[0], 32);
}

TEST(FlashDelNewFlash, FreshBoardTable)
{
    EXPECT_EQ(std::size(kDelNewFlashTable), 51u);
    uint32_t params[kParamCount];
    std::fill(std::begin(params), std::end(params), 0xFFFFFFFFu);
    ApplyDelNewFlash(params);
    const std::pair<int, uint32_t> expected[] = {
        {260, 100}, {262, 0}, {384, 10}, {381, 1000000000}, {13, 0}, {84, 0}, {241, 0}, {511, 0},
        // Parameters below 256 that the table does not name are left alone.
        {12, 0xFFFFFFFFu}, {242, 0xFFFFFFFFu}, {90, 0xFFFFFFFFu}};
    for (auto [param, value] : expected)
        EXPECT_EQ(params[param], value) << "P" << param;
}

} // namespace
