#include "tool/checkcommand.h"
#include "tool/toolrun.h"

#include "core/warning.h"
#include "support/golden.h"
#include "tool/buildrevision.h"

#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

// One run of wdltool in tests/data/: its arguments, split at blanks, "{tmp}"
// standing for a fresh temporary directory.
struct RunRow
{
    const char *name;
    const char *arguments;

    friend void PrintTo(const RunRow &row, std::ostream *os) { *os << row.arguments; }
};

class WdlToolRun : public ::testing::TestWithParam<RunRow>
{
};

// The run's transcript matches tests/data/tool/runs/<name>.txt: the command,
// the exit status, each stream that is not empty, and each file left in {tmp};
// "{version}" stands for the version, "{revision}" for the source revision.
TEST_P(WdlToolRun, MatchesItsTranscript)
{
    WizardFiles tmp;
    const QString arguments = QString::fromUtf8(GetParam().arguments).replace(QStringLiteral("{tmp}"), tmp.dir());
    const ToolRun run = runToolIn(QStringLiteral(WDLC_TEST_DATA),
                                  arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts));
    QString transcript = (QStringLiteral("$ wdltool ") + arguments).trimmed()
                         + QStringLiteral("\nexit status %1\n").arg(run.status);
    const auto section = [&transcript](const QString &title, const QString &text) {
        if (!text.isEmpty())
            transcript += QStringLiteral("--- ") + title + QLatin1Char('\n') + text
                          + QLatin1String(text.endsWith(QLatin1Char('\n')) ? "" : "\n\\ no newline at end\n");
    };
    section(QStringLiteral("standard output"), run.out);
    section(QStringLiteral("standard error"), run.err);
    for (const QString &name : QDir(tmp.dir()).entryList(QDir::Files, QDir::Name))
        section(tmp.path(name), QString::fromUtf8(readFile(tmp.path(name))));
    transcript.replace(tmp.dir(), QStringLiteral("{tmp}"));
    // Messages that name a file by its absolute path (a CSIV file not found).
    transcript.replace(QStringLiteral(WDLC_TEST_DATA), QStringLiteral("{data}"));
    // The revision first: a tag may hold the version.
    transcript.replace(QStringLiteral("(revision ") + QLatin1String(BuildRevision::text()) + QLatin1Char(')'),
                       QStringLiteral("(revision {revision})"));
    transcript.replace(QStringLiteral(WDLC_VERSION), QStringLiteral("{version}"));
    EXPECT_TRUE(matchesGolden(transcript.toUtf8(), QStringLiteral("tool/runs/%1.txt").arg(GetParam().name)));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, WdlToolRun,
    ::testing::Values(
        RunRow{"no_arguments", ""}, RunRow{"help", "--help"}, RunRow{"short_help", "-h"},
        RunRow{"version", "--version"}, RunRow{"unknown_command", "lint"}, RunRow{"unknown_option", "--verbose check"},
        RunRow{"check_help", "check --help"}, RunRow{"dump_help", "dump -h"}, RunRow{"graph_help", "graph --help"},
        RunRow{"fmt_help", "fmt -h"}, RunRow{"lsp_help", "lsp --help"}, RunRow{"lsp_with_a_file", "lsp a.wdl"},
        RunRow{"check_without_file", "check"}, RunRow{"dump_two_images", "dump a.sas b.sas"},
        RunRow{"dump_unknown_option", "dump --xml a.sas"}, RunRow{"graph_output_without_value", "graph a.wdl -o"},
        RunRow{"fmt_two_wizards", "fmt --canonical a.wdl b.wdl"}, RunRow{"fmt_output_without_value", "fmt a.wdl -o"},
        RunRow{"fmt_two_modes", "fmt --check --diff a.wdl"}, RunRow{"fmt_missing_file", "fmt nowhere/none.wdl"},
        // Warnings of the wizard and of its included file; the summary counts
        // only the files with warnings.
        RunRow{"check_warnings", "check tool/check/main.wdl ../../examples/motor/motor_data.wdl"},
        RunRow{"check_clean", "check ../../examples/motor/motor_data.wdl ../../examples/pump/pump_commissioning.wdl"},
        RunRow{"check_missing_file", "check nowhere/none.wdl"},
        RunRow{"check_no_screens", "check compile/no_screens/input/main.wdl"},
        RunRow{"check_directory", "check tool/check"},
        // One finding of every rule, the build's CSIV file and translations among them.
        RunRow{"check_lint", "check tool/check/lint/main.wdl"},
        RunRow{"check_lint_json", "check --format=json tool/check/lint/main.wdl"},
        RunRow{"check_lint_sarif", "check --format sarif -Wno-all -Wrange -Wunknown-action tool/check/lint/main.wdl"},
        RunRow{"check_werror", "check -Wno-all -Werror -Wrange tool/check/lint/main.wdl"},
        RunRow{"check_unknown_switch", "check -Wlabels tool/check/lint/main.wdl"},
        RunRow{"check_unknown_format", "check --format=xml tool/check/lint/main.wdl"},
        // The layout: printed, written, checked and shown as a diff; a wizard
        // with warnings keeps its line numbers.
        RunRow{"fmt_print", "fmt layout/input/main.wdl"},
        RunRow{"fmt_layout_to_file", "fmt layout/input/main.wdl -o {tmp}/main.wdl"},
        RunRow{"fmt_check", "fmt --check layout/input/main.wdl layout/expected/main.wdl"},
        RunRow{"fmt_check_clean", "fmt --check ../../examples/pump/pump_commissioning.wdl layout/expected/main.wdl"},
        RunRow{"fmt_diff", "fmt --diff layout/input/main.wdl"},
        RunRow{"fmt_keeps_line_numbers_with_warnings", "fmt --diff layout/input/blocks.wdl"},
        RunRow{"fmt_to_file", "fmt --canonical fmt/shared_items.wdl -o {tmp}/w.wdl"},
        RunRow{"fmt_refuses_warnings", "fmt --canonical tool/check/main.wdl -o {tmp}/main.wdl"},
        RunRow{"fmt_refuses_what_would_not_read_back",
               "fmt --canonical tool/fmt/would_not_read_back.wdl -o {tmp}/w.wdl"},
        RunRow{"fmt_unwritable_output", "fmt fmt/shared_items.wdl -o /nonexistent/w.wdl"},
        RunRow{"graph_unreachable_screen", "graph tool/graph/unreachable.wdl"},
        RunRow{"graph_to_file", "graph tool/graph/unreachable.wdl -o {tmp}/flow.dot"},
        RunRow{"graph_unwritable_output", "graph tool/graph/unreachable.wdl --output /nonexistent/dir/flow.dot"},
        RunRow{"graph_missing_wizard", "graph /nonexistent/w.wdl"},
        RunRow{"graph_shared_scripts", "graph tool/graph/shared_scripts.wdl"},
        RunRow{"graph_to_standard_output", "graph tool/graph/unreachable.wdl -o -"},
        RunRow{"dump_text", "dump compile/all_records/expected/main.wdl.sas"},
        RunRow{"dump_json", "dump --json compile/all_records/expected/main.wdl.sas"},
        RunRow{"dump_missing_image", "dump /nonexistent/w.sas"},
        // Every numbered item by its id and line, as a linker's map does.
        RunRow{"dump_wdl", "dump --wdl compile/all_records/input/main.wdl compile/all_records/expected/main.wdl.sas"},
        RunRow{"dump_wdl_json",
               "dump --json --wdl compile/all_records/input/main.wdl compile/all_records/expected/main.wdl.sas"},
        RunRow{"dump_wdl_missing_wizard", "dump --wdl /nonexistent/w.wdl compile/all_records/expected/main.wdl.sas"},
        RunRow{"translations_help", "translations --help"}, RunRow{"translations_without_verb", "translations"},
        RunRow{"translations_unknown_verb", "translations merge a.wdl"},
        RunRow{"translations_new_without_language", "translations new a.wdl"},
        RunRow{"translations_import_without_output", "translations import a.wdl a.po"},
        RunRow{"translations_status_bad_minimum", "translations status a.wdl --min-percent 101"},
        // Complete, partial, stale, refused (a language in lower case, an
        // element in a text) and unknown ids with a duplicate.
        RunRow{"translations_status", "translations status tool/translations/status/speed.wdl"},
        RunRow{"translations_status_json", "translations status --json tool/translations/status/speed.wdl"},
        RunRow{"translations_status_below_minimum",
               "translations status tool/translations/status/speed.wdl --dir tool/translations/gate --min-percent 80"},
        RunRow{"translations_status_at_minimum",
               "translations status tool/translations/status/speed.wdl --dir tool/translations/gate --min-percent 75"},
        RunRow{"translations_status_without_files",
               "translations status tool/translations/status/speed.wdl --dir {tmp}"},
        RunRow{"translations_status_of_wizard_with_warnings", "translations status tool/check/main.wdl"},
        RunRow{"translations_new", "translations new tool/translations/status/speed.wdl German --dir {tmp}"},
        RunRow{"translations_new_unknown_language",
               "translations new tool/translations/status/speed.wdl german --dir {tmp}"},
        RunRow{"translations_new_over_a_file", "translations new tool/translations/status/speed.wdl German"},
        RunRow{
            "translations_export",
            "translations export tool/translations/status/speed.wdl tool/translations/status/translation_Italian.xml "
            "-o {tmp}/it.po"},
        RunRow{
            "translations_export_to_standard_output",
            "translations export tool/translations/status/speed.wdl tool/translations/status/translation_French.xml"},
        RunRow{"translations_export_malformed",
               "translations export tool/translations/status/speed.wdl tool/translations/status/translation_Czech.xml"},
        RunRow{"translations_import_into_new_file",
               "translations import tool/translations/status/speed.wdl tool/translations/po/German.po "
               "-o {tmp}/translation_German.xml"},
        RunRow{"translations_import_plural",
               "translations import tool/translations/status/speed.wdl tool/translations/po/plural.po -o {tmp}/t.xml"},
        RunRow{"translations_import_syntax_error",
               "translations import tool/translations/status/speed.wdl tool/translations/po/syntax.po -o {tmp}/t.xml"},
        RunRow{"translations_import_unknown_id",
               "translations import tool/translations/status/speed.wdl tool/translations/po/unknown_id.po -o "
               "{tmp}/t.xml"},
        RunRow{"translations_import_without_context",
               "translations import tool/translations/status/speed.wdl tool/translations/po/no_context.po -o "
               "{tmp}/t.xml"}),
    rowName<RunRow>);

