#include "core/lereader.h"
#include "core/lewriter.h"
#include "output/csivembedder.h"
#include "support/qtprinters.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A CSIV file naming itself: name length at 26, name offset at 28, the name
// at 32, then a body of bodyBytes.
QByteArray csivFile(const QByteArray &name, int bodyBytes = 5)
{
    LeWriter file;
    file.bytes("CSIV");
    file.zeros(22);
    file.u16(quint16(name.size()), "name length");
    file.u16(32, "name offset");
    file.zeros(2);
    file.bytes(name);
    for (int i = 0; i < bodyBytes; ++i)
        file.u8(quint8(0xA0 + i));
    return file.data();
}

TEST(CsivFlashName, IsReadOnlyWhenTheWholeFieldIsThere)
{
    const QByteArray file = csivFile("PUMPCURVE", 0);
    EXPECT_EQ(CsivEmbedder::flashNameOf(file), QStringLiteral("PUMPCURVE"));
    for (int cut = 0; cut < file.size(); ++cut)
        EXPECT_EQ(CsivEmbedder::flashNameOf(file.left(cut)), QString()) << "cut at " << cut;
}

TEST(CsivFlashName, IsUtf8)
{
    EXPECT_EQ(CsivEmbedder::flashNameOf(csivFile("K\xC3\xBChlung")), QStringLiteral("K\u00FChlung"));
}

// A script record: item header, type, command count, then 7-byte commands.
QByteArray scriptRecord(const QList<QList<quint16>> &commands)
{
    LeWriter record;
    record.beginRecord(9, 1);
    record.u8(1, "script type");
    record.u8(quint8(commands.size()), "command count");
    for (const QList<quint16> &c : commands) {
        record.u8(quint8(c.at(0)), "command");
        record.u16(c.at(1), "A");
        record.u16(c.at(2), "B");
        record.u16(c.at(3), "C");
    }
    record.endRecord();
    return record.data();
}

TEST(CsivOperandScan, NotesByte3OfEveryCsivCommandThatNamesAFile)
{
    CsivEmbedder embedder;
    embedder.scanScript(scriptRecord({{27, 1, 3, 0xFFFF},          // first command: record offset 7
                                      {12, 27, 27, 27},            // CPY, whatever its operands
                                      {27, 1, 0xFFFF, 0xFFFF},     // no path: no file
                                      {27, 1, 3, 0xFFFF},          // the same file again
                                      {27, 2, 0xFFFF, 5}}),        // odd, but it names file 0xFFFF
                        100);
    QList<qint32> file3 = embedder.operandPositions().values(3);
    std::sort(file3.begin(), file3.end());
    EXPECT_EQ(file3, (QList<qint32>{110, 131}));
    EXPECT_EQ(embedder.operandPositions().values(0xFFFF), QList<qint32>{138});
    EXPECT_EQ(embedder.operandPositions().size(), 3);
}

// One file number 7 with two operands at 0 and 4 of a 9-byte image start
// (so its padding is 3 bytes); what the image holds after embedding.
struct EmbedCase
{
    const char *name;
    QString flashName;
    QString fileName;      // written into the test directory; empty: none written
    QByteArray contents;
    QString pathText;      // IncludedFile::filePath, relative to the test directory
    bool embedded;
    bool padded;
    QString warning;       // with "<dir>" for the test directory
};

class CsivEmbedding : public ::testing::TestWithParam<EmbedCase>
{
};

