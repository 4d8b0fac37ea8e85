#include "infra/rurozav_data.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Every getter of the base answers "no value" whatever its setters were given.
void ExpectNoTypedValue(RurozavData& data)
{
    data.SetBool(true);
    data.SetInt(5);
    data.SetDouble(2.5);
    EXPECT_FALSE(data.GetBool());
    EXPECT_EQ(data.GetInt(), 0);
    EXPECT_EQ(data.GetDouble(), 0.0);
    EXPECT_TRUE(data.IsValid());
}

TEST(RurozavDataTest, BaseHoldsNothing)
{
    RurozavData data;
    ExpectNoTypedValue(data);
    data.SetString(L"x");
    data.SetNarrowString("y");
    EXPECT_EQ(data.GetString(), L"");
    EXPECT_EQ(data.GetNarrowString(), "");
    EXPECT_EQ(data.TypeName(), "data");
}

TEST(RurozavDataTest, GuidHoldsOnlyItsText)
{
    RurozavDataGuid guid;
    RurozavData& data = guid;
    EXPECT_TRUE(guid.IsEmpty());
    EXPECT_EQ(data.TypeName(), "guid");

    data.SetString(L"1");
    ExpectNoTypedValue(data);
    data.SetNarrowString("2");
    EXPECT_EQ(data.GetString(), L"1");
    EXPECT_FALSE(guid.IsEmpty());

    guid.Clear();
    EXPECT_TRUE(guid.IsEmpty());
    EXPECT_EQ(data.GetString(), L"");
}

TEST(RurozavDataTest, NarrowTextKeepsTheLowByteOfEachCodeUnit)
{
    RurozavDataGuid guid;
    RurozavData& data = guid;
    data.SetString(L"q1");
    EXPECT_EQ(data.GetNarrowString(), "q1");

    // U+0141 and U+00E9 keep their low bytes, U+0100 becomes a NUL that
    // stays inside the text, and a surrogate pair stays two characters.
    data.SetString(L"A\u0141\u00e9\u0100z\U0001F600");
    EXPECT_EQ(data.GetNarrowString(), std::string("A\x41\xe9\0z\x3d\x00", 7));
}

TEST(RurozavDataTest, AssigningTheValueToItselfKeepsIt)
{
    RurozavDataGuid guid;
    guid.SetString(L"lamp");
    guid.SetString(guid.GetString());
    EXPECT_EQ(guid.GetString(), L"lamp");

    RurozavDataGuid& same = guid;
    guid = same;
    EXPECT_EQ(guid.GetString(), L"lamp");

    RurozavDataGuid copy = guid;
    copy.Clear();
    EXPECT_EQ(guid.GetString(), L"lamp");
}

} // namespace
