// The one reader of input files: regular files only, judged on the opened
// descriptor, and never more than the build's budget.

#include "core/inputfile.h"
#include "core/buildinputs.h"
#include "support/testsupport.h"

#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace {

struct ReadRow
{
    const char *name;
    // A file name in the test directory made by the row, or an absolute path.
    const char *path;
    // Bytes the build may still read; -1 for the whole budget.
    qint64 remaining;
    // The error, or "" when read.
    const char *error;

    friend void PrintTo(const ReadRow &row, std::ostream *os) { *os << row.name; }
};

class InputFileRead : public ::testing::TestWithParam<ReadRow>
{
};

TEST_P(InputFileRead, ReadsOnlyRegularFilesWithinTheBudget)
{
    const ReadRow &row = GetParam();
    QTemporaryDir dir;
    QFile seven(dir.filePath(QStringLiteral("seven")));
    ASSERT_TRUE(seven.open(QIODevice::WriteOnly));
    seven.write("7 bytes");
    seven.close();
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("fifo"))).constData(), 0600), 0);
    const QString path = row.path[0] == '/' ? QString::fromUtf8(row.path) : dir.filePath(QString::fromUtf8(row.path));
    BuildInputs inputs;
    if (row.remaining >= 0)
        inputs.add(0, 0, BuildInputs::kBudget - row.remaining, QStringLiteral("earlier"));
    const qint64 before = inputs.total();

    QByteArray contents;
    QString error;
    const bool read = InputFile::read(path, &contents, &inputs, &error);

    EXPECT_EQ(read, !*row.error);
    EXPECT_EQ(error.toStdString(), row.error);
    EXPECT_EQ(inputs.total() - before, contents.size());
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st) == 0, row.path != std::string("missing"));
    EXPECT_EQ(inputs.pathOf(st.st_dev, st.st_ino), read ? path : QString());
    if (row.path == std::string("seven")) {
        EXPECT_EQ(contents, QByteArray(read ? "7 bytes" : ""));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, InputFileRead,
    ::testing::Values(ReadRow{"RegularFile", "seven", -1, ""}, ReadRow{"ExactlyWhatIsLeft", "seven", 7, ""},
                      ReadRow{"OneByteTooMany", "seven", 6, "larger than the 6 bytes that the build may still read"},
                      ReadRow{"FifoWithoutWaiting", "fifo", -1, "not a regular file"},
                      ReadRow{"Device", "/dev/zero", -1, "not a regular file"},
                      ReadRow{"Directory", ".", -1, "not a regular file"},
                      ReadRow{"Missing", "missing", -1, "No such file or directory"},
                      // Sized 0, yet it has contents: read to its end all the same.
                      ReadRow{"FileLongerThanItsSize", "/proc/self/status", -1, ""},
                      ReadRow{"FileGrowingPastTheBudget", "/proc/self/status", 10,
                              "grew past the 10 bytes that the build may still read"}),
    rowName<ReadRow>);

TEST(InputFile, OpensOnTheSameTerms)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QFile pipe(fifo);
    EXPECT_FALSE(InputFile::open(pipe));
    QFile text(dir.filePath(QStringLiteral("text")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("some text");
    text.close();
    BuildInputs inputs;
    ASSERT_TRUE(InputFile::open(text, &inputs));
    EXPECT_EQ(text.readAll(), "some text");
    EXPECT_EQ(inputs.total(), 9);
}

} // namespace
