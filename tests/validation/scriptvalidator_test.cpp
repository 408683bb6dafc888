#include "validation/wizardfile.h"

#include "core/wdlwizard.h"
#include "items/wdltokenlocalparam.h"

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
           + QStringLiteral("\n"
                            "CVP 0 a\n"
                            "CVP 0 b\n"
                            "CVP 0 c\n"
                            "SETUP x\n"
                            "SCF a f\n"
                            "CALL sub\n"
                            "CSIV flash path\n"
                            "}\n"
                            "P a 100\n"
                            "P b 101\n"
                            "P c 102\n"
                            "LP x = 1\n"
                            "APF f \"1\"\n"
                            "T flash \"MOTOR\"\n"
                            "T path \"files\\motor\"\n"
                            "SUBROUTINE sub\n"
                            "{\n"
                            "RET\n"
                            "}\n"
                            "SCREEN_OVERLAY start\n"
                            "{\n"
                            "}\n");
}

std::vector<WarningsRow> mnemonicRows()
{
    return {
        {"AllItemsUsedNoWarnings", firstScript({"EXIT"}), {}},
        {"LowerCaseIsNoCommand",
         firstScript({"exit"}),
         {"w.wdl:3: Error validating script fs. Error with command exit."}},
        {"UndefinedIsAcceptedUnchecked", firstScript({"UNDEFINED u v w"}), {}},
        {"CpaIsObsoleteWhateverItsArguments",
         firstScript({"CPA a b"}),
         {"w.wdl:3: Command CPA is obsolete. See script fs"}},
    };
}

std::vector<WarningsRow> argumentCountRows()
{
    return {
        {"ExitWithArgument",
         firstScript({"EXIT 1"}),
         {"w.wdl:3: Command EXIT does not have 1 argument(s). See script fs"}},
        {"BraWithoutLabel",
         firstScript({"BRA"}),
         {"w.wdl:3: Command BRA is missing argument number 1. See script fs",
          "w.wdl:3: Command's BRA argument number 1 must a number."}},
        {"BraWithTwoArguments",
         firstScript({"BRA 1 2"}),
         {"w.wdl:3: Command BRA does not have 2 argument(s). See script fs"}},
        {"BeqAloneStillLooksUpItsSecondOperand",
         firstScript({"BEQ a"}),
         {"w.wdl:3: Command BEQ is missing argument number 2. See script fs",
          "w.wdl:3: Command BEQ is missing argument number 3. See script fs",
          "w.wdl:3: Command's BEQ argument number 3 must a number.",
          "w.wdl:3: Parameter  was not found. See script fs"}},
        {"BeqWithoutLabel",
         firstScript({"BEQ a b"}),
         {"w.wdl:3: Command BEQ is missing argument number 3. See script fs",
          "w.wdl:3: Command's BEQ argument number 3 must a number."}},
        {"BgeLabelNotANumber", firstScript({"BGE a b x"}), {"w.wdl:3: Command's BGE argument number 3 must a number."}},
        {"BoeSecondMissing",
         firstScript({"BOE 1"}),
         {"w.wdl:3: Command BOE is missing argument number 2. See script fs",
          "w.wdl:3: Command's BOE argument number 2 must a number."}},
        {"SqbMiddleNotANumber",
         firstScript({"SQB 1 y 3"}),
         {"w.wdl:3: Command's SQB argument number 2 must a number."}},
        {"CvpValueNotANumber", firstScript({"CVP v a"}), {"w.wdl:3: Command's CVP argument number 1 must a number."}},
        {"CsivWithoutPathIsComplete", firstScript({"CSIV flash"}), {}},
        {"CsivWithThreeArguments",
         firstScript({"CSIV flash path x"}),
         {"w.wdl:3: Command CSIV does not have 3 argument(s). See script fs"}},
    };
}

std::vector<WarningsRow> lookupRows()
{
    return {
        {"BranchOperandsUnknown",
         firstScript({"BNE u v 5"}),
         {"w.wdl:3: Parameter u was not found. See script fs", "w.wdl:3: Parameter v was not found. See script fs"}},
        {"BranchTakesLocalParameter", firstScript({"BLT x a 5"}), {}},
        {"ArithmeticResultMayNameNothing", firstScript({"ADD a b u"}), {}},
        {"ArithmeticInputsUnknown",
         firstScript({"SUB u v w"}),
         {"w.wdl:3: Parameter u was not found. See script fs", "w.wdl:3: Parameter v was not found. See script fs"}},
        {"BnotNeverWarns", firstScript({"BNOT u v w"}), {}},
        {"SnsUnknownScreen",
         firstScript({"SNS nowhere"}),
         {"w.wdl:3: Screen name nowhere was not found. See script fs"}},
        {"CvpOperandUnknown", firstScript({"CVP 1 u"}), {"w.wdl:3: Parameter u was not found. See script fs"}},
        {"ScfTakesParametersOnly", firstScript({"SCF x f"}), {"w.wdl:3: Parameter x was not found. See script fs"}},
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
    };
}

