#include "tool/toolcommand.h"

#include "base/diagnostics.h"
#include "core/fileurl.h"
#include "core/inputfile.h"
#include "core/outputfile.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
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

QString ToolCommand::whyUnreadable(const QString &path)
{
    // The words of the system where they fit; the input limits of the build
    // have none.
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("No such file or directory");
    if (info.isDir())
        return QStringLiteral("Is a directory");
    if (!info.isFile())
        return QStringLiteral("not a regular file");
    if (info.size() > InputFile::kMaxSize)
        return QStringLiteral("larger than 256 MiB");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    return QString();
}

QString ToolCommand::cannotOpen(const QString &file, const QString &path)
{
    QString reason = whyUnreadable(path);
    if (reason.isEmpty())
        reason = QStringLiteral("it holds no wizard");
    return Diagnostics::text(Diagnostics::CannotOpen, {file, reason});
}

QString ToolCommand::spoken(const QString &shownFile, const QString &message)
{
    const QString &opening = Diagnostics::entry(Diagnostics::OpeningFailed).text;
    const int piece = opening.indexOf(QLatin1String("%1"));
    const QString before = opening.left(piece);
    const QString after = opening.mid(piece + 2);
    if (!message.startsWith(before) || !message.endsWith(after) || message.size() <= before.size() + after.size())
        return message;
    const QString url = message.mid(before.size(), message.size() - before.size() - after.size());
    return cannotOpen(shownFile, FileUrl::toLocalPath(url));
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
