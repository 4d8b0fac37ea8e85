#include "params/flash_items.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <set>
#include <string>

namespace {

// The user area as the board keeps it, with a record of which words were
// written.
class FakeFlash final : public FlashWords {
public:
    explicit FakeFlash(uint32_t fill = 0) { words.fill(fill); }
    uint32_t Read(int index) override { return words.at(index); }
    void Write(int index, uint32_t word) override
    {
        words.at(index) = word;
        written.insert(index);
    }

    // Byte o of the user area, counted as the board counts it.
    uint8_t UserByte(int offset) const
    {
        return static_cast<uint8_t>(words.at(kFlashUserFirstWord + offset / 4) >> (8 * (offset % 4)));
    }

    std::array<uint32_t, 64> words{};
    std::set<int> written;
};

void FillPattern(FakeFlash& flash)
{
    for (size_t i = 0; i < flash.words.size(); ++i)
        flash.words[i] = 0x9E3779B9u * static_cast<uint32_t>(i + 1);
}

class FlashItemsTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFlashItems(); }
    void TearDown() override { ResetFlashItems(); }

    static FlashItemValue& Item(int number) { return g_flashItemValues[FindFlashItem(number)]; }
};

TEST(FlashItemLayout, Item1010SpansWords17And18KeepingTheirOtherBytes)
{
    FakeFlash flash;
    flash.words[17] = 0xAABBCCDDu;
    flash.words[18] = 0x11223344u;
    WriteFlashWord32(flash, FlashItemOffset(1010), 0x12345678u);
    EXPECT_EQ(flash.words[17], 0x5678CCDDu);
    EXPECT_EQ(flash.words[18], 0x11221234u);
    EXPECT_EQ(ReadFlashWord32(flash, FlashItemOffset(1010)), 0x12345678u);
    EXPECT_EQ(flash.written, (std::set<int>{17, 18}));
}

TEST(FlashItemLayout, WordsLandLittleEndianAtEveryAlignment)
{
    for (int offset = 20; offset < 24; ++offset) {
        FakeFlash flash;
        FillPattern(flash);
        const FakeFlash before = flash;
        WriteFlashWord32(flash, offset, 0xC0FFEE42u);
        for (int o = 16; o < 32; ++o) {
            const int k = o - offset;
            const uint8_t expected = k >= 0 && k < 4 ? static_cast<uint8_t>(0xC0FFEE42u >> (8 * k))
                                                     : before.UserByte(o);
            EXPECT_EQ(flash.UserByte(o), expected) << "offset " << offset << " byte " << o;
        }
        EXPECT_EQ(ReadFlashWord32(flash, offset), 0xC0FFEE42u) << "offset " << offset;
    }
}

TEST(FlashItemLayout, ByteWritesTouchOnlyTheirByteInEachPosition)
{
    for (int offset = 40; offset < 44; ++offset) {
        FakeFlash flash;
        FillPattern(flash);
        const FakeFlash before = flash;
        WriteFlashByte(flash, offset, 0xA5);
        EXPECT_EQ(ReadFlashByte(flash, offset), 0xA5);
        for (int o = 36; o < 48; ++o) {
            if (o != offset)
                EXPECT_EQ(flash.UserByte(o), before.UserByte(o)) << "offset " << offset << " byte " << o;
        }
    }
}

TEST(FlashItemLayout, FloatsKeepTheirExactBitPattern)
{
    for (uint32_t bits : {0x40CB3333u, 0xBFC00000u, 0x80000000u, 0x00000001u, 0x7FC00001u, 0xFF800000u}) {
        FakeFlash flash;
        WriteFlashFloat(flash, FlashItemOffset(1097), std::bit_cast<float>(bits));
        EXPECT_EQ(std::bit_cast<uint32_t>(ReadFlashFloat(flash, FlashItemOffset(1097))), bits);
        EXPECT_EQ(ReadFlashWord32(flash, FlashItemOffset(1097)), bits);
    }
}

TEST(FlashItemLayout, MarkerIsTheLowByteOfWord15)
{
    FakeFlash flash;
    flash.words[15] = 0x0000005Au;
    EXPECT_TRUE(FlashMarkerValid(flash));
    flash.words[15] = 0x12345A5Au;
    EXPECT_TRUE(FlashMarkerValid(flash));
    flash.words[15] = 0x00000059u;
    EXPECT_FALSE(FlashMarkerValid(flash));
    flash.words[15] = 0x00005A00u;
    EXPECT_FALSE(FlashMarkerValid(flash));
}