std::vector<WarningsRow> copyRows()
{
    return {
        {"SetupsInRange", firstScript({"CPY a[2] b[1,3]", "CPTA a[0] b[all] c"}), {}},
        {"SourceSetupAboveFour",
         firstScript({"CPY a[5] b"}),
         {"w.wdl:3: Setup to copy data from is not a number or is larger than 4. Problem exists with command "
          "argument a[5]. See script fs"}},
        {"NegativeSourceSetup",
         firstScript({"CPY a[-1] b"}),
         {"w.wdl:3: Setup to copy data from is not a number or is larger than 4. Problem exists with command "
          "argument a[-1]. See script fs"}},
        {"EachBadTargetSetup",
         firstScript({"CPY a b[1,x,7]"}),
         {"w.wdl:3: Setup to copy data from is not a number or is larger than 4. Problem exists with command "
          "argument b[1,x,7]. See script fs",
          "w.wdl:3: Setup to copy data from is not a number or is larger than 4. Problem exists with command "
          "argument b[1,x,7]. See script fs"}},
        {"UnknownSourceNamesCommandPosition",
         firstScript({"EXIT", "CPY u[1] v[2]"}),
         {"w.wdl:4: Parameter u was not found. See script line 1 in script fs",
          "w.wdl:4: Parameter v was not found. See script fs"}},
        {"SourceSetupBeforeSourceLookup",
         firstScript({"CPFA u[9] b c"}),
         {"w.wdl:3: Setup to copy data from is not a number or is larger than 4. Problem exists with command "
          "argument u[9]. See script fs",
          "w.wdl:3: Parameter u was not found. See script line 0 in script fs"}},
        {"CpyWithThirdArgument",
         firstScript({"CPY a b c"}),
         {"w.wdl:3: Command CPY does not have 3 argument(s). See script fs"}},
        {"CptaWithoutThirdArgument",
         firstScript({"CPTA a b"}),
         {"w.wdl:3: Command CPTA is missing argument number 3. See script fs",
          "w.wdl:3: Parameter  was not found. See script fs"}},
    };
}

// Rows whose outcome hangs on the reference counts that validation makes.
std::vector<WarningsRow> referenceRows()
{
    return {
        // The reader counts no CALL of a first-screen script, nor a CALL of a
        // subroutine defined later: only validation makes sub used.
        {"CallCountsTheSubroutine",
         "FIRST_SCREEN_SCRIPT fs\n"
         "{\n"
         "CALL sub\n"
         "}\n"
         "SUBROUTINE sub\n"
         "{\n"
         "RET 1\n"
         "}\n",
         {"w.wdl:7: Command RET does not have 1 argument(s). See script sub"}},
        {"SnsDoesNotCountTheScreen",
         "P a 100\n"
         "SCREEN_SINGLE_PARAM start\n"
         "{\n"
         "PSS go\n"
         "{\n"
         "SNS next\n"
         "}\n"
         "}\n"
         "SCREEN_SINGLE_PARAM next\n"
         "{\n"
         "P a\n"
         "}\n",
         {"w.wdl:9: Screen \"next\" is not used."}},
        {"NssScreensAreCountedByTheReader",
         "P a 100\n"
         "SCREEN_SINGLE_PARAM start\n"
         "{\n"
         "NSS go\n"
         "{\n"
         "SNS next\n"
         "}\n"
         "}\n"
         "SCREEN_SINGLE_PARAM next\n"
         "{\n"
         "P a\n"
         "}\n",
         {}},
        {"CsivCountsBothTexts",
         "FIRST_SCREEN_SCRIPT fs\n"
         "{\n"
         "CSIV flash path\n"
         "}\n"
         "T flash \"MOTOR\"\n"
         "T path \"motor\"\n",
         {}},
    };
}

class ScriptValidatorTable : public ::testing::TestWithParam<WarningsRow>
{
};

TEST_P(ScriptValidatorTable, GivesExactlyTheseWarnings)
{
    const WarningsRow &row = GetParam();
    WizardFile file(row.wdl, row.withHeader);
    EXPECT_TRUE(sameWarnings(warningLines(file.open()), row.expected));
}

