#include "tool/toolcommand.h"

#include <QCommandLineParser>
#include <QTextStream>

bool ToolCommand::parse(QCommandLineParser &parser, const QStringList &arguments, const QString &usage,
                        QTextStream &err)
{
    // The parser takes the first argument for the program's name.
    if (parser.parse(QStringList{QStringLiteral("wdltool")} + arguments))
        return true;
    usageError(parser.errorText(), usage, err);
    return false;
}

int ToolCommand::usageError(const QString &message, const QString &usage, QTextStream &err)
{
    err << "wdltool: " << message << "\n\n" << usage;
    err.flush();
    return UsageError;
}
