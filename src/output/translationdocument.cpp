#include "output/translationdocument.h"

#include "base/utf8lines.h"
#include "output/translationtemplate.h"
#include "output/xmlattributelimit.h"

#include <QXmlStreamReader>

#include <algorithm>

namespace {

const QLatin1String kByteOrderMark("\xEF\xBB\xBF");

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r');
}

bool isEntryName(const QStringRef &name)
{
    return name == QLatin1String("text") || name == QLatin1String("untranslated") || name == QLatin1String("obsolete");
}

TranslationDocument::Kind kindOf(const QStringRef &name)
{
    if (name == QLatin1String("untranslated"))
        return TranslationDocument::Untranslated;
    if (name == QLatin1String("obsolete"))
        return TranslationDocument::Obsolete;
    return TranslationDocument::Translated;
}

// A start tag taken apart: its name, and each attribute with the blanks
// before it, as written.
struct RawTag
{
    QString name;
    QList<QPair<QString, QString>> attributes; // (name, raw text)
};

// The tag has been read by the XML reader, so it is well formed: values are
// quoted and hold no "<".
RawTag splitTag(const QString &tag)
{
    RawTag out;
    int i = 1;
    while (i < tag.size() && !tag.at(i).isSpace() && tag.at(i) != QLatin1Char('/') && tag.at(i) != QLatin1Char('>'))
        out.name += tag.at(i++);
    for (;;) {
        const int from = i;
        while (i < tag.size() && tag.at(i).isSpace())
            ++i;
        if (i >= tag.size() || tag.at(i) == QLatin1Char('/') || tag.at(i) == QLatin1Char('>'))
            break;
        QString name;
        while (i < tag.size() && tag.at(i) != QLatin1Char('=') && !tag.at(i).isSpace())
            name += tag.at(i++);
        int quote = i;
        while (quote < tag.size() && tag.at(quote) != QLatin1Char('"') && tag.at(quote) != QLatin1Char('\''))
            ++quote;
        if (quote >= tag.size())
            break;
        const int close = tag.indexOf(tag.at(quote), quote + 1);
        if (close < 0)
            break;
        i = close + 1;
        out.attributes.append({name, tag.mid(from, i - from)});
    }
    return out;
}

QString attribute(const char *name, const QString &value)
{
    return QLatin1Char(' ') + QLatin1String(name) + QStringLiteral("=\"") + TranslationDocument::escapeAttribute(value)
           + QLatin1Char('"');
}

QString newElement(const TranslationDocument::Entry &entry)
{
    const QString name = TranslationDocument::kindName(entry.kind);
    QString out = QLatin1Char('<') + name + attribute("id", entry.id) + attribute("type", entry.type);
    if (!entry.source.isNull())
        out += attribute("source", entry.source);
    if (!entry.stale.isNull())
        out += attribute("stale", entry.stale);
    return out + QLatin1Char('>') + TranslationDocument::escapeContent(entry.content) + QStringLiteral("</") + name
           + QLatin1Char('>');
}

bool sameEntry(const TranslationDocument::Entry &a, const TranslationDocument::Entry &b)
{
    // isNull matters: an empty source is a recorded English text.
    return a.kind == b.kind && a.source == b.source && a.source.isNull() == b.source.isNull() && a.stale == b.stale
           && a.stale.isNull() == b.stale.isNull() && a.content == b.content;
}

struct Patch
{
    int from;
    int to;
    QString text;
};

} // namespace

QString TranslationDocument::kindName(Kind kind)
{
    switch (kind) {
    case Untranslated:
        return QStringLiteral("untranslated");
    case Obsolete:
        return QStringLiteral("obsolete");
    default:
        return QStringLiteral("text");
    }
}

QString TranslationDocument::escapeAttribute(const QString &text)
{
    return escapeContent(text)
        .replace(QLatin1Char('"'), QLatin1String("&quot;"))
        .replace(QLatin1Char('\n'), QLatin1String("&#10;"))
        .replace(QLatin1Char('\t'), QLatin1String("&#9;"));
}

QString TranslationDocument::escapeContent(const QString &text)
{
    // XML reads a carriage return as a line feed unless it is a reference.
    return TranslationTemplate::escapeXml(text).replace(QLatin1Char('\r'), QLatin1String("&#13;"));
}