TEST_P(CsivEmbedding, PlacesTheFileOrMarksItsOperands)
{
    const EmbedCase &c = GetParam();
    WizardFiles files;
    if (!c.fileName.isEmpty())
        files.writeBytes(c.fileName, c.contents);
    IncludedFileMap map;
    map.insert(7, IncludedFile{c.flashName, c.pathText.isEmpty() ? QString() : files.path(c.pathText)});

    CsivEmbedder embedder;
    LeWriter image;
    image.u8(0xEE);
    image.zeros(8);
    // Record offsets that put the two operands (byte 3 of the command at 7)
    // at image offsets 0 and 4.
    embedder.scanScript(scriptRecord({{27, 1, 7, 0xFFFF}}), -7 - 3);
    embedder.scanScript(scriptRecord({{27, 1, 7, 0xFFFF}}), 4 - 7 - 3);
    QStringList warnings;
    embedder.embed(image, map, [&](const QString &text) { warnings.append(text); });

    const quint32 expectedOffset = c.embedded ? 12 : CsivEmbedder::kNotEmbedded;
    bool ok = false;
    EXPECT_EQ(LeReader::u32At(image.data(), 0, &ok), expectedOffset);
    EXPECT_EQ(LeReader::u32At(image.data(), 4, &ok), expectedOffset);
    QByteArray expectedTail = c.padded ? QByteArray(3, '\0') : QByteArray();
    if (c.embedded)
        expectedTail += c.contents;
    EXPECT_EQ(image.data().mid(9), expectedTail);
    QString warning = c.warning;
    warning.replace(QStringLiteral("<dir>"), files.dir());
    EXPECT_EQ(warnings, c.warning.isEmpty() ? QStringList() : QStringList{warning});
    EXPECT_TRUE(embedder.operandPositions().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    CsivEmbedder, CsivEmbedding,
    ::testing::Values(
        EmbedCase{"MatchingName", "CURVE", "curve.csiv", csivFile("CURVE"), "curve.csiv", true, true, ""},
        EmbedCase{"BackslashPathWithoutExtension", "CURVE", "files/curve.csiv", csivFile("CURVE"), "files\\curve",
                  true, true, ""},
        EmbedCase{"NameDiffersInLetterCase", "curve", "curve.csiv", csivFile("CURVE"), "curve", false, true,
                  "FILE: <dir>/curve.csiv does not contain CSIV file with name \"curve\". \n"
                  "Flash file name is actually \"CURVE\"."},
        EmbedCase{"TooShortToNameItself", "CURVE", "curve.csiv", QByteArray(29, 'x'), "curve", false, true,
                  "FILE: <dir>/curve.csiv does not contain CSIV file with name \"CURVE\". \n"
                  "Flash file name is actually \"\"."},
        EmbedCase{"EmptyFlashNameNeverMatches", "", "curve.csiv", csivFile(""), "curve", false, true,
                  "FILE: <dir>/curve.csiv does not contain CSIV file with name \"\". \n"
                  "Flash file name is actually \"\"."},
        EmbedCase{"MissingFile", "CURVE", "", QByteArray(), "curve", false, false,
                  "FILE <dir>/curve.csiv NOT FOUND!"},
        EmbedCase{"EmptyPath", "CURVE", "", QByteArray(), "", false, false, "FILE .csiv NOT FOUND!"}),
    [](const ::testing::TestParamInfo<EmbedCase> &info) { return std::string(info.param.name); });

TEST(CsivEmbedder, FilesGoInFileNumberOrderEachAtAMultipleOf4)
{
    WizardFiles files;
    files.writeBytes(QStringLiteral("a.csiv"), csivFile("A", 1));
    files.writeBytes(QStringLiteral("b.csiv"), csivFile("B", 2));
    IncludedFileMap map;
    map.insert(9, IncludedFile{QStringLiteral("A"), files.path(QStringLiteral("a"))});
    map.insert(2, IncludedFile{QStringLiteral("B"), files.path(QStringLiteral("b.csiv"))});
    LeWriter image;
    image.u8(1);
    CsivEmbedder().embed(image, map, [](const QString &) {});
    const QByteArray expected =
        QByteArray(1, '\1') + QByteArray(3, '\0') + csivFile("B", 2) + QByteArray(1, '\0') + csivFile("A", 1);
    EXPECT_EQ(image.data(), expected);
}

} // namespace
