#include "tool/toolcommand.h"

#include "core/outputfile.h"

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

int ToolCommand::parseOneFile(QCommandLineParser &parser, const QStringList &arguments, const QString &usage,
                              const QString &fileMissing, QTextStream &out, QTextStream &err, QString *file)
{
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    if (!parse(parser, arguments, usage, err))
        return UsageError;
    if (parser.isSet(help)) {
        out << usage;
        return Ok;
    }
    if (parser.positionalArguments().size() != 1)
        return usageError(fileMissing, usage, err);
    *file = parser.positionalArguments().first();
    return Proceed;
}

QString ToolCommand::counted(int n, const char *singular, const char *plural)
{
    return QString::number(n) + QLatin1Char(' ') + QLatin1String(n == 1 ? singular : plural);
}

int ToolCommand::deliver(const char *command, const QString &path, const QString &result, QTextStream &out,
                         QTextStream &err, const BuildInputs *inputs)
{
    return deliver(command, path, result.toUtf8(), out, err, inputs);
}

int ToolCommand::deliver(const char *command, const QString &path, const QByteArray &result, QTextStream &out,
                         QTextStream &err, const BuildInputs *inputs)
{
    if (path.isEmpty() || path == QLatin1String("-")) {
        out << QString::fromUtf8(result);
        out.flush();
        return Ok;
    }
    QString error;
    if (!OutputFile::write(path, result, &error, inputs, OutputFile::WriteDevicesDirectly)) {
        err << "wdltool " << command << ": cannot write " << path << ": " << error << '\n';
        err.flush();
        return Failed;
    }
    return Ok;
}
