// Builds that meet hostile files beside a valid wizard, and what stays the
// same from run to run and from locale to locale.

#include "core/buildinputs.h"
#include "core/commandline.h"
#include "output/translationimporter.h"
#include "support/wizardfiles.h"
#include "tool/toolrun.h"
#include "wizardgenerator.h"

#include <QDirIterator>
#include <QProcess>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <thread>

namespace {

const QString kWizard =
    QString::fromUtf8(kHeaderTags)
    + QStringLiteral(
        "T: hello \"Hello \u00e4\"\nH: hello \"Help\"\nT: flash \"CURVE\"\nT: path \"curve\"\nSCREEN_OVERLAY: s\n{\n"
        "   PRE_SCREEN_SCRIPT: pre\n   {\n      CSIV flash path\n   }\n   OVERLAY: o\n   {\n      T: hello\n"
        "      OK_ACTION: EXIT_WIZARD\n   }\n}\n");

// The wizard with its header tags in an included file, and one warning more
// when it is to be invalid.
QString includingWizard(bool valid)
{
    return QStringLiteral("INCLUDE inc.wdl\n") + kWizard.mid(int(qstrlen(kHeaderTags)))
           + (valid ? QString() : QStringLiteral("T: unused \"x\"\n"));
}

// The peak resident bytes of wdlc compiling wdl in dir, measured on that one
// run (the children of a test may have taken more before); -1 when it does
// not end with status 0.
qint64 peakOfWdlc(const QString &dir, const QString &wdl)
{
    const QByteArray directory = QFile::encodeName(dir);
    const QByteArray file = QFile::encodeName(wdl);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(directory.constData()) == 0)
            ::execl(WDLC_BINARY_DIR "/wdlc", "wdlc", file.constData(), static_cast<char *>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    struct rusage usage;
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return qint64(usage.ru_maxrss) * 1024;
}

// Every entry below dir, hidden ones too, with what it is and holds: a link
// with what it names, a FIFO, a file with its contents.
QStringList snapshot(const QString &dir)
{
    QStringList out;
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat st;
        ::lstat(QFile::encodeName(path).constData(), &st);
        QString what = QString::fromUtf8(readFile(path));
        if (S_ISLNK(st.st_mode))
            what = QStringLiteral("link to ") + QFile::symLinkTarget(path);
        else if (S_ISFIFO(st.st_mode))
            what = QStringLiteral("fifo");
        else if (S_ISDIR(st.st_mode))
            what = QStringLiteral("directory");
        out.append(QDir(dir).relativeFilePath(path) + QStringLiteral(": ") + what);
    }
    out.sort();
    return out;
}

class HostileBuild : public ::testing::Test
{
protected:
    // Compiles in the test directory; returns the wizard's warnings.
    QStringList run(const QStringList &arguments)
    {
        WorkingDirectory cd(m_files.dir());
        CommandLine::run(arguments);
        return warningLines(WdlWizard::instance());
    }
    // The wizard and its CSIV file, in the directory dir of the test's.
    void writeWizard(const QString &dir = QString())
    {
        m_files.write(dir + QStringLiteral("main.wdl"), kWizard);
        m_files.writeBytes(dir + QStringLiteral("curve.csiv"),
                           QByteArray(26, 'c') + QByteArray::fromHex("05001E00") + "CURVE");
    }
    // The wizard with a translation and a CSIV file, its header tags in an
    // included file.
    void writeIncludingWizard(bool valid)
    {
        writeWizard();
        m_files.write(QStringLiteral("main.wdl"), includingWizard(valid));
        m_files.write(QStringLiteral("inc.wdl"), QString::fromUtf8(kHeaderTags));
        m_files.write(QStringLiteral("translation_German.xml"),
                      QStringLiteral("<translations language=\"German\"><text id=\"hello\" type=\"text\">Hallo</text>"
                                     "</translations>"));
    }

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

// An output that names, through a link, a file the build reads: nothing at
// all is written, and every file stays as it was.
struct LinkRow
{
    const char *name;
    // Else the wizard has a warning, and the warnings file is its output.
    bool valid;
    bool hard;
    const char *output;
    const char *input;
    // The one warning: the wizard's own, or the refusal of the image; {dir}
    // is the test directory.
    const char *refusal;

