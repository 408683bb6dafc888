// Builds that meet hostile files beside a valid wizard, and what stays the
// same from run to run and from locale to locale.

#include "core/commandline.h"
#include "support/wizardfiles.h"

#include <QProcess>

#include <sys/stat.h>

namespace {

const QString kWizard =
    QString::fromUtf8(kHeaderTags)
    + QStringLiteral(
        "T: hello \"Hello \u00e4\"\nH: hello \"Help\"\nT: flash \"CURVE\"\nT: path \"curve\"\nSCREEN_OVERLAY: s\n{\n"
        "   PRE_SCREEN_SCRIPT: pre\n   {\n      CSIV flash path\n   }\n   OVERLAY: o\n   {\n      T: hello\n"
        "      OK_ACTION: EXIT_WIZARD\n   }\n}\n");

class HostileBuild : public ::testing::Test
{
protected:
    // Compiles main.wdl in the test directory; returns the image.
    QByteArray compile()
    {
        WorkingDirectory cd(m_files.dir());
        CommandLine::run({QStringLiteral("main.wdl")});
        EXPECT_FALSE(QFile::exists(m_files.path(QStringLiteral("main.wdl_errors.txt"))));
        return readFile(m_files.path(QStringLiteral("main.wdl.sas")));
    }
    WizardFiles m_files;
};

TEST_F(HostileBuild, TenMegabyteTranslationFileBecomesOneDictionary)
{
    m_files.write(QStringLiteral("main.wdl"), kWizard);
    QByteArray xml("<translations language=\"German\">\n<text id=\"hello\" type=\"text\">");
    xml.append(QByteArray(10 << 20, 'x'));
    xml.append("</text>\n</translations>\n");
    m_files.writeBytes(QStringLiteral("translation_German.xml"), xml);
    const QByteArray image = compile();
    ASSERT_GT(image.size(), 20 << 20) << "ten million UTF-16 units";
    EXPECT_EQ(image.at(41), 2);
}

// The same wizard gives the same bytes twice in a row and under any locale.
TEST_F(HostileBuild, ImageBytesDoNotDependOnRunOrLocale)
{
    m_files.write(QStringLiteral("main.wdl"), kWizard);
    m_files.writeBytes(QStringLiteral("curve.csiv"), QByteArray(26, 'c') + QByteArray::fromHex("05001E00") + "CURVE");
    m_files.write(
        QStringLiteral("translation_French.xml"),
        QStringLiteral("<translations language=\"French\"><text id=\"hello\" type=\"text\">Bonjour \u00e9</text>"
                       "</translations>"));
    const QByteArray first = compile();
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(compile(), first);
    for (const char *locale : {"C", "C.UTF-8", "POSIX"}) {
        QProcess wdlc;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LANG"), QString::fromLatin1(locale));
        env.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(locale));
        wdlc.setProcessEnvironment(env);
        wdlc.setWorkingDirectory(m_files.dir());
        wdlc.start(QStringLiteral(WDLC_BINARY_DIR "/wdlc"), {QStringLiteral("main.wdl"), QStringLiteral("other")});
        ASSERT_TRUE(wdlc.waitForFinished(30000));
        EXPECT_EQ(readFile(m_files.path(QStringLiteral("other.sas"))), first) << locale;
    }
}

// Names that are no regular file: a FIFO would block the build for ever and
// a device would never end. Each counts as a file that cannot be opened.
struct SpecialRow
{
    const char *name;
    const char *fileName;
    bool fifo; // else a link to /dev/zero
    // The warnings file, or "" when the image is written.
    const char *warnings;

    friend void PrintTo(const SpecialRow &row, std::ostream *os) { *os << row.name; }
};

class SpecialFile : public HostileBuild, public ::testing::WithParamInterface<SpecialRow>
{
};

TEST_P(SpecialFile, CountsAsOneThatCannotBeOpened)
{
    const SpecialRow &row = GetParam();
    const QString wizard = row.fileName == QLatin1String("pipe.wdl") ? QStringLiteral("INCLUDE pipe.wdl\n") + kWizard
                                                                     : kWizard;
    if (row.fileName != QLatin1String("main.wdl"))
        m_files.write(QStringLiteral("main.wdl"), wizard);
    const QString special = m_files.path(QString::fromLatin1(row.fileName));
    ASSERT_TRUE(row.fifo ? ::mkfifo(QFile::encodeName(special).constData(), 0600) == 0
                         : QFile::link(QStringLiteral("/dev/zero"), special));
    {
        WorkingDirectory cd(m_files.dir());
        CommandLine::run({QStringLiteral("main.wdl")});
    }
    const QString warnings = QString::fromUtf8(row.warnings).replace(QStringLiteral("{dir}"), m_files.dir());
    EXPECT_EQ(QString::fromUtf8(readFile(m_files.path(QStringLiteral("main.wdl_errors.txt")))), warnings);
    EXPECT_EQ(QFile::exists(m_files.path(QStringLiteral("main.wdl.sas"))), warnings.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Files, SpecialFile,
                         ::testing::Values(SpecialRow{"WizardIsAFifo", "main.wdl", true,
                                                      "main.wdl\t0\n\tOpening of file:///main.wdl failed\n"},
                                           SpecialRow{"IncludeIsAFifo", "pipe.wdl", true,
                                                      "pipe.wdl\t0\n\tOpening of file:///{dir}/pipe.wdl failed\n"},
                                           SpecialRow{"TranslationIsAFifo", "translation_German.xml", true, ""},
                                           SpecialRow{"TranslationIsADevice", "translation_French.xml", false, ""},
                                           SpecialRow{"CsivFileIsAFifo", "curve.csiv", true, ""}),
                         rowName<SpecialRow>);

// A wizard kept under the name its own template or image would get is read,
// and left as it was: nothing is written at all.
TEST_F(HostileBuild, OutputNeverReplacesTheWizard)
{
    for (const QStringList &arguments : {QStringList{QStringLiteral("translation_template.xml")},
                                         QStringList{QStringLiteral("w.sas"), QStringLiteral("w.sas")}}) {
        WizardFiles files;
        files.write(arguments.first(), kWizard);
        {
            WorkingDirectory cd(files.dir());
            CommandLine::run(arguments);
        }
        EXPECT_EQ(QString::fromUtf8(readFile(files.path(arguments.first()))), kWizard);
        EXPECT_EQ(QDir(files.dir()).entryList(QDir::Files), QStringList{arguments.first()});
    }
}

// Arguments that Qt would take for itself still count: three arguments do
// nothing, however the first one is spelt.
TEST_F(HostileBuild, QtStyleArgumentsCountAsTyped)
{
    m_files.write(QStringLiteral("main.wdl"), kWizard);
    QProcess wdlc;
    wdlc.setWorkingDirectory(m_files.dir());
    wdlc.start(QStringLiteral(WDLC_BINARY_DIR "/wdlc"),
               {QStringLiteral("-qmljsdebugger=port:1"), QStringLiteral("main.wdl"), QStringLiteral("three")});
    ASSERT_TRUE(wdlc.waitForFinished(30000));
    EXPECT_EQ(wdlc.exitCode(), 0);
    EXPECT_EQ(QDir(m_files.dir()).entryList(QDir::Files), QStringList{QStringLiteral("main.wdl")});
}

} // namespace
