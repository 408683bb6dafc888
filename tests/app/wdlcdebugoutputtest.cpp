// wdlc's standard streams. Released, it says nothing; a Debug build (the
// sanitizer build among them) prints the core's diagnostic lines on standard
// error, and the rows below hold what it prints.

#include "support/process.h"
#include "support/wizardfiles.h"

namespace {

struct DebugRow
{
    const char *name;
    // main.wdl after the seven header tags; none when empty.
    const char *wdl;
    // Standard error of a Debug build, "{tmp}" standing for the directory.
    const char *debugLines;

    friend void PrintTo(const DebugRow &row, std::ostream *os) { *os << row.name; }
};

class WdlcStreams : public ::testing::TestWithParam<DebugRow>
{
};

TEST_P(WdlcStreams, HoldOnlyTheDebugBuildsDiagnostics)
{
    WizardFiles files;
    if (*GetParam().wdl)
        files.write(QStringLiteral("main.wdl"), QString::fromUtf8(kHeaderTags) + QString::fromUtf8(GetParam().wdl));
    const ProcessRun run = runProcess(
        QStringLiteral(WDLC_BINARY_DIR "/wdlc"), {QStringLiteral("main.wdl")}, files.dir(),
        {QStringLiteral("QT_MESSAGE_PATTERN=%{message}"), QStringLiteral("QT_LOGGING_RULES=default.debug=true")});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.toStdString(), "");
#ifdef QT_NO_DEBUG_OUTPUT
    EXPECT_EQ(run.err.toStdString(), "");
#else
    EXPECT_EQ(QString::fromUtf8(run.err).replace(files.dir(), QStringLiteral("{tmp}")).toStdString(),
              GetParam().debugLines);
#endif
}

INSTANTIATE_TEST_SUITE_P(
    Rows, WdlcStreams,
    ::testing::Values(DebugRow{"MissingWizard", "", "OPEN failed\n"},
                      // Each script meets the other again once.
                      DebugRow{"NextScreenScriptsCallingEachOther",
                               "SCREEN_OVERLAY: s1\n{\n   NSS: a\n   {\n      CALL b\n      SNS s2\n   }\n}\n"
                               "SCREEN_OVERLAY: s2\n{\n}\nNSS: b\n{\n   CALL a\n   SNS s1\n}\n",
                               "Recursive scripts!\nRecursive scripts!\n"},
                      DebugRow{"ChoiceListWithoutChoices", "CL: c\n{\n}\nSCREEN_OVERLAY: s\n{\n}\n", "\"c\" 8\n"},
                      // Found while the image is built: the builder's warning reaches the
                      // wizard through its slot.
                      DebugRow{"MissingCsivFile",
                               "T: hello \"Hello\"\nT: flash \"CURVE\"\nT: path \"curve\"\nSCREEN_OVERLAY: s\n{\n"
                               "   PRE_SCREEN_SCRIPT: pre\n   {\n      CSIV flash path\n   }\n"
                               "   OVERLAY: o\n   {\n      T: hello\n      OK_ACTION: EXIT_WIZARD\n   }\n}\n",
                               "FILE {tmp}/curve.csiv NOT FOUND!\nSLOT!\n"},
                      DebugRow{"CleanWizard",
                               "T: hello \"Hello\"\nSCREEN_OVERLAY: s\n{\n   OVERLAY: o\n   {\n      T: hello\n"
                               "      OK_ACTION: EXIT_WIZARD\n   }\n}\n",
                               ""}),
    rowName<DebugRow>);

} // namespace
