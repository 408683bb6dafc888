#include "tool/checkcommand.h"
#include "tool/dumpcommand.h"
#include "tool/graphcommand.h"
#include "tool/toolrun.h"

#include "support/qtprinters.h"

#include <gtest/gtest.h>

namespace {

struct DispatchCase
{
    const char *name;
    QStringList arguments;
    int status;
    // The whole of standard output, and the start of standard error.
    QString out;
    QString errStart;
};

class WdlToolDispatch : public ::testing::TestWithParam<DispatchCase>
{
};

TEST_P(WdlToolDispatch, ExitStatusAndStreams)
{
    const DispatchCase &c = GetParam();
    const ToolRun run = runTool(c.arguments);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    EXPECT_TRUE(run.err.startsWith(c.errStart)) << run.err.toStdString();
    EXPECT_EQ(run.err.isEmpty(), c.errStart.isEmpty()) << run.err.toStdString();
}

const QString kNoOutput;

INSTANTIATE_TEST_SUITE_P(
    Cases, WdlToolDispatch,
    ::testing::Values(
        DispatchCase{"NoArguments", {}, 2, kNoOutput, QStringLiteral("wdltool: no command given\n\nUsage: wdltool <command>")},
        DispatchCase{"Help", {QStringLiteral("--help")}, 0, WdlTool::usage(), QString()},
        DispatchCase{"ShortHelp", {QStringLiteral("-h")}, 0, WdlTool::usage(), QString()},
        DispatchCase{"Version", {QStringLiteral("--version")}, 0, QStringLiteral("wdltool " WDLC_VERSION "\n"), QString()},
        DispatchCase{"UnknownCommand", {QStringLiteral("fmt")}, 2, kNoOutput,
                     QStringLiteral("wdltool: unknown command fmt\n\nUsage: wdltool <command>")},
        DispatchCase{"UnknownTopLevelOption", {QStringLiteral("--verbose"), QStringLiteral("check")}, 2, kNoOutput,
                     QStringLiteral("wdltool: Unknown option 'verbose'.\n\nUsage: wdltool <command>")},
        DispatchCase{"CheckHelp", {QStringLiteral("check"), QStringLiteral("--help")}, 0, CheckCommand::usage(), QString()},
        DispatchCase{"DumpHelp", {QStringLiteral("dump"), QStringLiteral("-h")}, 0, DumpCommand::usage(), QString()},
        DispatchCase{"GraphHelp", {QStringLiteral("graph"), QStringLiteral("--help")}, 0, GraphCommand::usage(), QString()},
        DispatchCase{"CheckWithoutFile", {QStringLiteral("check")}, 2, kNoOutput,
                     QStringLiteral("wdltool: check needs at least one WDL file\n\nUsage: wdltool check")},
        DispatchCase{"DumpWithTwoImages", {QStringLiteral("dump"), QStringLiteral("a.sas"), QStringLiteral("b.sas")}, 2,
                     kNoOutput, QStringLiteral("wdltool: dump needs exactly one SAS image\n\nUsage: wdltool dump")},
        DispatchCase{"DumpUnknownOption", {QStringLiteral("dump"), QStringLiteral("--xml"), QStringLiteral("a.sas")}, 2,
                     kNoOutput, QStringLiteral("wdltool: Unknown option 'xml'.\n\nUsage: wdltool dump")},
        DispatchCase{"GraphOutputWithoutValue", {QStringLiteral("graph"), QStringLiteral("a.wdl"), QStringLiteral("-o")},
                     2, kNoOutput, QStringLiteral("wdltool: Missing value after '-o'.\n\nUsage: wdltool graph")},
        DispatchCase{"DumpMissingImage", {QStringLiteral("dump"), QStringLiteral("/nonexistent/w.sas")}, 1, kNoOutput,
                     QStringLiteral("wdltool dump: cannot read /nonexistent/w.sas: ")},
        DispatchCase{"GraphMissingWizard", {QStringLiteral("graph"), QStringLiteral("/nonexistent/w.wdl")}, 1,
                     kNoOutput, QStringLiteral("wdltool graph: cannot open /nonexistent/w.wdl\n")}),
    [](const ::testing::TestParamInfo<DispatchCase> &info) { return std::string(info.param.name); });

} // namespace