// Cases no run in tests/data/ meets: a bare argument, an INCLUDE that climbs
// out of the directory or names an absolute path.
TEST(CheckCommand, WarningLineResolvesAgainstTheOpenedFilesDirectory)
{
    const auto line = [](const char *opened, const char *file) {
        const Warning warning(QStringLiteral("w"), QString::fromUtf8(file), 4);
        return CheckCommand::warningLine(QString::fromUtf8(opened), warning).toStdString();
    };
    EXPECT_EQ(line("pump.wdl", "pump.wdl"), "pump.wdl:4: warning: w");
    EXPECT_EQ(line("wizards/pump.wdl", "../common/texts.wdl"), "common/texts.wdl:4: warning: w");
    EXPECT_EQ(line("wizards/pump.wdl", "/opt/texts.wdl"), "/opt/texts.wdl:4: warning: w");
}

// Graphviz renders the graph of every example and of the unreachable screen.
TEST(GraphCommand, DotRendersEveryGraph)
{
    const QString dot = QStandardPaths::findExecutable(QStringLiteral("dot"));
    if (dot.isEmpty())
        GTEST_SKIP() << "Graphviz dot is not installed";
    const QStringList wizards = exampleWizards() << QStringLiteral(WDLC_TEST_DATA "/tool/graph/unreachable.wdl")
                                                 << QStringLiteral(WDLC_TEST_DATA "/tool/graph/shared_scripts.wdl");
    for (const QString &wdl : wizards) {
        QProcess process;
        process.start(dot, {QStringLiteral("-Tsvg")});
        process.write(runToolIn(QDir::currentPath(), {QStringLiteral("graph"), wdl}).out.toUtf8());
        process.closeWriteChannel();
        ASSERT_TRUE(process.waitForFinished(30000)) << wdl.toStdString();
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        EXPECT_TRUE(process.readAllStandardOutput().contains("<svg")) << wdl.toStdString();
    }
}

