// The one writer: what it does with each kind of target, and that a refused
// or failed write leaves every file as it was and no stray file behind.

#include "core/outputfile.h"
#include "core/buildinputs.h"
#include "core/inputfile.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// What stands at "out" before the write.
enum class Target {
    Missing,
    Regular,
    LinkToRegular,
    DanglingLink,
    Directory,
    Fifo,
    NullDevice,
    HardLinkToInput,
    LinkToInput,
    InMissingDirectory
};

struct WriteRow
{
    const char *name;
    Target target;
    OutputFile::Options options;
    // The error, "" when written; {dir} is the test directory.
    const char *error;
    // Every entry of the directory afterwards, hidden ones too.
    const char *after;

    friend void PrintTo(const WriteRow &row, std::ostream *os) { *os << row.name; }
};

// "name: what it is", one entry per file, in name order: a file with its mode
// and contents, a link with what it names.
QString describeDirectory(const QString &dir)
{
    QStringList out;
    for (const QFileInfo &info :
         QDir(dir).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        struct stat st;
        ::lstat(QFile::encodeName(info.filePath()).constData(), &st);
        QString what;
        if (S_ISLNK(st.st_mode))
            what = QStringLiteral("link to ") + QFile::symLinkTarget(info.filePath()).section(QLatin1Char('/'), -1);
        else if (S_ISREG(st.st_mode))
            what = QStringLiteral("file ") + QString::number(st.st_mode & 0777, 8) + QStringLiteral(": ")
                   + QString::fromUtf8(readFile(info.filePath()));
        else if (S_ISFIFO(st.st_mode))
            what = QStringLiteral("fifo");
        else if (S_ISCHR(st.st_mode))
            what = QStringLiteral("character device");
        else if (S_ISDIR(st.st_mode))
            what = QStringLiteral("directory");
        out.append(info.fileName() + QStringLiteral(": ") + what);
    }
    return out.join(QStringLiteral("; "));
}

class OutputFileTarget : public ::testing::TestWithParam<WriteRow>
{
protected:
    void SetUp() override { m_umask = ::umask(022); }
    void TearDown() override { ::umask(m_umask); }

