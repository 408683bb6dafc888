#ifndef WDLC_TOOLCOMMAND_H
#define WDLC_TOOLCOMMAND_H

#include <QString>
#include <QStringList>

class BuildInputs;
class QCommandLineParser;
class QTextStream;

// What wdltool's subcommands share: their exit statuses and the handling of
// a command line that cannot be used.
class ToolCommand
{
public:
    enum Status {
        // Not an exit status: the command line is fine, the command goes on.
        Proceed = -1,
        Ok = 0,
        // Warnings stand, the image is damaged, or a file cannot be used.
        Failed = 1,
        UsageError = 2
    };

    // Parses arguments (those after the subcommand's name). On an unknown
    // option or a missing value it prints the parser's message and the usage
    // to err and returns false.
    static bool parse(QCommandLineParser &parser, const QStringList &arguments, const QString &usage, QTextStream &err);
    // For subcommands that take one file: adds -h/--help to the parser's
    // options, parses, and stores the file. Returns Proceed, or the status to
    // exit with after printing the help or a usage error.
    static int parseOneFile(QCommandLineParser &parser, const QStringList &arguments, const QString &usage,
                            const QString &fileMissing, QTextStream &out, QTextStream &err, QString *file);
    // Prints "wdltool: " + message and the usage to err; returns UsageError.
    static int usageError(const QString &message, const QString &usage, QTextStream &err);

    // "1 warning", "2 warnings".
    static QString counted(int n, const char *singular, const char *plural);
    // Writes a command's result to out when path is empty or "-", else to
    // the file path, whole or not at all (a device such as /dev/null is
    // written directly, never replaced), and never over one of inputs. On
    // failure prints "wdltool <command>: cannot write <path>: <reason>" to
    // err and returns Failed.
    static int deliver(const char *command, const QString &path, const QString &result, QTextStream &out,
                       QTextStream &err, const BuildInputs *inputs = nullptr);
    // The same for bytes, which a file gets exactly as they are.
    static int deliver(const char *command, const QString &path, const QByteArray &result, QTextStream &out,
                       QTextStream &err, const BuildInputs *inputs = nullptr);
};

#endif
