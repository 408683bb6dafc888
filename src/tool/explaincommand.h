#ifndef WDLC_EXPLAINCOMMAND_H
#define WDLC_EXPLAINCOMMAND_H

#include <QString>
#include <QStringList>

class QTextStream;

// `wdltool explain <message or rule>`: what a message of wdlc or of `wdltool
// check` means and how to fix it, or what a rule of check finds, as
// docs/diagnostics.md says. A line of check's output can be pasted whole.
class ExplainCommand
{
public:
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static QString usage();
};

#endif
