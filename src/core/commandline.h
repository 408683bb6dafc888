#ifndef WDLC_COMMANDLINE_H
#define WDLC_COMMANDLINE_H

#include <QStringList>

// The compiler's command line: `<wdl file> [<sas file>]`.
class CommandLine
{
public:
    // arguments: without the program name. Returns the exit status, always 0:
    // the drive toolchain reads the files, not the status.
    static int run(const QStringList &arguments);
    // Decodes the arguments as UTF-8, whatever the locale.
    static int run(int argc, char **argv);
    // The URL of the image for one or two arguments: the second argument, or
    // the first with ".sas" appended, ending in ".sas" (case-sensitive).
    static QString imageUrl(const QStringList &arguments);
};

#endif
