#include "tool/checkcommand.h"

#include "core/warning.h"
#include "tool/diagnosticcollector.h"
#include "tool/diagnosticformats.h"
#include "tool/toolcommand.h"
#include "validation/lintrules.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>

namespace {

const QString kSwitch = QStringLiteral("-W");
const QString kNegation = QStringLiteral("no-");

QString ruleList()
{
    QString out;
    for (const LintRules::Rule &rule : LintRules::rules())
        out += QStringLiteral("  -W") + rule.name.leftJustified(22) + rule.summary + QLatin1Char('\n');
    return out;
}

} // namespace

QString CheckCommand::usage()
{
    return QStringLiteral("Usage: wdltool check [options] <wdl>...\n"
                          "\n"
                          "Builds each wizard in memory as wdlc does, writing no file, and prints\n"
                          "FILE:LINE:COLUMN: error|warning: MESSAGE [-Wrule], sorted by file and line,\n"
                          "then one summary line (the column only where it is known). Errors are the\n"
                          "problems for which wdlc writes no image, or an image whose CSIV files are\n"
                          "missing. Warnings are what wdlc accepts but what breaks or misleads on the\n"
                          "drive, each found by a rule. Every rule is on unless -Wno-<rule> turns it\n"
                          "off; -W<rule> turns it on again.\n"
                          "\n"
                          "Rules:\n")
           + ruleList()
           + QStringLiteral("\n"
                            "Options:\n"
                            "  -Wall                   turn on the default set: every rule\n"
                            "  -Wno-all                turn every rule off\n"
                            "  -Werror                 make every warning an error\n"
                            "  -Wno-error              leave warnings warnings\n"
                            "  --format <FORMAT>       text (the default), json, or sarif (SARIF 2.1.0)\n"
                            "  -h, --help              show this help\n"
                            "\n"
                            "Exit status: 0 when no error stands, 1 when one does (with -Werror, also\n"
                            "when a warning does), 2 for a usage error.\n");
}

QSet<QString> CheckCommand::defaultRules()
{
    QSet<QString> all;
    for (const LintRules::Rule &rule : LintRules::rules())
        all.insert(rule.name);
    return all;
}

bool CheckCommand::applySwitch(const QString &name, Warnings *warnings)
{
    if (name == QLatin1String("all") || name == QLatin1String("no-all")) {
        warnings->enabled = name == QLatin1String("all") ? warnings->enabled + defaultRules() : QSet<QString>();
        return true;
    }
    if (name == QLatin1String("error") || name == QLatin1String("no-error")) {
        warnings->asErrors = name == QLatin1String("error");
        return true;
    }
    const bool off = name.startsWith(kNegation);
    const QString rule = off ? name.mid(kNegation.size()) : name;
    if (!LintRules::isRule(rule))
        return false;
    if (off)
        warnings->enabled.remove(rule);
    else
        warnings->enabled.insert(rule);
    return true;
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
           + ToolCommand::spoken(file, warning.text());
}

void CheckCommand::sort(QList<Diagnostic> &diagnostics)
{
    std::stable_sort(diagnostics.begin(), diagnostics.end(), [](const Diagnostic &a, const Diagnostic &b) {
        if (a.file != b.file)
            return a.file.toUtf8() < b.file.toUtf8();
        if (a.line != b.line)
            return a.line < b.line;
        return a.column < b.column;
    });
}

int CheckCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    // The -W switches are a compiler's, not options the parser knows: a
    // single dash before a long name.
    Warnings warnings{defaultRules(), false};
    QStringList rest;
    for (const QString &argument : arguments) {
        if (!argument.startsWith(kSwitch)) {
            rest.append(argument);
        } else if (!applySwitch(argument.mid(kSwitch.size()), &warnings)) {
            return ToolCommand::usageError(QStringLiteral("unknown warning switch ") + argument, usage(), err);
        }
    }

    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption format(QStringLiteral("format"), QString(), QStringLiteral("FORMAT"),
                                    QStringLiteral("text"));
    parser.addOption(help);
    parser.addOption(format);
    if (!ToolCommand::parse(parser, rest, usage(), err))
        return ToolCommand::UsageError;
    if (parser.isSet(help)) {
        out << usage();
        return ToolCommand::Ok;
    }
    const QString formatName = parser.value(format);
    if (formatName != QLatin1String("text") && formatName != QLatin1String("json")
        && formatName != QLatin1String("sarif"))
        return ToolCommand::usageError(QStringLiteral("unknown format ") + formatName, usage(), err);
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return ToolCommand::usageError(QStringLiteral("check needs at least one WDL file"), usage(), err);

    const DiagnosticCollector collector(warnings.enabled);
    QList<Diagnostic> all;
    int wizardsWithProblems = 0;
    for (const QString &file : files) {
        const QList<Diagnostic> found = collector.check(file);
        wizardsWithProblems += !found.isEmpty();
        all += found;
    }
    bool failed = false;
    for (Diagnostic &d : all) {
        if (warnings.asErrors)
            d.level = Diagnostic::Error;
        failed = failed || d.level == Diagnostic::Error;
    }
    sort(all);

    if (formatName == QLatin1String("json"))
        out << DiagnosticFormats::json(all);
    else if (formatName == QLatin1String("sarif"))
        out << DiagnosticFormats::sarif(all);
    else
        out << DiagnosticFormats::text(all, wizardsWithProblems);
    out.flush();
    return failed ? ToolCommand::Failed : ToolCommand::Ok;
}
