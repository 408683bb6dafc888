#include "inspect/sasimagereader.h"
#include "base/saslayout.h"

#include "support/sasimage.h"
#include "support/testsupport.h"
#include "support/wizardfiles.h"

#include <QDirIterator>

namespace {

// Cut at every length, the image is reported, never read past its end.
TEST(SasImageReader, EveryTruncationIsReported)
{
    const QByteArray sound = readFile(QStringLiteral(WDLC_TEST_DATA "/compile/all_records/expected/main.wdl.sas"));
    ASSERT_TRUE(SasImageReader::read(sound).ok());
    const QString inHeader = QStringLiteral(
        "%1: image cut short: the header needs 48 bytes, the data ends at offset %1");
    const QString pastHeader = QStringLiteral("4: total length ") + QString::number(sound.size())
                               + QStringLiteral(
                                   " at offset 4 differs from the %1 bytes of the image: the image is cut short");
    for (int n = 0; n < sound.size(); ++n) {
        const SasImage image = SasImageReader::read(sound.left(n));
        ASSERT_FALSE(image.problems.isEmpty()) << "cut at " << n;
        const SasProblem &first = image.problems.first();
        const bool header = n < SasLayout::kFixedHeaderSize;
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

// A count byte holds the low 8 bits; the reader takes the true count from the
// payload and says so.
TEST(SasImageReader, WrappedCountsAreSpeltOut)
{
    WdlWizard *wizard = WdlWizard::instance();
    wizard->clearAllModels();
    setCompleteHeader(wizard, QStringLiteral("n"));
    auto *text = new WdlTokenText(QStringLiteral("t"), QStringLiteral("T"), QString());
    wizard->textModel()->addItem(text);
    auto *list = new WdlTokenChoiceList(QStringLiteral("cl"));
    for (int i = 0; i < 300; ++i)
        list->addChoice(text);
    wizard->choicelistModel()->addItem(list);
    auto *script = new WdlTokenScript(QStringLiteral("s"), WdlTokenScript::ScriptType_WS);
    for (int c = 0; c < 256; ++c)
        script->addCommand(QStringLiteral("EXIT"), c + 1);
    wizard->scriptModel()->addItem(script);
    SaveWdl builder;
    configure(builder, wizard);
    WizardFiles files;
    ASSERT_TRUE(builder.writeSas(files.url(QStringLiteral("w.sas"))));
    const SasImage image = SasImageReader::read(readFile(files.path(QStringLiteral("w.sas"))));
    EXPECT_TRUE(image.ok());
    QStringList counts;
    for (const SasRecord &record : image.records) {
        for (const SasField &field : record.fields) {
            if (field.name.endsWith(QLatin1String(" count")))
                counts.append(field.name + QStringLiteral(" ") + field.value.toString() + QStringLiteral(" (")
                              + field.meaning + QStringLiteral(")"));
        }
    }
    EXPECT_EQ(counts, (QStringList{QStringLiteral("entry count 44 (low 8 bits of 300)"),
                                   QStringLiteral("command count 0 (low 8 bits of 256)")}));
}

} // namespace
