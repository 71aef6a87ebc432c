#include <gtest/gtest.h>

#include "text/name_list.h"
#include "text/shift_jis.h"

namespace nelmora {
namespace {

TEST(ShiftJis, CountsWidthsInBytes)
{
    EXPECT_EQ(utf8ToShiftJis("太さ ").size(), 5u);
    EXPECT_EQ(utf8ToShiftJis("ﾟ"), "\xDF");
    EXPECT_EQ(shiftJisToUtf8("\xDF"), "ﾟ");
}

TEST(ShiftJis, BadInputIsReplacedNotDropped)
{
    EXPECT_EQ(utf8ToShiftJis("a😀b"), "a?b");
    EXPECT_EQ(shiftJisToUtf8("a\x81"), "a\xEF\xBF\xBD");
}

TEST(NameList, PadsAndTerminatesEveryEntry)
{
    const NameList list = makeNameList({"ab", "通常  ", "ﾓｻﾞｲｸ "});
    ASSERT_EQ(list.count(), 3);
    EXPECT_EQ(list.entry(0), "ab    ");
    EXPECT_EQ(shiftJisToUtf8(list.entry(1)), "通常  ");
    EXPECT_EQ(list.bytes[20], '\0');
    EXPECT_TRUE(list.contains(2));
    EXPECT_FALSE(list.contains(3));
    EXPECT_FALSE(list.contains(-1));
}

}  // namespace
}  // namespace nelmora
