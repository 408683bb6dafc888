#ifndef WDLC_WDLTOOL_H
#define WDLC_WDLTOOL_H

#include <QString>
#include <QStringList>

class QTextStream;

// wdltool, the compiler's companion for drive engineers: `wdltool <command>
// [options] [arguments]`. Unlike wdlc it talks: diagnostics, image dumps and
// flow graphs, with exit statuses that say how it went.
class WdlTool
{
public:
    // arguments: without the program name. Returns the exit status.
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    // Decodes the arguments as UTF-8 and writes UTF-8 to stdout and stderr.
    static int run(int argc, char **argv);

    static QString usage();
    static QString version();
};

#endif
