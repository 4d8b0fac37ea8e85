// The one reader of typed and stored numbers: which texts each rule takes,
// and that nothing but a finite number in range is ever a value.
#include "core/number_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>

namespace {

constexpr std::optional<float> kNone = std::nullopt;

TEST(NumberText, DecimalNumbersLeadingAndWhole)
{
    const struct {
        const wchar_t* text;
        std::optional<float> leading, whole;
    } cases[] = {
        {L"12.5", 12.5f, 12.5f},     {L"  -3e2 ", -300.0f, -300.0f},
        {L"+.5", 0.5f, 0.5f},        {L"7.", 7.0f, 7.0f},
        {L"12.5mm", 12.5f, kNone},   // "%g" stops where the number ends
        {L"1e", 1.0f, kNone},        // an exponent without digits is not part of it
        {L"1,5", 1.0f, kNone},       {L"0x1A", 0.0f, kNone},   // no hexadecimal floats
        {L"", kNone, kNone},         {L"   ", kNone, kNone},
        {L"-", kNone, kNone},        {L".", kNone, kNone},
        {L"abc", kNone, kNone},      {L"- 5", kNone, kNone},
        {L"nan", kNone, kNone},      {L"inf", kNone, kNone},   // no value a field can take
        {L"-infinity", kNone, kNone},
        {L"5E55", kNone, kNone},     {L"-3.5e38", kNone, kNone},   // beyond float: no number, not infinity
        {L"1e-50", 0.0f, 0.0f},      // below the smallest float: the nearest, zero
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case #" << (&c - cases));
        EXPECT_EQ(LeadingFloat(c.text), c.leading);
        EXPECT_EQ(WholeFloat(c.text), c.whole);
    }
    // The narrow form reads as the wide one; a double keeps what a float loses.
    EXPECT_EQ(LeadingFloat(std::string_view("180.0 deg")), 180.0f);
    EXPECT_EQ(LeadingDouble(L"5E55"), 5e55);
    EXPECT_EQ(WholeDouble(L"0.000333"), 0.000333);
    EXPECT_EQ(LeadingFloat(L"0.1"), 0.1f) << "rounded once, to the nearest float";
    const std::optional<float> subnormal = LeadingFloat(L"1e-40");
    ASSERT_TRUE(subnormal);
    EXPECT_GT(*subnormal, 0.0f);
    EXPECT_LT(*subnormal, std::numeric_limits<float>::min());
}

TEST(NumberText, AFileValueIsTheWholeTextWithoutBlanks)
{
    EXPECT_EQ(ExactFloat("2.54"), 2.54f);
    EXPECT_EQ(ExactFloat("+1.5"), 1.5f);
    for (const char* text : {" 1.5", "1.5 ", "+-1", "inf"})
        EXPECT_EQ(ExactFloat(text), kNone) << text;
}

TEST(NumberText, IntegersInTheirRange)
{
    constexpr std::optional<int32_t> kNoInt;
    constexpr std::optional<uint32_t> kNoUnsigned;
    const struct {
        const wchar_t* text;
        std::optional<int32_t> leading, wholeSigned;
        std::optional<uint32_t> wholeUnsigned;
    } cases[] = {
        {L"42", 42, 42, 42u},                       {L" 42 ", 42, 42, 42u},
        {L"+7", 7, 7, kNoUnsigned},                 {L"-7", -7, -7, kNoUnsigned},   // unsigned: digits only
        {L"12abc", 12, kNoInt, kNoUnsigned},        {L"2147483647", 2147483647, 2147483647, 2147483647u},
        {L"-2147483648", INT32_MIN, INT32_MIN, kNoUnsigned},
        {L"2147483648", kNoInt, kNoInt, 2147483648u},
        {L"4294967295", kNoInt, kNoInt, 4294967295u}, {L"4294967296", kNoInt, kNoInt, kNoUnsigned},
        {L"99999999999999999999999", kNoInt, kNoInt, kNoUnsigned},
        {L"1.5", 1, kNoInt, kNoUnsigned},           {L"", kNoInt, kNoInt, kNoUnsigned},
        {L"- 1", kNoInt, kNoInt, kNoUnsigned},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case #" << (&c - cases));
        EXPECT_EQ(LeadingInteger(c.text), c.leading);
        EXPECT_EQ(WholeSigned(c.text), c.wholeSigned);
        EXPECT_EQ(WholeUnsigned(c.text), c.wholeUnsigned);
    }
}

// Within the limit a held integer is the leading one (the fuzz target's);
// beyond it, it saturates at the end it passed.
TEST(NumberText, HexadecimalAndHeldIntegers)
{
    EXPECT_EQ(LeadingHex(L" 5A"), 0x5Au);
    EXPECT_EQ(LeadingHex(L"0xff rest"), 0xFFu);
    EXPECT_EQ(LeadingHex(L"FFFFFFFF"), 0xFFFFFFFFu);
    EXPECT_EQ(LeadingHex(L"100000000"), std::nullopt);
    EXPECT_EQ(LeadingHex(L"G1"), std::nullopt);

    EXPECT_EQ(SaturatedLeadingInteger(L"99999999999999999999", 1000), 1000);
    EXPECT_EQ(SaturatedLeadingInteger(L"-99999999999999999999", 1000), -1000);
    EXPECT_EQ(SaturatedLeadingInteger(L"x12", 1000), std::nullopt);
}

} // namespace