// Screens whose next-screen scripts all call one that leads to every screen: each script is drawn once, so the graph
// grows with the wizard, not with screens times targets.
TEST(GraphCommand, GrowsWithTheWizard)
{
    WizardFiles files;
    QString wdl = QString::fromUtf8(kHeaderTags) + QStringLiteral("T: hello \"Hello\"\nNSS: common\n{\n");
    const int screens = 1000;
    for (int i = 0; i < screens; ++i)
        wdl += QStringLiteral("   SNS s") + QString::number(i) + QLatin1Char('\n');
    wdl += QStringLiteral("}\n");
    for (int i = 0; i < screens; ++i) {
        const QString n = QString::number(i);
        wdl += QStringLiteral("SCREEN_OVERLAY: s") + n + QStringLiteral("\n{\n   OVERLAY: o") + n
               + QStringLiteral("\n   {\n      T: hello\n      OK_ACTION: GOTO_NEXT_SCREEN\n   }\n   NSS: nss_") + n
               + QStringLiteral("\n   {\n      CALL common\n   }\n}\n");
    }
    files.write(QStringLiteral("w.wdl"), wdl);
    const ToolRun run = runToolIn(files.dir(), {QStringLiteral("graph"), QStringLiteral("w.wdl")});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_LT(run.out.size(), 2 * wdl.size());
    // An edge into the shared script's node from each screen, one out of it
    // to each screen.
    EXPECT_EQ(run.out.count(QStringLiteral(" -> \"script common\"")), screens);
    EXPECT_EQ(run.out.count(QStringLiteral("\"script common\" -> ")), screens);
}

