#include "infra/rurozav_data.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(RurozavDataTest, OnlyTheGuidHoldsAValueAndItsNarrowTextKeepsTheLowBytes)
{
    RurozavData base;
    RurozavDataGuid guid;
    for (RurozavData* data : {&base, static_cast<RurozavData*>(&guid)}) {
        SCOPED_TRACE(data->TypeName());
        data->SetBool(true);
        data->SetInt(5);
        data->SetDouble(2.5);
        data->SetNarrowString("y");
        EXPECT_FALSE(data->GetBool());
        EXPECT_EQ(data->GetInt(), 0);
        EXPECT_EQ(data->GetDouble(), 0.0);
        EXPECT_TRUE(data->IsValid());
        EXPECT_EQ(data->GetString(), L"");
    }
    base.SetString(L"x");
    EXPECT_EQ(base.GetString(), L"");
    EXPECT_EQ(base.GetNarrowString(), "");
    EXPECT_EQ(base.TypeName(), "data");

    RurozavData& data = guid;
    EXPECT_EQ(data.TypeName(), "guid");
    EXPECT_TRUE(guid.IsEmpty());
    data.SetString(L"lamp");
    data.SetString(data.GetString());   // assigning the value to itself keeps it
    EXPECT_EQ(data.GetString(), L"lamp");
    EXPECT_FALSE(guid.IsEmpty());
    guid.Clear();
    EXPECT_TRUE(guid.IsEmpty());
    EXPECT_EQ(data.GetString(), L"");

    data.SetString(L"q1");
    EXPECT_EQ(data.GetNarrowString(), "q1");

    // U+0141 and U+00E9 keep their low bytes, U+0100 becomes a NUL that
    // stays inside the text, and a surrogate pair stays two characters.
    data.SetString(L"A\u0141\u00e9\u0100z\U0001F600");
    EXPECT_EQ(data.GetNarrowString(), std::string("A\x41\xe9\0z\x3d\x00", 7));
}

} // namespace
