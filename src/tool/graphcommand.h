#ifndef WDLC_GRAPHCOMMAND_H
#define WDLC_GRAPHCOMMAND_H

#include <QString>
#include <QStringList>

class QTextStream;
class WdlWizard;

// `wdltool graph <wdl> [-o OUT]`: the screen flow of a wizard as a Graphviz
// DOT graph, for `dot -Tsvg`.
class GraphCommand
{
public:
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static QString usage();

    // The DOT text of the wizard that is open: one node per screen, the first
    // marked as the entry; solid edges for NS, dashed ones labelled with the
    // script for the screens an NSS script can lead to; screens that cannot
    // be reached from the entry in red.
    static QString dot(WdlWizard *wizard, const QString &graphName);
};

#endif
