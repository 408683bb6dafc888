#include "tool/diagnosticsdocument.h"

#include <QFile>
#include <QRegularExpression>

namespace {

bool isHeading(const QString &line)
{
    return line.startsWith(QLatin1Char('#'));
}

QString headingText(const QString &line)
{
    int i = 0;
    while (i < line.size() && line.at(i) == QLatin1Char('#'))
        ++i;
    return line.mid(i).trimmed();
}

} // namespace

DiagnosticsDocument::DiagnosticsDocument(const QString &markdown)
{
    static const QRegularExpression marker(QStringLiteral("^<!-- (diagnostic|rule): (\\S+) -->$"));
    static const QRegularExpression originMarker(QStringLiteral("^<!-- origin: (\\S+) -->$"));
    static const QLatin1String kNoExample("<!-- no example -->");
    const QStringList lines = markdown.split(QLatin1Char('\n'));
    bool inFence = false;
    QString origin;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).startsWith(QLatin1String("```")))
            inFence = !inFence;
        const QRegularExpressionMatch section = originMarker.match(lines.at(i).trimmed());
        if (!inFence && section.hasMatch())
            origin = section.captured(1);
        if (inFence || !isHeading(lines.at(i)) || i + 1 == lines.size())
            continue;
        const QRegularExpressionMatch m = marker.match(lines.at(i + 1).trimmed());
        if (!m.hasMatch())
            continue;
        Entry entry;
        entry.heading = headingText(lines.at(i));
        entry.line = i + 1;
        entry.hasExample = true;
        entry.origin = origin;
        QStringList body;
        int end = i + 2;
        bool fence = false;
        for (; end < lines.size(); ++end) {
            if (lines.at(end).startsWith(QLatin1String("```")))
                fence = !fence;
            if (!fence && isHeading(lines.at(end)))
                break;
            if (lines.at(end).trimmed() == kNoExample) {
                entry.hasExample = false;
                continue;
            }
            body.append(lines.at(end));
        }
        entry.endLine = end + 1;
        while (!body.isEmpty() && body.first().trimmed().isEmpty())
            body.removeFirst();
        while (!body.isEmpty() && body.last().trimmed().isEmpty())
            body.removeLast();
        entry.body = body.join(QLatin1Char('\n'));
        QHash<QString, Entry> &entries = m.captured(1) == QLatin1String("rule") ? m_rules : m_diagnostics;
        if (entries.contains(m.captured(2)))
            m_duplicates.append(m.captured(2));
        else
            entries.insert(m.captured(2), entry);
    }
}

const DiagnosticsDocument &DiagnosticsDocument::builtIn()
{
    static const DiagnosticsDocument document = [] {
        // The resource lives in a static library: nothing would link it in
        // without this reference.
        Q_INIT_RESOURCE(diagnostics);
        QFile file(QStringLiteral(":/docs/diagnostics.md"));
        file.open(QIODevice::ReadOnly);
        return DiagnosticsDocument(QString::fromUtf8(file.readAll()));
    }();
    return document;
}

const DiagnosticsDocument::Entry *DiagnosticsDocument::diagnostic(const QString &key) const
{
    const auto it = m_diagnostics.constFind(key);
    return it == m_diagnostics.cend() ? nullptr : &*it;
}

const DiagnosticsDocument::Entry *DiagnosticsDocument::rule(const QString &name) const
{
    const auto it = m_rules.constFind(name);
    return it == m_rules.cend() ? nullptr : &*it;
}
