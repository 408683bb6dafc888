#include "items/wdltokenfilter.h"

#include "support/testsupport.h"

namespace {

// Record of filter 4 and dump, "record | dump".
std::string output(std::initializer_list<int> set, int size, bool isClf = true)
{
    QBitArray bits(size);
    for (int i : set)
        bits.setBit(i);
    WdlTokenFilter filter(QStringLiteral("f1"), bits, isClf);
    filter.setItemNumber(4);
    EXPECT_EQ(filter.toString(true).toStdString(), "");
    return hex(filter.toByteArray()) + " | " + filter.toString(false).toStdString();
}

TEST(WdlTokenFilter, RecordIsBitmapLsbFirstAndDumpListsSetIndexes)
{
    EXPECT_EQ(output({0, 9}, 10), "0B 04 00 02 00 01 02 | CLF: f1 \"0,9\"\n");
    // A multiple of 8 bits still gets the extra byte.
    EXPECT_EQ(output({0, 1, 2, 3, 4, 5, 6, 7}, 8, false), "0B 04 00 02 00 FF 00 | APF: f1 \"0,1,2,3,4,5,6,7\"\n");
    EXPECT_EQ(output({0, 2, 5}, 6), "0B 04 00 01 00 25 | CLF: f1 \"0,2,5\"\n");
    EXPECT_EQ(output({}, 0), "0B 04 00 01 00 00 | CLF: f1 \"");
}

} // namespace
