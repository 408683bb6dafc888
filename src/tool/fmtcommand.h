#ifndef WDLC_FMTCOMMAND_H
#define WDLC_FMTCOMMAND_H

#include <QString>
#include <QStringList>

class QTextStream;
class WdlWizard;

// `wdltool fmt <wdl>...`: lays wizards out in one layout and keeps all their
// authors wrote (comments, INCLUDE lines, order), so that a team can format
// its sources in place and check the layout in CI. Proves each result on a
// build of both versions before it writes. `--canonical` writes a wizard in
// the editor's canonical form instead, its included files inlined.
class FmtCommand
{
public:
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static QString usage();

    // The canonical text of the wizard that is open (--canonical).
    static QString text(WdlWizard *wizard);
};

#endif
