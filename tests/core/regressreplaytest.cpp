// Replays every input that a fuzz target once found a fault with; each must
// now run to its end without a sanitizer report.

#include "core/commandline.h"
#include "inspect/sasimagereader.h"
#include "output/wdlsourceformatter.h"
#include "reader/wdlsourcefile.h"
#include "support/wizardfiles.h"

namespace {

const QString kRegress = QStringLiteral(WDLC_TEST_DATA "/regress/");

const QString kSmallWizard =
    QString::fromUtf8(kHeaderTags)
    + QStringLiteral(
        "T: hello \"Hello\"\nH: hello \"Help\"\nSCREEN_OVERLAY: s\n{\n   OVERLAY: o\n   {\n      T: hello\n"
        "      OK_ACTION: EXIT_WIZARD\n   }\n}\n");

QStringList inputs(const QString &target)
{
    QStringList out;
    const QDir dir(kRegress + target);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        out.append(dir.filePath(name));
    return out;
}

// A pipeline input is the wizard; a translation input sits beside a small one,
// which must still compile.
TEST(RegressReplay, BuildInputsRunToTheirEnd)
{
    for (const QString &target : {QStringLiteral("pipeline"), QStringLiteral("translation")}) {
        const bool translation = target == QLatin1String("translation");
        for (const QString &input : inputs(target)) {
            SCOPED_TRACE(input.toStdString());
            WizardFiles files;
            files.writeBytes(QStringLiteral("main.wdl"), translation ? kSmallWizard.toUtf8() : readFile(input));
            if (translation)
                files.writeBytes(QStringLiteral("translation_German.xml"), readFile(input));
            WorkingDirectory cd(files.dir());
            EXPECT_EQ(CommandLine::run({QStringLiteral("main.wdl")}), 0);
            EXPECT_TRUE(!translation || QFile::exists(files.path(QStringLiteral("main.wdl.sas"))));
        }
    }
}

TEST(RegressReplay, ImageInputsAreDecodedWithinTheirBytes)
{
    for (const QString &input : inputs(QStringLiteral("image"))) {
        SCOPED_TRACE(input.toStdString());
        SasImageReader::read(readFile(input));
    }
}

TEST(RegressReplay, SourceInputsFormatAsTheirFormattedText)
{
    for (const QString &input : inputs(QStringLiteral("source"))) {
        SCOPED_TRACE(input.toStdString());
        const WdlSourceFile file = WdlSourceFile::fromBytes(readFile(input));
        EXPECT_EQ(file.bytes(), readFile(input));
        for (const auto blankLines : {WdlSourceFormatter::CollapseBlankLines, WdlSourceFormatter::KeepLineNumbers}) {
            const QByteArray once = WdlSourceFormatter::format(file, blankLines);
            EXPECT_EQ(WdlSourceFormatter::format(WdlSourceFile::fromBytes(once), blankLines), once);
        }
    }
}

} // namespace