    friend void PrintTo(const LinkRow &row, std::ostream *os) { *os << row.name; }
};

class OutputLinkedToAnInput : public HostileBuild, public ::testing::WithParamInterface<LinkRow>
{
};

TEST_P(OutputLinkedToAnInput, WritesNothing)
{
    const LinkRow &row = GetParam();
    writeIncludingWizard(row.valid);
    const QString output = m_files.path(QString::fromUtf8(row.output));
    const QString input = QString::fromUtf8(row.input);
    ASSERT_TRUE(row.hard
                    ? ::link(QFile::encodeName(m_files.path(input)).constData(), QFile::encodeName(output).constData())
                          == 0
                    : QFile::link(input, output));
    const QStringList before = snapshot(m_files.dir());

    const QStringList warnings = run({QStringLiteral("main.wdl")});

    EXPECT_EQ(snapshot(m_files.dir()), before);
    const QString refusal = QString::fromUtf8(row.refusal).replace(QStringLiteral("{dir}"), m_files.dir());
    EXPECT_EQ(warnings, QStringList{refusal});
}

INSTANTIATE_TEST_SUITE_P(
    Links, OutputLinkedToAnInput,
    ::testing::Values(
        LinkRow{"TemplateHardLinkedToTheWizard", true, true, "translation_template.xml", "main.wdl",
                "main.wdl:0: The image or its translation template would overwrite main.wdl, which the build reads. "
                "SAS file can't be saved."},
        LinkRow{"TemplateLinkedToAnInclude", true, false, "translation_template.xml", "inc.wdl",
                "main.wdl:0: The image or its translation template would overwrite {dir}/inc.wdl, which the build "
                "reads. SAS file can't be saved."},
        LinkRow{"ImageLinkedToACsivFile", true, false, "main.wdl.sas", "curve.csiv",
                "main.wdl:0: The image or its translation template would overwrite {dir}/curve.csiv, which the "
                "build reads. SAS file can't be saved."},
        LinkRow{"ImageHardLinkedToATranslation", true, true, "main.wdl.sas", "translation_German.xml",
                "main.wdl:0: The image or its translation template would overwrite translation_German.xml, which "
                "the build reads. SAS file can't be saved."},
        LinkRow{"WarningsFileLinkedToTheWizard", false, false, "main.wdl_errors.txt", "main.wdl",
                "main.wdl:18: Text \"unused\" is not used."},
        LinkRow{"WarningsFileHardLinkedToAnInclude", false, true, "main.wdl_errors.txt", "inc.wdl",
                "main.wdl:18: Text \"unused\" is not used."}),
    rowName<LinkRow>);

// An output that is a FIFO is neither waited for nor replaced; what can be
// written still is.
struct FifoRow
{
    const char *name;
    bool valid;
    const char *fifo;
    // The files written, sorted.
    const char *written;
    const char *warnings;

    friend void PrintTo(const FifoRow &row, std::ostream *os) { *os << row.name; }
};

class OutputIsAFifo : public HostileBuild, public ::testing::WithParamInterface<FifoRow>
{
};

TEST_P(OutputIsAFifo, NeitherWaitsNorReplacesIt)
{
    const FifoRow &row = GetParam();
    writeIncludingWizard(row.valid);
    const QString fifo = m_files.path(QString::fromUtf8(row.fifo));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    const QStringList before = QDir(m_files.dir()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    const QByteArray tmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_files.dir()));

    const QStringList warnings = run({QStringLiteral("main.wdl")});

    qputenv("TMPDIR", tmpdir);
    struct stat st;
    ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    QStringList written = QDir(m_files.dir()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &name : before)
        written.removeOne(name);
    written.removeOne(QStringLiteral("wdlc-build.log"));
    EXPECT_EQ(written.join(QLatin1Char(' ')), QString::fromUtf8(row.written));
    EXPECT_EQ(warnings.join(QLatin1Char('\n')), QString::fromUtf8(row.warnings));
}

INSTANTIATE_TEST_SUITE_P(Fifos, OutputIsAFifo,
                         ::testing::Values(FifoRow{"Template", true, "translation_template.xml", "main.wdl.sas", ""},
                                           FifoRow{"Image", true, "main.wdl.sas", "translation_template.xml",
                                                   "main.wdl:0: Saving of .sas file failed"},
                                           FifoRow{"WarningsFile", false, "main.wdl_errors.txt", "",
                                                   "main.wdl:18: Text \"unused\" is not used."},
                                           FifoRow{"BuildLog", true, "wdlc-build.log",
                                                   "main.wdl.sas translation_template.xml", ""}),
                         rowName<FifoRow>);

