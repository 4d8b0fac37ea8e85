#include "infra/rurozav_data.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// The lamp dialog keeps a setting's text in a RurozavDataGuid and reads it
// back as narrow text for the lamp box: each character keeps its low byte and
// its place, even one that becomes a NUL.
TEST(RurozavData, TheGuidKeepsItsTextAndGivesItBackNarrow)
{
    RurozavDataGuid guid;
    RurozavData& data = guid;
    data.SetString(L"q1");
    EXPECT_EQ(data.GetString(), L"q1");
    EXPECT_EQ(data.GetNarrowString(), "q1");
    data.SetString(L"A\u0141\u00e9\u0100z");
    EXPECT_EQ(data.GetNarrowString(), std::string("A\x41\xe9\0z", 5));
}

} // namespace