bool TranslationDocument::fail(const QString &message, int line)
{
    m_error = message;
    m_errorLine = line;
    m_entries.clear();
    m_read.clear();
    m_spans.clear();
    m_removed.clear();
    m_inserted.clear();
    m_language.clear();
    m_insertAt = -1;
    return false;
}

bool TranslationDocument::read(const QByteArray &data)
{
    m_entries.clear();
    m_spans.clear();
    m_inserted.clear();
    m_language.clear();
    m_insertAt = -1;
    if (const int line = firstLineNotUtf8(data))
        return fail(QStringLiteral("The file is not UTF-8: this line holds bytes that are no UTF-8 text."), line);
    // Before the XML reader, which would take minutes over such a file.
    const XmlAttributeLimit::Finding crowded = XmlAttributeLimit::find(data);
    if (crowded.excess != XmlAttributeLimit::None)
        return fail(QStringLiteral("The file ") + XmlAttributeLimit::excess(crowded)
                        + QStringLiteral("; it is not a translation file."),
                    crowded.line);
    m_hasByteOrderMark = data.startsWith(kByteOrderMark.data());
    m_text = QString::fromUtf8(data);
    if (m_hasByteOrderMark && m_text.startsWith(QChar(0xFEFF)))
        m_text.remove(0, 1);

    QXmlStreamReader xml(m_text);
    int depth = 0;
    int translationsDepth = -1;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartDocument()) {
            const QString encoding = xml.documentEncoding().toString();
            if (!encoding.isEmpty() && encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) != 0)
                return fail(QStringLiteral("The file declares the encoding ") + encoding
                                + QStringLiteral("; translation files are kept in UTF-8."),
                            int(xml.lineNumber()));
        } else if (xml.isStartElement() && isEntryName(xml.name())) {
            Entry entry;
            entry.kind = kindOf(xml.name());
            entry.line = int(xml.lineNumber());
            const QXmlStreamAttributes attributes = xml.attributes();
            entry.id = attributes.value(QLatin1String("id")).toString();
            entry.type = attributes.value(QLatin1String("type")).toString();
            entry.source = attributes.value(QLatin1String("source")).toString();
            entry.stale = attributes.value(QLatin1String("stale")).toString();
            Span span;
            span.tagEnd = int(xml.characterOffset());
            // A value may hold ">" but never "<": the tag starts at the last one.
            span.begin = m_text.lastIndexOf(QLatin1Char('<'), span.tagEnd - 1);
            // As the compiler reads it: an element inside is an error.
            entry.content = xml.readElementText();
            if (xml.hasError())
                break;
            span.end = int(xml.characterOffset());
            span.contentEnd = span.end == span.tagEnd ? span.end
                                                      : m_text.lastIndexOf(QStringLiteral("</"), span.end - 1);
            m_entries.append(entry);
            m_spans.append(span);
        } else if (xml.isStartElement()) {
            ++depth;
            if (translationsDepth < 0 && xml.name() == QLatin1String("translations")) {
                translationsDepth = depth;
                m_language = xml.attributes().value(QLatin1String("language")).toString();
                m_insertAt = int(xml.characterOffset());
            }
        } else if (xml.isEndElement()) {
            if (depth == translationsDepth) {
                const int end = int(xml.characterOffset());
                // An element written as <translations .../> has no room inside.
                m_insertAt = end == m_insertAt ? -1 : m_text.lastIndexOf(QStringLiteral("</"), end - 1);
            }
            --depth;
        }
    }
    if (xml.hasError())
        return fail(xml.errorString(), int(xml.lineNumber()));
    m_read = m_entries;
    m_removed = QList<bool>();
    for (int i = 0; i < m_entries.size(); ++i)
        m_removed.append(false);
    m_error.clear();
    m_errorLine = 0;
    return true;
}

