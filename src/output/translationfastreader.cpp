#include "output/translationfastreader.h"

#include "base/enumkeys.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltokentext.h"
#include "output/savewdl.h"
#include "output/xmlattributelimit.h"

#include <expat.h>

#include <cstring>
#include <string>

namespace {

// Names QXmlStreamReader and expat surely agree on: ASCII alone, where both
// take the same characters, and no prefix.
bool isPlainName(const char *name)
{
    for (const char *c = name; *c; ++c) {
        if (quint8(*c) >= 0x80 || *c == ':')
            return false;
    }
    // A default namespace declaration is no attribute to QXmlStreamReader.
    return name[0] != 'x' || std::strncmp(name, "xmlns", 5) != 0;
}

bool isAscii(const char *text, size_t size)
{
    for (size_t i = 0; i < size; ++i) {
        if (quint8(text[i]) >= 0x80)
            return false;
    }
    return true;
}

// Noncharacters and the byte order mark inside a text: expat and Qt's UTF-8
// decoder may judge them apart, so such a file is left to the full reader.
bool hasDoubtfulCharacter(const char *utf8, size_t size)
{
    const char *end = utf8 + size;
    for (const char *at = utf8; (at = static_cast<const char *>(std::memchr(at, '\xEF', size_t(end - at)))); ++at) {
        if (end - at < 3)
            return true;
        const quint8 second = quint8(at[1]);
        const quint8 third = quint8(at[2]);
        if ((second == 0xBF && third >= 0xBE) || (second == 0xB7 && third >= 0x90 && third <= 0xAF)
            || (second == 0xBB && third == 0xBF))
            return true;
    }
    return false;
}

// One of the template's escapes, backslash and second, replaced by one byte
// throughout, as QString::replace does it. The escapes and their
// replacements are ASCII, so the UTF-8 bytes can be worked on directly.
void replaceEscape(std::string &text, char second, char replacement)
{
    size_t to = 0;
    for (size_t from = 0; from < text.size(); ++from) {
        if (text[from] == '\\' && from + 1 < text.size() && text[from + 1] == second) {
            text[to++] = replacement;
            ++from;
        } else {
            text[to++] = text[from];
        }
    }
    text.resize(to);
}

// One document through expat. Any handler that meets what the subset leaves
// out stops the parser; the pass then takes nothing.
class Pass
{
public:
    Pass(const WizardItemsModel *texts, const std::vector<bool> &firstOfId, const QByteArray &document,
         const QString *noteFileName, TranslationFastReader::Result *result)
        : m_texts(texts), m_firstOfId(firstOfId), m_document(document), m_noteFileName(noteFileName), m_result(result)
    {
    }

    bool run()
    {
        // UTF-16 and UTF-32 documents, with or without a byte order mark.
        const int head = qMin(4, m_document.size());
        if (m_document.startsWith("\xFE\xFF") || m_document.startsWith("\xFF\xFE")
            || std::memchr(m_document.constData(), 0, size_t(head)))
            return false;
        m_hasCarriageReturn = std::memchr(m_document.constData(), '\r', size_t(m_document.size())) != nullptr;
        XML_Parser parser = XML_ParserCreate(nullptr);
        if (!parser)
            return false;
        m_parser = parser;
        XML_SetUserData(parser, this);
        XML_SetXmlDeclHandler(parser, &Pass::onDeclaration);
        XML_SetStartDoctypeDeclHandler(parser, &Pass::onDoctype);
        XML_SetProcessingInstructionHandler(parser, &Pass::onInstruction);
        XML_SetSkippedEntityHandler(parser, &Pass::onSkippedEntity);
        XML_SetElementHandler(parser, &Pass::onStart, &Pass::onEnd);
        XML_SetCharacterDataHandler(parser, &Pass::onCharacters);
        const bool parsed = XML_Parse(parser, m_document.constData(), m_document.size(), XML_TRUE) == XML_STATUS_OK;
        XML_ParserFree(parser);
        return parsed && !m_refused && m_result->language >= 0 && !m_result->entries.empty();
    }

private:
    void refuse()
    {
        m_refused = true;
        XML_StopParser(m_parser, XML_FALSE);
    }

    static void onDeclaration(void *self, const XML_Char *version, const XML_Char *encoding, int standalone)
    {
        auto *pass = static_cast<Pass *>(self);
        if (!version || std::strcmp(version, "1.0") != 0 || standalone != -1
            || (encoding && QByteArray(encoding).toLower() != "utf-8"))
            pass->refuse();
    }
    static void onDoctype(void *self, const XML_Char *, const XML_Char *, const XML_Char *, int)
    {
        static_cast<Pass *>(self)->refuse();
    }
    static void onInstruction(void *self, const XML_Char *, const XML_Char *) { static_cast<Pass *>(self)->refuse(); }
    static void onSkippedEntity(void *self, const XML_Char *, int) { static_cast<Pass *>(self)->refuse(); }
    static void onStart(void *self, const XML_Char *name, const XML_Char **attributes)
    {
        static_cast<Pass *>(self)->startElement(name, attributes);
    }
    static void onEnd(void *self, const XML_Char *) { static_cast<Pass *>(self)->endElement(); }
    static void onCharacters(void *self, const XML_Char *text, int size)
    {
        auto *pass = static_cast<Pass *>(self);
        if (pass->m_inText)
            pass->m_content.append(text, size_t(size));
    }

