// The rows of two configurations: which rows pair, what they are called and
// how their values are shown.
#include "core/param_diff.h"
#include "core/session_state.h"
#include "core/unit_conversion.h"

#include <gtest/gtest.h>

namespace {

constexpr ParamFieldName kNames[] = {
    {kParamServoP, {L"P", L"P", L"P"}, 0, 0, true},
    {kParamTargetWindow, {L"Target Window (c)", L"Target Window (in)", L"Target Window (mm)"}, 1, 2, false},
};

class ParamDiff : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetParamTable();
        ResetUnitConversion();
        ResetSessionState();
        SetParamFieldNames(kNames);
    }
    BoardConfig a, b;
};

TEST_F(ParamDiff, FileAgainstFileCountsEveryDifferingParameterAndItem)
{
    for (int n : {0, 90, 300, 511})
        b.params[n] = 7;
    b.items[FindFlashItem(1010)].intValue = 5;
    b.items[FindFlashItem(1051)].floatValue = 0.5f;
    const std::vector<DiffRow> rows = DiffConfigs(a, b);
    EXPECT_EQ(rows.size(), 574u);
    const UnsavedCount count = CountDiffering(rows);
    EXPECT_EQ(count.params, 4);
    EXPECT_EQ(count.items, 2);
    EXPECT_EQ(UnsavedText(count), L"Not saved to flash: 4 parameters, 2 record items");
    EXPECT_EQ(UnsavedText({1, 1}), L"Not saved to flash: 1 parameter, 1 record item");
    EXPECT_EQ(UnsavedText({}), L"Saved to flash");
}

TEST_F(ParamDiff, AxesPairTheirTwinsInBothBlocksAndTheZoomHasOnlyTheFirst)
{
    a.params[AxisParam(kParamServoP, 1)] = 40;
    a.params[AxisParam(kParamRunCurrent, 3)] = 9;
    const std::vector<DiffRow> rows = DiffAxes(a, 1, 3);
    ASSERT_EQ(rows.size(), 80u);
    EXPECT_EQ(rows[0].number, 90);
    EXPECT_EQ(rows[0].rightNumber, 170);
    EXPECT_EQ(rows[40].number, 300);
    EXPECT_EQ(rows[40].rightNumber, 380);
    EXPECT_EQ(CountDiffering(rows).params, 2);
    EXPECT_EQ(DescribeDiffRow(rows[0]).number, L"P090/P170");
    EXPECT_EQ(DiffAxes(a, 0, kZoomAxis).size(), 40u);
}

TEST_F(ParamDiff, ShownValuesUseTheFieldsConversionOrStayRaw)
{
    g_param[AxisParam(kParamCountsPerMm, 1)] = 1000;
    RecomputeScales();
    g_unitMode = kUnitMm;
    const DiffRow window{DiffRowKind::Param, 100, 100, 1, 500, 2000};
    const DiffRowText t = DescribeDiffRow(window);
    EXPECT_EQ(t.name, L"Target Window (mm)");
    EXPECT_EQ(t.axis, L"Y");
    EXPECT_EQ(t.left, L"0.5");
    EXPECT_EQ(t.difference, L"1.5");
    // A raw field and a parameter without a field show counts.
    EXPECT_EQ(DescribeDiffRow({DiffRowKind::Param, 90, 90, 1, 500, 2000}).left, L"500");
    const DiffRowText unnamed = DescribeDiffRow({DiffRowKind::Param, 123, 123, -1, 0xFFFFFFFF, 1});
    EXPECT_EQ(unnamed.name, L"P123");
    EXPECT_EQ(unnamed.left, L"-1");
}

TEST_F(ParamDiff, ItemsShowTheirTypeAndTheRecordLayoutsName)
{
    b.items[FindFlashItem(1059)].floatValue = 2.5f;
    b.items[FindFlashItem(1014)].intValue = -3;
    const std::vector<DiffRow> rows = DiffConfigs(a, b);
    const DiffRowText zoom = DescribeDiffRow(rows[kParamCount + FindFlashItem(1059)]);
    EXPECT_EQ(zoom.name, L"Zoom Pos 2");
    EXPECT_EQ(zoom.right, L"2.5");
    const DiffRowText offset = DescribeDiffRow(rows[kParamCount + FindFlashItem(1014)]);
    EXPECT_EQ(offset.name, L"Zero Offset (c) Y");
    EXPECT_EQ(offset.right, L"-3");
}

} // namespace
