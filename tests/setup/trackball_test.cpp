// The Track Ball dialog: rates, deadband, direction and enable per axis from
// P005..P007 and P022 in each firmware generation's layout, one
// read-compare-write per parameter, live positions every 100 ms.
#include "core/param_table.h"
#include "res/resource.h"
#include "sim/board/axbsim.h"
#include "tests/support/program_test.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

namespace {

class Trackball : public ProgramTest {
protected:
    static std::string Enables(HWND dlg)
    {
        std::string shown;
        for (int id : {IDC_TB_ENABLE_X, IDC_TB_ENABLE_Y, IDC_TB_ENABLE_Z})
            shown += IsChecked(dlg, id) ? '1' : '0';
        return shown;
    }
};

TEST_F(Trackball, ShowsTheBoardAndTheLivePositionsAndTheCloseBoxLeavesWithoutApplying)
{
    Start();
    AxbSim_PlaceAxis(0, 12345);
    OpenModal(IDC_TRACKBALL, [&](HWND dlg) {
        EXPECT_EQ(Text(dlg, IDC_TB_COARSE_X) + " " + Text(dlg, IDC_TB_FINE_X) + " " + Text(dlg, IDC_TB_DEADBAND_X),
                  "50 5 10");
        EXPECT_EQ(Enables(dlg), "110");   // P022 = 219 from the start-up
        EXPECT_EQ(Text(dlg, IDC_TB_P022), "0x00DB");
        EXPECT_FALSE(IsChecked(dlg, IDC_TB_INVERT_X));
        EXPECT_FALSE(IsControlVisible(dlg, IDC_TB_COARSE_Q) || IsControlVisible(dlg, IDC_TB_ENABLE_Q));
        EXPECT_EQ(Text(dlg, IDC_TB_POSITION_X), "");
        h.Clock().Advance(100);
        EXPECT_EQ(Text(dlg, IDC_TB_POSITION_X) + " " + Text(dlg, IDC_TB_POSITION_Q), "12.3450 0.0000");
        TypeText(dlg, IDC_TB_COARSE_X, L"99");
        CheckDlgButton(dlg, IDC_TB_ENABLE_Z, BST_CHECKED);
        CloseByCloseBox(dlg);
    });
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
    EXPECT_EQ(g_param[5], 0x0A000532u);
}

TEST_F(Trackball, RatesDeadbandInvertAndEnablesAreComposed)
{
    Start();
    OpenModal(IDC_TRACKBALL, [&](HWND dlg) {
        TypeText(dlg, IDC_TB_COARSE_X, L"60");
        CheckDlgButton(dlg, IDC_TB_INVERT_Y, BST_CHECKED);
        TypeText(dlg, IDC_TB_DEADBAND_Z, L"");   // no number: the deadband stays
        TypeText(dlg, IDC_TB_FINE_Z, L"258");    // cut to 8 bits
        CheckDlgButton(dlg, IDC_TB_ENABLE_X, BST_UNCHECKED);
        PressButton(dlg, IDC_TB_APPLY);
        EXPECT_EQ(Text(dlg, IDC_TB_P022), "0x00C3");
        EXPECT_THAT(Calls("AXB_SetParam("), ElementsAre("AXB_SetParam(0,5,167773500)=1", "AXB_SetParam(0,6,167839026)=1",
                                                        "AXB_SetParam(0,7,167772722)=1", "AXB_SetParam(0,22,195)=1"));
        EXPECT_THAT(LinesStartingWith({"Setting param"}), SizeIs(4));
        EXPECT_TRUE(Logged("Setting param22 to 195"));
        // Re-applying the same fields finds nothing to write.
        Forget();
        PressButton(dlg, IDC_TB_APPLY);
        EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
        PressButton(dlg, IDC_TB_OK);
    });
    EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
    EXPECT_EQ(g_param[5], 0x0A00053Cu);
    EXPECT_EQ(g_param[6], 0x0A010532u);
    // Only Y enabled: bits 6 and 7 set, 3, 4, 9 and 10 clear.
    EXPECT_EQ(g_param[22] & 0x6D8u, 0xC0u);
}

TEST_F(Trackball, OlderFirmwareLayoutsAreReadAndKept)
{
    struct Case {
        uint32_t firmware, p022;
        const char* enables;
        const char* deadband;
    };
    constexpr Case kCases[] = {
        {0x00020008, 0x0330, "110", ""},     // enables at bits 4..5, 8..9, 12..13
        {0x00020008, 0x3010, "101", ""},     // either bit of a pair counts
        {0x00020100, 0x06D8, "111", ""},     // new enable layout, no deadband yet
        {0x00020207, 0x00C0, "010", "10"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.firmware << " P022 " << c.p022);
        Start([&] {
            AxbSim_SetFirmwareVersion(c.firmware);
            AxbSim_PokeParam(22, c.p022);
        });
        OpenModal(IDC_TRACKBALL, [&](HWND dlg) {
            EXPECT_EQ(Enables(dlg), c.enables);
            EXPECT_EQ(Text(dlg, IDC_TB_DEADBAND_X), c.deadband);
            PressButton(dlg, IDC_TB_OK);
        });
        // "OK" with nothing changed keeps every trackball axis as it was,
        // the deadband byte included.
        if (std::string(c.enables) == "101")
            EXPECT_EQ(g_param[22], 0x3030u);   // the pair made whole
        else
            EXPECT_THAT(Calls("AXB_SetParam("), IsEmpty());
    }
}

} // namespace
