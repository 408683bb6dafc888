#ifndef WDLC_CHECKCOMMAND_H
#define WDLC_CHECKCOMMAND_H

#include <QString>
#include <QStringList>

class QTextStream;
class Warning;

// `wdltool check <wdl>...`: opens each wizard as wdlc does and prints its
// warnings the way compilers print theirs, so that editors and CI can jump to
// them. Writes no file.
class CheckCommand
{
public:
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static QString usage();

    // "FILE:LINE: warning: MESSAGE"; FILE is the warning's file resolved
    // against the directory of the opened wizard, and ":LINE" is left out for
    // line 0, a warning about the wizard as a whole.
    static QString warningLine(const QString &openedPath, const Warning &warning);
};

#endif
