#include "items/wdltokenfilter.h"

#include "testhelpers.h"

#include <initializer_list>

namespace {

QBitArray bitsOf(int size, std::initializer_list<int> set)
{
    QBitArray bits(size);
    for (int i : set)
        bits.setBit(i);
    return bits;
}

struct FilterCase
{
    const char *name;
    QBitArray bits;
    bool isClf;
    const char *record;
    const char *dump;
};

class WdlTokenFilterOutput : public ::testing::TestWithParam<FilterCase>
{
};

TEST_P(WdlTokenFilterOutput, RecordIsBitmapLsbFirst)
{
    WdlTokenFilter filter(QStringLiteral("f1"), GetParam().bits, GetParam().isClf);
    filter.setItemNumber(4);
    EXPECT_EQ(hexBytes(filter.toByteArray()), GetParam().record);
}

TEST_P(WdlTokenFilterOutput, DumpListsSetIndexes)
{
    const WdlTokenFilter filter(QStringLiteral("f1"), GetParam().bits, GetParam().isClf);
    EXPECT_EQ(filter.toString(false).toStdString(), GetParam().dump);
    EXPECT_EQ(filter.toString(true).toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(
    Filters, WdlTokenFilterOutput,
    ::testing::Values(
        FilterCase{"ZeroAndNine", bitsOf(10, {0, 9}), true, "0B 04 00 02 00 01 02", "CLF: f1 \"0,9\"\n"},
        // A multiple of 8 bits still gets the extra byte.
        FilterCase{"EightBitsAllSet", bitsOf(8, {0, 1, 2, 3, 4, 5, 6, 7}), false, "0B 04 00 02 00 FF 00",
                   "APF: f1 \"0,1,2,3,4,5,6,7\"\n"},
        FilterCase{"SixBits", bitsOf(6, {0, 2, 5}), true, "0B 04 00 01 00 25", "CLF: f1 \"0,2,5\"\n"},
        FilterCase{"HighBitOfSecondByte", bitsOf(16, {15}), true, "0B 04 00 03 00 00 80 00",
                   "CLF: f1 \"15\"\n"},
        FilterCase{"Empty", QBitArray(), true, "0B 04 00 01 00 00", "CLF: f1 \""}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