// The build log lies at a fixed name in a directory every user may write:
// it is appended to only when it is this user's own regular file with no
// other name, and then one line per step.
struct LogRow
{
    const char *name;
    // What stands at the log's name: "", "file", "link", "hard link",
    // "other user's".
    const char *log;
    const char *after;

    friend void PrintTo(const LogRow &row, std::ostream *os) { *os << row.name; }
};

class BuildLog : public HostileBuild, public ::testing::WithParamInterface<LogRow>
{
};

TEST_P(BuildLog, IsWrittenOnlyWhenItIsThisUsersOwnFile)
{
    const LogRow &row = GetParam();
    m_files.write(QStringLiteral("main.wdl"), kWizard);
    const QString log = m_files.path(QStringLiteral("tmp/wdlc-build.log"));
    const QString kind = QString::fromUtf8(row.log);
    if (!kind.isEmpty())
        m_files.writeBytes(QStringLiteral("tmp/other"), "earlier\n");
    const QString other = m_files.path(QStringLiteral("tmp/other"));
    bool made = true;
    if (kind == QLatin1String("file") || kind == QLatin1String("other user's"))
        made = QFile::rename(other, log);
    else if (kind == QLatin1String("link"))
        made = QFile::link(QStringLiteral("other"), log);
    else if (kind == QLatin1String("hard link"))
        made = ::link(QFile::encodeName(other).constData(), QFile::encodeName(log).constData()) == 0;
    ASSERT_TRUE(made);
    if (kind == QLatin1String("other user's") && ::chown(QFile::encodeName(log).constData(), 65534, 65534) != 0)
        GTEST_SKIP() << "cannot give the log to another user";
    QDir().mkpath(m_files.path(QStringLiteral("tmp")));
    const QByteArray tmpdir = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(m_files.path(QStringLiteral("tmp"))));

    run({QStringLiteral("main.wdl")});

    qputenv("TMPDIR", tmpdir);
    EXPECT_TRUE(QFile::exists(m_files.path(QStringLiteral("main.wdl.sas"))));
    EXPECT_EQ(snapshot(m_files.path(QStringLiteral("tmp"))).join(QLatin1Char('|')),
              QString::fromUtf8(row.after).replace(QStringLiteral("{tmp}"), m_files.path(QStringLiteral("tmp"))));
}

#define WDLC_TRACE                                                                                                     \
    "file:///main.wdl.sas\ndata ready\nfile opened\nfile header\nfile script data\ndict data\ncrc1\ncrc2\ncrc3\n"

INSTANTIATE_TEST_SUITE_P(
    Logs, BuildLog,
    ::testing::Values(LogRow{"Created", "", "wdlc-build.log: " WDLC_TRACE},
                      LogRow{"AppendedTo", "file", "wdlc-build.log: earlier\n" WDLC_TRACE},
                      LogRow{"LinkNotFollowed", "link", "other: earlier\n|wdlc-build.log: link to {tmp}/other"},
                      LogRow{"HardLinkLeftAlone", "hard link", "other: earlier\n|wdlc-build.log: earlier\n"},
                      LogRow{"OtherUsersLeftAlone", "other user's", "wdlc-build.log: earlier\n"}),
    rowName<LogRow>);

// wdltool dump reads only regular files: a FIFO would wait for a writer,
// /dev/zero would never end.
TEST_F(HostileBuild, DumpReadsNoFifoNorDevice)
{
    const QString fifo = m_files.path(QStringLiteral("image.sas"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString &path : {fifo, QStringLiteral("/dev/zero")}) {
        const ToolRun run = runToolIn(m_files.dir(), {QStringLiteral("dump"), path});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, QString());
        EXPECT_EQ(run.err,
                  QStringLiteral("wdltool dump: cannot read ") + path + QStringLiteral(": not a regular file\n"));
    }
}

