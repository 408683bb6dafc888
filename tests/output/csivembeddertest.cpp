#include "output/csivembedder.h"
#include "base/lewriter.h"
#include "support/wizardfiles.h"

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

TEST(CsivFlashName, IsReadAsUtf8OnlyWhenTheWholeFieldIsThere)
{
    const QByteArray file = csivFile("K\xC3\xBChlung", 0);
    EXPECT_EQ(CsivEmbedder::flashNameOf(file), QStringLiteral("K\u00FChlung"));
    for (int cut = 0; cut < file.size(); ++cut)
        EXPECT_EQ(CsivEmbedder::flashNameOf(file.left(cut)), QString()) << "cut at " << cut;
}

// File 7, written as fileName and found as pathText (in the test directory;
// empty: none), named by two operands at 0 and 4 of a 9-byte image. Gives
// "<bytes 0-7> | <bytes from 9>[ +file] | <warning>", "+file" standing for
// the file's contents and "<dir>" for the directory.
std::string embed(const char *flashName, const char *fileName, const QByteArray &contents, const char *pathText)
{
    WizardFiles files;
    if (*fileName)
        files.writeBytes(QString::fromUtf8(fileName), contents);
    IncludedFileMap map;
    const QString path = *pathText ? files.path(QString::fromUtf8(pathText)) : QString();
    map.insert(7, IncludedFile{QString::fromUtf8(flashName), path});
    CsivEmbedder embedder;
    LeWriter image;
    image.u8(0xEE);
    image.zeros(8);
    embedder.noteOperand(7, 0);
    embedder.noteOperand(7, 4);
    QString warnings;
    embedder.embed(image, map, [&](const QString &text, const QString &) { warnings += QStringLiteral(" | ") + text; });
    EXPECT_TRUE(embedder.operandPositions().isEmpty());
    QByteArray tail = image.data().mid(9);
    const bool withFile = !contents.isEmpty() && tail.endsWith(contents);
    if (withFile)
        tail.chop(contents.size());
    return hex(image.data().left(8)) + " | " + hex(tail) + (withFile ? " +file" : "")
           + warnings.replace(files.dir(), QStringLiteral("<dir>")).toStdString();
}

TEST(CsivEmbedder, PlacesTheFileAfterPaddingOrMarksItsOperands)
{
    const QByteArray curve = csivFile("CURVE");
    // A path with its extension; the golden images hold one with a backslash and none.
    EXPECT_EQ(embed("CURVE", "curve.csiv", curve, "curve.csiv"), "0C 00 00 00 0C 00 00 00 | 00 00 00 +file");
    // A file found under another flash name is left out; its padding stays.
    const std::string padded =
        "FF FF FF FF FF FF FF FF | 00 00 00 | FILE: <dir>/curve.csiv does not contain CSIV file ";
    EXPECT_EQ(embed("curve", "curve.csiv", curve, "curve"),
              padded + "with name \"curve\". \nFlash file name is actually \"CURVE\".");
    EXPECT_EQ(embed("", "curve.csiv", csivFile(""), "curve"),
              padded + "with name \"\". \nFlash file name is actually \"\".");
    // A missing file leaves no padding either.
    EXPECT_EQ(embed("CURVE", "", QByteArray(), "curve"),
              "FF FF FF FF FF FF FF FF |  | FILE <dir>/curve.csiv NOT FOUND!");
    EXPECT_EQ(embed("CURVE", "", QByteArray(), ""), "FF FF FF FF FF FF FF FF |  | FILE .csiv NOT FOUND!");
}

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
    CsivEmbedder().embed(image, map, [](const QString &, const QString &) {});
    EXPECT_EQ(image.data(),
              QByteArray(1, '\1') + QByteArray(3, '\0') + csivFile("B", 2) + QByteArray(1, '\0') + csivFile("A", 1));
}

} // namespace
