#include "tool/explaincommand.h"

#include "base/diagnostics.h"
#include "tool/diagnosticsdocument.h"
#include "tool/toolcommand.h"

#include <QRegularExpression>
#include <QTextStream>

namespace {

// What a line of check's output adds around the message: its place and
// level in front, its rule after the first line.
struct Pasted
{
    QString message;
    QString rule;
};

Pasted withoutFrame(const QString &text)
{
    static const QRegularExpression place(
        QStringLiteral("\\A\\s*(?:\\S.*?:\\d+(?::\\d+)?:\\s+)?(?:error|warning):\\s+"));
    static const QRegularExpression rule(QStringLiteral(" ?\\[-W(?:error=)?([a-z][a-z-]*)\\](?=\\s*(?:\\n|\\z))"));
    Pasted out{text, QString()};
    const QRegularExpressionMatch at = place.match(out.message);
    if (at.hasMatch())
        out.message.remove(0, at.capturedLength());
    const QRegularExpressionMatch named = rule.match(out.message);
    if (named.hasMatch()) {
        out.rule = named.captured(1);
        out.message.remove(named.capturedStart(), named.capturedLength());
    }
    return out;
}

// "label", "-Wlabel", "-Wno-label", "[-Wlabel]", "-Werror=label".
QString ruleNamed(const QString &word)
{
    static const QRegularExpression form(QStringLiteral("\\A\\[?(?:-W(?:no-|error=)?)?([a-z][a-z-]*)\\]?\\z"));
    const QRegularExpressionMatch m = form.match(word);
    return m.hasMatch() && Diagnostics::rule(m.captured(1)) ? m.captured(1) : QString();
}

QString origin(const Diagnostics::Entry &entry)
{
    QString out = entry.level == Diagnostics::Error ? QStringLiteral("error") : QStringLiteral("warning");
    out += QStringLiteral(", raised by ") + Diagnostics::originName(entry.origin);
    if (!entry.rule.isEmpty())
        out += QStringLiteral(" under -W") + entry.rule;
    return out + QStringLiteral(" (") + Diagnostics::key(entry.id) + QLatin1Char(')');
}

void printBody(const DiagnosticsDocument::Entry *entry, QTextStream &out)
{
    if (entry && !entry->body.isEmpty())
        out << '\n' << entry->body << '\n';
}

void explainDiagnostic(Diagnostics::Id id, const QStringList &pieces, QTextStream &out)
{
    const Diagnostics::Entry &entry = Diagnostics::entry(id);
    out << Diagnostics::pattern(id) << '\n' << origin(entry) << '\n';
    for (int i = 0; i < pieces.size() && i < entry.arguments.size(); ++i)
        out << "  <" << entry.arguments.at(i) << "> = " << pieces.at(i) << '\n';
    printBody(DiagnosticsDocument::builtIn().diagnostic(Diagnostics::key(id)), out);
}

void explainRule(const QString &name, QTextStream &out)
{
    out << "-W" << name << ": " << Diagnostics::rule(name)->summary << '\n';
    printBody(DiagnosticsDocument::builtIn().rule(name), out);
    out << "\nIts messages (wdltool explain MESSAGE tells more of each):\n";
    for (int id = 0; id < Diagnostics::kCount; ++id) {
        if (Diagnostics::entry(Diagnostics::Id(id)).rule == name)
            out << "  " << Diagnostics::pattern(Diagnostics::Id(id)) << '\n';
    }
}

} // namespace

QString ExplainCommand::usage()
{
    return QStringLiteral("Usage: wdltool explain <message or rule>\n"
                          "\n"
                          "Prints what a message of wdlc or wdltool check means and how to fix it, as\n"
                          "docs/diagnostics.md has it. Paste a line of check's output as it is: its\n"
                          "FILE:LINE:COLUMN:, error: or warning: and [-Wrule] are left aside, and its\n"
                          "ids and numbers may be any. Or name a rule of check (label, -Wlabel) or a\n"
                          "message's key (ScreenDefinedTwice).\n"
                          "\n"
                          "Options:\n"
                          "  -h, --help  show this help\n"
                          "\n"
                          "Exit status: 0 when the message or rule is known, 1 when it is not, 2 for a\n"
                          "usage error.\n");
}

int ExplainCommand::run(const QStringList &arguments, QTextStream &out, QTextStream &err)
{
    // A message is taken as it comes, in one argument or in many; only a
    // help option alone is an option.
    if (arguments.size() == 1
        && (arguments.first() == QLatin1String("-h") || arguments.first() == QLatin1String("--help"))) {
        out << usage();
        return ToolCommand::Ok;
    }
    const QString query = arguments.join(QLatin1Char(' ')).trimmed();
    if (query.isEmpty())
        return ToolCommand::usageError(QStringLiteral("explain needs a message or a rule name"), usage(), err);

    const bool oneWord = !query.contains(QRegularExpression(QStringLiteral("\\s")));
    if (oneWord && !ruleNamed(query).isEmpty()) {
        explainRule(ruleNamed(query), out);
        return ToolCommand::Ok;
    }
    if (oneWord && Diagnostics::fromKey(query) >= 0) {
        explainDiagnostic(Diagnostics::Id(Diagnostics::fromKey(query)), {}, out);
        return ToolCommand::Ok;
    }
    const Pasted pasted = withoutFrame(query);
    Diagnostics::Match match = Diagnostics::match(pasted.message, pasted.rule);
    if (match.id < 0 && !pasted.rule.isEmpty())
        match = Diagnostics::match(pasted.message);
    if (match.id < 0) {
        err << "wdltool explain: no message of wdlc or wdltool check reads \"" << pasted.message
            << "\", and no rule has that name\n";
        return ToolCommand::Failed;
    }
    explainDiagnostic(Diagnostics::Id(match.id), match.arguments, out);
    return ToolCommand::Ok;
}