// The image counts its dictionaries in one byte: 254 translations and the
// English dictionary fill it, one more file refuses the image before any file
// is written, where the count would wrap to an image the drive misreads.
TEST_F(HostileBuild, MoreThan254TranslationFilesRefuseTheImage)
{
    writeWizard();
    m_files.writeBytes(QStringLiteral("main.wdl.sas"), "previous image");
    m_files.writeBytes(QStringLiteral("translation_template.xml"), "previous template");
    for (int i = 0; i < TranslationImporter::kMaxTranslations; ++i)
        m_files.write(QStringLiteral("translation_%1.xml").arg(i, 3, 10, QLatin1Char('0')),
                      QStringLiteral("<translations language=\"German\"><text id=\"hello\" type=\"text\">Hallo</text>"
                                     "</translations>"));
    EXPECT_EQ(run({QStringLiteral("main.wdl")}), QStringList());
    EXPECT_EQ(quint8(readFile(m_files.path(QStringLiteral("main.wdl.sas"))).at(41)), 255);

    m_files.writeBytes(QStringLiteral("main.wdl.sas"), "previous image");
    m_files.writeBytes(QStringLiteral("translation_template.xml"), "previous template");
    m_files.writeBytes(QStringLiteral("translation_xyz.xml"), "not read");
    EXPECT_EQ(run({QStringLiteral("main.wdl")}),
              QStringList{QStringLiteral(
                  "main.wdl:0: Too many translation files: 255. An image holds at most 254 translations.")});
    EXPECT_EQ(readFile(m_files.path(QStringLiteral("main.wdl.sas"))), "previous image");
    EXPECT_EQ(readFile(m_files.path(QStringLiteral("translation_template.xml"))), "previous template");
}

// The image's directory is its path without the last component, also where
// the image's name names a directory above it: translations are read and the
// template written there, and nowhere else.
TEST_F(HostileBuild, ImageNamedLikeADirectoryOfItsPath)
{
    writeWizard(QStringLiteral("w.sas/"));
    m_files.write(QStringLiteral("w.sas/translation_French.xml"),
                  QStringLiteral("<translations language=\"French\"><text id=\"hello\" type=\"text\">Bonjour</text>"
                                 "</translations>"));
    m_files.writeBytes(QStringLiteral("translation_German.xml"), "not beside the image");

    EXPECT_EQ(run({QStringLiteral("w.sas/main.wdl"), QStringLiteral("w.sas/w.sas")}), QStringList());

    EXPECT_EQ(readFile(m_files.path(QStringLiteral("w.sas/w.sas"))).at(41), 2);
    EXPECT_EQ(QDir(m_files.path(QStringLiteral("w.sas"))).entryList(QDir::Files),
              QStringList({"curve.csiv", "main.wdl", "translation_French.xml", "translation_template.xml", "w.sas"}));
}

// One budget for all the inputs of a build: a file counts each time it is
// read, and a file that would overdraw the budget counts as one that cannot
// be opened, however the bytes are spread over files and INCLUDE lines.
TEST_F(HostileBuild, AllWdlFilesTogetherStayWithinOneBudget)
{
    const qint64 bigger = BuildInputs::kBudget / 2 + 1;
    m_files.write(QStringLiteral("main.wdl"), kWizard + QStringLiteral("INCLUDE big.wdl\nINCLUDE big.wdl\n"));
    m_files.writeBytes(QStringLiteral("big.wdl"), "//" + QByteArray(int(bigger), 'x'));
    EXPECT_EQ(run({QStringLiteral("main.wdl")}),
              QStringList{QStringLiteral("big.wdl:0: Opening of file:///") + m_files.path(QStringLiteral("big.wdl"))
                          + QStringLiteral(" failed")});
}

