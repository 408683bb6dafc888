#include "core/commandline.h"
#include "core/fileurl.h"
#include "core/wdlwizard.h"
#include "support/qtprinters.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

struct NameCase
{
    QStringList arguments;
    QString imageUrl;
};

class ImageName : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(ImageName, FollowsTheArguments)
{
    EXPECT_EQ(CommandLine::imageUrl(GetParam().arguments), GetParam().imageUrl);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLine, ImageName,
    ::testing::Values(NameCase{{"pump.wdl"}, "file:///pump.wdl.sas"},
                      NameCase{{"pump.wdl", "out"}, "file:///out.sas"},
                      NameCase{{"pump.wdl", "out.sas"}, "file:///out.sas"},
                      NameCase{{"pump.wdl", "out.SAS"}, "file:///out.SAS.sas"},
                      NameCase{{"/w/pump.wdl"}, "file:////w/pump.wdl.sas"},
                      NameCase{{"C:/w/pump.wdl"}, "file:///C:/w/pump.wdl.sas"}));

struct UrlCase
{
    QString url;
    QString localPath;
};

class LocalPath : public ::testing::TestWithParam<UrlCase>
{
};

TEST_P(LocalPath, MapsTheUrlOnce)
{
    EXPECT_EQ(FileUrl::toLocalPath(GetParam().url), GetParam().localPath);
}

INSTANTIATE_TEST_SUITE_P(FileUrl, LocalPath,
                         ::testing::Values(UrlCase{"file:///pump.wdl", "pump.wdl"},
                                           UrlCase{"file:///dir/pump.wdl", "dir/pump.wdl"},
                                           UrlCase{"file:////w/pump.wdl", "/w/pump.wdl"},
                                           UrlCase{"file:///C:/w/pump.wdl", "C:/w/pump.wdl"},
                                           UrlCase{"file:///a%20b.wdl", "a%20b.wdl"},
                                           UrlCase{"file:/tmp/x%20y.sas", "/tmp/x y.sas"}));

TEST(FileUrl, FileNameIsTheLastComponent)
{
    EXPECT_EQ(FileUrl::fileName(QStringLiteral("file:////w/out/a.sas")), QStringLiteral("a.sas"));
    EXPECT_EQ(FileUrl::fileName(QStringLiteral("file:///a.sas")), QStringLiteral("a.sas"));
}

// Runs the command line with the working directory set to the test's files.
class CommandLineRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_files.dir());
    }
    void TearDown() override { QDir::setCurrent(m_previous); }
    QStringList filesLeft() const { return QDir(m_files.dir()).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name); }
    QByteArray contents(const QString &name) const
    {
        QFile file(m_files.path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    WizardFiles m_files;
    QString m_previous;
};

TEST_F(CommandLineRun, WrongArgumentCountDoesNothing)
{
    m_files.write(QStringLiteral("a.wdl"), QStringLiteral("FOO 1\n"));
    EXPECT_EQ(CommandLine::run(QStringList()), 0);
    EXPECT_EQ(CommandLine::run({QStringLiteral("a.wdl"), QStringLiteral("b"), QStringLiteral("c")}), 0);
    EXPECT_EQ(filesLeft(), QStringList{QStringLiteral("a.wdl")});
}

TEST_F(CommandLineRun, WarningsFileHasTwoLinesPerWarning)
{
    m_files.write(QStringLiteral("dir/pump.wdl"),
                  QStringLiteral("FILE_FORMAT_VERSION: 1.0\nFILE_VERSION: 1.0\nRUN_MODE: 0\nPRODUCT_TYPE: 1\n"
                                 "INCLUDE missing.wdl\nPRODUCT_NAME: \"QX-41\"\nDATABASE_VERSION: 1.0\n"
                                 "FILE_NAME: \"pump\"\nTEXT: t \"misspelt\"\n"));
    EXPECT_EQ(CommandLine::run({QStringLiteral("dir/pump.wdl")}), 0);
    const QString dir = m_files.dir();
    EXPECT_EQ(QString::fromUtf8(contents(QStringLiteral("dir/pump.wdl_errors.txt"))),
              QStringLiteral("missing.wdl\t0\n\tOpening of file:///") + dir
                  + QStringLiteral("/dir/missing.wdl failed\n"
                                   "pump.wdl\t6\n\tPRODUCT_NAME must be 6 characters long.\n"
                                   "pump.wdl\t9\n\tUnknown tag TEXT\n"
                                   "pump.wdl\t0\n\tMeta info tag \"PRODUCT_NAME\" is missing.\n"));
    EXPECT_FALSE(QFile::exists(m_files.path(QStringLiteral("dir/pump.wdl.sas"))));
}

TEST_F(CommandLineRun, UnreadableFileGivesOneWarningUnderItsName)
{
    EXPECT_EQ(CommandLine::run({QStringLiteral("none.wdl")}), 0);
    EXPECT_EQ(QString::fromUtf8(contents(QStringLiteral("none.wdl_errors.txt"))),
              QStringLiteral("none.wdl\t0\n\tOpening of file:///none.wdl failed\n"));
}

TEST_F(CommandLineRun, WizardWithoutScreensLeavesAnEmptyWarningsFile)
{
    m_files.write(QStringLiteral("empty.wdl"),
                  QStringLiteral("FILE_FORMAT_VERSION: 1.0\nFILE_VERSION: 1.0\nRUN_MODE: 0\nPRODUCT_TYPE: 1\n"
                                 "PRODUCT_NAME: \"QX-417\"\nDATABASE_VERSION: 1.0\nFILE_NAME: \"e\"\n"));
    CommandLine::run({QStringLiteral("empty.wdl")});
    EXPECT_TRUE(QFile::exists(m_files.path(QStringLiteral("empty.wdl_errors.txt"))));
    EXPECT_TRUE(contents(QStringLiteral("empty.wdl_errors.txt")).isEmpty());
}

TEST_F(CommandLineRun, MessageWithLineBreakIsWrittenUnchanged)
{
    WdlWizard *wizard = WdlWizard::instance();
    wizard->clearAllModels();
    wizard->setCurrentFile(QStringLiteral("/w/x.wdl"));
    wizard->addWarning(QStringLiteral("first\nsecond"), 3);
    wizard->addWarning(QStringLiteral("first\nsecond"), 3);
    wizard->writeWarningsFile(m_files.path(QStringLiteral("w.txt")));
    EXPECT_EQ(contents(QStringLiteral("w.txt")), QByteArray("x.wdl\t3\n\tfirst\nsecond\nx.wdl\t3\n\tfirst\nsecond\n"));
}

} // namespace