QString TranslationDocument::renderEdited(int index) const
{
    const Entry &entry = m_entries.at(index);
    const Span &span = m_spans.at(index);
    const RawTag tag = splitTag(m_text.mid(span.begin, span.tagEnd - span.begin));
    const QString name = entry.kind == m_read.at(index).kind ? tag.name : kindName(entry.kind);
    QString out = QLatin1Char('<') + name;
    for (const auto &a : tag.attributes) {
        if (a.first != QLatin1String("source") && a.first != QLatin1String("stale"))
            out += a.second;
    }
    if (!entry.source.isNull())
        out += attribute("source", entry.source);
    if (!entry.stale.isNull())
        out += attribute("stale", entry.stale);
    const bool contentKept = entry.content == m_read.at(index).content;
    if (contentKept && span.end == span.tagEnd)
        return out + QStringLiteral("/>");
    out += QLatin1Char('>');
    out += contentKept ? m_text.mid(span.tagEnd, span.contentEnd - span.tagEnd) : escapeContent(entry.content);
    return out + QStringLiteral("</") + name + QLatin1Char('>');
}

// The blanks before position when nothing else precedes it on its line.
QString TranslationDocument::indentOf(int position) const
{
    const int lineStart = m_text.lastIndexOf(QLatin1Char('\n'), position - 1) + 1;
    for (int i = lineStart; i < position; ++i) {
        if (!isBlank(m_text.at(i)))
            return QString();
    }
    return m_text.mid(lineStart, position - lineStart);
}

QByteArray TranslationDocument::toUtf8() const
{
    const QString newline = m_text.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
    // The end of an element's line when nothing follows it there, else -1.
    const auto lineEndAfter = [this](int position) {
        int i = position;
        while (i < m_text.size() && isBlank(m_text.at(i)))
            ++i;
        if (i < m_text.size() && m_text.at(i) != QLatin1Char('\n'))
            return -1;
        return qMin(i + 1, m_text.size());
    };
    const auto lines = [&newline](const QList<Entry> &entries, const QString &indent) {
        QString out;
        for (const Entry &entry : entries)
            out += indent + newElement(entry) + newline;
        return out;
    };

    QList<Patch> patches;
    for (int i = 0; i < m_entries.size(); ++i) {
        const Span &span = m_spans.at(i);
        const QString indent = indentOf(span.begin);
        const int lineStart = span.begin - indent.size();
        const int lineEnd = lineEndAfter(span.end);
        const bool ownLine = !indent.isEmpty() || (lineStart == 0 || m_text.at(lineStart - 1) == QLatin1Char('\n'));
        const bool wholeLine = ownLine && lineEnd >= 0;
        if (m_removed.at(i))
            patches.append(wholeLine ? Patch{lineStart, lineEnd, QString()} : Patch{span.begin, span.end, QString()});
        else if (!sameEntry(m_entries.at(i), m_read.at(i)))
            patches.append({span.begin, span.end, renderEdited(i)});
        const QList<Entry> after = m_inserted.value(i);
        if (!after.isEmpty()) {
            if (wholeLine)
                patches.append({lineEnd, lineEnd, lines(after, indent)});
            else
                patches.append(
                    {span.end, span.end, newline + lines(after, QStringLiteral("\t\t")).chopped(newline.size())});
        }
        if (i == 0 && m_inserted.contains(-1)) {
            const QList<Entry> before = m_inserted.value(-1);
            if (ownLine)
                patches.append({lineStart, lineStart, lines(before, indent)});
            else
                patches.append({span.begin, span.begin, lines(before, QString()) + QStringLiteral("\t\t")});
        }
    }
    if (m_entries.isEmpty() && m_inserted.contains(-1) && m_insertAt >= 0) {
        const QList<Entry> entries = m_inserted.value(-1);
        const QString indent = indentOf(m_insertAt);
        const int lineStart = m_insertAt - indent.size();
        if (lineStart > 0 && m_text.at(lineStart - 1) == QLatin1Char('\n'))
            patches.append({lineStart, lineStart, lines(entries, indent + QLatin1Char('\t'))});
        else
            patches.append({m_insertAt, m_insertAt, newline + lines(entries, QStringLiteral("\t\t"))});
    }
    // An insertion at the start of a removed line goes before the removal.
    std::stable_sort(patches.begin(), patches.end(),
                     [](const Patch &a, const Patch &b) { return a.from != b.from ? a.from < b.from : a.to < b.to; });
    QString out;
    int at = 0;
    for (const Patch &patch : qAsConst(patches)) {
        out += m_text.midRef(at, patch.from - at);
        out += patch.text;
        at = patch.to;
    }
    out += m_text.midRef(at);
    return (m_hasByteOrderMark ? QByteArray(kByteOrderMark.data()) : QByteArray()) + out.toUtf8();
}
