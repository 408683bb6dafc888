// What `wdltool check` finds in one wizard: every lint rule on a wizard with
// its defect (exactly its diagnostics, at their file, line and column) and
// on the same wizard without it (nothing), and the problems of the build.

#include "tool/diagnosticcollector.h"
#include "tool/checkcommand.h"
#include "tool/diagnosticformats.h"

#include "core/inputfile.h"
#include "support/wizardfiles.h"
#include "tool/toolrun.h"

#include <sys/stat.h>

namespace {

// A wizard without a problem; the rows change a line or add some. The header
// comes after the wizard, so that the lines keep their numbers.
const char kBase[] = R"(T: t "Hello"
SCREEN_OVERLAY: first
{
   OVERLAY: o
   {
      T: t
      OK_ACTION: GOTO_NEXT_SCREEN
   }
   NS: second
}
SCREEN_SINGLE_PARAM: second
{
   P: speed 125
)";

// A CSIV file of 40 bytes whose name field holds CURVE.
const char kCurveCsiv[] = "CSIV\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x05\0\x1e\0CURVE\0\x01\x02\x03\x04";

struct RuleRow
{
    const char *name;
    // The end of the second screen's block, then more lines; kBase comes first.
    const char *wizard;
    // Another file of the wizard and its text, or null.
    const char *file;
    const char *text;
    // Whether files/curve.csiv is there.
    bool withCurve;
    // What check prints for each diagnostic, in its order, "|" between them.
    const char *expected;

