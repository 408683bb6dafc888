#ifndef WDLC_WDLTOKENSCRIPT_H
#define WDLC_WDLTOKENSCRIPT_H

#include "items/scriptcommand.h"
#include "items/wdltoken.h"

#include <QList>
#include <QStringList>

#include <functional>

// A small program the panel runs at a fixed moment of the wizard. It is kept
// as commands in their source form; validation resolves their arguments and
// the record encodes the resolved commands.
class WdlTokenScript : public WdlToken
{
    Q_OBJECT
public:
    enum ScriptType {
        ScriptType_WS = 1,
        ScriptType_NSS = 2,
        ScriptType_PSS = 3,
        ScriptType_PRE = 4,
        ScriptType_SUBROUTINE = 5,
        ScriptType_FIRST = 6
    };
    Q_ENUM(ScriptType)

    // The script command set; a mnemonic is turned into its value by key.
    enum CmdTypes {
        UNDEFINED = 0,
        BRA,
        BEQ,
        BNE,
        BLT,
        BLE,
        BGT,
        BGE,
        ADD,
        SUB,
        MUL,
        DIV,
        CPY,
        LBL,
        SNS,
        EXIT,
        CVP,
        SCF,
        SAF,
        BOE,
        SEA,
        SQB,
        CPA,
        CPTA,
        CPFA,
        CALL,
        RET,
        CSIV,
        SETUP,
        BAND,
        BOR,
        BXOR,
        BRS,
        BLS,
        BNOT,
        SENSORLESSDATA,
        ENABLE_CHOICE,
        DISABLE_CHOICE,
        STOP_LOCK
    };
    Q_ENUM(CmdTypes)

    // An empty script of type PRE, as the editor gets for an unknown type.
    WdlTokenScript();
    WdlTokenScript(const QString &id, int type);

    QString toString(bool inScreen) const override;
    void writeRecord(LeWriter &w) const override;
    // Where a CSIV command's file offset goes: its file number (the path
    // text's number) and the offset in the writer of the field to patch.
    using CsivOperandNote = std::function<void(quint16 fileNumber, int offset)>;
    // As writeRecord, telling noteCsivOperand where each CSIV command that
    // names a file keeps its file's offset.
    void writeRecord(LeWriter &w, const CsivOperandNote &noteCsivOperand) const;

    // Parses one source line into a command and appends it. Refuses (false,
    // nothing added) an empty line or one of more than four words.
    bool addCommand(const QString &line, int lineNumber);
    // Replaces all commands by the lines of text; false at the first refused line.
    bool setScriptText(const QString &text);
    // A copy of command i; an empty command when i is out of range.
    ScriptCommand getCommand(int i) const;
    // Copies the resolved fields (type, operand items and values) into command i.
    void updateCommand(const ScriptCommand &resolved, int i);
    void setNextScreens(const QStringList &screens);
    // One line per command: the mnemonic and its arguments up to the first empty one.
    QString getScriptText() const;

    // Qualified, so that moc records the name the enum is registered under;
    // with the bare name an invokeMethod caller cannot match the return type.
    Q_INVOKABLE WdlTokenScript::ScriptType getScriptType() const { return ScriptType(m_scriptType); }
    Q_INVOKABLE QStringList getNextScreensFromScript() const { return m_nextScreens; }

    int scriptType() const { return m_scriptType; }
    int commandCount() const { return m_commands.size(); }
    bool validated() const { return m_validated; }
    void setValidated(bool validated) { m_validated = validated; }

    // "WS", "NSS", "PSS", "PRE_SCREEN_SCRIPT", "SUBROUTINE", "FIRST_SCREEN_SCRIPT",
    // or "NO_SCRIPT" for any other value.
    static QString typeName(int type);

private:
    QList<ScriptCommand> m_commands;
    QStringList m_nextScreens;
    int m_scriptType;
    bool m_validated = false;
};

#endif
