#ifndef WDLC_DIAGNOSTIC_H
#define WDLC_DIAGNOSTIC_H

#include <QString>

// One problem as the tools show it, in a file named as the user can open it.
struct Diagnostic
{
    enum Level { Error, Warning };

    // The path as given on the command line, or resolved against it.
    QString file;
    // 0 for the wizard or the file as a whole.
    int line = 0;
    // Counted from 1; 0 when the line is all that is known.
    int column = 0;
    Level level = Error;
    // The -W name of the rule that found it; empty for a problem that makes
    // wdlc refuse the image. An error with a rule is a warning that -Werror
    // turned into one.
    QString rule;
    QString message;
};

#endif
