#ifndef WDLC_CHECKCOMMAND_H
#define WDLC_CHECKCOMMAND_H

#include "tool/diagnostic.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

class QTextStream;
class Warning;

// `wdltool check [options] <wdl>...`: builds each wizard in memory as wdlc
// would and prints what stops wdlc as errors and what breaks or misleads on
// the drive as warnings, the way compilers print theirs, so that editors and
// CI can jump to them. Writes no file.
class CheckCommand
{
public:
    static int run(const QStringList &arguments, QTextStream &out, QTextStream &err);
    static QString usage();

    // The -W switches, applied left to right.
    struct Warnings
    {
        QSet<QString> enabled;
        bool asErrors = false;
    };
    // Applies one -W switch (the text after "-W"); false for one that names
    // no rule or switch.
    static bool applySwitch(const QString &name, Warnings *warnings);
    // Every rule is in the default set, which -Wall names.
    static QSet<QString> defaultRules();

    // "FILE:LINE: warning: MESSAGE", FILE resolved against the directory of
    // the opened wizard: how fmt lists the warnings that stop it.
    static QString warningLine(const QString &openedPath, const Warning &warning);

    // Sorted by file, then by line and column within each file; problems
    // found at the same place keep the order found.
    static void sort(QList<Diagnostic> &diagnostics);
};

#endif
