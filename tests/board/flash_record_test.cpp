// The program's record in the board's flash: the record packed to and from
// its items, the check with its "Flash error" question, "Save To Flash" and
// "Del New Flash".
#include "app/persistence_buttons.h"
#include "board/flash_store.h"
#include "infra/user_prompts.h"
#include "res/resource.h"
#include "tests/board/board_fixture.h"

#include <tuple>
#include <utility>

namespace {

FlashItemValue& Item(int number) { return g_flashItemValues[FindFlashItem(number)]; }

// The harness puts the items and the record back to their defaults; the
// first tick of Start() has read the record before a test changes it.
using FlashRecord = ProgramTest;

TEST_F(FlashRecord, FlagsAndNibblesUnpackPerAxisAndPackBackKeepingBitsTheRecordLacks)
{
    for (auto [number, value] : {std::pair<int, uint8_t>{1001, 0b10101}, {1003, 0b01000}, {1095, 0b1011010},
                                 {1096, 0b10}, {1129, 0x21}, {1130, 0x43}, {1131, 0x65}, {1132, 0x87},
                                 {1133, 0xA9}, {1134, 0x0B}, {1163, 0xDC}})
        Item(number).byteValue = value;
    KrvUserBoxData d = UnpackItemValues(g_flashItemValues);
    EXPECT_THAT(d.autoHomeEnabled, ElementsAre(1, 0, 1, 0, 1));
    EXPECT_THAT(d.homingFindStartLimit, ElementsAre(0, 0, 0, 1, 0));
    EXPECT_THAT(d.swFenceEnabled, ElementsAre(0, 1, 0));
    EXPECT_THAT(d.analogRefMarkInverted, ElementsAre(1, 1, 0, 1));
    EXPECT_EQ(d.flickDisabled, 0);
    EXPECT_EQ(d.lampRs232, 1);
    EXPECT_THAT(d.joystickSecondFunction, ElementsAre(1, 2, 3, 12, 13));
    EXPECT_THAT(d.gpioSoftwareFunction, ElementsAre(4, 5, 6, 7, 8, 9, 10, 11));
    FlashItemValues packed{};
    PackItemValues(d, packed);
    for (int i = 0; i < kFlashItemCount; ++i)
        EXPECT_EQ(FlashItemBits(kFlashItemTable[i].type, packed[i]),
                  FlashItemBits(kFlashItemTable[i].type, g_flashItemValues[i])) << kFlashItemTable[i].number;
    Item(1095).byteValue |= 0x80;
    Item(1134).byteValue |= 0xE0;
    d.autoHomeEnabled[0] = 0;
    d.swFenceEnabled[2] = 2;            // any nonzero value is set
    d.gpioSoftwareFunction[7] = 0x13;   // only the low nibble is stored
    d.gpioSoftwareFunction[5] = 0x1F;   // G6 must not spill into G7 above it
    PackItemValues(d, g_flashItemValues);
    EXPECT_EQ(Item(1001).byteValue, 0b10100);
    EXPECT_EQ(Item(1095).byteValue, 0b11011110);
    EXPECT_EQ(Item(1133).byteValue, 0xAF);
    EXPECT_EQ(Item(1134).byteValue, 0xE3);
}

TEST_F(FlashRecord, ABlankBoardIsAskedUntilOkStoresTheCompiledInDefaultsForGood)
{
    Start();
    // What a parameter file left in memory, its marker included.
    Item(1000).byteValue = 'A';
    Item(1101).intValue = 7;
    Item(1143).floatValue = 1.5f;
    FillSimFlash(0xFFFFFFFFu);   // a new board
    std::vector<std::tuple<HWND, std::wstring, std::wstring, UINT>> asked;
    InstallMessageBoxAnswer([&](HWND owner, std::wstring_view text, std::wstring_view caption, UINT type) {
        asked.emplace_back(owner, text, caption, type);
        // Timer work running while the box is open reaches the check again;
        // without its guard it would ask a second time.
        if (asked.size() == 1)
            CheckFlash();
        return asked.size() < 3 ? IDCANCEL : IDOK;
    });
    CheckFlash();
    CheckFlash();   // cancelled: the question comes back
    EXPECT_THAT(Calls("AXB_WriteFlashWord("), IsEmpty());
    EXPECT_EQ(krv_user_box_data.swFencePlus[0], 7) << "cancelled: the program goes on with the record it has";
    CheckFlash();
    const auto question = std::make_tuple(main, L"A corrupt value has been detected in flash.  OK to set to defaults",
                                          L"Flash error", static_cast<UINT>(MB_OKCANCEL));
    EXPECT_THAT(asked, ElementsAre(question, question, question));
    EXPECT_THAT(Calls("AXB_CommitFlashWords("), ElementsAre("AXB_CommitFlashWords(0)=1"));
    AxbSim_PowerCycle();
    for (const FlashItem& item : kFlashItemTable)
        EXPECT_EQ(SimFlashItemBits(item.number), FlashItemBits(item.type, item.defaultValue)) << item.number;
    EXPECT_EQ(AxbSim_PeekFlashWord(14), 0xFFFFFFFFu) << "nothing is written outside the user area";
    EXPECT_EQ(AxbSim_PeekFlashWord(56), 0xFFFFFFFFu);
    // A record with the marker is only read; its blank stepper data takes
    // the defaults, zeros elsewhere are values, even where the default differs.
    ASSERT_EQ(AXB_OpenDrv(), 1);
    FillSimFlash(0);
    AxbSim_PokeFlashWord(15, 0x5Au);
    WriteItemToSimFlash(1136, FlashItemFromBits(FlashItemType::Byte, 7));
    WriteItemToSimFlash(1159, FlashItemFromBits(FlashItemType::Int32, 12345));
    Forget();
    CheckFlash();
    EXPECT_THAT(krv_user_box_data.stepsPerRevDiv4, ElementsAre(50, 7, 50, 50));
    EXPECT_THAT(krv_user_box_data.microStepsPerStepDiv2, ElementsAre(32, 32, 32, 32));
    EXPECT_THAT(krv_user_box_data.distancePerMotorRevMm, ElementsAre(6.35f, 6.35f, 2.54f, 6.35f));
    EXPECT_EQ(krv_user_box_data.swFencePlus[0], 0);
    EXPECT_EQ(krv_user_box_data.homeStartPos, 0.0f);
    EXPECT_TRUE(Logged("krv_user_box_data.counts_per_360_q12345"));
    EXPECT_THAT(Calls("AXB_WriteFlashWord("), IsEmpty());
    EXPECT_EQ(asked.size(), 3u) << "and not asked about";
}

// A fence on homed X, set for this run.
void FenceHomedX()
{
    krv_user_box_data.swFenceEnabled[0] = 1;
    krv_user_box_data.swFencePlus[0] = 5000;
    krv_user_box_data.swFenceMinus[0] = -5000;
    g_homeRefFound[0] = true;
    EnableSoftwareFences();
}

TEST_F(FlashRecord, SaveToFlashStoresFieldsAndRecordForGoodWithTheFencesOpenAndDelNewFlashResetsTheTable)
{
    Start();
    machine_zero_offset[1] = 1234;
    krv_user_box_data.joystickSecondFunction[4] = 9;
    FenceHomedX();
    TypeText(main, IDC_PARAM_P, L"321");
    OnSaveToFlashButton(main);
    EXPECT_EQ(AxbSim_PeekParam(68), 5000u) << "the fence is set again for this run";
    AxbSim_PowerCycle();   // the driver is closed now
    EXPECT_EQ(AxbSim_PeekParam(50), 321u);
    EXPECT_EQ(AxbSim_PeekParam(68), 1000000000u);
    EXPECT_EQ(AxbSim_PeekParam(69), static_cast<uint32_t>(-1000000000));
    EXPECT_EQ(SimFlashItem(1014).intValue, 1234);
    EXPECT_EQ(SimFlashItem(1163).byteValue, 0x90);
    // "Del New Flash" clears the upper block and saves the fresh board
    // table; parameters outside the table keep their value.
    Start([] {
        for (auto [param, value] : {std::pair<int, uint32_t>{260, 5}, {262, 7}, {13, 3}})
            AxbSim_PokeParam(param, value);
    });
    OnDelNewFlashButton(main);
    AxbSim_PowerCycle();
    for (auto [param, value] : {std::pair<int, uint32_t>{260, 100}, {262, 0}, {13, 0}, {50, 321}})
        EXPECT_EQ(AxbSim_PeekParam(param), value) << param;
}

TEST_F(FlashRecord, SaveToFlashWithTheBoardGoneWritesNothingAndSetsTheFencesAgain)
{
    Start();
    FenceHomedX();
    ASSERT_EQ(AXB_CloseDrv(), 1);
    h.Clock().Advance(5000);   // due to be asked again, and not there
    machine_zero_offset[1] = 1234;
    Forget();
    OnSaveToFlashButton(main);
    for (const char* write : {"AXB_WriteFlashWord(", "AXB_CommitFlashWords(", "AXB_SaveParamsToFlash("})
        EXPECT_THAT(Calls(write), IsEmpty()) << write;
    EXPECT_EQ(g_param[68], 5000u) << "the fence of this run is set again";
    AxbSim_PowerCycle();
    EXPECT_EQ(SimFlashItem(1014).intValue, 0);
}

} // namespace
