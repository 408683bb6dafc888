#include "output/languagetable.h"

#include "codec/hexdump.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kBahasa = 0;

QByteArray zeros(int n)
{
    return QByteArray(n, '\0');
}

} // namespace

TEST(LanguageTable, EnglishRowBytes)
{
    LanguageTable::setProductName(LanguageTable::kEnglish, QStringLiteral("QX-417"));
    const QByteArray expected = QByteArray("english") + zeros(17)
        + QByteArray::fromHex("45006e0067006c00690073006800") + zeros(34) // "English"
        + QByteArray("english-uk") + zeros(14)
        + QByteArray::fromHex("09080000 09000000 00000000" // lcid, languageId, languageNumber
                              "05 50 01"                   // version 5.80.1
                              "51582d343137"               // "QX-417"
                              "00 0000");
    EXPECT_EQ(hexDump(LanguageTable::row(LanguageTable::kEnglish).toBytes()), hexDump(expected));
}

TEST(LanguageTable, NativeNamesAreUtf16)
{
    EXPECT_EQ(LanguageTable::row(1).toBytes().mid(24, 20).toHex().toStdString(), // Bulgarian
              "11044a043b0433043004400441043a0438040000");
    EXPECT_EQ(LanguageTable::row(3).toBytes().mid(24, 6).toHex().toStdString(), "0b579e8a0000"); // 國語
}

TEST(LanguageTable, ChineseRowsCarryTheWholeLocaleAsLanguageId)
{
    EXPECT_EQ(LanguageTable::row(2).languageId, 0x0804u);
    EXPECT_EQ(LanguageTable::row(3).languageId, 0x0404u);
}

TEST(LanguageTable, CodecModes)
{
    for (int language = 0; language < LanguageTable::kLanguageCount; ++language) {
        int expected = 9;
        if (language == 2 || language == 3 || language == 15 || language == 16) // Chinese x2, Japanese, Korean
            expected = 12;
        else if (language == 25) // Thai
            expected = 11;
        EXPECT_EQ(LanguageTable::codecMode(language), expected) << "language " << language;
    }
}

TEST(LanguageTable, OnlyBahasaHasATrailer)
{
    for (int language = 0; language < LanguageTable::kLanguageCount; ++language) {
        EXPECT_EQ(LanguageTable::row(language).toBytes().at(117), language == kBahasa ? 27 : 0)
            << "language " << language;
    }
}

struct ProductNameCase
{
    const char *name;
    QString productName;
    const char *expectedHex;
};

class LanguageTableProductName : public ::testing::TestWithParam<ProductNameCase>
{
protected:
    void TearDown() override { LanguageTable::setProductName(kBahasa, QStringLiteral("QX-417")); }
};

// Bahasa's row, because its non-zero trailer right behind the product name
// shows a copy that runs one byte too far. The name written first shows a
// shorter one that is not zero-filled.
TEST_P(LanguageTableProductName, CopiesAtMostSixBytes)
{
    const ProductNameCase &c = GetParam();
    LanguageHeader &row = LanguageTable::row(kBahasa);
    LanguageTable::setProductName(kBahasa, QStringLiteral("ZZZZZZ"));
    LanguageTable::setProductName(kBahasa, c.productName);
    EXPECT_EQ(QByteArray(row.productName, 6).toHex().toStdString(), c.expectedHex);
    EXPECT_EQ(row.trailer, 27);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LanguageTableProductName,
    ::testing::Values(
        ProductNameCase{"SixCharacters", QStringLiteral("QX-417"), "51582d343137"},
        ProductNameCase{"ShorterIsZeroFilled", QStringLiteral("QX"), "515800000000"},
        ProductNameCase{"LongerIsCut", QStringLiteral("QX-417-B"), "51582d343137"},
        ProductNameCase{"NonAsciiAsUtf8", QStringLiteral("ÄÖÜ"), "c384c396c39c"},
        ProductNameCase{"CutInsideACharacter", QStringLiteral("QX-41Ä"), "51582d3431c3"},
        ProductNameCase{"StopsAtAZeroByte", QString::fromUtf8("QX\0" "417", 6), "515800000000"}),
    [](const ::testing::TestParamInfo<ProductNameCase> &info) { return std::string(info.param.name); });