    void startElement(const char *name, const char **attributes)
    {
        if (m_inText || !isPlainName(name))
            return refuse();
        int count = 0;
        for (const char **a = attributes; *a; a += 2) {
            if (!isPlainName(*a) || ++count > XmlAttributeLimit::kMaxAttributes)
                return refuse();
        }
        if (std::strcmp(name, "translations") == 0)
            return startTranslations(attributes);
        if (std::strcmp(name, "text") == 0)
            return startText(attributes);
    }

    // Any problem here is one the full reader warns about.
    void startTranslations(const char **attributes)
    {
        if (!attributes[0] || attributes[2] || std::strcmp(attributes[0], "language") != 0)
            return refuse();
        m_result->entries.reserve(2 * size_t(m_texts->count()));
        m_result->language = EnumKeys::of<SaveWdl::Translations>().value(QString::fromUtf8(attributes[1]));
        if (m_result->language < 0)
            refuse();
    }

    void startText(const char **attributes)
    {
        const char *id = nullptr;
        const char *type = nullptr;
        for (const char **a = attributes; *a; a += 2) {
            if (std::strcmp(a[0], "id") == 0)
                id = a[1];
            else if (std::strcmp(a[0], "type") == 0)
                type = a[1];
        }
        if (m_result->language < 0 || !id || !type)
            return refuse();
        m_text = find(id);
        if (!m_text)
            return refuse();
        m_isText = std::strcmp(type, "text") == 0;
        m_isHelp = std::strcmp(type, "help") == 0;
        m_textLine = lineAfterTag();
        m_inText = true;
        m_content.clear();
    }

    // Nothing but the text's content lies between its start and this end.
    void endElement()
    {
        if (!m_inText)
            return;
        m_inText = false;
        if (!m_isText && !m_isHelp)
            return;
        if (hasDoubtfulCharacter(m_content.data(), m_content.size()))
            return refuse();
        // In the full reader's order: a line break first, then a quote.
        if (m_content.find('\\') != std::string::npos) {
            replaceEscape(m_content, 'n', '\r');
            replaceEscape(m_content, '"', '"');
        }
        const QString content = QString::fromUtf8(m_content.data(), int(m_content.size()));
        m_result->entries.emplace_back(m_isText ? m_text->textKey() : m_text->helpKey(), content);
        if (m_noteFileName)
            m_result->notes.append({*m_noteFileName, m_textLine, m_text->id(), m_isHelp, content});
    }

    // Files list their texts in the wizard's order, as the template does,
    // a help right after its text: the row of the last id found and the row
    // after it are tried before the index, whose look-ups miss the cache on
    // a large wizard.
    const WdlTokenText *find(const char *id)
    {
        const size_t size = std::strlen(id);
        if (isAscii(id, size)) {
            const QLatin1String wanted(id, int(size));
            for (const int guess : {m_lastRow, m_lastRow + 1}) {
                if (guess < 0 || guess >= m_texts->count() || !m_firstOfId[size_t(guess)])
                    continue;
                WdlToken *item = m_texts->itemAt(guess);
                if (item->id() == wanted) {
                    m_lastRow = guess;
                    return static_cast<const WdlTokenText *>(item);
                }
            }
        }
        const auto *text = m_texts->byId<WdlTokenText>(QString::fromUtf8(id, int(size)));
        if (text)
            m_lastRow = text->getIndex() - 1;
        return text;
    }

    // The line QXmlStreamReader gives at a start element: the one where its
    // tag ends, counting CR LF, CR and LF each as one line break.
    int lineAfterTag()
    {
        const qint64 end = XML_GetCurrentByteIndex(m_parser) + XML_GetCurrentByteCount(m_parser);
        const char *bytes = m_document.constData();
        if (!m_hasCarriageReturn) {
            while (const void *lineFeed = std::memchr(bytes + m_countedTo, '\n', size_t(end - m_countedTo))) {
                ++m_line;
                m_countedTo = static_cast<const char *>(lineFeed) - bytes + 1;
            }
            m_countedTo = end;
            return m_line;
        }
        for (; m_countedTo < end; ++m_countedTo) {
            const char c = bytes[m_countedTo];
            if (c == '\n' || (c == '\r' && (m_countedTo + 1 >= m_document.size() || bytes[m_countedTo + 1] != '\n')))
                ++m_line;
        }
        return m_line;
    }

    const WizardItemsModel *m_texts;
    const std::vector<bool> &m_firstOfId;
    const QByteArray &m_document;
    // Null when no notes are wanted.
    const QString *m_noteFileName;
    TranslationFastReader::Result *m_result;
    XML_Parser m_parser = nullptr;
    bool m_refused = false;
    bool m_inText = false;
    bool m_isText = false;
    bool m_isHelp = false;
    const WdlTokenText *m_text = nullptr;
    int m_textLine = 0;
    std::string m_content;
    int m_lastRow = -1;
    qint64 m_countedTo = 0;
    int m_line = 1;
    bool m_hasCarriageReturn = false;
};

} // namespace

TranslationFastReader::TranslationFastReader(const WizardItemsModel *texts) : m_texts(texts)
{
    m_firstOfId.reserve(size_t(texts->count()));
    for (int row = 0; row < texts->count(); ++row)
        m_firstOfId.push_back(texts->itemById(texts->itemAt(row)->id()) == texts->itemAt(row));
}

bool TranslationFastReader::read(const QByteArray &document, const QString &fileName, bool withNotes,
                                 Result *result) const
{
    *result = Result();
    if (Pass(m_texts, m_firstOfId, document, withNotes ? &fileName : nullptr, result).run())
        return true;
    *result = Result();
    return false;
}
