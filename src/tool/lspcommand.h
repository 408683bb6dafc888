#ifndef WDLC_LSPCOMMAND_H
#define WDLC_LSPCOMMAND_H

#include <QString>
#include <QStringList>

class QTextStream;

// `wdltool lsp`: the language server on standard input and output, for
// editors that speak the Language Server Protocol. Runs until the client
// sends exit or closes the input.
class LspCommand
{
public:
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static QString usage();
};

#endif