    friend void PrintTo(const RuleRow &row, std::ostream *os) { *os << row.name; }
};

class CheckRules : public ::testing::TestWithParam<RuleRow>
{
};

TEST_P(CheckRules, FindExactlyTheDefect)
{
    const RuleRow &row = GetParam();
    WizardFiles files;
    QString wizard = QString::fromUtf8(kBase) + QString::fromUtf8(row.wizard);
    if (!wizard.contains(QLatin1String("FILE_NAME")))
        wizard += QString::fromUtf8(kHeaderTags);
    files.write(QStringLiteral("main.wdl"), wizard);
    if (row.file)
        files.write(QString::fromUtf8(row.file), QString::fromUtf8(row.text));
    if (row.withCurve)
        files.writeBytes(QStringLiteral("files/curve.csiv"), QByteArray(kCurveCsiv, int(sizeof kCurveCsiv) - 1));

    QList<Diagnostic> found;
    {
        WorkingDirectory cd(files.dir());
        found = DiagnosticCollector(CheckCommand::defaultRules()).check(QStringLiteral("main.wdl"));
    }
    CheckCommand::sort(found);
    QStringList lines;
    for (const Diagnostic &d : qAsConst(found))
        lines.append(DiagnosticFormats::line(d).replace(files.dir(), QStringLiteral("<dir>")));
    const QString expected = QString::fromUtf8(row.expected);
    EXPECT_TRUE(sameWarnings(lines, expected.isEmpty() ? QStringList() : expected.split(QLatin1Char('|'))));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CheckRules,
    ::testing::Values(
        RuleRow{"Clean", "}\n", nullptr, nullptr, false, ""},
        RuleRow{"UndefinedScreen", "   NS: thrid\n}\n", nullptr, nullptr, false,
                "main.wdl:14:8: warning: Next screen thrid is not defined: the image stores screen 0, a dead end on "
                "the panel. [-Wundefined-screen]"},
        RuleRow{"UndefinedScreenMisspelt", "   NS: Frist\n}\n", nullptr, nullptr, false,
                "main.wdl:14:8: warning: Next screen Frist is not defined: the image stores screen 0, a dead end on "
                "the panel. Did you mean first? [-Wundefined-screen]"},
        // The screen is defined only once its block has been read.
        RuleRow{"NextScreenIsItself", "   NS: second\n}\n", nullptr, nullptr, false,
                "main.wdl:14:8: warning: Screen second names itself as its next screen inside its own block, where "
                "it is not yet defined: the image stores screen 0, a dead end on the panel. [-Wundefined-screen]"},
        RuleRow{"NextScreenDefinedLater", "   NS: third\n}\nSCREEN_SINGLE_PARAM: third\n{\n   P: speed\n}\n", nullptr,
                nullptr, false, ""},
        RuleRow{"UndefinedScreenInAnIncludedFile", "   NS: third\n}\nINCLUDE more/screens.wdl\n", "more/screens.wdl",
                "// the last screen\nSCREEN_SINGLE_PARAM: third\n{\n   P: speed\n   NS:nowhere\n}\n", false,
                "more/screens.wdl:5:7: warning: Next screen nowhere is not defined: the image stores screen 0, a "
                "dead end on the panel. [-Wundefined-screen]"},
        RuleRow{"BranchToNoLabel", "   PRE_SCREEN_SCRIPT: pre\n   {\n      BRA 2\n   }\n}\n", nullptr, nullptr, false,
                "main.wdl:16:11: warning: Label 2 is not marked by an LBL in script pre: the branch has nowhere to "
                "go. [-Wlabel]"},
        RuleRow{"LabelMarkedTwice",
                "   PRE_SCREEN_SCRIPT: pre\n   {\n      LBL 1\n      BNE speed speed 1\n"
                "      LBL 1\n   }\n}\n",
                nullptr, nullptr, false,
                "main.wdl:18:11: warning: Label 1 is marked again in script pre; it is marked at main.wdl:16. "
                "[-Wlabel]"},
        RuleRow{"LabelsOfTheScript",
                "   PRE_SCREEN_SCRIPT: pre\n   {\n      BEQ speed speed 3\n      BRA 3\n"
                "      LBL 3\n   }\n}\n",
                nullptr, nullptr, false, ""},
        RuleRow{"UnknownAction",
                "   NS: third\n}\nSCREEN_OVERLAY: third\n{\n   OVERLAY: o2\n   {\n      T: t\n      BACK_ACTION: "
                "EXIT\n   }\n}\n",
                nullptr, nullptr, false,
                "main.wdl:21:20: warning: BACK_ACTION of overlay o2: EXIT is not an action; the image stores "
                "NO_ACTION, so the key does nothing. [-Wunknown-action]"},
        RuleRow{"UnknownActionMisspelt",
                "   NS: third\n}\nSCREEN_OVERLAY: third\n{\n   OVERLAY: o2\n   {\n      T: t\n      BACK_ACTION: "
                "goto_previous_scren\n   }\n}\n",
                nullptr, nullptr, false,
                "main.wdl:21:20: warning: BACK_ACTION of overlay o2: goto_previous_scren is not an action; the image "
                "stores NO_ACTION, so the key does nothing. Did you mean GOTO_PREVIOUS_SCREEN? [-Wunknown-action]"},
        RuleRow{"TruncatedParameterNumber", "   P: limit 99999\n}\n", nullptr, nullptr, false,
                "main.wdl:14:13: warning: Parameter limit has number 99999, which the image stores in 16 bits, as "
                "34463. [-Wtruncated]"},
        RuleRow{"TruncatedScriptNumber", "   PSS: pss\n   {\n      CVP  70000 speed\n   }\n}\n", nullptr, nullptr,
                false, "main.wdl:16:12: warning: The number 70000 of CVP is stored in 16 bits, as 4464. [-Wtruncated]"},
        RuleRow{"NumbersThatFitSixteenBits",
                "   PSS: pss\n   {\n      CVP -32768 speed\n      CVP 65535 speed\n      SQB 0 -1 1\n   }\n}\n",
                nullptr, nullptr, false, ""},
        RuleRow{"TruncatedProductType",
                "}\nFILE_FORMAT_VERSION: 1.0\nFILE_VERSION: 1.0\nRUN_MODE: 0\nPRODUCT_TYPE: 70417\n"
                "PRODUCT_NAME: \"QX-417\"\nDATABASE_VERSION: 1.65536\nFILE_NAME: \"w\"\n",
                nullptr, nullptr, false,
                "main.wdl:18:15: warning: PRODUCT_TYPE 70417 is stored in 16 bits, as 4881. [-Wtruncated]|"
                "main.wdl:20:19: warning: DATABASE_VERSION 1.65536: 65536 is stored in 16 bits, as 0. "
                "[-Wtruncated]"},
        RuleRow{"MinAboveMax", "   VP: v\n   {\n      T: t\n      MIN: 10\n      MAX: 5\n      VAL: 7\n   }\n}\n",
                nullptr, nullptr, false, "main.wdl:17:12: warning: MIN 10 of VP v is above its MAX 5. [-Wrange]"},
        RuleRow{"DefaultOutsideTheLimits", "   VP: v\n   {\n      T: t\n      MIN: 10\n      MAX: 20\n   }\n}\n",
                nullptr, nullptr, false,
                "main.wdl:14:8: warning: The default 0 of VP v is outside its limits, MIN 10 and MAX 20. [-Wrange]"},
        RuleRow{"DefaultAtALimit", "   VP: v\n   {\n      T: t\n      MIN: -5\n      MAX: 20\n      VAL: -5\n   }\n}\n",
                nullptr, nullptr, false, ""},
        RuleRow{"TextGivenAgain", "}\nT: t \"Hi\"\nH: t \"Help\"\n", nullptr, nullptr, false,
                "main.wdl:15:4: warning: Text t is given again; this text replaces the one at main.wdl:1. "
                "[-Wredefined]"},
        RuleRow{"HeaderTagGivenAgain", "}\nRUN_MODE: 1\n", nullptr, nullptr, false,
                "main.wdl:18:11: warning: RUN_MODE is given again; this value replaces the one at main.wdl:15. "
                "[-Wredefined]"},
        RuleRow{"FieldGivenAgain", "   VP: v\n   {\n      T: t\n      MAX: 5\n      MAX: 6\n   }\n}\n", nullptr,
                nullptr, false,
                "main.wdl:18:12: warning: MAX of VP v is given again; this value replaces the one at main.wdl:17. "
                "[-Wredefined]"},
        // The second script is never named, so wdlc refuses it too.
        RuleRow{"IdDefinedAgain",
                "   PSS: pss\n   {\n      CALL sub\n   }\n}\nSUBROUTINE: sub\n{\n   RET\n}\n"
                "SUBROUTINE: sub\n{\n   EXIT\n}\n",
                nullptr, nullptr, false,
                "main.wdl:23: error: Script \"sub\" is not used.|"
                "main.wdl:23:13: warning: Script sub is defined again; everything that names it finds the one at "
                "main.wdl:19. [-Wredefined]"},
        RuleRow{"NsAndNss", "   NS: first\n   NSS: nss\n   {\n      SNS first\n   }\n}\n", nullptr, nullptr, false,
                "main.wdl:15:9: warning: Screen second has both NS first and the next-screen script nss; only one "
                "of them can choose the next screen. [-Wns-nss]"},
        RuleRow{"NssAlone", "   NSS: nss\n   {\n      SNS first\n   }\n}\n", nullptr, nullptr, false, ""},
        RuleRow{"TwoDefaults",
                "   VCP: c\n   {\n      T: t\n      CL: l\n      {\n         t*\n         t*\n"
                "      }\n   }\n}\n",
                nullptr, nullptr, false,
                "main.wdl:20:10: warning: Choice list l has more than one default; this one replaces the one at "
                "main.wdl:19. [-Wdefault-choice]"},
        RuleRow{"OneDefault",
                "   VCP: c\n   {\n      T: t\n      CL: l\n      {\n         t\n         t*\n"
                "      }\n   }\n}\n",
                nullptr, nullptr, false, ""},
        // Each of the two screens that lead only to each other.
        RuleRow{"Unreachable",
                "}\nSCREEN_SINGLE_PARAM: a\n{\n   P: speed\n   NS: b\n}\n"
                "SCREEN_SINGLE_PARAM: b\n{\n   P: speed\n   NS: a\n}\n",
                nullptr, nullptr, false,
                "main.wdl:15:22: warning: Screen a cannot be reached from the first screen first. [-Wunreachable]|"
                "main.wdl:20:22: warning: Screen b cannot be reached from the first screen first. [-Wunreachable]"},
        RuleRow{"ReachedThroughAScript",
                "   PRE_SCREEN_SCRIPT: pre\n   {\n      CALL sub\n   }\n}\nSUBROUTINE: sub\n{\n   SNS third\n}\n"
                "SCREEN_SINGLE_PARAM: third\n{\n   P: speed\n}\n",
                nullptr, nullptr, false, "main.wdl:23: error: Screen \"third\" is not used."},
        RuleRow{"TranslationLeftOut", "}\n", "translation_German.xml",
                "<root>\n<translations language=\"German\" version=\"2\">\n<text id=\"t\" type=\"text\">Hallo</text>\n"
                "</translations>\n</root>\n",
                false,
                "translation_German.xml:2: warning: XML file translation_German.xml did not contain attribute "
                "\"language\" or contained extra attributes. This file is not a translation file. [-Wtranslation]"},
        RuleRow{"TranslationOfAnUnknownText", "}\n", "translation_German.xml",
                "<root>\n<translations language=\"German\">\n<text id=\"t\" type=\"text\">Hallo</text>\n"
                "<text id=\"x\" type=\"text\">X</text>\n</translations>\n</root>\n",
                false,
                "translation_German.xml:4: warning: Text identificator x was not found in wdl file. Found translation "
                "for unknown text.Bahasa, [-Wtranslation]\nBulgarian,\nChinese,\nChineseTraditional,\nCzech,\nDanish,"
                "\nDutch,\nFinnish,\nGerman,\nEnglish,\nEnglishUS,\nFrench,\nGreek,\nHungarian,\nItalian,\nJapanese,"
                "\nKorean.\nPolish,\nPortuguese,\nRomanian,\nRussian,\nSerbian,\nSlovenian,\nSpanish,\nSwedish,\nThai,"
                "\nTurkish,\nDefault language of wizard is English."},
        RuleRow{"EmptyTranslation", "}\n", "translation_German.xml",
                "<root>\n<translations language=\"German\">\n<text id=\"t\" type=\"text\">Hallo</text>\n"
                "<text id=\"t\" type=\"help\"></text>\n<text id=\"t\" type=\"text\"/>\n</translations>\n</root>\n",
                false,
                "translation_German.xml:5: warning: The translated text t is empty: the panel shows nothing in its "
                "place. [-Wempty-translation]"},
        RuleRow{"TranslatedFlashName",
                "   PRE_SCREEN_SCRIPT: pre\n   {\n      CSIV flash path\n   }\n}\nT: flash \"CURVE\"\n"
                "T: path \"files/curve\"\n",
                "translation_German.xml",
                "<root>\n<translations language=\"German\">\n<text id=\"flash\" type=\"text\">KURVE</text>\n"
                "<text id=\"path\" type=\"text\">files/curve</text>\n</translations>\n</root>\n",
                true,
                "translation_German.xml:3: warning: Text flash holds the flash name of a CSIV file, \"CURVE\", which "
                "the drive looks up as written; its translation \"KURVE\" names no file. [-Wtranslated-file-name]"},
        RuleRow{"TranslatedPath",
                "   PRE_SCREEN_SCRIPT: pre\n   {\n      CSIV flash path\n   }\n}\nT: flash \"CURVE\"\n"
                "T: path \"files/curve\"\n",
                "translation_German.xml",
                "<root>\n<translations language=\"German\">\n<text id=\"flash\" type=\"text\">CURVE</text>\n"
                "<text id=\"path\" type=\"text\">dateien/kurve</text>\n</translations>\n</root>\n",
                true,
                "translation_German.xml:4: warning: Text path holds the path of a CSIV file, \"files/curve\", which "
                "the drive looks up as written; its translation \"dateien/kurve\" names no file. "
                "[-Wtranslated-file-name]"},
        RuleRow{"MissingCsivFile",
                "   PRE_SCREEN_SCRIPT: pre\n   {\n      CSIV flash path\n   }\n}\nT: flash \"CURVE\"\n"
                "T: path \"files/curve\"\n",
                nullptr, nullptr, false, "files/curve.csiv:0: error: FILE <dir>/files/curve.csiv NOT FOUND!"}),
    rowName<RuleRow>);

// Counts and item numbers past what their fields hold, in a wizard made for it.
TEST(CheckRulesTruncated, CountsAndCopyOperandsPastTheirFields)
{
    QString wizard = QString::fromUtf8(kBase);
    wizard += QStringLiteral("   VCP: c\n   {\n      T: t\n      CL: l\n      {\n");
    for (int i = 0; i < 256; ++i)
        wizard += QStringLiteral("         t\n");
    wizard += QStringLiteral("      }\n   }\n   PSS: pss\n   {\n      CPTA speed[1] speed[2] lp600\n");
    for (int i = 1; i < 256; ++i)
        wizard += QStringLiteral("      EXIT\n");
    wizard += QStringLiteral("   }\n}\n");
    for (int i = 0; i <= 600; ++i)
        wizard += QStringLiteral("LP: lp") + QString::number(i) + QStringLiteral(" = 0\n");
    WizardFiles files;
    files.write(QStringLiteral("main.wdl"), wizard + QString::fromUtf8(kHeaderTags));
    QSet<QString> truncated{QStringLiteral("truncated")};
    QList<Diagnostic> found;
    {
        WorkingDirectory cd(files.dir());
        found = DiagnosticCollector(truncated).check(QStringLiteral("main.wdl"));
    }
    QStringList lines;
    for (const Diagnostic &d : qAsConst(found)) {
        if (d.level == Diagnostic::Warning)
            lines.append(DiagnosticFormats::line(d));
    }
    // The parameters share one sequence: speed is 1, the VCP 2, lp600 603.
    EXPECT_TRUE(sameWarnings(
        lines, {"main.wdl:17:11: warning: Choice list l has 256 choices; the image stores the count in 8 bits, as 0. "
                "[-Wtruncated]",
                "main.wdl:277:9: warning: Script pss has 256 commands; the image stores the count in 8 bits, as 0. "
                "[-Wtruncated]",
                "main.wdl:279:30: warning: Parameter lp600 has number 603: beside the setup word of CPTA a number "
                "keeps only 9 bits, so the image names 91. [-Wtruncated]"}));
}

// A wizard that cannot be built is not built: the rules that need the build
// find nothing, the others still look at what was read.
TEST(CheckRulesWithErrors, LookAtWhatWasReadAndBuildNothing)
{
    WizardFiles files;
    files.write(QStringLiteral("main.wdl"), QString::fromUtf8(kBase) + QStringLiteral("   NS: thrid\n   TO: x\n}\n")
                                                + QString::fromUtf8(kHeaderTags));
    files.write(QStringLiteral("translation_German.xml"), QStringLiteral("not xml"));
    QList<Diagnostic> found;
    {
        WorkingDirectory cd(files.dir());
        found = DiagnosticCollector(CheckCommand::defaultRules()).check(QStringLiteral("main.wdl"));
    }
    QStringList lines;
    for (const Diagnostic &d : qAsConst(found))
        lines.append(DiagnosticFormats::line(d));
    EXPECT_TRUE(sameWarnings(lines, {"main.wdl:15:4: error: Unknown tag \"TO\" in screen second",
                                     "main.wdl:14:8: warning: Next screen thrid is not defined: the image stores "
                                     "screen 0, a dead end on the panel. [-Wundefined-screen]"}));
}

// However much there is to report, in whichever format, check leaves the
// wizard's folder as it was: no image, no template, no warnings file.
TEST(CheckRulesWithErrors, CheckWritesNoFile)
{
    WizardFiles files;
    files.copyTree(QStringLiteral(WDLC_TEST_DATA "/tool/check/lint"));
    const QStringList before = filesBelow(files.dir());
    for (const char *format : {"text", "json", "sarif"}) {
        const ToolRun run = runToolIn(files.dir(), {QStringLiteral("check"), QStringLiteral("--format"),
                                                    QString::fromLatin1(format), QStringLiteral("main.wdl")});
        EXPECT_EQ(run.status, 1) << format;
    }
    EXPECT_EQ(filesBelow(files.dir()), before);
}

// A file that cannot be opened is one error that names it as typed, with
// why: never a URL, never a crash. An included file stands under its name.
struct CannotOpenRow
{
    const char *name;
    // The file check is handed, and the file that cannot be opened.
    const char *argument;
    const char *line;

