#include "core/commandline.h"
#include "core/fileurl.h"
#include "support/wizardfiles.h"

#include <QDir>

namespace {

TEST(CommandLine, ImageIsNamedAfterTheArguments)
{
    const auto image = [](QStringList arguments) { return CommandLine::imageUrl(arguments).toStdString(); };
    EXPECT_EQ(image({"pump.wdl"}), "file:///pump.wdl.sas");
    EXPECT_EQ(image({"pump.wdl", "out"}), "file:///out.sas");
    EXPECT_EQ(image({"pump.wdl", "out.sas"}), "file:///out.sas");
    EXPECT_EQ(image({"pump.wdl", "out.SAS"}), "file:///out.SAS.sas");
    EXPECT_EQ(image({"/w/pump.wdl"}), "file:////w/pump.wdl.sas");
    EXPECT_EQ(image({"C:/w/pump.wdl"}), "file:///C:/w/pump.wdl.sas");
}

// "file:///" + path is path unchanged; other URLs are decoded.
TEST(FileUrl, MapsTheUrlToALocalPathOnce)
{
    const auto local = [](const char *url) { return FileUrl::toLocalPath(QString::fromUtf8(url)).toStdString(); };
    EXPECT_EQ(local("file:///pump.wdl"), "pump.wdl");
    EXPECT_EQ(local("file:///dir/pump.wdl"), "dir/pump.wdl");
    EXPECT_EQ(local("file:////w/pump.wdl"), "/w/pump.wdl");
    EXPECT_EQ(local("file:///C:/w/pump.wdl"), "C:/w/pump.wdl");
    EXPECT_EQ(local("file:///a%20b.wdl"), "a%20b.wdl");
    EXPECT_EQ(local("file:/tmp/x%20y.sas"), "/tmp/x y.sas");
}

// Runs the command line with the working directory set to the test's files.
class CommandLineRun : public ::testing::Test
{
protected:
    QStringList filesLeft() const { return QDir(m_files.dir()).entryList(QDir::Files, QDir::Name); }
    QString contents(const char *name) const { return QString::fromUtf8(readFile(m_files.path(QString::fromUtf8(name)))); }

    WizardFiles m_files;
    WorkingDirectory m_cd{m_files.dir()};
};

// A missing INCLUDE, a PRODUCT_NAME of five characters and a misspelt tag.
TEST_F(CommandLineRun, WarningsFileHasTwoLinesPerWarningAndNoImageFollows)
{
    m_files.write(QStringLiteral("dir/pump.wdl"),
                  QStringLiteral("FILE_FORMAT_VERSION: 1.0\nFILE_VERSION: 1.0\nRUN_MODE: 0\nPRODUCT_TYPE: 1\n"
                                 "INCLUDE missing.wdl\nPRODUCT_NAME: \"QX-41\"\nDATABASE_VERSION: 1.0\n"
                                 "FILE_NAME: \"pump\"\nTEXT: t \"misspelt\"\n"));
    EXPECT_EQ(CommandLine::run({QStringLiteral("dir/pump.wdl")}), 0);
    EXPECT_EQ(contents("dir/pump.wdl_errors.txt"),
              QStringLiteral("missing.wdl\t0\n\tOpening of file:///") + m_files.dir()
                  + QStringLiteral("/dir/missing.wdl failed\n"
                                   "pump.wdl\t6\n\tPRODUCT_NAME must be 6 characters long.\n"
                                   "pump.wdl\t9\n\tUnknown tag TEXT\n"
                                   "pump.wdl\t0\n\tMeta info tag \"PRODUCT_NAME\" is missing.\n"));
    EXPECT_FALSE(QFile::exists(m_files.path(QStringLiteral("dir/pump.wdl.sas"))));
}

// Too big for a golden folder; the other hostile inputs have theirs.
TEST_F(CommandLineRun, MegabyteLineEndsWithWarningsAndNoImage)
{
    m_files.write(QStringLiteral("main.wdl"), kHeaderTags + QStringLiteral("T: t \"%1\"\n").arg(QString(1 << 20, 'x')));
    CommandLine::run({QStringLiteral("main.wdl")});
    EXPECT_EQ(filesLeft(), QStringList({"main.wdl", "main.wdl_errors.txt"}));
    EXPECT_EQ(contents("main.wdl_errors.txt"), QStringLiteral("main.wdl\t8\n\tText \"t\" is not used.\n"));
}

} // namespace