TEST_F(HostileBuild, AllTranslationFilesTogetherStayWithinOneBudget)
{
    const qint64 bigger = BuildInputs::kBudget / 2 + 1;
    // Sparse files: their size is what counts.
    writeWizard();
    for (const char *name : {"translation_a.xml", "translation_b.xml"}) {
        QFile file(m_files.path(QString::fromLatin1(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(bigger));
    }
    const QStringList warnings = run({QStringLiteral("main.wdl")});
    ASSERT_EQ(warnings.size(), 2);
    EXPECT_EQ(warnings.at(1), QStringLiteral("main.wdl:0: Unable to open file translation_b.xml"));
    EXPECT_TRUE(QFile::exists(m_files.path(QStringLiteral("main.wdl.sas"))));
}

// A translation file swapped for a FIFO and back while builds run: each
// build either reads the file or finds a file it cannot open, and none
// waits. Run as wdlc itself, so that a build that hangs fails the test.
TEST_F(HostileBuild, SwappingATranslationForAFifoNeverHangsABuild)
{
    m_files.write(QStringLiteral("main.wdl"), kWizard);
    const QByteArray xml = "<translations language=\"German\"><text id=\"hello\" type=\"text\">Hallo</text>"
                           "</translations>";
    const QByteArray translation = QFile::encodeName(m_files.path(QStringLiteral("translation_German.xml")));
    const QByteArray file = QFile::encodeName(m_files.path(QStringLiteral("file.xml")));
    const QByteArray fifo = QFile::encodeName(m_files.path(QStringLiteral("fifo.xml")));
    std::atomic<bool> done{false};
    std::thread swapper([&] {
        for (bool toFifo = true; !done; toFifo = !toFifo) {
            QFile regular(QFile::decodeName(file));
            if (regular.open(QIODevice::WriteOnly))
                regular.write(xml);
            regular.close();
            ::mkfifo(fifo.constData(), 0600);
            ::rename((toFifo ? fifo : file).constData(), translation.constData());
            ::unlink(fifo.constData());
            ::unlink(file.constData());
        }
    });
    int hung = 0;
    for (int i = 0; i < 40 && hung == 0; ++i) {
        QProcess wdlc;
        wdlc.setWorkingDirectory(m_files.dir());
        wdlc.start(QStringLiteral(WDLC_BINARY_DIR "/wdlc"), {QStringLiteral("main.wdl")});
        if (!wdlc.waitForFinished(20000)) {
            ++hung;
            wdlc.kill();
            wdlc.waitForFinished();
        }
    }
    done = true;
    swapper.join();
    EXPECT_EQ(hung, 0);
    EXPECT_TRUE(QFile::exists(m_files.path(QStringLiteral("main.wdl.sas"))));
}

// Memory grows with the wizard by a bounded number of bytes per byte read,
// also for the costliest shape known: every line an item with a warning of
// its own (200,000 texts, none used). Measured on wdlc itself; a sanitizer's
// shadow memory would measure the sanitizer.
TEST_F(HostileBuild, MemoryPerByteOfATextPerLineWizardIsBounded)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer keeps memory of its own";
#endif
    QByteArray wdl = kHeaderTags;
    wdl += "SCREEN_OVERLAY: s\n{\n   OVERLAY: o\n   {\n      T: t0\n      OK_ACTION: EXIT_WIZARD\n   }\n}\n";
    for (int i = 0; i < 200000; ++i)
        wdl += "T: t" + QByteArray::number(i) + " \"Text " + QByteArray::number(i) + "\"\n";
    m_files.writeBytes(QStringLiteral("main.wdl"), wdl);
    QProcess wdlc;
    wdlc.setWorkingDirectory(m_files.dir());
    wdlc.start(QStringLiteral(WDLC_BINARY_DIR "/wdlc"), {QStringLiteral("main.wdl")});
    ASSERT_TRUE(wdlc.waitForFinished(120000));
    struct rusage usage;
    ASSERT_EQ(::getrusage(RUSAGE_CHILDREN, &usage), 0);
    EXPECT_TRUE(QFile::exists(m_files.path(QStringLiteral("main.wdl_errors.txt"))));
    // About 29 bytes per byte now, 46 while each item kept a connection of
    // its own; a program's start takes some 12 MB of its own.
    const qint64 peak = qint64(usage.ru_maxrss) * 1024;
    EXPECT_LT(peak, 36 * qint64(wdl.size()) + (16 << 20)) << peak / wdl.size() << " bytes per byte";
}

// A translation file costs the build about its bytes once more, not the
// entries it took kept again for nothing: only the check looks at those.
TEST_F(HostileBuild, TranslationFilesCostAboutTheirBytes)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer keeps memory of its own";
#endif
    const QString plain = m_files.path(QStringLiteral("plain"));
    const QString translated = m_files.path(QStringLiteral("translated"));
    ASSERT_TRUE(QDir().mkpath(plain) && QDir().mkpath(translated));
    const QString plainWdl = WizardGenerator::write(plain, 8, 0);
    const QString translatedWdl = WizardGenerator::write(translated, 8, 26);
    qint64 translationBytes = 0;
    for (const QFileInfo &info : QDir(translated).entryInfoList({QStringLiteral("translation_*.xml")}, QDir::Files))
        translationBytes += info.size();
    ASSERT_GT(translationBytes, 5 << 20);
    const qint64 withoutTranslations = peakOfWdlc(plain, plainWdl);
    const qint64 withTranslations = peakOfWdlc(translated, translatedWdl);
    ASSERT_GT(withoutTranslations, 0);
    ASSERT_GT(withTranslations, 0);
    // A few files in hand at a time, and the dictionaries: under 2 bytes per
    // byte; 2.4 while all files were held together for the two threads that
    // read them, 4.5 while every entry was also kept for the check.
    EXPECT_LT(withTranslations - withoutTranslations, 2 * translationBytes)
        << double(withTranslations - withoutTranslations) / translationBytes << " bytes per byte";
}

} // namespace
