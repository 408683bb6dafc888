#ifndef WDLC_FMTCOMMAND_H
#define WDLC_FMTCOMMAND_H

#include <QString>
#include <QStringList>

class QTextStream;
class WdlWizard;

// `wdltool fmt <wdl> [-o OUT]`: writes a wizard back in one canonical form,
// its included files inlined, so that a team keeps its wizards tidy and its
// diffs small. Refuses a wizard with warnings.
class FmtCommand
{
public:
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static QString usage();

    // The canonical text of the wizard that is open.
    static QString text(WdlWizard *wizard);
};

#endif
