// Writes cut short by a file-size limit at many offsets and by a full file
// system: the previous image, template and warnings file stay as they were,
// no file is left half-written, and the failure is reported.

#include "core/commandline.h"
#include "support/wizardfiles.h"
#include "tool/toolrun.h"
#include "wizardgenerator.h"

#include <QProcess>

#include <csignal>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>

namespace {

const QByteArray kPreviousImage = "the image of an earlier build";
const QByteArray kPreviousTemplate = "the template of an earlier build";
const QByteArray kPreviousList = "the warnings of an earlier build";

// Limits the size of every file this process writes, for the lifetime of the
// object. The signal that would end the process is ignored, as wdlc and
// wdltool ignore it, so that the write fails instead.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit limit = {rlim_t(bytes), m_previous.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_handler);
    }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    struct rlimit m_previous;
    void (*m_handler)(int);
};

// Every entry of dir, hidden ones too: a write that was cancelled leaves no
// file of its own behind.
QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// A valid stress wizard with two translations, large enough that its image
// (some 80 kB) and its template are written in many blocks.
class CutWrites : public ::testing::Test
{
protected:
    void SetUp() override
    {
        WizardGenerator::write(m_files.dir(), 2, 2);
        m_image = m_files.path(QStringLiteral("stress.wdl.sas"));
        m_template = m_files.path(QStringLiteral("translation_template.xml"));
        ASSERT_EQ(compile(), QStringList());
        m_fullImage = readFile(m_image);
        m_fullTemplate = readFile(m_template);
        ASSERT_GT(m_fullImage.size(), 65536);
        m_entries = entries(m_files.dir());
    }
    QStringList compile()
    {
        WorkingDirectory cd(m_files.dir());
        CommandLine::run({QStringLiteral("stress.wdl")});
        return warningLines(WdlWizard::instance());
    }
    void writePrevious()
    {
        m_files.writeBytes(QStringLiteral("stress.wdl.sas"), kPreviousImage);
        m_files.writeBytes(QStringLiteral("translation_template.xml"), kPreviousTemplate);
    }

    WizardFiles m_files;
    QString m_image;
    QString m_template;
    QByteArray m_fullImage;
    QByteArray m_fullTemplate;
    QStringList m_entries;
};

TEST_F(CutWrites, PreviousImageAndTemplateStayUnderEveryFileSizeLimit)
{
    const qint64 image = m_fullImage.size();
    const qint64 templateSize = m_fullTemplate.size();
    for (qint64 limit : {qint64(0), qint64(1), qint64(4095), qint64(4096), qint64(4097), templateSize - 1, templateSize,
                         qint64(65536), image / 2, image - 1}) {
        writePrevious();
        QStringList warnings;
        {
            FileSizeLimit cut(limit);
            warnings = compile();
        }
        EXPECT_EQ(warnings, QStringList{QStringLiteral("stress.wdl:0: Saving of .sas file failed")}) << limit;
        EXPECT_EQ(readFile(m_image), kPreviousImage) << limit;
        EXPECT_EQ(readFile(m_template), limit >= templateSize ? m_fullTemplate : kPreviousTemplate) << limit;
        EXPECT_EQ(entries(m_files.dir()), m_entries) << limit;
    }
    // Exactly as large as the limit allows.
    writePrevious();
    {
        FileSizeLimit cut(image);
        EXPECT_EQ(compile(), QStringList());
    }
    EXPECT_EQ(readFile(m_image), m_fullImage);
}

// The list of a wizard with thousands of warnings, cut anywhere, never
// replaces the list of an earlier build.
TEST(CutWarningsFile, PreviousListStaysUnderEveryFileSizeLimit)
{
    WizardFiles files;
    QByteArray wdl = kHeaderTags;
    for (int i = 0; i < 20000; ++i)
        wdl += "T: unused_" + QByteArray::number(i) + " \"never shown\"\n";
    files.writeBytes(QStringLiteral("w.wdl"), wdl);
    const QString list = files.path(QStringLiteral("w.wdl_errors.txt"));
    const auto compile = [&files] {
        WorkingDirectory cd(files.dir());
        CommandLine::run({QStringLiteral("w.wdl")});
    };
    compile();
    const QByteArray full = readFile(list);
    ASSERT_GT(full.size(), 500000);
    for (qint64 limit : {qint64(0), qint64(1), qint64(4096), qint64(65537), qint64(full.size() / 2),
                         qint64(full.size() - 1), qint64(full.size())}) {
        files.writeBytes(QStringLiteral("w.wdl_errors.txt"), kPreviousList);
        {
            FileSizeLimit cut(limit);
            compile();
        }
        EXPECT_EQ(readFile(list), limit < full.size() ? kPreviousList : full) << limit;
        EXPECT_EQ(entries(files.dir()), QStringList({"w.wdl", "w.wdl_errors.txt"})) << limit;
    }
}

// A file system with no room left, where the test may mount one of its own
// (as root, in a mount namespace of the test's own, so that no other process
// sees it).
class FullFileSystem : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            GTEST_SKIP() << "this test may not mount a file system of its own";
        m_mountPoint = m_files.path(QStringLiteral("small"));
        QDir().mkpath(m_mountPoint);
        if (::mount("tmpfs", QFile::encodeName(m_mountPoint).constData(), "tmpfs", 0, "size=1m") != 0)
            GTEST_SKIP() << "this test may not mount a file system of its own";
        m_mounted = true;
    }
    void TearDown() override
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_mountPoint).constData(), MNT_DETACH);
    }
    // Fills the file system up to free bytes.
    void fillUpTo(qint64 free)
    {
        QFile::remove(filler());
        QFile file(filler());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'f');
        while (file.write(block) == block.size() && file.flush()) {}
        file.close();
        QFile::resize(filler(), qMax<qint64>(0, QFileInfo(filler()).size() - free));
    }
    QString filler() const { return m_mountPoint + QStringLiteral("/filler"); }
    QString onIt(const char *name) const { return m_mountPoint + QLatin1Char('/') + QLatin1String(name); }

    WizardFiles m_files;
    QString m_mountPoint;
    bool m_mounted = false;
};