TEST_F(FlashItemsTest, DefaultsWrittenToErasedFlashReadBackAndStayInTheUserArea)
{
    FakeFlash flash(0xFFFFFFFFu);
    WriteAllFlashItems(flash);
    EXPECT_EQ(*flash.written.begin(), 15);
    EXPECT_EQ(*flash.written.rbegin(), 55);
    EXPECT_TRUE(FlashMarkerValid(flash));
    EXPECT_EQ(static_cast<int32_t>(ReadFlashWord32(flash, FlashItemOffset(1113))), -1000000000);
    EXPECT_EQ(ReadFlashFloat(flash, FlashItemOffset(1151)), 2.54f);
    EXPECT_EQ(ReadFlashByte(flash, FlashItemOffset(1139)), 32);

    Item(1010).intValue = -25;
    Item(1125).floatValue = 7.5f;
    Item(1163).byteValue = 0xDC;
    const FlashItemValues written = g_flashItemValues;
    WriteAllFlashItems(flash);
    ResetFlashItems();
    ReadAllFlashItems(flash);
    for (int i = 0; i < kFlashItemCount; ++i)
        EXPECT_EQ(FlashItemBits(kFlashItemTable[i].type, g_flashItemValues[i]),
                  FlashItemBits(kFlashItemTable[i].type, written[i]))
            << "item " << kFlashItemTable[i].number;
}

TEST_F(FlashItemsTest, SetFlashItemStoresAndWritesAtOnce)
{
    FakeFlash flash;
    FillPattern(flash);
    const uint32_t word18 = flash.words[18];
    SetFlashItem(flash, FindFlashItem(1009), FlashItemFromBits(FlashItemType::Byte, 0x1F));
    EXPECT_EQ(Item(1009).byteValue, 0x1F);
    EXPECT_EQ(flash.UserByte(9), 0x1F);
    EXPECT_EQ(flash.words[18], word18);
}

TEST_F(FlashItemsTest, BlankStepperDataTakesItsDefaultsAndNothingElseDoes)
{
    FakeFlash blank;
    ReadAllFlashItems(blank);
    Item(1136).byteValue = 7;
    Item(1151).floatValue = 1.0f;
    Item(1155).floatValue = -0.0f;
    ReplaceZeroFlashItems();
    EXPECT_EQ(Item(1135).byteValue, 50);
    EXPECT_EQ(Item(1136).byteValue, 7);
    EXPECT_EQ(Item(1138).byteValue, 50);
    EXPECT_EQ(Item(1139).byteValue, 32);
    EXPECT_EQ(Item(1142).byteValue, 32);
    EXPECT_EQ(Item(1143).floatValue, 6.35f);
    EXPECT_EQ(Item(1147).floatValue, 6.35f);
    EXPECT_EQ(Item(1151).floatValue, 1.0f);
    EXPECT_EQ(Item(1155).floatValue, 6.35f);
    // Zeros elsewhere are values, even where the default differs.
    EXPECT_EQ(Item(1125).floatValue, 0.0f);
    EXPECT_EQ(Item(1101).intValue, 0);
    EXPECT_EQ(Item(1000).byteValue, 0);
}

TEST_F(FlashItemsTest, FlagsAndNibblesUnpackPerAxisAndPackBack)
{
    Item(1001).byteValue = 0b10101;
    Item(1003).byteValue = 0b01000;
    Item(1095).byteValue = 0b1011010;
    Item(1096).byteValue = 0b10;
    Item(1129).byteValue = 0x21;
    Item(1130).byteValue = 0x43;
    Item(1131).byteValue = 0x65;
    Item(1132).byteValue = 0x87;
    Item(1133).byteValue = 0xA9;
    Item(1134).byteValue = 0x0B;
    Item(1163).byteValue = 0xDC;
    const FlashItemValues source = g_flashItemValues;

    const KrvUserBoxData d = UnpackItemValues(source);
    EXPECT_EQ(std::string(d.autoHomeEnabled, d.autoHomeEnabled + 5), std::string("\1\0\1\0\1", 5));
    EXPECT_EQ(std::string(d.homingFindStartLimit, d.homingFindStartLimit + 5), std::string("\0\0\0\1\0", 5));
    EXPECT_EQ(std::string(d.swFenceEnabled, d.swFenceEnabled + 3), std::string("\0\1\0", 3));
    EXPECT_EQ(std::string(d.analogRefMarkInverted, d.analogRefMarkInverted + 4), std::string("\1\1\0\1", 4));
    EXPECT_EQ(d.flickDisabled, 0);
    EXPECT_EQ(d.lampRs232, 1);
    const uint8_t j[5] = {1, 2, 3, 12, 13};
    const uint8_t g[8] = {4, 5, 6, 7, 8, 9, 10, 11};
    EXPECT_EQ(0, std::memcmp(d.joystickSecondFunction, j, sizeof j));
    EXPECT_EQ(0, std::memcmp(d.gpioSoftwareFunction, g, sizeof g));

    FlashItemValues packed{};
    PackItemValues(d, packed);
    for (int i = 0; i < kFlashItemCount; ++i)
        EXPECT_EQ(FlashItemBits(kFlashItemTable[i].type, packed[i]),
                  FlashItemBits(kFlashItemTable[i].type, source[i]))
            << "item " << kFlashItemTable[i].number;
}