INSTANTIATE_TEST_SUITE_P(Mnemonics, ScriptValidatorTable, ::testing::ValuesIn(mnemonicRows()), rowName);
INSTANTIATE_TEST_SUITE_P(ArgumentCounts, ScriptValidatorTable, ::testing::ValuesIn(argumentCountRows()), rowName);
INSTANTIATE_TEST_SUITE_P(Lookups, ScriptValidatorTable, ::testing::ValuesIn(lookupRows()), rowName);
INSTANTIATE_TEST_SUITE_P(CopyCommands, ScriptValidatorTable, ::testing::ValuesIn(copyRows()), rowName);
INSTANTIATE_TEST_SUITE_P(References, ScriptValidatorTable, ::testing::ValuesIn(referenceRows()), rowName);

// The command at position i of the first-screen script, as validation left it.
ScriptCommand firstScriptCommand(WdlWizard *wizard, int i)
{
    auto *script = wizard->scriptModel()->byId<WdlTokenScript>(QStringLiteral("fs"));
    return script ? script->getCommand(i) : ScriptCommand();
}

struct SetupWordRow
{
    const char *name;
    const char *command;
    qint32 setupWord;
};

void PrintTo(const SetupWordRow &row, std::ostream *out)
{
    *out << row.name;
}

class CopySetupWord : public ::testing::TestWithParam<SetupWordRow>
{
};

TEST_P(CopySetupWord, IsKeptInThirdOperandValue)
{
    const SetupWordRow &row = GetParam();
    WizardFile file(firstScript({QLatin1String(row.command)}));
    const ScriptCommand command = firstScriptCommand(file.open(), 0);
    EXPECT_EQ(command.operandValues[2], row.setupWord);
    EXPECT_NE(command.operandItems[0], nullptr);
    EXPECT_NE(command.operandItems[1], nullptr);
}

INSTANTIATE_TEST_SUITE_P(Rows, CopySetupWord,
                         ::testing::Values(SetupWordRow{"NoBrackets", "CPY a b", 0},
                                           SetupWordRow{"SourceAndTwoTargets", "CPY a[2] b[1,3]", 0x5400},
                                           SetupWordRow{"AllInLowerCase", "CPY a b[all]", 0xF000},
                                           SetupWordRow{"SourceWithAll", "CPTA a[1] b[ALL] c", 0xF200},
                                           SetupWordRow{"HighestTarget", "CPFA a b[4] c", 0x8000},
                                           SetupWordRow{"BadSourceLeavesNoBits", "CPY a[5] b", 0}),
                         [](const ::testing::TestParamInfo<SetupWordRow> &info) {
                             return std::string(info.param.name);
                         });

TEST(ScriptValidator, OperandPrefersParameterExceptForChoiceCommands)
{
    WizardFile file(QStringLiteral("FIRST_SCREEN_SCRIPT fs\n{\nBEQ dup dup 7\nENABLE_CHOICE f dup\n}\n"
                                   "P dup 100\nLP dup = 1\nAPF f \"1\"\n"));
    WdlWizard *wizard = file.open();
    WdlToken *param = wizard->parametersModel()->itemById(QStringLiteral("dup"));
    WdlToken *local = wizard->localParameterModel()->itemById(QStringLiteral("dup"));

    const ScriptCommand branch = firstScriptCommand(wizard, 0);
    EXPECT_EQ(branch.cmdType, WdlTokenScript::BEQ);
    EXPECT_EQ(branch.operandItems[0], param);
    EXPECT_EQ(branch.operandItems[1], param);
    EXPECT_EQ(branch.operandValues[2], 7);

    const ScriptCommand enable = firstScriptCommand(wizard, 1);
    EXPECT_EQ(enable.operandItems[0], wizard->filterModel()->itemById(QStringLiteral("f")));
    EXPECT_EQ(enable.operandItems[1], local);
}

TEST(ScriptValidator, UnresolvedArgumentsStayEmpty)
{
    WizardFile file(firstScript({"ADD a b u", "BRA x", "UNDEFINED a", "exit"}));
    WdlWizard *wizard = file.open();

    const ScriptCommand add = firstScriptCommand(wizard, 0);
    EXPECT_EQ(add.operandItems[0], wizard->parametersModel()->itemById(QStringLiteral("a")));
    EXPECT_EQ(add.operandItems[2], nullptr);

    const ScriptCommand bra = firstScriptCommand(wizard, 1);
    EXPECT_EQ(bra.cmdType, WdlTokenScript::BRA);
    EXPECT_EQ(bra.operandValues[0], 0);

    for (int i : {2, 3}) {
        const ScriptCommand c = firstScriptCommand(wizard, i);
        EXPECT_EQ(c.cmdType, WdlTokenScript::UNDEFINED);
        EXPECT_EQ(c.operandItems[0], nullptr);
    }
}

