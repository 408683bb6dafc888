#include "items/wdltokenscript.h"

#include "core/enumkeys.h"

WdlTokenScript::WdlTokenScript()
    : WdlToken(QString()), m_scriptType(ScriptType_PRE)
{
}

WdlTokenScript::WdlTokenScript(const QString &id, int type)
    : WdlToken(id), m_scriptType(type)
{
}

QString WdlTokenScript::toString(bool) const { return QString(); }
QByteArray WdlTokenScript::toByteArray() const { return QByteArray(); }

bool WdlTokenScript::addCommand(const QString &line, int lineNumber)
{
    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > 4)
        return false;
    ScriptCommand c;
    c.mnemonic = words.at(0);
    for (int i = 1; i < words.size(); ++i)
        c.arguments[i - 1] = words.at(i);
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

QString WdlTokenScript::getScriptText() const { return QString(); }

QString WdlTokenScript::typeName(int type)
{
    Q_UNUSED(type);
    return QString();
}

int WdlTokenScript::commandType(const QString &mnemonic)
{
    return EnumKeys::of<CmdTypes>().value(mnemonic);
}