// -o never replaces what is not a regular file: a device such as /dev/null
// is written directly and stays a device, which a rename would have turned
// into a plain file; /dev/stdout, through the links to the process's
// descriptors, is the standard output whatever it is.
TEST(ToolOutput, DeviceIsWrittenNeverReplaced)
{
    WizardFiles files;
    const QByteArray node = QFile::encodeName(files.path(QStringLiteral("null")));
    if (::mknod(node.constData(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "this test may not make a device node";
    for (const char *command : {"fmt", "graph"}) {
        const ToolRun run = runToolIn(QStringLiteral(WDLC_TEST_DATA),
                                      {QString::fromLatin1(command), QStringLiteral("fmt/shared_items.wdl"),
                                       QStringLiteral("-o"), QFile::decodeName(node)});
        EXPECT_EQ(run.status, 0) << run.err.toStdString();
        struct stat st;
        ASSERT_EQ(::lstat(node.constData(), &st), 0);
        EXPECT_TRUE(S_ISCHR(st.st_mode)) << command;
    }
    EXPECT_EQ(QDir(files.dir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("null")});
}

TEST(ToolOutput, DevStdoutIsTheStandardOutputWhateverItIs)
{
    const QString wizard = QStringLiteral(WDLC_TEST_DATA "/tool/graph/unreachable.wdl");
    const QString expected = runToolIn(QDir::currentPath(), {QStringLiteral("graph"), wizard}).out;
    WizardFiles files;
    QProcess tool;
    // A pipe first, then a regular file, which is appended to as the shell
    // left it.
    tool.start(QStringLiteral(WDLC_BINARY_DIR "/wdltool"),
               {QStringLiteral("graph"), wizard, QStringLiteral("-o"), QStringLiteral("/dev/stdout")});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(tool.readAllStandardOutput()), expected);
    files.writeBytes(QStringLiteral("out.dot"), "earlier\n");
    tool.setStandardOutputFile(files.path(QStringLiteral("out.dot")), QIODevice::Append);
    tool.start(QStringLiteral(WDLC_BINARY_DIR "/wdltool"),
               {QStringLiteral("graph"), wizard, QStringLiteral("-o"), QStringLiteral("/dev/stdout")});
    ASSERT_TRUE(tool.waitForFinished(30000));
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(QString::fromUtf8(readFile(files.path(QStringLiteral("out.dot")))),
              QStringLiteral("earlier\n") + expected);
}

} // namespace
