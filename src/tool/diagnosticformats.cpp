#include "tool/diagnosticformats.h"

#include "tool/toolcommand.h"
#include "validation/lintrules.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

namespace {

QString levelName(Diagnostic::Level level)
{
    return level == Diagnostic::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

QString ruleId(const Diagnostic &d)
{
    return d.rule.isEmpty() ? QLatin1String(DiagnosticFormats::kCompilerRule) : d.rule;
}

// A SARIF location is a URI: a relative path stays relative, so that a
// service resolves it against the checked-out sources; an absolute one is a
// file URI.
QString artifactUri(const QString &file)
{
    if (QDir::isAbsolutePath(file))
        return QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded);
    QUrl url;
    // A colon in the first segment would read as a scheme.
    const bool colonFirst = file.section(QLatin1Char('/'), 0, 0).contains(QLatin1Char(':'));
    url.setPath(colonFirst ? QStringLiteral("./") + file : file);
    return url.toString(QUrl::FullyEncoded);
}

QJsonObject sarifRule(const QString &id, const QString &summary)
{
    return QJsonObject{{QStringLiteral("id"), id},
                       {QStringLiteral("shortDescription"), QJsonObject{{QStringLiteral("text"), summary}}}};
}

} // namespace

QString DiagnosticFormats::line(const Diagnostic &d)
{
    QString out = d.file + QLatin1Char(':') + QString::number(d.line);
    if (d.column > 0)
        out += QLatin1Char(':') + QString::number(d.column);
    // A message of several lines (a translation file's list of languages)
    // keeps the rule on its first line, where tools read it.
    QString message = d.message;
    while (message.endsWith(QLatin1Char('\n')))
        message.chop(1);
    const int lineEnd = message.indexOf(QLatin1Char('\n'));
    out += QStringLiteral(": ") + levelName(d.level) + QStringLiteral(": ") + message.left(lineEnd);
    if (!d.rule.isEmpty())
        out += (d.level == Diagnostic::Error ? QStringLiteral(" [-Werror=") : QStringLiteral(" [-W")) + d.rule
               + QLatin1Char(']');
    if (lineEnd >= 0)
        out += message.mid(lineEnd);
    return out;
}

QString DiagnosticFormats::text(const QList<Diagnostic> &diagnostics, int wizards)
{
    QString out;
    int errors = 0;
    for (const Diagnostic &d : diagnostics) {
        out += line(d) + QLatin1Char('\n');
        errors += d.level == Diagnostic::Error;
    }
    const int warnings = diagnostics.size() - errors;
    if (diagnostics.isEmpty())
        return QStringLiteral("no problems\n");
    QStringList counts;
    if (errors > 0)
        counts.append(ToolCommand::counted(errors, "error", "errors"));
    if (warnings > 0)
        counts.append(ToolCommand::counted(warnings, "warning", "warnings"));
    return out + counts.join(QStringLiteral(" and ")) + QStringLiteral(" in ")
           + ToolCommand::counted(wizards, "file", "files") + QLatin1Char('\n');
}

QString DiagnosticFormats::json(const QList<Diagnostic> &diagnostics)
{
    QJsonArray list;
    for (const Diagnostic &d : diagnostics) {
        list.append(QJsonObject{{QStringLiteral("file"), d.file},
                                {QStringLiteral("line"), d.line},
                                {QStringLiteral("column"), d.column},
                                {QStringLiteral("level"), levelName(d.level)},
                                {QStringLiteral("rule"), d.rule.isEmpty() ? QJsonValue() : QJsonValue(d.rule)},
                                {QStringLiteral("message"), d.message}});
    }
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("diagnostics"), list}}).toJson(QJsonDocument::Indented));
}

QString DiagnosticFormats::sarif(const QList<Diagnostic> &diagnostics)
{
    QJsonArray rules{
        sarifRule(QLatin1String(kCompilerRule), QStringLiteral("a problem that makes wdlc refuse the image"))};
    QHash<QString, int> ruleIndex{{QLatin1String(kCompilerRule), 0}};
    for (const LintRules::Rule &rule : LintRules::rules()) {
        ruleIndex.insert(rule.name, rules.size());
        rules.append(sarifRule(rule.name, rule.summary));
    }

    QJsonArray results;
    for (const Diagnostic &d : diagnostics) {
        QJsonObject location{
            {QStringLiteral("artifactLocation"), QJsonObject{{QStringLiteral("uri"), artifactUri(d.file)}}}};
        // SARIF counts lines from 1: a problem of the whole file has no region.
        if (d.line > 0) {
            QJsonObject region{{QStringLiteral("startLine"), d.line}};
            if (d.column > 0)
                region.insert(QStringLiteral("startColumn"), d.column);
            location.insert(QStringLiteral("region"), region);
        }
        results.append(QJsonObject{
            {QStringLiteral("ruleId"), ruleId(d)},
            {QStringLiteral("ruleIndex"), ruleIndex.value(ruleId(d))},
            {QStringLiteral("level"), levelName(d.level)},
            {QStringLiteral("message"), QJsonObject{{QStringLiteral("text"), d.message}}},
            {QStringLiteral("locations"), QJsonArray{QJsonObject{{QStringLiteral("physicalLocation"), location}}}}});
    }

    const QJsonObject driver{{QStringLiteral("name"), QStringLiteral("wdltool")},
                             {QStringLiteral("version"), QStringLiteral(WDLC_VERSION)},
                             {QStringLiteral("rules"), rules}};
    const QJsonObject run{{QStringLiteral("tool"), QJsonObject{{QStringLiteral("driver"), driver}}},
                          {QStringLiteral("results"), results}};
    return QString::fromUtf8(
        QJsonDocument(QJsonObject{{QStringLiteral("$schema"),
                                   QStringLiteral("https://docs.oasis-open.org/sarif/sarif/v2.1.0/os/schemas/"
                                                  "sarif-schema-2.1.0.json")},
                                  {QStringLiteral("version"), QStringLiteral("2.1.0")},
                                  {QStringLiteral("runs"), QJsonArray{run}}})
            .toJson(QJsonDocument::Indented));
}
