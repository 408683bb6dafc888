// A build in memory makes exactly what wdlc writes, and writes nothing: the
// golden folders of tests/data/compile/ that hold an image are its answers.

#include "reader/sourceoverlay.h"
#include "support/wizardfiles.h"

namespace {

const QString kCompileData = QStringLiteral(WDLC_TEST_DATA "/compile/");

QStringList casesWithAnImage()
{
    QStringList out;
    for (const QString &name : QDir(kCompileData).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name)) {
        if (QFileInfo::exists(kCompileData + name + QStringLiteral("/expected/main.wdl.sas")))
            out.append(name);
    }
    return out;
}

class BuildInMemory : public ::testing::TestWithParam<QString>
{
};

TEST_P(BuildInMemory, MakesWhatWdlcWritesAndWritesNothing)
{
    const QString golden = kCompileData + GetParam();
    WizardFiles work;
    work.copyTree(golden + QStringLiteral("/input"));
    const QStringList before = filesBelow(work.dir());
    WdlWizard *wizard = WdlWizard::instance();
    wizard->openWDLFile(work.url(QStringLiteral("main.wdl")));
    ASSERT_TRUE(wizard->isValidForSaving());

    const BuildProducts products = wizard->buildInMemory(work.url(QStringLiteral("main.wdl.sas")));
    EXPECT_EQ(products.refusal, QString());
    EXPECT_TRUE(products.image == readFile(golden + QStringLiteral("/expected/main.wdl.sas")));
    EXPECT_EQ(products.translationTemplate.toStdString(),
              readFile(golden + QStringLiteral("/expected/translation_template.xml")).toStdString());
    EXPECT_EQ(filesBelow(work.dir()), before);
    EXPECT_EQ(wizard->warningsModel()->count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, BuildInMemory, ::testing::ValuesIn(casesWithAnImage()),
                         [](const ::testing::TestParamInfo<QString> &info) { return info.param.toStdString(); });

const char kOneScreen[] = "SCREEN_OVERLAY: s\n{\n   OVERLAY: o\n   {\n      T: t\n   }\n}\n";

TEST(BuildInMemoryProblems, NameTheTranslationOrCsivFileAndTheXmlLine)
{
    WizardFiles files;
    files.write(QStringLiteral("main.wdl"), QString::fromLatin1(kHeaderTags) + QStringLiteral("T: t \"Hello\"\n")
                                                + QStringLiteral("T: name \"CURVE\"\nT: path \"curve.csiv\"\n")
                                                + QString::fromLatin1(kOneScreen)
                                                + QStringLiteral("FIRST_SCREEN_SCRIPT: f\n{\n   CSIV name path\n}\n"));
    files.write(QStringLiteral("translation_Germn.xml"),
                QStringLiteral("<root>\n<translations language=\"Germn\">\n</translations>\n</root>\n"));
    WdlWizard *wizard = WdlWizard::instance();
    wizard->openWDLFile(files.url(QStringLiteral("main.wdl")));
    ASSERT_EQ(warningLines(wizard), QStringList());

    const BuildProducts products = wizard->buildInMemory(files.url(QStringLiteral("main.wdl.sas")));
    QStringList problems;
    for (const BuildProducts::Problem &p : products.problems)
        problems.append(QDir(files.dir()).relativeFilePath(p.file) + QLatin1Char(':') + QString::number(p.line)
                        + QLatin1Char(':') + p.text.section(QLatin1Char(' '), 0, 2));
    EXPECT_EQ(problems, (QStringList{QStringLiteral("translation_Germn.xml:2:Unknown translation language"),
                                     QStringLiteral("curve.csiv:0:FILE ") + files.path(QStringLiteral("curve.csiv"))
                                         + QStringLiteral(" NOT")}));
    EXPECT_FALSE(products.image.isEmpty()) << "wdlc writes the image without them";
    EXPECT_EQ(wizard->warningsModel()->count(), 0);
}

TEST(BuildInMemoryRefusal, GivesTheReasonAndNoImage)
{
    WizardFiles files;
    files.write(QStringLiteral("main.wdl"), QString::fromLatin1(kHeaderTags) + QStringLiteral("T: t \"Hello\"\n"));
    WdlWizard *wizard = WdlWizard::instance();
    wizard->openWDLFile(files.url(QStringLiteral("main.wdl")));
    const BuildProducts products = wizard->buildInMemory(files.url(QStringLiteral("main.wdl.sas")));
    EXPECT_EQ(products.refusal, QStringLiteral("WDL file has not been loaded or is invalid. SAS file can't be saved."));
    EXPECT_TRUE(products.image.isEmpty() && products.translationTemplate.isEmpty());
}

// The overlay stands in for the top-level file and for an included one; a
// file it does not hold is read from disk.
TEST(SourceOverlayReading, TakesTheOverlayFirstThenTheDisk)
{
    WizardFiles files;
    files.write(QStringLiteral("main.wdl"), QStringLiteral("FOO 1\n"));
    files.write(QStringLiteral("texts/a.wdl"), QStringLiteral("BAR 1\n"));
    files.write(QStringLiteral("b.wdl"), QStringLiteral("\nBAZ 1\n"));
    SourceOverlay overlay;
    overlay.set(files.path(QStringLiteral("main.wdl")), "INCLUDE texts/a.wdl\nINCLUDE b.wdl\nQUX 1\n");
    overlay.set(files.dir() + QStringLiteral("/./texts/../texts/a.wdl"), "\n\nEDITED 1\n");
    WdlWizard *wizard = WdlWizard::instance();
    wizard->setSourceOverlay(&overlay);
    const QStringList warnings = openFile(files.path(QStringLiteral("main.wdl"))).mid(0, 3);
    wizard->setSourceOverlay(nullptr);
    EXPECT_EQ(warnings,
              (QStringList{QStringLiteral("texts/a.wdl:3: Unknown tag EDITED"),
                           QStringLiteral("b.wdl:2: Unknown tag BAZ"), QStringLiteral("main.wdl:3: Unknown tag QUX")}));
}

} // namespace
