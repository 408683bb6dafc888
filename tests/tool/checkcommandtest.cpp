#include "tool/checkcommand.h"
#include "tool/toolrun.h"

#include "core/warning.h"
#include "support/wizardfiles.h"
#include "support/golden.h"
#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace {

const QString kCheckData = QStringLiteral(WDLC_TEST_DATA "/tool/check");

TEST(CheckCommand, PrintsWarningsOfTheWizardAndItsIncludedFile)
{
    const ToolRun run = runToolIn(kCheckData, {QStringLiteral("check"), QStringLiteral("main.wdl")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(matchesGolden(run.out, QStringLiteral("tool/check/main.expected.txt")));
    EXPECT_EQ(run.err, QString());
}

TEST(CheckCommand, CleanExamplesPassWithStatusZero)
{
    const ToolRun run = runTool(QStringList{QStringLiteral("check")} + exampleWizards());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, QStringLiteral("no warnings\n"));
}

TEST(CheckCommand, SummaryCountsOnlyFilesWithWarnings)
{
    const ToolRun run = runToolIn(kCheckData, {QStringLiteral("check"), QStringLiteral("main.wdl"),
                                               QStringLiteral(WDLC_SOURCE_DIR "/examples/motor/motor_data.wdl")});
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(run.out.endsWith(QStringLiteral("\n5 warnings in 1 file\n"))) << run.out.toStdString();
}

TEST(CheckCommand, MissingFileIsAWarningOfLineZero)
{
    const ToolRun run = runToolIn(kCheckData, {QStringLiteral("check"), QStringLiteral("nowhere/none.wdl")});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, QStringLiteral("nowhere/none.wdl:0: warning: Opening of file:///nowhere/none.wdl failed\n"
                                      "1 warning in 1 file\n"));
}

struct LineCase
{
    const char *name;
    const char *opened;
    const char *warningFile;
    int line;
    const char *expected;
};

class CheckCommandWarningLine : public ::testing::TestWithParam<LineCase>
{
};

TEST_P(CheckCommandWarningLine, ResolvesAgainstTheOpenedFilesDirectory)
{
    const LineCase &c = GetParam();
    const Warning warning(QStringLiteral("Text \"t\" is not used."), QString::fromUtf8(c.warningFile), c.line);
    EXPECT_EQ(CheckCommand::warningLine(QString::fromUtf8(c.opened), warning),
              QString::fromUtf8(c.expected) + QStringLiteral(": warning: Text \"t\" is not used."));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CheckCommandWarningLine,
    ::testing::Values(LineCase{"TopLevelFile", "wizards/pump.wdl", "pump.wdl", 12, "wizards/pump.wdl:12"},
                      LineCase{"BareArgument", "pump.wdl", "pump.wdl", 3, "pump.wdl:3"},
                      LineCase{"IncludedFile", "wizards/pump.wdl", "../common/texts.wdl", 4, "common/texts.wdl:4"},
                      LineCase{"AbsoluteInclude", "wizards/pump.wdl", "/opt/texts.wdl", 4, "/opt/texts.wdl:4"},
                      LineCase{"WholeWizard", "/w/pump.wdl", "pump.wdl", 0, "/w/pump.wdl:0"},
                      LineCase{"NoFileKnown", "w/pump.wdl", "", 0, "w/pump.wdl:0"}),
    [](const ::testing::TestParamInfo<LineCase> &info) { return std::string(info.param.name); });

} // namespace
