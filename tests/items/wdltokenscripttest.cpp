#include "items/wdltokenscript.h"

#include "items/wdltokentext.h"
#include "testhelpers.h"

#include <array>
#include <memory>

namespace {

struct ParseCase
{
    const char *name;
    const char *line;
    const char *mnemonic;
    std::array<const char *, 3> arguments;
    quint8 setupMask;
};

class WdlTokenScriptParse : public ::testing::TestWithParam<ParseCase>
{
};

TEST_P(WdlTokenScriptParse, SplitsAtBlanksAndReadsSetups)
{
    const ParseCase &c = GetParam();
    WdlTokenScript script(QStringLiteral("s"), WdlTokenScript::ScriptType_WS);
    ASSERT_TRUE(script.addCommand(QString::fromLatin1(c.line), 12));
    const ScriptCommand command = script.getCommand(0);
    EXPECT_EQ(command.mnemonic.toStdString(), c.mnemonic);
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(command.arguments[k].toStdString(), c.arguments[k]) << "argument " << k + 1;
    EXPECT_EQ(command.setupMask, c.setupMask);
    EXPECT_EQ(command.lineNumber, 12);
    EXPECT_EQ(command.cmdType, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WdlTokenScriptParse,
    ::testing::Values(
        ParseCase{"RepeatedBlanks", "  BEQ  P1 P2  7 ", "BEQ", {"P1", "P2", "7"}, 0},
        ParseCase{"NoArguments", "EXIT", "EXIT", {"", "", ""}, 0},
        // Only blanks separate words.
        ParseCase{"TabIsNoSeparator", "EXIT\t1", "EXIT\t1", {"", "", ""}, 0},
        ParseCase{"TargetSetups", "CPY A[2] B[1,3]", "CPY", {"A[2]", "B[1,3]", ""}, 0x05},
        ParseCase{"AllInAnyCase", "CPY A B[aLl]", "CPY", {"A", "B[aLl]", ""}, 0x0F},
        ParseCase{"SetupsUpToEight", "CPY A B[8,9,0,x]", "CPY", {"A", "B[8,9,0,x]", ""}, 0x80},
        // The mask is that of the last argument, brackets or not.
        ParseCase{"LastArgumentWithoutBrackets", "CPTA A B[1] C", "CPTA", {"A", "B[1]", "C"}, 0},
        ParseCase{"OnlyFirstArgumentBracketed", "CPY A[2]", "CPY", {"A[2]", "", ""}, 0x02}),
    [](const auto &info) { return std::string(info.param.name); });

// setScriptText with a trailing line feed therefore fails on the empty last piece.
TEST(WdlTokenScriptParse, RefusesEmptyLinesAndMoreThanFourWords)
{
    WdlTokenScript script(QStringLiteral("s"), WdlTokenScript::ScriptType_WS);
    EXPECT_FALSE(script.addCommand(QStringLiteral("   "), 2));
    EXPECT_FALSE(script.addCommand(QStringLiteral("ADD A B C D"), 3));
    EXPECT_EQ(script.commandCount(), 0);
    EXPECT_FALSE(script.setScriptText(QStringLiteral("SNS s2\nEXIT\n")));
    EXPECT_EQ(script.commandCount(), 2);
}

TEST(WdlTokenScriptText, ReplacesCommandsAndReadsBack)
{
    WdlTokenScript script(QStringLiteral("s"), WdlTokenScript::ScriptType_NSS);
    script.addCommand(QStringLiteral("RET"), 4);
    ASSERT_TRUE(script.setScriptText(QStringLiteral("BEQ  P1 P2 7\nCPY A[2] B[ALL]\nEXIT")));
    EXPECT_EQ(script.getScriptText().toStdString(), "BEQ P1 P2 7\nCPY A[2] B[ALL]\nEXIT\n");
    EXPECT_EQ(script.getCommand(0).lineNumber, 0);
    EXPECT_TRUE(script.getCommand(3).mnemonic.isEmpty());
}

// Operand items are given by number; -1 means the argument names no item.
struct CommandCase
{
    const char *name;
    const char *line;
    int cmdType;
    std::array<int, 3> items;
    std::array<qint32, 3> values;
    const char *command;
};

class WdlTokenScriptCommandRecord : public ::testing::TestWithParam<CommandCase>
{
};

// The record encodes what the validation stored; it resolves nothing itself.
TEST_P(WdlTokenScriptCommandRecord, EncodesResolvedFields)
{
    const CommandCase &c = GetParam();
    std::vector<std::unique_ptr<WdlToken>> operands;
    ScriptCommand resolved;
    resolved.cmdType = c.cmdType;
    for (int k = 0; k < 3; ++k) {
        resolved.operandValues[k] = c.values[k];
        if (c.items[k] < 0)
            continue;
        operands.push_back(std::make_unique<WdlToken>(QStringLiteral("item")));
        operands.back()->setItemNumber(quint16(c.items[k]));
        resolved.operandItems[k] = operands.back().get();
    }

    WdlTokenScript script(QStringLiteral("s"), WdlTokenScript::ScriptType_WS);
    script.setItemNumber(1);
    ASSERT_TRUE(script.addCommand(QString::fromLatin1(c.line), 1));
    script.updateCommand(resolved, 0);
    EXPECT_EQ(hexBytes(script.toByteArray()), std::string("09 01 00 09 00 01 01 ") + c.command);
}

constexpr std::array<int, 3> kNoItems{-1, -1, -1};
constexpr std::array<qint32, 3> kNoValues{0, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Encodings, WdlTokenScriptCommandRecord,
    ::testing::Values(
        CommandCase{"Exit", "EXIT", WdlTokenScript::EXIT, kNoItems, kNoValues, "0F FF FF FF FF FF FF"},
        CommandCase{"Undefined", "UNDEFINED", WdlTokenScript::UNDEFINED, kNoItems, kNoValues, "00 FF FF FF FF FF FF"},
        CommandCase{"BraFive", "BRA 5", WdlTokenScript::BRA, kNoItems, {5, 0, 0}, "01 05 00 FF FF FF FF"},
        CommandCase{"BraMinusOne", "BRA -1", WdlTokenScript::BRA, kNoItems, {-1, 0, 0}, "01 FF FF FF FF FF FF"},
        CommandCase{"Lbl", "LBL 3", WdlTokenScript::LBL, kNoItems, {3, 0, 0}, "0D 03 00 FF FF FF FF"},
        CommandCase{"SeaLow16Bits", "SEA 70000", WdlTokenScript::SEA, kNoItems, {70000, 0, 0}, "14 70 11 FF FF FF FF"},
        CommandCase{"Branch", "BEQ A B 7", WdlTokenScript::BEQ, {3, 4, -1}, {0, 0, 7}, "02 03 00 04 00 07 00"},
        CommandCase{"BranchMissingOperand", "BGE A X 7", WdlTokenScript::BGE, {3, -1, -1}, {0, 0, 7},
                    "07 03 00 FF FF 07 00"},
        CommandCase{"ItemsWithMissingThird", "ADD A B C", WdlTokenScript::ADD, {3, 4, -1}, kNoValues,
                    "08 03 00 04 00 FF FF"},
        CommandCase{"ItemsAllThree", "BXOR A B C", WdlTokenScript::BXOR, {3, 4, 5}, kNoValues, "1F 03 00 04 00 05 00"},
        CommandCase{"ScreenItem", "SNS s2", WdlTokenScript::SNS, {2, -1, -1}, kNoValues, "0E 02 00 FF FF FF FF"},
        CommandCase{"ValueItem", "CVP 100 A", WdlTokenScript::CVP, {-1, 3, -1}, {100, 0, 0}, "10 64 00 03 00 FF FF"},
        CommandCase{"TwoNumbers", "BOE 1 2", WdlTokenScript::BOE, kNoItems, {1, 2, 0}, "13 01 00 02 00 FF FF"},
        CommandCase{"ThreeNumbers", "SQB 1 2 -3", WdlTokenScript::SQB, kNoItems, {1, 2, -3}, "15 01 00 02 00 FD FF"},
        CommandCase{"CopyWithoutSetups", "CPY A B", WdlTokenScript::CPY, {3, 4, -1}, kNoValues, "0C 03 00 04 00 FF FF"},
        // Source setup 2 (bits 9-11) and all targets (bits 12-15).
        CommandCase{"CopySetupWordInC", "CPY A[2] B[ALL]", WdlTokenScript::CPY, {3, 4, -1}, {0, 0, 0xF400},
                    "0C 03 00 04 00 00 F4"},
        CommandCase{"CopyToArraySetupsOredIntoC", "CPTA A[1] B[2] C", WdlTokenScript::CPTA, {3, 4, 5},
                    {0, 0, 0x2200}, "17 03 00 04 00 05 22"},
        CommandCase{"CopyToArrayWithoutSetups", "CPTA A B C", WdlTokenScript::CPTA, {3, 4, 5}, kNoValues,
                    "17 03 00 04 00 05 00"},
        CommandCase{"CopyToArrayMissingThirdStaysFFFF", "CPTA A[1] B X", WdlTokenScript::CPTA, {3, 4, -1},
                    {0, 0, 0x0200}, "17 03 00 04 00 FF FF"},
        CommandCase{"CopyFromArraySetupsOredIntoB", "CPFA A B[1] C", WdlTokenScript::CPFA, {3, 4, 5},
                    {0, 0, 0x1000}, "18 03 00 04 10 05 00"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(WdlTokenScriptRecord, ItemFieldsUseTheReportedNumber)
{
    // The 247th text is number 251 in every record that names it.
    WdlTokenText fileName(QStringLiteral("flash"), QStringLiteral("drive.csiv"), false);
    fileName.setItemNumber(247);
    ScriptCommand resolved;
    resolved.cmdType = WdlTokenScript::CSIV;
    resolved.operandItems[0] = &fileName;

    WdlTokenScript script(QStringLiteral("s"), WdlTokenScript::ScriptType_FIRST);
    script.setItemNumber(2);
    script.addCommand(QStringLiteral("CSIV flash"), 1);
    script.updateCommand(resolved, 0);
    EXPECT_EQ(hexBytes(script.toByteArray()), "09 02 00 09 00 06 01 1B FB 00 FF FF FF FF");
}

TEST(WdlTokenScriptRecord, LengthAndCountFollowTheCommands)
{
    WdlTokenScript script;
    script.setItemNumber(3);
    EXPECT_EQ(hexBytes(script.toByteArray()), "09 03 00 02 00 04 00");

    ScriptCommand exit;
    exit.cmdType = WdlTokenScript::EXIT;
    ScriptCommand ret;
    ret.cmdType = WdlTokenScript::RET;
    script.addCommand(QStringLiteral("EXIT"), 1);
    script.addCommand(QStringLiteral("RET"), 2);
    script.updateCommand(exit, 0);
    script.updateCommand(ret, 1);
    script.updateCommand(exit, 2);
    EXPECT_EQ(hexBytes(script.toByteArray()),
              "09 03 00 10 00 04 02 0F FF FF FF FF FF FF 1A FF FF FF FF FF FF");
}

struct DumpCase
{
    const char *name;
    int type;
    int references;
    const char *inScreen;
    const char *topLevel;
};

class WdlTokenScriptDump : public ::testing::TestWithParam<DumpCase>
{
};

TEST_P(WdlTokenScriptDump, BodyGoesWhereTheScriptIsUsedOnce)
{
    const DumpCase &c = GetParam();
    WdlTokenScript script(QStringLiteral("s1"), c.type);
    script.addCommand(QStringLiteral("CPY A[2]   B[ALL]"), 1);
    script.addCommand(QStringLiteral("EXIT"), 2);
    for (int i = 0; i < c.references; ++i)
        script.addReference();
    EXPECT_EQ(script.toString(true).toStdString(), c.inScreen);
    EXPECT_EQ(script.toString(false).toStdString(), c.topLevel);
}

INSTANTIATE_TEST_SUITE_P(
    Uses, WdlTokenScriptDump,
    ::testing::Values(
        // A write script sits in a parameter block, which indents it once more.
        DumpCase{"WsUsedOnce", WdlTokenScript::ScriptType_WS, 1,
                 "   WS: s1\n      {\n         CPY A[2] B[ALL]\n         EXIT\n      }\n", ""},
        DumpCase{"WsUsedTwice", WdlTokenScript::ScriptType_WS, 2, "   WS: s1\n",
                 "WS: s1\n{\n   CPY A[2] B[ALL]\n   EXIT\n}\n\n"},
        DumpCase{"PssUsedOnce", WdlTokenScript::ScriptType_PSS, 1,
                 "   PSS: s1\n   {\n      CPY A[2] B[ALL]\n      EXIT\n   }\n", ""},
        DumpCase{"SubroutineCalledOnce", WdlTokenScript::ScriptType_SUBROUTINE, 1,
                 "   SUBROUTINE: s1\n   {\n      CPY A[2] B[ALL]\n      EXIT\n   }\n",
                 "SUBROUTINE: s1\n{\n   CPY A[2] B[ALL]\n   EXIT\n}\n\n"},
        DumpCase{"SubroutineNeverCalled", WdlTokenScript::ScriptType_SUBROUTINE, 0, "   SUBROUTINE: s1\n",
                 "SUBROUTINE: s1\n{\n   CPY A[2] B[ALL]\n   EXIT\n}\n\n"},
        DumpCase{"UnusedNssIsHeadOnly", WdlTokenScript::ScriptType_NSS, 0, "   NSS: s1\n", "NSS: s1\n"},
        DumpCase{"UnknownType", 9, 2, "   NO_SCRIPT: s1\n", "NO_SCRIPT: s1\n{\n   CPY A[2] B[ALL]\n   EXIT\n}\n\n"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(WdlTokenScriptTypes, NamesOfEveryType)
{
    const std::pair<int, const char *> names[] = {{0, "NO_SCRIPT"}, {1, "WS"}, {2, "NSS"}, {3, "PSS"},
                                                  {4, "PRE_SCREEN_SCRIPT"}, {5, "SUBROUTINE"},
                                                  {6, "FIRST_SCREEN_SCRIPT"}, {7, "NO_SCRIPT"}};
    for (const auto &n : names)
        EXPECT_EQ(WdlTokenScript::typeName(n.first).toStdString(), n.second) << n.first;
}

TEST(WdlTokenScriptTypes, ScriptTypeThroughTheMetaObject)
{
    WdlTokenScript script(QStringLiteral("sr"), WdlTokenScript::ScriptType_SUBROUTINE);
    EXPECT_EQ(metaCall<WdlTokenScript::ScriptType>(&script, "getScriptType"), WdlTokenScript::ScriptType_SUBROUTINE);
    // Mnemonics are keys, matched exactly.
    EXPECT_EQ(WdlTokenScript::commandType(QStringLiteral("STOP_LOCK")), 38);
    EXPECT_EQ(WdlTokenScript::commandType(QStringLiteral("exit")), -1);
}

} // namespace