    void writeFile(const QString &name, const QByteArray &contents, mode_t mode)
    {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
        file.close();
        ::chmod(QFile::encodeName(file.fileName()).constData(), mode);
    }
    // Makes the target; false when the system does not allow it here.
    bool make(Target target)
    {
        const QByteArray out = QFile::encodeName(m_dir.filePath(QStringLiteral("out")));
        switch (target) {
        case Target::Missing:
        case Target::InMissingDirectory:
            return true;
        case Target::Regular:
            writeFile(QStringLiteral("out"), "old", 0640);
            return true;
        case Target::LinkToRegular:
            writeFile(QStringLiteral("real"), "old", 0640);
            return QFile::link(QStringLiteral("real"), m_dir.filePath(QStringLiteral("out")));
        case Target::DanglingLink:
            return QFile::link(QStringLiteral("real"), m_dir.filePath(QStringLiteral("out")));
        case Target::Directory:
            return QDir(m_dir.path()).mkdir(QStringLiteral("out"));
        case Target::Fifo:
            return ::mkfifo(out.constData(), 0644) == 0;
        case Target::NullDevice:
            return ::mknod(out.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
        case Target::HardLinkToInput:
            return ::link(QFile::encodeName(m_dir.filePath(QStringLiteral("input.wdl"))).constData(), out.constData())
                   == 0;
        case Target::LinkToInput:
            return QFile::link(QStringLiteral("input.wdl"), m_dir.filePath(QStringLiteral("out")));
        }
        return false;
    }

    QTemporaryDir m_dir;
    mode_t m_umask = 0;
};

TEST_P(OutputFileTarget, WritesOrLeavesEveryFileAsItWas)
{
    const WriteRow &row = GetParam();
    writeFile(QStringLiteral("input.wdl"), "wizard", 0644);
    BuildInputs inputs;
    QByteArray wizard;
    ASSERT_TRUE(InputFile::read(m_dir.filePath(QStringLiteral("input.wdl")), &wizard, &inputs));
    if (!make(row.target))
        GTEST_SKIP() << "this system does not let the test make the target";
    const QString path = m_dir.filePath(row.target == Target::InMissingDirectory ? QStringLiteral("missing/out")
                                                                                 : QStringLiteral("out"));

    QString error;
    const bool written = OutputFile::write(path, "new", &error, &inputs, row.options);

    EXPECT_EQ(written, !*row.error);
    EXPECT_EQ(error, QString::fromUtf8(row.error).replace(QStringLiteral("{dir}"), m_dir.path()));
    EXPECT_EQ(describeDirectory(m_dir.path()), QString::fromUtf8(row.after));
}

constexpr OutputFile::Options kPlain = OutputFile::NoOption;
constexpr OutputFile::Options kDevices = OutputFile::WriteDevicesDirectly;

INSTANTIATE_TEST_SUITE_P(
    Targets, OutputFileTarget,
    ::testing::Values(WriteRow{"NewFile", Target::Missing, kPlain, "",
                               "input.wdl: file 644: wizard; out: file 644: new"},
                      WriteRow{"ReplacedKeepingItsMode", Target::Regular, kPlain, "",
                               "input.wdl: file 644: wizard; out: file 640: new"},
                      WriteRow{"LinkStaysAndItsFileIsReplaced", Target::LinkToRegular, kPlain, "",
                               "input.wdl: file 644: wizard; out: link to real; real: file 640: new"},
                      WriteRow{"DanglingLinkGetsItsFile", Target::DanglingLink, kPlain, "",
                               "input.wdl: file 644: wizard; out: link to real; real: file 644: new"},
                      WriteRow{"DirectoryIsRefused", Target::Directory, kDevices, "not a regular file",
                               "input.wdl: file 644: wizard; out: directory"},
                      WriteRow{"FifoIsRefusedWithoutWaiting", Target::Fifo, kPlain, "not a regular file",
                               "input.wdl: file 644: wizard; out: fifo"},
                      WriteRow{"FifoWithoutReaderFailsWithoutWaiting", Target::Fifo, kDevices,
                               "No such device or address", "input.wdl: file 644: wizard; out: fifo"},
                      WriteRow{"DeviceIsNeverReplaced", Target::NullDevice, kPlain, "not a regular file",
                               "input.wdl: file 644: wizard; out: character device"},
                      WriteRow{"DeviceIsWrittenDirectly", Target::NullDevice, kDevices, "",
                               "input.wdl: file 644: wizard; out: character device"},
                      WriteRow{"HardLinkToAnInputIsRefused", Target::HardLinkToInput, kPlain,
                               "it is {dir}/input.wdl, which was read to make it",
                               "input.wdl: file 644: wizard; out: file 644: wizard"},
                      WriteRow{"SymbolicLinkToAnInputIsRefused", Target::LinkToInput, kDevices,
                               "it is {dir}/input.wdl, which was read to make it",
                               "input.wdl: file 644: wizard; out: link to input.wdl"},
                      WriteRow{"MissingDirectory", Target::InMissingDirectory, kPlain, "No such file or directory",
                               "input.wdl: file 644: wizard"}),
    rowName<WriteRow>);

// Where no file can be made beside the target but the target may be written,
// only the warnings file's option rewrites it in place, and then only when
// all of it fits. Run as another user when the test runs as root, who may
// write any directory.
TEST(OutputFile, RewritesInPlaceOnlyAsALastResort)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("list"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("an older and longer list");
    file.close();
    const QByteArray encoded = QFile::encodeName(path);
    const uid_t nobody = 65534;
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(encoded.constData(), nobody, nobody), 0);
    }
    ASSERT_EQ(::chmod(encoded.constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(dir.path()).constData(), 0555), 0);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(nobody) != 0 || ::setuid(nobody) != 0))
            ::_exit(100);
        QString error;
        int failures = 0;
        if (OutputFile::write(path, "new list", &error) || error != QLatin1String("Permission denied"))
            failures |= 1;
        // Past the file-size limit nothing is touched.
        ::signal(SIGXFSZ, SIG_IGN);
        const struct rlimit small = {4, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &small);
        if (OutputFile::write(path, "new list", &error, nullptr, OutputFile::RewriteInPlaceAsLastResort)
            || error != QLatin1String("File too large") || readFile(path) != "an older and longer list")
            failures |= 2;
        const struct rlimit unlimited = {RLIM_INFINITY, RLIM_INFINITY};
        ::setrlimit(RLIMIT_FSIZE, &unlimited);
        if (!OutputFile::write(path, "new list", &error, nullptr, OutputFile::RewriteInPlaceAsLastResort))
            failures |= 4;
        ::_exit(failures);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 100) << "cannot become another user";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "failed checks, as bits";
    EXPECT_EQ(readFile(path), "new list");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("list")});
}

} // namespace
