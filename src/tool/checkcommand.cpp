#include "tool/checkcommand.h"

#include "core/fileurl.h"
#include "core/warning.h"
#include "core/wdlwizard.h"
#include "tool/toolcommand.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

QString CheckCommand::usage()
{
    return QStringLiteral("Usage: wdltool check <wdl>...\n"
                          "\n"
                          "Opens each wizard as wdlc does and prints every warning as\n"
                          "FILE:LINE: warning: MESSAGE, then one summary line. A wizard that\n"
                          "opens cleanly but that wdlc would write no image for (no screens,\n"
                          "too much data) gets the reason as a warning. Writes no file.\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help  show this help\n"
                          "\n"
                          "Exit status: 0 without warnings, 1 when any warning stands, 2 for a usage error.\n");
}

QString CheckCommand::warningLine(const QString &openedPath, const Warning &warning)
{
    // The warning carries the top-level file without its directories, or an
    // included file as its INCLUDE line wrote it, relative to the top-level
    // file's directory: both resolve against that directory.
    QString file = openedPath;
    if (!warning.fileName().isEmpty())
        file = QDir::cleanPath(QDir(QFileInfo(openedPath).path()).filePath(warning.fileName()));
    return file + QLatin1Char(':') + QString::number(warning.lineNumber()) + QStringLiteral(": warning: ")
           + warning.text();
}

int CheckCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOption(help);
    if (!ToolCommand::parse(parser, arguments, usage(), err))
        return ToolCommand::UsageError;
    if (parser.isSet(help)) {
        out << usage();
        return ToolCommand::Ok;
    }
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return ToolCommand::usageError(QStringLiteral("check needs at least one WDL file"), usage(), err);

    WdlWizard *wizard = WdlWizard::instance();
    int warnings = 0;
    int filesWithWarnings = 0;
    for (const QString &file : files) {
        wizard->openWDLFile(FileUrl::fromLocalPath(file));
        const WarningsModel *list = wizard->warningsModel();
        for (int i = 0; i < list->count(); ++i)
            out << warningLine(file, *list->itemAt(i)) << '\n';
        int found = list->count();
        // A wizard that opens cleanly may still be one wdlc writes no image
        // for (no screens, too much data): a gate must not pass it.
        if (found == 0) {
            const QString refusal = wizard->imageRefusal();
            if (!refusal.isEmpty()) {
                out << warningLine(file, Warning(refusal, QString(), 0)) << '\n';
                ++found;
            }
        }
        warnings += found;
        if (found > 0)
            ++filesWithWarnings;
    }
    if (warnings == 0)
        out << "no warnings\n";
    else
        out << ToolCommand::counted(warnings, "warning", "warnings") << " in "
            << ToolCommand::counted(filesWithWarnings, "file", "files") << '\n';
    out.flush();
    return warnings > 0 ? ToolCommand::Failed : ToolCommand::Ok;
}
