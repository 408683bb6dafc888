#include "items/wdltokenscript.h"

#include "base/lewriter.h"
#include "items/wdltokentext.h"
#include "support/testsupport.h"

#include <memory>

namespace {

// Mnemonic and arguments joined by '|', then the setup mask.
std::string parsed(const char *line)
{
    WdlTokenScript script(QStringLiteral("s"), WdlTokenScript::ScriptType_WS);
    if (!script.addCommand(QString::fromLatin1(line), 12))
        return "refused";
    const ScriptCommand c = script.getCommand(0);
    EXPECT_EQ(c.lineNumber, 12);
    return QStringList{c.mnemonic, c.arguments[0], c.arguments[1], c.arguments[2]}.join('|').toStdString() + " "
           + std::to_string(c.setupMask);
}

TEST(WdlTokenScriptParse, SplitsAtBlanksAndReadsTheSetupsOfTheLastArgument)
{
    EXPECT_EQ(parsed("  BEQ  P1 P2  7 "), "BEQ|P1|P2|7 0");
    EXPECT_EQ(parsed("EXIT\t1"), "EXIT\t1||| 0") << "only blanks separate words";
    EXPECT_EQ(parsed("CPY A[2] B[1,3]"), "CPY|A[2]|B[1,3]| 5");
    EXPECT_EQ(parsed("CPY A B[aLl]"), "CPY|A|B[aLl]| 15");
    EXPECT_EQ(parsed("CPY A B[8,9,0,x]"), "CPY|A|B[8,9,0,x]| 128");
    EXPECT_EQ(parsed("CPTA A B[1] C"), "CPTA|A|B[1]|C 0");
    EXPECT_EQ(parsed("CPY A[2]"), "CPY|A[2]|| 2");
    EXPECT_EQ(parsed("   "), "refused");
    EXPECT_EQ(parsed("ADD A B C D"), "refused");
}

// So setScriptText with a trailing line feed fails on the empty last piece.
TEST(WdlTokenScriptParse, ScriptTextReplacesTheCommandsUpToAFailingLine)
{
    WdlTokenScript script(QStringLiteral("s"), WdlTokenScript::ScriptType_WS);
    EXPECT_FALSE(script.setScriptText(QStringLiteral("SNS s2\nEXIT\n")));
    EXPECT_EQ(script.commandCount(), 2);
    ASSERT_TRUE(script.setScriptText(QStringLiteral("BEQ  P1 P2 7\nCPY A[2] B[ALL]")));
    EXPECT_EQ(script.getScriptText().toStdString(), "BEQ P1 P2 7\nCPY A[2] B[ALL]\n");
}

// The command of script 1 (type WS) as validation resolved it: items by
// number (-1: none) and values. The record resolves nothing itself.
std::string command(const char *line, int type, std::array<int, 3> items, std::array<qint32, 3> values)
{
    std::vector<std::unique_ptr<WdlToken>> operands;
    ScriptCommand resolved;
    resolved.cmdType = type;
    for (int k = 0; k < 3; ++k) {
        resolved.operandValues[k] = values[k];
        if (items[k] >= 0) {
            operands.push_back(std::make_unique<WdlToken>(QStringLiteral("item")));
            operands.back()->setItemNumber(quint16(items[k]));
            resolved.operandItems[k] = operands.back().get();
        }
    }
    WdlTokenScript script(QStringLiteral("s"), WdlTokenScript::ScriptType_WS);
    script.setItemNumber(1);
    script.addCommand(QString::fromLatin1(line), 1);
    script.updateCommand(resolved, 0);
    const std::string record = hex(script.toByteArray());
    EXPECT_EQ(record.substr(0, 21), "09 01 00 09 00 01 01 ");
    return record.substr(21);
}

TEST(WdlTokenScriptRecord, EncodesEachCommandKind)
{
    using S = WdlTokenScript;
    EXPECT_EQ(command("EXIT", S::EXIT, {-1, -1, -1}, {0, 0, 0}), "0F FF FF FF FF FF FF");
    EXPECT_EQ(command("BRA 5", S::BRA, {-1, -1, -1}, {5, 0, 0}), "01 05 00 FF FF FF FF");
    EXPECT_EQ(command("BEQ A B 7", S::BEQ, {3, 4, -1}, {0, 0, 7}), "02 03 00 04 00 07 00");
    EXPECT_EQ(command("BGE A X 7", S::BGE, {3, -1, -1}, {0, 0, 7}), "07 03 00 FF FF 07 00");
    EXPECT_EQ(command("CVP 100 A", S::CVP, {-1, 3, -1}, {100, 0, 0}), "10 64 00 03 00 FF FF");
    EXPECT_EQ(command("SQB 1 2 -3", S::SQB, {-1, -1, -1}, {1, 2, -3}), "15 01 00 02 00 FD FF");
    // Source setup 2 (bits 9-11) and all targets (bits 12-15).
    EXPECT_EQ(command("CPY A[2] B[ALL]", S::CPY, {3, 4, -1}, {0, 0, 0xF400}), "0C 03 00 04 00 00 F4");
    // CPTA ORs the setups into C, CPFA into B; C without an item stays FF FF.
    EXPECT_EQ(command("CPTA A[1] B[2] C", S::CPTA, {3, 4, 5}, {0, 0, 0x2200}), "17 03 00 04 00 05 22");
    EXPECT_EQ(command("CPTA A[1] B X", S::CPTA, {3, 4, -1}, {0, 0, 0x0200}), "17 03 00 04 00 FF FF");
    EXPECT_EQ(command("CPFA A B[1] C", S::CPFA, {3, 4, 5}, {0, 0, 0x1000}), "18 03 00 04 10 05 00");
}

// The 247th text is number 251 in every record that names it.
TEST(WdlTokenScriptRecord, LengthCountAndItemNumbersFollowTheCommands)
{
    WdlTokenText fileName(QStringLiteral("flash"), QStringLiteral("drive.csiv"), false);
    fileName.setItemNumber(247);
    ScriptCommand csiv;
    csiv.cmdType = WdlTokenScript::CSIV;
    csiv.operandItems[0] = &fileName;
    WdlTokenScript script(QStringLiteral("s"), WdlTokenScript::ScriptType_FIRST);
    script.setItemNumber(2);
    for (int i = 0; i < 2; ++i) {
        script.addCommand(QStringLiteral("CSIV flash"), 1);
        script.updateCommand(csiv, i);
    }
    EXPECT_EQ(hex(script.toByteArray()), "09 02 00 10 00 06 02 1B FB 00 FF FF FF FF 1B FB 00 FF FF FF FF");
}

// Written into an image at offset 100: the file offset of a CSIV command that
// names a path goes at byte 3 of the command, and only such commands are noted.
TEST(WdlTokenScriptRecord, NotesWhereEachCsivFileOffsetGoes)
{
    WdlTokenText flash(QStringLiteral("flash"), QStringLiteral("CURVE"), false);
    WdlTokenText path(QStringLiteral("path"), QStringLiteral("curve.csiv"), false);
    flash.setItemNumber(1);
    path.setItemNumber(3);
    ScriptCommand withPath;
    withPath.cmdType = WdlTokenScript::CSIV;
    withPath.operandItems[0] = &flash;
    withPath.operandItems[1] = &path;
    ScriptCommand withoutPath = withPath;
    withoutPath.operandItems[1] = nullptr;
    ScriptCommand copy;
    copy.cmdType = WdlTokenScript::CPY;
    copy.operandItems[0] = &path;
    copy.operandItems[1] = &path;
    WdlTokenScript script(QStringLiteral("s"), WdlTokenScript::ScriptType_PRE);
    const ScriptCommand commands[] = {withPath, copy, withoutPath, withPath};
    for (int i = 0; i < 4; ++i) {
        script.addCommand(QStringLiteral("CSIV flash path"), 1);
        script.updateCommand(commands[i], i);
    }
    LeWriter image;
    image.zeros(100);
    QList<QPair<int, int>> noted;
    script.writeRecord(image, [&](quint16 file, int at) { noted.append({file, at}); });
    EXPECT_EQ(noted, (QList<QPair<int, int>>{{3, 110}, {3, 131}}));
    EXPECT_EQ(hex(image.data().mid(107, 7)), "1B 01 00 03 00 FF FF") << "the path's number until the file is placed";
}

// In a screen and at top level, "|" between.
std::string dump(int type, int references)
{
    WdlTokenScript script(QStringLiteral("s1"), type);
    script.addCommand(QStringLiteral("CPY A[2]   B[ALL]"), 1);
    script.addCommand(QStringLiteral("EXIT"), 2);
    for (int i = 0; i < references; ++i)
        script.addReference();
    return script.toString(true).toStdString() + "|" + script.toString(false).toStdString();
}

TEST(WdlTokenScriptDump, BodyGoesWhereTheScriptIsUsedOnce)
{
    using S = WdlTokenScript;
    // A write script sits in a parameter block, which indents it once more.
    EXPECT_EQ(dump(S::ScriptType_WS, 1), "   WS: s1\n      {\n         CPY A[2] B[ALL]\n         EXIT\n      }\n|");
    EXPECT_EQ(dump(S::ScriptType_WS, 2), "   WS: s1\n|WS: s1\n{\n   CPY A[2] B[ALL]\n   EXIT\n}\n\n");
    EXPECT_EQ(dump(S::ScriptType_PSS, 1), "   PSS: s1\n   {\n      CPY A[2] B[ALL]\n      EXIT\n   }\n|");
    EXPECT_EQ(dump(S::ScriptType_SUBROUTINE, 1), "   SUBROUTINE: s1\n   {\n      CPY A[2] B[ALL]\n      EXIT\n   }\n"
                                                 "|SUBROUTINE: s1\n{\n   CPY A[2] B[ALL]\n   EXIT\n}\n\n");
    EXPECT_EQ(dump(S::ScriptType_NSS, 0), "   NSS: s1\n|NSS: s1\n") << "an unused NSS is its head alone";
}

} // namespace
