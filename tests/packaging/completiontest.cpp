// wdltool's bash completion, run in a bash without bash-completion: the
// commands and options it offers are those of the help texts, and each
// command's arguments complete to the files it takes.

#include "packaging/helptexts.h"
#include "support/process.h"

namespace {

// What bash offers for the command line words (the last one being the word
// under the cursor) in dir, sorted.
QStringList completions(const QStringList &words, const QString &dir)
{
    const QString bash = programOnPath("bash");
    const QString script = QStringLiteral(
        "source \"$1\"; shift; COMP_WORDS=(\"$@\"); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _wdltool;"
        " printf '%s\\n' \"${COMPREPLY[@]}\"");
    const ProcessRun run = runProcess(bash,
                                      QStringList{QStringLiteral("--norc"), QStringLiteral("--noprofile"),
                                                  QStringLiteral("-c"), script, QStringLiteral("bash"),
                                                  QStringLiteral(WDLC_SOURCE_DIR "/completion/wdltool")}
                                          + words,
                                      dir);
    EXPECT_EQ(run.status, 0) << run.describe();
    EXPECT_EQ(run.err.toStdString(), "");
    QStringList out = QString::fromUtf8(run.out).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    out.sort();
    return out;
}

// Beside the files each command takes: a file of another kind and a folder.
class CompletionFiles
{
public:
    CompletionFiles()
    {
        for (const char *name : {"pump.wdl", "pump.sas", "notes.txt", "wizards/motor.wdl"})
            m_files.write(QString::fromUtf8(name), QString());
    }
    QString dir() const { return m_files.dir(); }

private:
    WizardFiles m_files;
};

struct CompletionRow
{
    const char *name;
    // The words typed, split at blanks; a trailing blank starts an empty word.
    const char *line;
    // What bash offers, sorted, split at blanks.
    const char *offered;

    friend void PrintTo(const CompletionRow &row, std::ostream *os) { *os << '"' << row.line << '"'; }
};

class WdltoolCompletion : public ::testing::TestWithParam<CompletionRow>
{
};

TEST_P(WdltoolCompletion, Offers)
{
    CompletionFiles files;
    const QStringList words = QString::fromUtf8(GetParam().line).split(QLatin1Char(' '));
    EXPECT_EQ(completions(words, files.dir()).join(QLatin1Char(' ')).toStdString(), GetParam().offered);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WdltoolCompletion,
    ::testing::Values(
        CompletionRow{"CommandByPrefix", "wdltool g", "graph"},
        CompletionRow{"CommandAfterAnOption", "wdltool --help ", "check dump fmt graph lsp translations"},
        CompletionRow{"NoFilesForLsp", "wdltool lsp ", ""}, CompletionRow{"OptionsOfLsp", "wdltool lsp -", "--help -h"},
        CompletionRow{"WizardsForCheck", "wdltool check ", "pump.wdl wizards"},
        CompletionRow{"MoreWizardsForCheck", "wdltool check pump.wdl wiz", "wizards"},
        CompletionRow{"WizardsInAFolder", "wdltool check wizards/", "wizards/motor.wdl"},
        CompletionRow{"ImagesForDump", "wdltool dump ", "pump.sas wizards"},
        CompletionRow{"ImagesAfterJson", "wdltool dump --json ", "pump.sas wizards"},
        CompletionRow{"WizardAfterWdl", "wdltool dump --wdl ", "pump.wdl wizards"},
        CompletionRow{"ImageAfterTheWizard", "wdltool dump --wdl pump.wdl ", "pump.sas wizards"},
        CompletionRow{"FormatsForCheck", "wdltool check --format ", "json sarif text"},
        CompletionRow{"RuleByPrefix", "wdltool check -Wno-un",
                      "-Wno-undefined-screen -Wno-unknown-action "
                      "-Wno-unreachable"},
        CompletionRow{"WizardForFmt", "wdltool fmt ", "pump.wdl wizards"},
        CompletionRow{"AnyFileAfterShortOutput", "wdltool fmt pump.wdl -o ", "notes.txt pump.sas pump.wdl wizards"},
        CompletionRow{"AnyFileAfterLongOutput", "wdltool graph pump.wdl --output n", "notes.txt"},
        CompletionRow{"WizardAfterTheOutput", "wdltool graph -o flow.dot ", "pump.wdl wizards"},
        CompletionRow{"TranslationVerbs", "wdltool translations ", "export import new status update"},
        CompletionRow{"WizardAfterTheVerb", "wdltool translations status --dir wizards ", "pump.wdl wizards"},
        CompletionRow{"FolderAfterDir", "wdltool translations update pump.wdl --dir ", "wizards"},
        CompletionRow{"LanguageForNew", "wdltool translations new pump.wdl G", "German Greek"},
        CompletionRow{"TranslationFileForExport", "wdltool translations export -o de.po pump.wdl ", "wizards"},
        CompletionRow{"NothingForAnUnknownCommand", "wdltool lint ", ""}),
    rowName<CompletionRow>);

TEST(WdltoolCompletion, OffersTheCommandsOfTheHelp)
{
    CompletionFiles files;
    QStringList commands = helpCommands();
    ASSERT_FALSE(commands.isEmpty());
    commands.sort();
    EXPECT_EQ(completions({QStringLiteral("wdltool"), QString()}, files.dir()), commands);
}

TEST(WdltoolCompletion, OffersTheOptionsOfEachHelp)
{
    CompletionFiles files;
    EXPECT_EQ(completions({QStringLiteral("wdltool"), QStringLiteral("-")}, files.dir()), helpOptions());
    for (const QString &command : helpCommands()) {
        QStringList expected = helpOptions(command) + helpRules(command);
        expected.sort();
        EXPECT_EQ(completions({QStringLiteral("wdltool"), command, QStringLiteral("-")}, files.dir()), expected)
            << "wdltool " << command.toStdString();
    }
}

} // namespace
