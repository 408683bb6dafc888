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
    QString contents(const char *name) const
    {
        return QString::fromUtf8(readFile(m_files.path(QString::fromUtf8(name))));
    }

    WizardFiles m_files;
    WorkingDirectory m_cd{m_files.dir()};
};

// Too big for a golden folder; the other hostile inputs have theirs.
TEST_F(CommandLineRun, MegabyteLineEndsWithWarningsAndNoImage)
{
    m_files.write(QStringLiteral("main.wdl"), kHeaderTags + QStringLiteral("T: t \"%1\"\n").arg(QString(1 << 20, 'x')));
    CommandLine::run({QStringLiteral("main.wdl")});
    EXPECT_EQ(filesLeft(), QStringList({"main.wdl", "main.wdl_errors.txt"}));
    EXPECT_EQ(contents("main.wdl_errors.txt"), QStringLiteral("main.wdl\t8\n\tText \"t\" is not used.\n"));
}

} // namespace