    friend void PrintTo(const CannotOpenRow &row, std::ostream *os) { *os << row.name; }
};

class CheckCannotOpen : public ::testing::TestWithParam<CannotOpenRow>
{
};

TEST_P(CheckCannotOpen, NamesTheFileAsTypedAndWhy)
{
    WizardFiles files;
    QDir(files.dir()).mkpath(QStringLiteral("dir.wdl"));
    files.write(QStringLiteral("sub/big.wdl"), QString());
    QFile::resize(files.path(QStringLiteral("sub/big.wdl")), InputFile::kMaxSize + 1);
    files.write(QStringLiteral("sub/includes.wdl"), QStringLiteral("INCLUDE texts.wdl\n"));
    ASSERT_EQ(mkfifo(QFile::encodeName(files.path(QStringLiteral("pipe.wdl"))).constData(), 0600), 0);
    WorkingDirectory cd(files.dir());
    const QList<Diagnostic> found =
        DiagnosticCollector(CheckCommand::defaultRules()).check(QString::fromUtf8(GetParam().argument));
    ASSERT_FALSE(found.isEmpty());
    EXPECT_EQ(DiagnosticFormats::line(found.first()).toStdString(), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, CheckCannotOpen,
    ::testing::Values(
        CannotOpenRow{"Missing", "none.wdl", "none.wdl:0: error: cannot open none.wdl: No such file or directory"},
        CannotOpenRow{"MissingDirectory", "nowhere/none.wdl",
                      "nowhere/none.wdl:0: error: cannot open nowhere/none.wdl: No such file or directory"},
        CannotOpenRow{"Directory", "dir.wdl", "dir.wdl:0: error: cannot open dir.wdl: Is a directory"},
        CannotOpenRow{"Fifo", "pipe.wdl", "pipe.wdl:0: error: cannot open pipe.wdl: not a regular file"},
        CannotOpenRow{"TooLarge", "sub/big.wdl", "sub/big.wdl:0: error: cannot open sub/big.wdl: larger than 256 MiB"},
        CannotOpenRow{"Included", "sub/includes.wdl",
                      "sub/texts.wdl:0: error: cannot open sub/texts.wdl: No such file or directory"}),
    rowName<CannotOpenRow>);

} // namespace
