#include "output/xmlattributelimit.h"

#include <QTextCodec>

#include <vector>

namespace {

using Finding = XmlAttributeLimit::Finding;
constexpr int kMax = XmlAttributeLimit::kMaxAttributes;

// Walks the markup of a document given as code units (bytes of an encoding
// that keeps ASCII as it is, or UTF-16 units), without building anything: it
// counts the attributes of each tag by their "=" outside quotes, the
// namespace declarations of the open elements, and the attribute definitions
// of the declarations, and skips text, comments, CDATA and instructions.
template<class Unit> class MarkupScan
{
public:
    MarkupScan(const Unit *data, int size) : m_data(data), m_size(size) {}

    Finding find()
    {
        while (m_at < m_size && m_found.excess == XmlAttributeLimit::None) {
            if (at(0) != '<')
                step();
            else if (startsWith("<!--"))
                skipPast("-->");
            else if (startsWith("<![CDATA["))
                skipPast("]]>");
            else if (startsWith("<?"))
                skipPast("?>");
            else if (startsWith("<!"))
                declaration();
            else if (startsWith("</"))
                endTag();
            else
                startTag();
        }
        return m_found;
    }

private:
    int at(int offset) const { return m_at + offset < m_size ? int(m_data[m_at + offset]) : -1; }

    // XML ends a line at LF, CR LF or a lone CR.
    void step()
    {
        if (at(0) == '\n' || (at(0) == '\r' && at(1) != '\n'))
            ++m_line;
        ++m_at;
    }

    bool startsWith(const char *text) const
    {
        for (int i = 0; text[i]; ++i) {
            if (at(i) != text[i])
                return false;
        }
        return true;
    }

    void skipPast(const char *end)
    {
        while (m_at < m_size && !startsWith(end))
            step();
        for (int i = 0; end[i] && m_at < m_size; ++i)
            step();
    }

    void found(XmlAttributeLimit::Excess excess, int line) { m_found = {excess, line}; }

    // Up to the ">" outside quotes; the "=" met outside quotes. A quoted
    // literal or a keyword of a default counts as one in declarations.
    struct Tag
    {
        int equals = 0;
        int xmlns = 0;
        int defaults = 0;
        bool empty = false;
    };
    Tag readTag()
    {
        Tag tag;
        int quote = 0;
        int previous = 0;
        while (m_at < m_size) {
            if (!quote && (startsWith("xmlns=") || startsWith("xmlns:"))
                && (previous == ' ' || previous == '\t' || previous == '\n' || previous == '\r'))
                ++tag.xmlns;
            if (!quote && (startsWith("#REQUIRED") || startsWith("#IMPLIED")))
                ++tag.defaults;
            const int c = at(0);
            step();
            if (quote) {
                quote = c == quote ? 0 : quote;
            } else if (c == '"' || c == '\'') {
                quote = c;
                ++tag.defaults;
            } else if (c == '=') {
                ++tag.equals;
            } else if (c == '>') {
                tag.empty = previous == '/';
                break;
            }
            previous = c;
        }
        return tag;
    }

    void startTag()
    {
        const int line = m_line;
        const Tag tag = readTag();
        if (tag.equals > kMax)
            return found(XmlAttributeLimit::OnOneElement, line);
        m_inScope += tag.xmlns;
        if (m_inScope > kMax)
            return found(XmlAttributeLimit::NamespacesInScope, line);
        if (!tag.empty)
            m_open.push_back(tag.xmlns);
    }

    void endTag()
    {
        readTag();
        if (!m_open.empty()) {
            m_inScope -= m_open.back();
            m_open.pop_back();
        }
    }

    // <!DOCTYPE ... [ <!ATTLIST ...> <!ENTITY ...> ... ]>
    void declaration()
    {
        const bool attributes = startsWith("<!ATTLIST");
        const int line = m_line;
        int quote = 0;
        step();
        step();
        while (m_at < m_size) {
            if (!quote && startsWith("<!--")) {
                skipPast("-->");
                continue;
            }
            if (!quote && startsWith("<!")) {
                declaration();
                if (m_found.excess != XmlAttributeLimit::None)
                    return;
                continue;
            }
            if (attributes) {
                m_declared += readTag().defaults;
                if (m_declared > kMax)
                    found(XmlAttributeLimit::Declared, line);
                return;
            }
            const int c = at(0);
            step();
            if (quote)
                quote = c == quote ? 0 : quote;
            else if (c == '"' || c == '\'')
                quote = c;
            else if (c == '>')
                return;
        }
    }

    const Unit *m_data;
    int m_size;
    int m_at = 0;
    int m_line = 1;
    // Namespace declarations of each open element, and all of them together.
    std::vector<int> m_open;
    int m_inScope = 0;
    int m_declared = 0;
    Finding m_found;
};

// UTF-16 and UTF-32 show in their first bytes, as a byte order mark or as
// zero bytes beside the "<" that starts every document; null for an encoding
// that keeps ASCII as it is.
QTextCodec *wideCodec(const QByteArray &d)
{
    const auto zero = [&d](int i) { return d.size() > i && d.at(i) == 0; };
    const char *name = nullptr;
    if (d.startsWith("\xFE\xFF") || d.startsWith("\xFF\xFE") || d.startsWith(QByteArray("\x00\x00\xFE\xFF", 4)))
        return QTextCodec::codecForUtfText(d);
    if (zero(0))
        name = zero(1) ? "UTF-32BE" : "UTF-16BE";
    else if (zero(1))
        name = zero(2) ? "UTF-32LE" : "UTF-16LE";
    return name ? QTextCodec::codecForName(name) : nullptr;
}

} // namespace

XmlAttributeLimit::Finding XmlAttributeLimit::find(const QByteArray &document)
{
    QTextCodec *codec = wideCodec(document);
    if (!codec)
        return MarkupScan<uchar>(reinterpret_cast<const uchar *>(document.constData()), document.size()).find();
    const QString text = codec->toUnicode(document);
    return MarkupScan<ushort>(reinterpret_cast<const ushort *>(text.utf16()), text.size()).find();
}

QString XmlAttributeLimit::message(const QString &fileName, const Finding &finding)
{
    return QStringLiteral("XML file ") + fileName + QLatin1Char(' ') + excess(finding) + QStringLiteral(" on line ")
           + QString::number(finding.line) + QStringLiteral(". This file is not a translation file.");
}

QString XmlAttributeLimit::excess(const Finding &finding)
{
    switch (finding.excess) {
    case OnOneElement:
        return QStringLiteral("has an element with more than ") + QString::number(kMaxAttributes)
               + QStringLiteral(" attributes");
    case NamespacesInScope:
        return QStringLiteral("has more than ") + QString::number(kMaxAttributes)
               + QStringLiteral(" namespace declarations in scope");
    default:
        return QStringLiteral("declares more than ") + QString::number(kMaxAttributes) + QStringLiteral(" attributes");
    }
}