TEST_F(FullFileSystem, LeavesThePreviousImageTemplateAndListAsTheyWere)
{
    const QString wizard = WizardGenerator::write(m_files.path(QStringLiteral("wizard")), 2, 0);
    const QString image = onIt("out.sas");
    const QString translationTemplate = onIt("translation_template.xml");
    for (qint64 free : {0, 4096, 32768}) {
        QFile::remove(filler());
        QFile::remove(translationTemplate);
        QFile previous(image);
        ASSERT_TRUE(previous.open(QIODevice::WriteOnly) && previous.write(kPreviousImage) == kPreviousImage.size());
        previous.close();
        fillUpTo(free);
        CommandLine::run({wizard, image});
        EXPECT_EQ(warningLines(WdlWizard::instance()),
                  QStringList{QStringLiteral("stress.wdl:0: Saving of .sas file failed")})
            << free;
        EXPECT_EQ(readFile(image), kPreviousImage) << free;
        const QByteArray writtenTemplate = readFile(translationTemplate);
        EXPECT_TRUE(writtenTemplate.isEmpty() || writtenTemplate.endsWith("</root>\n")) << free;
        EXPECT_EQ(entries(m_mountPoint).filter(QStringLiteral(".")),
                  QStringList(writtenTemplate.isEmpty() ? QStringList{"out.sas"}
                                                        : QStringList{"out.sas", "translation_template.xml"}))
            << free;
    }
    QFile::remove(filler());
    CommandLine::run({wizard, image});
    EXPECT_EQ(warningLines(WdlWizard::instance()), QStringList());
    EXPECT_TRUE(readFile(image).startsWith('\x0F'));

    // The warnings file, beside a wizard on the full file system.
    QByteArray invalid = kHeaderTags;
    for (int i = 0; i < 2000; ++i)
        invalid += "T: unused_" + QByteArray::number(i) + " \"never shown\"\n";
    QFile file(onIt("w.wdl"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(invalid) == invalid.size());
    file.close();
    QFile list(onIt("w.wdl_errors.txt"));
    ASSERT_TRUE(list.open(QIODevice::WriteOnly) && list.write(kPreviousList) == kPreviousList.size());
    list.close();
    fillUpTo(4096);
    CommandLine::run({onIt("w.wdl")});
    EXPECT_EQ(readFile(onIt("w.wdl_errors.txt")), kPreviousList);
}

// The same limits as the programs meet them, with the signal at its default:
// wdlc still ends with status 0, says in its trace why the image was not
// written and leaves the previous one; wdltool says so and ends with 1.
class LimitedProcess : public QProcess
{
public:
    explicit LimitedProcess(qint64 limit) : m_limit(limit) {}

protected:
    void setupChildProcess() override
    {
        const struct rlimit limit = {rlim_t(m_limit), RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }

private:
    qint64 m_limit;
};

TEST_F(CutWrites, ProgramsReportTheFailureAndKeepThePreviousFiles)
{
    writePrevious();
    QDir().mkpath(m_files.path(QStringLiteral("tmp")));
    LimitedProcess wdlc(m_fullImage.size() / 2);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("TMPDIR"), m_files.path(QStringLiteral("tmp")));
    wdlc.setProcessEnvironment(env);
    wdlc.setWorkingDirectory(m_files.dir());
    wdlc.start(QStringLiteral(WDLC_BINARY_DIR "/wdlc"), {QStringLiteral("stress.wdl")});
    ASSERT_TRUE(wdlc.waitForFinished(60000));
    EXPECT_EQ(wdlc.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(wdlc.exitCode(), 0);
    EXPECT_EQ(readFile(m_image), kPreviousImage);
    EXPECT_EQ(readFile(m_template), m_fullTemplate);
    EXPECT_TRUE(readFile(m_files.path(QStringLiteral("tmp/wdlc-build.log")))
                    .endsWith("crc3\nimage not written: File too large\n"));

    for (const char *command : {"fmt", "graph"}) {
        m_files.writeBytes(QStringLiteral("out.txt"), "previous output");
        LimitedProcess tool(4096);
        tool.setWorkingDirectory(m_files.dir());
        tool.start(QStringLiteral(WDLC_BINARY_DIR "/wdltool"),
                   {QString::fromLatin1(command), QStringLiteral("stress.wdl"), QStringLiteral("-o"),
                    QStringLiteral("out.txt")});
        ASSERT_TRUE(tool.waitForFinished(60000));
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit) << command;
        EXPECT_EQ(tool.exitCode(), 1) << command;
        // fmt meets the limit first where it writes a copy to read back.
        const QString error = QString::fromUtf8(tool.readAllStandardError());
        if (command == QLatin1String("graph")) {
            EXPECT_EQ(error, QStringLiteral("wdltool graph: cannot write out.txt: File too large\n"));
        } else {
            EXPECT_TRUE(error.startsWith(QStringLiteral("wdltool fmt: "))) << error.toStdString();
        }
        EXPECT_EQ(readFile(m_files.path(QStringLiteral("out.txt"))), "previous output") << command;
    }
}

} // namespace
