#include "output/languagetable.h"

#include "support/testsupport.h"

namespace {

constexpr int kBahasa = 0;

TEST(LanguageTable, RowsCarryUtf16NativeNamesAndTheWholeChineseLocale)
{
    EXPECT_EQ(hex(LanguageTable::row(1).toBytes().mid(24, 20)),
              "11 04 4A 04 3B 04 33 04 30 04 40 04 41 04 3A 04 38 04 00 00"); // Bulgarian
    EXPECT_EQ(hex(LanguageTable::row(3).toBytes().mid(24, 6)), "0B 57 9E 8A 00 00") << "國語";
    EXPECT_EQ(LanguageTable::row(2).languageId, 0x0804u);
    EXPECT_EQ(LanguageTable::row(3).languageId, 0x0404u);
}

TEST(LanguageTable, CodecModesAndTrailers)
{
    for (int language = 0; language < LanguageTable::kLanguageCount; ++language) {
        // Chinese twice, Japanese and Korean; Thai.
        const bool wide = language == 2 || language == 3 || language == 15 || language == 16;
        EXPECT_EQ(LanguageTable::codecMode(language), wide ? 12 : language == 25 ? 11 : 9) << "language " << language;
        EXPECT_EQ(LanguageTable::row(language).toBytes().at(117), language == kBahasa ? 27 : 0)
            << "language " << language;
    }
}

// Bahasa's row, because its non-zero trailer right behind the product name
// shows a copy that runs one byte too far. The name written first shows a
// shorter one that is not zero-filled.
TEST(LanguageTable, ProductNameCopiesAtMostSixBytes)
{
    const auto copied = [](const QString &productName) {
        LanguageTable::setProductName(kBahasa, QStringLiteral("ZZZZZZ"));
        LanguageTable::setProductName(kBahasa, productName);
        EXPECT_EQ(LanguageTable::row(kBahasa).trailer, 27);
        return hex(QByteArray(LanguageTable::row(kBahasa).productName, 6));
    };
    EXPECT_EQ(copied(QStringLiteral("QX-417")), "51 58 2D 34 31 37");
    EXPECT_EQ(copied(QStringLiteral("QX")), "51 58 00 00 00 00");
    EXPECT_EQ(copied(QStringLiteral("QX-417-B")), "51 58 2D 34 31 37");
    EXPECT_EQ(copied(QStringLiteral("ÄÖÜ")), "C3 84 C3 96 C3 9C") << "UTF-8";
    EXPECT_EQ(copied(QStringLiteral("QX-41Ä")), "51 58 2D 34 31 C3") << "cut inside a character";
    EXPECT_EQ(copied(QString::fromUtf8("QX\0"
                                       "417",
                                       6)),
              "51 58 00 00 00 00")
        << "stops at a zero byte";
    LanguageTable::setProductName(kBahasa, QStringLiteral("QX-417"));
}

} // namespace
