#include "core/wdlwizard.h"
#include "support/wizardfiles.h"

#include <QDir>

namespace {

// A first-screen script whose commands start on line 3, followed by the items
// that commands name: parameters a, b, c, local parameter x, filter f, texts
// flash and path, subroutine sub and the first screen start. The script ends
// with commands that use each of these once, so that none is reported unused
// and a row's warnings are those of its own commands.
QString firstScript(const QStringList &commands)
{
    return QStringLiteral("FIRST_SCREEN_SCRIPT fs\n{\n") + commands.join(QLatin1Char('\n'))
           + QStringLiteral("\nCVP 0 a\nCVP 0 b\nCVP 0 c\nSETUP x\nSCF a f\nCALL sub\nCSIV flash path\n}\n"
                            "P a 100\nP b 101\nP c 102\nLP x = 1\nAPF f \"1\"\nT flash \"MOTOR\"\n"
                            "T path \"files\\motor\"\nSUBROUTINE sub\n{\nRET\n}\nSCREEN_OVERLAY start\n{\n}\n");
}

QString setupWarning(const char *argument)
{
    return QStringLiteral("w.wdl:3: Setup to copy data from is not a number or is larger than 4. Problem exists "
                          "with command argument %1. See script fs")
        .arg(QLatin1String(argument));
}

// One row per warning of the script check, and the rules that give none.
const WarningsRow kRows[] = {
    {"AllItemsUsed", firstScript({"EXIT"}), {}},
    {"LowerCaseIsNoCommand", firstScript({"exit"}), {"w.wdl:3: Error validating script fs. Error with command exit."}},
    {"UndefinedIsAcceptedUnchecked", firstScript({"UNDEFINED u v w"}), {}},
    {"CpaIsObsolete", firstScript({"CPA a b"}), {"w.wdl:3: Command CPA is obsolete. See script fs"}},
    {"ExitWithArgument", firstScript({"EXIT 1"}), {"w.wdl:3: Command EXIT does not have 1 argument(s). See script fs"}},
    // BEQ alone still looks its second operand up, by an empty name.
    {"BeqAlone",
     firstScript({"BEQ a"}),
     {"w.wdl:3: Command BEQ is missing argument number 2. See script fs",
      "w.wdl:3: Command BEQ is missing argument number 3. See script fs",
      "w.wdl:3: Command's BEQ argument number 3 must a number.", "w.wdl:3: Parameter  was not found. See script fs"}},
    {"BgeLabelNotANumber", firstScript({"BGE a b x"}), {"w.wdl:3: Command's BGE argument number 3 must a number."}},
    {"CsivWithoutPathIsComplete", firstScript({"CSIV flash"}), {}},
    {"BranchTakesLocalParameter", firstScript({"BLT x a 5"}), {}},
    {"ArithmeticResultMayNameNothing", firstScript({"ADD a b u"}), {}},
    {"ArithmeticInputsUnknown",
     firstScript({"SUB u v w"}),
     {"w.wdl:3: Parameter u was not found. See script fs", "w.wdl:3: Parameter v was not found. See script fs"}},
    {"BnotNeverWarns", firstScript({"BNOT u v w"}), {}},
    {"ScfTakesParametersOnly", firstScript({"SCF x f"}), {"w.wdl:3: Parameter x was not found. See script fs"}},
    {"SnsUnknownScreen", firstScript({"SNS nowhere"}), {"w.wdl:3: Screen name nowhere was not found. See script fs"}},
    {"SafFilterUnknown", firstScript({"SAF a g"}), {"w.wdl:3: Filter g was not found. See script fs"}},
    {"CallUnknownScript", firstScript({"CALL nothing"}), {"w.wdl:3: Script nothing was not found. See script fs"}},
    {"SetupTakesLocalParametersOnly",
     firstScript({"SETUP a"}),
     {"w.wdl:3: Local parameter a was not found. See script fs"}},
    {"EnableChoiceBothUnknown",
     firstScript({"ENABLE_CHOICE g u"}),
     {"w.wdl:3: Choiselist filter g was not found. See script fs",
      "w.wdl:3: Parameter u was not found. See script fs"}},
    {"CsivTextsUnknown",
     firstScript({"CSIV name file"}),
     {"w.wdl:3: Name for CSIV file name was not found. See script fs",
      "w.wdl:3: CSIV command has 2nd argument, but the file name file was not found. See script fs"}},
    {"SetupsInRange", firstScript({"CPY a[2] b[1,3]", "CPTA a[0] b[all] c"}), {}},
    {"SourceSetupAboveFour", firstScript({"CPY a[5] b"}), {setupWarning("a[5]")}},
    {"EachBadTargetSetup", firstScript({"CPY a b[1,x,7]"}), {setupWarning("b[1,x,7]"), setupWarning("b[1,x,7]")}},
    // A copy's unknown source names the command's position in the script.
    {"UnknownCopySource",
     firstScript({"EXIT", "CPY u[1] v[2]"}),
     {"w.wdl:4: Parameter u was not found. See script line 1 in script fs",
      "w.wdl:4: Parameter v was not found. See script fs"}},
    // The reader counts no CALL of a first-screen script, nor a CALL of a
    // subroutine defined later: only validation makes sub used.
    {"CallCountsTheSubroutine",
     "FIRST_SCREEN_SCRIPT fs\n{\nCALL sub\n}\nSUBROUTINE sub\n{\nRET 1\n}\n",
     {"w.wdl:7: Command RET does not have 1 argument(s). See script sub"}},
    {"SnsDoesNotCountTheScreen",
     "P a 100\nSCREEN_SINGLE_PARAM start\n{\nPSS go\n{\nSNS next\n}\n}\nSCREEN_SINGLE_PARAM next\n{\nP a\n}\n",
     {"w.wdl:9: Screen \"next\" is not used."}},
    {"NssScreensAreCountedByTheReader",
     "P a 100\nSCREEN_SINGLE_PARAM start\n{\nNSS go\n{\nSNS next\n}\n}\nSCREEN_SINGLE_PARAM next\n{\nP a\n}\n",
     {}},
    {"CsivCountsBothTexts", "FIRST_SCREEN_SCRIPT fs\n{\nCSIV flash path\n}\nT flash \"MOTOR\"\nT path \"motor\"\n", {}},
};

class ScriptValidator : public ::testing::TestWithParam<WarningsRow>
{
};

TEST_P(ScriptValidator, GivesExactlyTheseWarnings)
{
    WizardFiles files;
    EXPECT_TRUE(sameWarnings(openWizard(files, GetParam().wdl), GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, ScriptValidator, ::testing::ValuesIn(kRows), rowName<WarningsRow>);

WdlTokenScript *scriptFs()
{
    return WdlWizard::instance()->scriptModel()->byId<WdlTokenScript>(QStringLiteral("fs"));
}

// Source setup in bits 9-11, target setups 1 to 4 in bits 12-15.
TEST(ScriptValidator, CopySetupWordIsKeptInTheThirdOperandValue)
{
    const std::pair<const char *, qint32> rows[] = {{"CPY a b", 0},
                                                    {"CPY a[2] b[1,3]", 0x5400},
                                                    {"CPY a b[all]", 0xF000},
                                                    {"CPTA a[1] b[ALL] c", 0xF200},
                                                    {"CPFA a b[4] c", 0x8000},
                                                    {"CPY a[5] b", 0}};
    for (const auto &row : rows) {
        WizardFiles files;
        openWizard(files, firstScript({QString::fromLatin1(row.first)}));
        EXPECT_EQ(scriptFs()->getCommand(0).operandValues[2], row.second) << row.first;
    }
}

TEST(ScriptValidator, OperandPrefersParameterExceptForChoiceCommands)
{
    WizardFiles files;
    openWizard(
        files,
        "FIRST_SCREEN_SCRIPT fs\n{\nBEQ dup dup 7\nENABLE_CHOICE f dup\n}\nP dup 100\nLP dup = 1\nAPF f \"1\"\n");
    WdlWizard *wizard = WdlWizard::instance();
    const ScriptCommand branch = scriptFs()->getCommand(0);
    EXPECT_EQ(branch.operandItems[0], wizard->parametersModel()->itemById(QStringLiteral("dup")));
    EXPECT_EQ(branch.operandItems[1], branch.operandItems[0]);
    EXPECT_EQ(scriptFs()->getCommand(1).operandItems[1],
              wizard->localParameterModel()->itemById(QStringLiteral("dup")));
}

// The backslash stays: the image builder turns it into a separator.
TEST(ScriptValidator, CsivPathIsRelativeToTheWdlFile)
{
    WizardFiles files;
    openWizard(files, firstScript({"EXIT"}));
    const IncludedFileMap csiv = WdlWizard::instance()->getCSIVfileList();
    auto *path = WdlWizard::instance()->textModel()->byId<WdlTokenText>(QStringLiteral("path"));
    ASSERT_EQ(csiv.keys(), QList<quint16>{path->getIndex()});
    EXPECT_EQ(csiv.first().flashName, QStringLiteral("MOTOR"));
    EXPECT_EQ(csiv.first().filePath, QDir(files.dir()).absolutePath() + QStringLiteral("/files\\motor"));
}

// An empty path text is taken relative to the WDL file like any other: it
// names the directory, which the image builder then does not find as a file.
TEST(ScriptValidator, EmptyCsivPathNamesTheWdlFilesDirectory)
{
    WizardFiles files;
    openWizard(files, firstScript({"EXIT"}).replace(QStringLiteral("T path \"files\\motor\"\n"),
                                                    QStringLiteral("H path \"help only\"\n")));
    const IncludedFileMap csiv = WdlWizard::instance()->getCSIVfileList();
    ASSERT_EQ(csiv.size(), 1);
    EXPECT_EQ(csiv.first().filePath, QDir(files.dir()).absolutePath());
}

TEST(ScriptValidator, SecondRunAddsNoWarningsAndNoReferences)
{
    WizardFiles files;
    openWizard(files, firstScript({"BEQ a", "exit", "UNDEFINED", "CPY a[9] b", "CALL sub"}));
    WdlWizard *wizard = WdlWizard::instance();
    const QStringList warnings = warningLines(wizard);
    ASSERT_FALSE(warnings.isEmpty());
    WdlToken *a = wizard->parametersModel()->itemById(QStringLiteral("a"));
    WdlToken *sub = wizard->scriptModel()->itemById(QStringLiteral("sub"));
    const int references = a->referenceCount() + 10 * sub->referenceCount();
    ASSERT_TRUE(QMetaObject::invokeMethod(wizard, "validateScripts"));
    EXPECT_TRUE(sameWarnings(warningLines(wizard), warnings));
    EXPECT_EQ(a->referenceCount() + 10 * sub->referenceCount(), references);
}

TEST(ScriptValidator, CommandAddedLaterIsValidatedAlone)
{
    WizardFiles files;
    openWizard(files, firstScript({"EXIT"}));
    WdlToken *a = WdlWizard::instance()->parametersModel()->itemById(QStringLiteral("a"));
    const int references = a->referenceCount();
    ASSERT_TRUE(scriptFs()->addCommand(QStringLiteral("CVP 1 a"), 40));
    WdlWizard::instance()->validateScripts();
    EXPECT_TRUE(sameWarnings(warningLines(WdlWizard::instance()), {}));
    EXPECT_EQ(a->referenceCount(), references + 1);
}

} // namespace
