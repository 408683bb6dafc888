#ifndef WDLC_SCRIPTCOMMAND_H
#define WDLC_SCRIPTCOMMAND_H

#include <QMetaType>
#include <QString>
#include <QtGlobal>

class WdlToken;

// One script line: the words as written and, once the script has been
// validated, what they resolve to.
struct ScriptCommand
{
    QString mnemonic;
    QString arguments[3];
    // A WdlTokenScript::CmdTypes value; UNDEFINED (0) until validation.
    int cmdType = 0;
    // The item each argument names; null when it names none.
    WdlToken *operandItems[3] = {nullptr, nullptr, nullptr};
    // Numbers taken from the arguments; the copy commands keep their setup word in [2].
    qint32 operandValues[3] = {0, 0, 0};
    int lineNumber = 0;
    // Setups named in brackets in the last argument: setup n sets bit n - 1, "all" 0x0F.
    quint8 setupMask = 0;
};

Q_DECLARE_METATYPE(ScriptCommand)

#endif
