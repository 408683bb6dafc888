#include "tool/checkcommand.h"
#include "tool/dumpcommand.h"
#include "tool/fmtcommand.h"
#include "tool/graphcommand.h"
#include "tool/toolrun.h"

#include "support/testsupport.h"

#include <gtest/gtest.h>

namespace {

struct DispatchCase
{
    const char *name;
    // Split at blanks.
    const char *arguments;
    int status;
    // The whole of standard output, and the start of standard error.
    QString out;
    const char *errStart;

    friend void PrintTo(const DispatchCase &c, std::ostream *os) { *os << c.name; }
};

class WdlToolDispatch : public ::testing::TestWithParam<DispatchCase>
{
};

TEST_P(WdlToolDispatch, ExitStatusAndStreams)
{
    const DispatchCase &c = GetParam();
    const ToolRun run = runTool(QString::fromUtf8(c.arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts));
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, c.out);
    if (*c.errStart == '\0')
        EXPECT_EQ(run.err, QString());
    else
        EXPECT_TRUE(run.err.startsWith(QString::fromUtf8(c.errStart))) << run.err.toStdString();
}

const QString kNothing;

INSTANTIATE_TEST_SUITE_P(
    Cases, WdlToolDispatch,
    ::testing::Values(
        DispatchCase{"NoArguments", "", 2, kNothing, "wdltool: no command given\n\nUsage: wdltool <command>"},
        DispatchCase{"Help", "--help", 0, WdlTool::usage(), ""},
        DispatchCase{"ShortHelp", "-h", 0, WdlTool::usage(), ""},
        DispatchCase{"Version", "--version", 0, QStringLiteral("wdltool " WDLC_VERSION "\n"), ""},
        DispatchCase{"UnknownCommand", "lint", 2, kNothing,
                     "wdltool: unknown command lint\n\nUsage: wdltool <command>"},
        DispatchCase{"UnknownTopLevelOption", "--verbose check", 2, kNothing,
                     "wdltool: Unknown option 'verbose'.\n\nUsage: wdltool <command>"},
        DispatchCase{"CheckHelp", "check --help", 0, CheckCommand::usage(), ""},
        DispatchCase{"DumpHelp", "dump -h", 0, DumpCommand::usage(), ""},
        DispatchCase{"GraphHelp", "graph --help", 0, GraphCommand::usage(), ""},
        DispatchCase{"FmtHelp", "fmt -h", 0, FmtCommand::usage(), ""},
        DispatchCase{"CheckWithoutFile", "check", 2, kNothing,
                     "wdltool: check needs at least one WDL file\n\nUsage: wdltool check"},
        DispatchCase{"DumpWithTwoImages", "dump a.sas b.sas", 2, kNothing,
                     "wdltool: dump needs exactly one SAS image\n\nUsage: wdltool dump"},
        DispatchCase{"DumpUnknownOption", "dump --xml a.sas", 2, kNothing,
                     "wdltool: Unknown option 'xml'.\n\nUsage: wdltool dump"},
        DispatchCase{"GraphOutputWithoutValue", "graph a.wdl -o", 2, kNothing,
                     "wdltool: Missing value after '-o'.\n\nUsage: wdltool graph"},
        DispatchCase{"FmtWithTwoWizards", "fmt a.wdl b.wdl", 2, kNothing,
                     "wdltool: fmt needs exactly one WDL file\n\nUsage: wdltool fmt"},
        DispatchCase{"FmtOutputWithoutValue", "fmt a.wdl -o", 2, kNothing,
                     "wdltool: Missing value after '-o'.\n\nUsage: wdltool fmt"},
        DispatchCase{"FmtUnwritableOutput", "fmt " WDLC_TEST_DATA "/fmt/shared_items.wdl -o /nonexistent/w.wdl", 1,
                     kNothing, "wdltool fmt: cannot write /nonexistent/w.wdl: "},
        DispatchCase{"DumpMissingImage", "dump /nonexistent/w.sas", 1, kNothing,
                     "wdltool dump: cannot read /nonexistent/w.sas: "},
        DispatchCase{"GraphMissingWizard", "graph /nonexistent/w.wdl", 1, kNothing,
                     "wdltool graph: cannot open /nonexistent/w.wdl\n"}),
    [](const ::testing::TestParamInfo<DispatchCase> &info) { return std::string(info.param.name); });

} // namespace