TEST_F(FlashItemsTest, PackingCountsNonzeroAsSetAndKeepsBitsTheRecordLacks)
{
    Item(1095).byteValue = 0x80;
    Item(1096).byteValue = 0xF0;
    Item(1134).byteValue = 0xE0;
    KrvUserBoxData d = UnpackItemValues(g_flashItemValues);
    d.swFenceEnabled[2] = 7;
    d.lampRs232 = 0xFF;
    d.gpioSoftwareFunction[7] = 0x13;   // only the low nibble is stored
    d.gpioSoftwareFunction[5] = 0x1F;   // G6 must not spill into G7 above it
    PackItemValues(d, g_flashItemValues);
    EXPECT_EQ(Item(1095).byteValue, 0x84);
    EXPECT_EQ(Item(1096).byteValue, 0xF2);
    EXPECT_EQ(Item(1134).byteValue, 0xE3);
    EXPECT_EQ(Item(1133).byteValue, 0x0F);
}

std::string g_logged;
void CaptureLog(const char* text) { g_logged += text; }

TEST_F(FlashItemsTest, ProcessRecordFollowsTheItemsAndShowsZeroOffsetsUnderTheirOwnName)
{
    Item(1018).intValue = 1234;
    Item(1159).intValue = -360000;
    Item(1143).floatValue = 5.0f;
    g_logged.clear();
    UnpackUserBoxData(CaptureLog);
    EXPECT_EQ(g_logged, "krv_user_box_data.counts_per_360_q-360000\n");
    EXPECT_EQ(machine_zero_offset[2], 1234);
    EXPECT_EQ(krv_user_box_data.distancePerMotorRevMm[0], 5.0f);

    machine_zero_offset[4] = -77;
    krv_user_box_data.swFencePlus[1] = 4000;
    krv_user_box_data.stepsPerRevDiv4[3] = 100;
    PackUserBoxData();
    EXPECT_EQ(Item(1026).intValue, -77);
    EXPECT_EQ(Item(1105).intValue, 4000);
    EXPECT_EQ(Item(1138).byteValue, 100);

    ResetFlashItems();
    EXPECT_EQ(Item(1026).intValue, 0);
    EXPECT_EQ(machine_zero_offset[4], 0);
    EXPECT_EQ(krv_user_box_data.memoryInitialized, 90);
    EXPECT_EQ(krv_user_box_data.swFenceMinus[2], -1000000000);
    EXPECT_EQ(krv_user_box_data.homeStartPos, 5.0f);
    EXPECT_EQ(krv_user_box_data.microStepsPerStepDiv2[0], 32);
}

TEST(FlashDelNewFlash, FreshBoardTable)
{
    EXPECT_EQ(std::size(kDelNewFlashTable), 51u);
    uint32_t params[kParamCount];
    for (uint32_t& p : params)
        p = 0xFFFFFFFFu;
    ApplyDelNewFlash(params);
    EXPECT_EQ(params[260], 100u);
    EXPECT_EQ(params[262], 0u);
    EXPECT_EQ(params[384], 10u);
    EXPECT_EQ(params[381], 1000000000u);
    EXPECT_EQ(params[13], 0u);
    EXPECT_EQ(params[84], 0u);
    EXPECT_EQ(params[241], 0u);
    EXPECT_EQ(params[511], 0u);
    // Parameters below 256 that the table does not name are left alone.
    EXPECT_EQ(params[12], 0xFFFFFFFFu);
    EXPECT_EQ(params[242], 0xFFFFFFFFu);
    EXPECT_EQ(params[90], 0xFFFFFFFFu);
}

} // namespace
