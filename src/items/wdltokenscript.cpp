#include "items/wdltokenscript.h"

#include "base/lewriter.h"
#include "base/saslayout.h"
#include "items/scriptcommandtable.h"

#include <bitset>

namespace {

const QString kInd = QStringLiteral("   ");
const QString kInd2 = QStringLiteral("      ");

using SasLayout::kNoItem;
constexpr quint8 kAllSetups = (1u << SasLayout::kSetupCount) - 1;

quint16 itemField(const ScriptCommand &c, int k)
{
    return c.operandItems[k] ? c.operandItems[k]->getIndex() : kNoItem;
}

// Numbers keep their low 16 bits, so -1 is FF FF.
quint16 numberField(const ScriptCommand &c, int k)
{
    return quint16(c.operandValues[k]);
}

quint16 field(const ScriptCommand &c, const ScriptCommandTable::Row &row, int k)
{
    if (ScriptCommandTable::isNumber(row.operands[k]))
        return numberField(c, k);
    return ScriptCommandTable::namesItem(row.operands[k]) ? itemField(c, k) : kNoItem;
}

// The setups named in the brackets of one argument: "[1,3]" sets bits 0 and
// 2, any spelling of "all" the four setups the panel has.
quint8 setupMaskOf(const QString &argument)
{
    const int open = argument.lastIndexOf(QLatin1Char('['));
    if (open < 0)
        return 0;
    QString inside = argument.mid(open + 1);
    inside.chop(1);
    if (inside.contains(QLatin1String("all"), Qt::CaseInsensitive))
        return kAllSetups;
    std::bitset<8> setups;
    for (const QString &piece : inside.split(QLatin1Char(','))) {
        bool ok = false;
        const int n = piece.toInt(&ok, 10);
        if (ok && n >= 1 && n <= 8)
            setups.set(std::size_t(n - 1));
    }
    return quint8(setups.to_ulong());
}

// The mnemonic and each argument after one blank, up to the first empty one.
QString commandLine(const ScriptCommand &c)
{
    QString out = c.mnemonic;
    for (const QString &argument : c.arguments) {
        if (argument.isEmpty())
            break;
        out += QLatin1Char(' ') + argument;
    }
    return out;
}

} // namespace

WdlTokenScript::WdlTokenScript() : WdlToken(QString()), m_scriptType(ScriptType_PRE) {}

WdlTokenScript::WdlTokenScript(const QString &id, int type) : WdlToken(id), m_scriptType(type) {}

bool WdlTokenScript::addCommand(const QString &line, int lineNumber)
{
    // Only blanks separate words: a tab stays part of its word.
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > 4)
        return false;
    ScriptCommand c;
    c.mnemonic = words.at(0);
    for (int i = 1; i < words.size(); ++i) {
        c.arguments[i - 1] = words.at(i);
        c.setupMask = setupMaskOf(words.at(i));
    }
    c.lineNumber = lineNumber;
    m_commands.append(c);
    m_validated = false;
    return true;
}

bool WdlTokenScript::setScriptText(const QString &text)
{
    m_commands.clear();
    for (const QString &piece : text.split(QLatin1Char('\n'))) {
        if (!addCommand(piece, 0))
            return false;
    }
    return true;
}

ScriptCommand WdlTokenScript::getCommand(int i) const
{
    return i >= 0 && i < m_commands.size() ? m_commands.at(i) : ScriptCommand();
}

void WdlTokenScript::updateCommand(const ScriptCommand &resolved, int i)
{
    if (i < 0 || i >= m_commands.size())
        return;
    ScriptCommand &c = m_commands[i];
    c.cmdType = resolved.cmdType;
    for (int k = 0; k < 3; ++k) {
        c.operandItems[k] = resolved.operandItems[k];
        c.operandValues[k] = resolved.operandValues[k];
    }
}

void WdlTokenScript::setNextScreens(const QStringList &screens)
{
    m_nextScreens += screens;
}

QString WdlTokenScript::getScriptText() const
{
    QString out;
    for (const ScriptCommand &c : m_commands)
        out += commandLine(c) + QLatin1Char('\n');
    return out;
}

