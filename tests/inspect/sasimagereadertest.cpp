#include "inspect/sasimagereader.h"

#include "support/testsupport.h"

#include <QDirIterator>

namespace {

// Cut at every length, the image is reported, never read past its end.
TEST(SasImageReader, EveryTruncationIsReported)
{
    const QByteArray sound = readFile(QStringLiteral(WDLC_TEST_DATA "/compile/all_records/expected/main.wdl.sas"));
    ASSERT_TRUE(SasImageReader::read(sound).ok());
    const QString inHeader =
        QStringLiteral("%1: image cut short: the header needs 48 bytes, the data ends at offset %1");
    const QString pastHeader =
        QStringLiteral("4: total length ") + QString::number(sound.size())
        + QStringLiteral(" at offset 4 differs from the %1 bytes of the image: the image is cut short");
    for (int n = 0; n < sound.size(); ++n) {
        const SasImage image = SasImageReader::read(sound.left(n));
        ASSERT_FALSE(image.problems.isEmpty()) << "cut at " << n;
        const SasProblem &first = image.problems.first();
        const bool header = n < SasImageReader::kFixedHeaderSize;
        EXPECT_EQ(QString::number(first.offset) + QStringLiteral(": ") + first.message,
                  (header ? inHeader : pastHeader).arg(n));
        EXPECT_TRUE(!header || image.problems.size() == 1) << "cut at " << n;
    }
}

// Every image the golden compiles expect reads back without a problem.
TEST(SasImageReader, EveryGoldenImageIsSound)
{
    QDirIterator it(QStringLiteral(WDLC_TEST_DATA "/compile"), {QStringLiteral("*.sas")}, QDir::Files,
                    QDirIterator::Subdirectories);
    int images = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        const SasImage image = SasImageReader::read(readFile(path));
        EXPECT_TRUE(image.ok()) << path.toStdString() << ": " << image.problems.value(0).message.toStdString();
        ++images;
    }
    EXPECT_GE(images, 4);
}

} // namespace
