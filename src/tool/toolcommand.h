#ifndef WDLC_TOOLCOMMAND_H
#define WDLC_TOOLCOMMAND_H

#include <QString>
#include <QStringList>

class QCommandLineParser;
class QTextStream;

// What wdltool's subcommands share: their exit statuses and the handling of
// a command line that cannot be used.
class ToolCommand
{
public:
    enum Status {
        Ok = 0,
        // Warnings stand, the image is damaged, or a file cannot be used.
        Failed = 1,
        UsageError = 2
    };

    // Parses arguments (those after the subcommand's name). On an unknown
    // option or a missing value it prints the parser's message and the usage
    // to err and returns false.
    static bool parse(QCommandLineParser &parser, const QStringList &arguments, const QString &usage,
                      QTextStream &err);
    // Prints "wdltool: " + message and the usage to err; returns UsageError.
    static int usageError(const QString &message, const QString &usage, QTextStream &err);
};

#endif