QString WdlTokenScript::typeName(int type)
{
    switch (type) {
    case ScriptType_WS:
        return QStringLiteral("WS");
    case ScriptType_NSS:
        return QStringLiteral("NSS");
    case ScriptType_PSS:
        return QStringLiteral("PSS");
    case ScriptType_PRE:
        return QStringLiteral("PRE_SCREEN_SCRIPT");
    case ScriptType_SUBROUTINE:
        return QStringLiteral("SUBROUTINE");
    case ScriptType_FIRST:
        return QStringLiteral("FIRST_SCREEN_SCRIPT");
    default:
        return QStringLiteral("NO_SCRIPT");
    }
}

// A script used by exactly one item is written inside that item; any other
// is written at top level, and where it is used only its head line names it.
// A subroutine is called, never placed, so it always gets its body at top level.
QString WdlTokenScript::toString(bool inScreen) const
{
    const bool subroutine = m_scriptType == ScriptType_SUBROUTINE;
    const int uses = referenceCount();
    if (!inScreen && uses == 1 && !subroutine)
        return QString();

    QString out = (inScreen ? kInd : QString()) + typeName(m_scriptType) + QStringLiteral(": ") + id()
                  + QLatin1Char('\n');
    const bool withBody = inScreen ? uses == 1 : (uses >= 2 || subroutine);
    if (!withBody)
        return out;

    // A write script sits one level deeper: its parameter's block is already
    // indented inside the screen.
    QString lead;
    if (inScreen)
        lead = m_scriptType == ScriptType_WS ? kInd2 : kInd;
    out += lead + QStringLiteral("{\n");
    for (const ScriptCommand &c : m_commands)
        out += lead + kInd + commandLine(c) + QLatin1Char('\n');
    out += lead + QStringLiteral("}\n");
    if (!inScreen)
        out += QLatin1Char('\n');
    return out;
}

// | offset | size | field                                        |
// |      0 |    5 | header: type 9, item number, payload length  |
// |      5 |    1 | script type (low 8 bits)                     |
// |      6 |    1 | number of commands n (low 8 bits)            |
// | 7 + 7i |    7 | command i: code (1), then A, B, C (2 each)   |
//
// A, B, C hold the arguments as the command's row in ScriptCommandTable says:
// an item is its number, 0xFFFF when none; a number its low 16 bits.
//
// A copy command's setup word S (operandValues[2], source setup in bits 9-11,
// target setups in bits 12-15) shares a field when it is not 0 (the row's
// setupField): it is C for CPY, is OR-ed into C for CPTA and into B for CPFA.
// An operand sharing its field with S must therefore have an item number below
// 512. A missing operand stays 0xFFFF whatever S holds: the validation has
// reported it already.
void WdlTokenScript::writeRecord(LeWriter &w) const
{
    writeRecord(w, CsivOperandNote());
}

void WdlTokenScript::writeRecord(LeWriter &w, const CsivOperandNote &noteCsivOperand) const
{
    w.beginRecord(SasLayout::ScriptRecord, getIndex());
    w.u8(quint8(m_scriptType), "script type");
    w.u8(quint8(m_commands.size()), "command count");
    for (const ScriptCommand &c : m_commands) {
        const ScriptCommandTable::Row row = ScriptCommandTable::row(c.cmdType);
        quint16 fields[3] = {field(c, row, 0), field(c, row, 1), field(c, row, 2)};
        const qint32 setupWord = c.operandValues[2];
        if (row.encoding == ScriptCommandTable::Encoding::CopyWithSetups && setupWord > 0) {
            quint16 &shared = fields[row.setupField];
            if (row.operands[row.setupField] == ScriptCommandTable::Operand::None)
                shared = quint16(setupWord);
            else
                shared |= quint16(setupWord);
        }
        const quint16 a = fields[0];
        const quint16 b = fields[1];
        const quint16 cField = fields[2];
        // B names the file until the files are embedded; a command without a
        // path names none.
        if (row.encoding == ScriptCommandTable::Encoding::CsivFile && noteCsivOperand && b != kNoItem)
            noteCsivOperand(b, w.size() + SasLayout::kCsivFileOffsetAt);
        w.u8(quint8(c.cmdType), "command");
        w.u16(a, "A");
        w.u16(b, "B");
        w.u16(cField, "C");
    }
    w.endRecord();
}