TEST(ScriptValidator, SnsStoresScreenWithoutCountingIt)
{
    WizardFile file(firstScript({"SNS start"}));
    WdlWizard *wizard = file.open();
    WdlToken *start = wizard->screenModel()->itemById(QStringLiteral("start"));
    EXPECT_EQ(firstScriptCommand(wizard, 0).operandItems[0], start);
    EXPECT_EQ(start->referenceCount(), 0);
}

TEST(ScriptValidator, CsivPathIsRelativeToTheWdlFile)
{
    WizardFile file(firstScript({"EXIT"}));
    WdlWizard *wizard = file.open();
    auto *path = wizard->textModel()->byId<WdlTokenText>(QStringLiteral("path"));
    ASSERT_NE(path, nullptr);

    const IncludedFileMap files = wizard->getCSIVfileList();
    ASSERT_EQ(files.keys(), QList<quint16>{path->getIndex()});
    EXPECT_EQ(files.first().flashName, QStringLiteral("MOTOR"));
    // The backslash stays: the image builder turns it into a separator.
    EXPECT_EQ(files.first().filePath, QDir(file.directory()).absolutePath() + QStringLiteral("/files\\motor"));
}

TEST(ScriptValidator, CsivAbsolutePathIsKeptAndNameMayBeMissing)
{
    WizardFile file(QStringLiteral("FIRST_SCREEN_SCRIPT fs\n{\nCSIV flash path\n}\nT path \"/opt/motor.csiv\"\n"));
    WdlWizard *wizard = file.open();
    const IncludedFileMap files = wizard->getCSIVfileList();
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files.first().flashName, QString());
    EXPECT_EQ(files.first().filePath, QStringLiteral("/opt/motor.csiv"));
}

TEST(ScriptValidator, CsivEmptyPathTextGivesEmptyPath)
{
    WizardFile file(QStringLiteral("FIRST_SCREEN_SCRIPT fs\n{\nCSIV flash path\n}\nT flash \"MOTOR\"\nT path\n"));
    const IncludedFileMap files = file.open()->getCSIVfileList();
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files.first().filePath, QString());
}

TEST(ScriptValidator, CsivWithoutPathAddsNoFile)
{
    WizardFile file(QStringLiteral("FIRST_SCREEN_SCRIPT fs\n{\nCSIV flash\n}\nT flash \"MOTOR\"\n"));
    EXPECT_TRUE(file.open()->getCSIVfileList().isEmpty());
}

TEST(ScriptValidator, SecondRunAddsNoWarningsAndNoReferences)
{
    WizardFile file(firstScript({"BEQ a", "exit", "UNDEFINED", "CPY a[9] b", "CALL sub"}));
    WdlWizard *wizard = file.open();
    const int warnings = wizard->warningsModel()->count();
    ASSERT_GT(warnings, 0);
    WdlToken *a = wizard->parametersModel()->itemById(QStringLiteral("a"));
    WdlToken *sub = wizard->scriptModel()->itemById(QStringLiteral("sub"));
    const int aReferences = a->referenceCount();
    const int subReferences = sub->referenceCount();

    ASSERT_TRUE(QMetaObject::invokeMethod(wizard, "validateScripts"));

    EXPECT_EQ(wizard->warningsModel()->count(), warnings);
    EXPECT_EQ(a->referenceCount(), aReferences);
    EXPECT_EQ(sub->referenceCount(), subReferences);
}

TEST(ScriptValidator, CommandAddedLaterIsValidatedAlone)
{
    WizardFile file(firstScript({"EXIT"}));
    WdlWizard *wizard = file.open();
    auto *script = wizard->scriptModel()->byId<WdlTokenScript>(QStringLiteral("fs"));
    WdlToken *a = wizard->parametersModel()->itemById(QStringLiteral("a"));
    const int aReferences = a->referenceCount();

    ASSERT_TRUE(script->addCommand(QStringLiteral("CVP 1 a"), 40));
    wizard->validateScripts();

    EXPECT_TRUE(warningLines(wizard).isEmpty());
    EXPECT_EQ(a->referenceCount(), aReferences + 1);
    EXPECT_TRUE(script->validated());
}

} // namespace
