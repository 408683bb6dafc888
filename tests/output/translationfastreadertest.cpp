#include "output/translationfastreader.h"

#include "base/lewriter.h"
#include "core/wdlwizard.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltokentext.h"
#include "output/translationimporter.h"
#include "output/xmlattributelimit.h"
#include "support/wizardfiles.h"
#include "wizardgenerator.h"

#include <QFile>
#include <QTextCodec>

namespace {

// What one read of a file gives: the dictionary bytes, then every warning
// with its file and line, then every entry noted with its line.
QStringList readBack(const WizardItemsModel &texts, const QString &path, bool fast, bool *tookFast = nullptr)
{
    QStringList lines;
    TranslationImporter importer(&texts, QStringLiteral("QX-417"),
                                 [&lines](const QString &text, const QString &file, int line) {
                                     lines.append(QStringLiteral("warning ") + file + QLatin1Char(':')
                                                  + QString::number(line) + QStringLiteral(": ") + text);
                                 });
    importer.setNoteEntry([&lines](const BuildProducts::TranslatedText &entry) {
        lines.append(QStringLiteral("entry ") + entry.file + QLatin1Char(':') + QString::number(entry.line)
                     + QLatin1Char(' ') + entry.textId
                     + (entry.isHelp ? QStringLiteral(" help ") : QStringLiteral(" text ")) + entry.content);
    });
    importer.setFastPath(fast);
    const std::vector<char> dictionary = importer.readTranslationFile(path);
    lines.prepend(QStringLiteral("dictionary ")
                  + QString::fromLatin1(QByteArray(dictionary.data(), int(dictionary.size())).toHex()));
    if (tookFast)
        *tookFast = importer.lastReadWasFast();
    return lines;
}

struct DocumentRow
{
    const char *name;
    QByteArray document;
    bool fast; // whether the fast path takes it

    friend void PrintTo(const DocumentRow &row, std::ostream *os) { *os << row.name; }
};

QByteArray utf8(const char *text)
{
    return QByteArray(text);
}

QByteArray encoded(const char *codec, const QString &text)
{
    return QTextCodec::codecForName(codec)->fromUnicode(text);
}

const char *const kPlain = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                           "<root>\n"
                           "<translations language=\"German\">\n"
                           "<text id=\"welcome\" type=\"text\">Willkommen</text>\n"
                           "<text id=\"welcome\" type=\"help\">OK dr\xC3\xBC"
                           "cken.</text>\n"
                           "<text id=\"bye\" type=\"text\">Tsch\xC3\xBC\xC3\x9F</text>\n"
                           "</translations>\n"
                           "</root>\n";

// Texts welcome, empty_text and bye, as the template lists them.
class FastReader : public ::testing::TestWithParam<DocumentRow>
{
protected:
    FastReader()
    {
        for (WdlToken *text : {&m_welcome, &m_empty, &m_bye})
            m_texts.addItem(text);
    }

    WdlTokenText m_welcome{QStringLiteral("welcome"), QStringLiteral("Welcome"), QStringLiteral("Press OK.")};
    WdlTokenText m_empty{QStringLiteral("empty_text"), QString(), QStringLiteral("Only help")};
    WdlTokenText m_bye{QStringLiteral("bye"), QStringLiteral("Bye"), QString()};
    WizardItemsModel m_texts;
    WizardFiles m_files;
};

// Both paths give the same dictionary, warnings and entries; the fast path
// takes exactly the files it is meant to.
TEST_P(FastReader, GivesWhatTheFullReaderGives)
{
    m_files.writeBytes(QStringLiteral("translation_de.xml"), GetParam().document);
    const QString path = m_files.path(QStringLiteral("translation_de.xml"));
    bool tookFast = false;
    const QStringList fast = readBack(m_texts, path, true, &tookFast);
    const QStringList full = readBack(m_texts, path, false);
    EXPECT_EQ(fast.join(QLatin1Char('\n')).toStdString(), full.join(QLatin1Char('\n')).toStdString());
    EXPECT_EQ(tookFast, GetParam().fast);
}

QByteArray withPlain(const char *from, const char *to)
{
    return QByteArray(kPlain).replace(from, to);
}

// The plain file whose root carries count attributes.
QByteArray withRootAttributes(int count)
{
    QByteArray root("<root");
    for (int i = 0; i < count; ++i)
        root += " a" + QByteArray::number(i) + "=\"\"";
    return QByteArray(kPlain).replace("<root", root);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, FastReader,
    ::testing::Values(
        DocumentRow{"Plain", utf8(kPlain), true},
        DocumentRow{"NoDeclaration", withPlain("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n", ""), true},
        DocumentRow{"LowerCaseEncodingAndSingleQuotes",
                    withPlain("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", "<?xml version='1.0' encoding='utf-8'?>"),
                    true},
        DocumentRow{"ByteOrderMark", "\xEF\xBB\xBF" + utf8(kPlain), true},
        DocumentRow{"CrLf", withPlain("\n", "\r\n"), true}, DocumentRow{"CrAlone", withPlain("\n", "\r"), true},
        DocumentRow{"TagOverLines",
                    withPlain("<text id=\"bye\" type=\"text\">", "<text\r\n id=\"bye\"\n\ttype=\"text\"\n>"), true},
        DocumentRow{"Entities", withPlain("Willkommen", "&lt;a&gt; &amp; &quot;b&quot; &apos;c&apos;"), true},
        DocumentRow{"CharacterReferences", withPlain("Willkommen", "&#13;&#x4E2D;&#10;&#x1F600;&#9;x"), true},
        DocumentRow{"ReferencesInAttributes", withPlain("id=\"bye\"", "id=\"b&#121;e\""), true},
        DocumentRow{"WhitespaceInAttribute", withPlain("id=\"bye\"", "id=\"bye&#10;\""), false},
        DocumentRow{"Cdata", withPlain("Willkommen", "<![CDATA[<b>&amp;]]>x"), true},
        DocumentRow{"Comments", withPlain("Willkommen", "Will<!-- not -->kommen<!---->"), true},
        DocumentRow{"LineBreaksInContent", withPlain("Willkommen", "a\r\nb\rc\n"), true},
        DocumentRow{"TemplateEscapes", withPlain("Willkommen", "a\\nb\\\"c\\\\n\\"), true},
        DocumentRow{"FourByteCharacters",
                    withPlain("Willkommen", "\xF0\x9F\x98\x80 \xE0\xB9\x84\xE0\xB8\x97\xE0\xB8\xA2"), true},
        DocumentRow{
            "EmptyElement",
            withPlain("<text id=\"bye\" type=\"text\">Tsch\xC3\xBC\xC3\x9F</text>", "<text id=\"bye\" type=\"text\"/>"),
            true},
        DocumentRow{"OtherType", withPlain("type=\"help\"", "type=\"hint\""), true},
        DocumentRow{"OutOfOrder", withPlain("id=\"welcome\" type=\"text\"", "id=\"empty_text\" type=\"help\""), true},
        DocumentRow{"NoRoot", withPlain("<root>\n", "").replace("</root>\n", ""), true},
        // Left to the full reader: not in the subset...
        DocumentRow{"Doctype",
                    withPlain("<root>", "<!DOCTYPE root [<!ENTITY w \"Hallo\">]><root>").replace("Willkommen", "&w;"),
                    false},
        DocumentRow{"Latin1", encoded("ISO-8859-1", QString::fromUtf8(kPlain).replace("UTF-8", "ISO-8859-1")), false},
        DocumentRow{"Utf16WithMark",
                    encoded("UTF-16LE", QChar(0xFEFF) + QString::fromUtf8(kPlain).replace("UTF-8", "UTF-16")), false},
        DocumentRow{"Utf16BigEndian", encoded("UTF-16BE", QString::fromUtf8(kPlain).replace("UTF-8", "UTF-16")), false},
        DocumentRow{"Version11", withPlain("version=\"1.0\"", "version=\"1.1\""), false},
        DocumentRow{"Standalone", withPlain("encoding=\"UTF-8\"", "encoding=\"UTF-8\" standalone=\"yes\""), false},
        DocumentRow{"Instruction", withPlain("<root>", "<?wdl x?><root>"), false},
        DocumentRow{"DefaultNamespace", withPlain("<root>", "<root xmlns=\"urn:x\">"), false},
        DocumentRow{"Prefix", withPlain("<root>", "<w:root xmlns:w=\"urn:x\">").replace("</root>", "</w:root>"), false},
        DocumentRow{"NoncharacterInText", withPlain("Willkommen", "a\xEF\xBF\xBF"), false},
        DocumentRow{"NonAsciiName",
                    withPlain("<root>", "<r\xC3\xB6\x6F\x74>").replace("</root>", "</r\xC3\xB6\x6F\x74>"), false},
        // ... or refused, or warned about.
        DocumentRow{"Empty", QByteArray(), false}, DocumentRow{"Truncated", QByteArray(kPlain).left(150), false},
        DocumentRow{"TruncatedAfterTheLastText", QByteArray(kPlain).left(int(qstrlen(kPlain)) - 10), false},
        DocumentRow{"UndefinedEntity", withPlain("Willkommen", "&nbsp;"), false},
        DocumentRow{"BadCharacterReference", withPlain("Willkommen", "&#0;"), false},
        DocumentRow{"SurrogateReference", withPlain("Willkommen", "&#xD800;"), false},
        DocumentRow{"InvalidUtf8", withPlain("Willkommen", "a\xC3(b"), false},
        DocumentRow{"EncodedSurrogate", withPlain("Willkommen", "a\xED\xA0\x80"), false},
        DocumentRow{"ControlCharacter", withPlain("Willkommen", "a\x01"), false},
        DocumentRow{"CdataEndInText", withPlain("Willkommen", "a]]>b"), false},
        DocumentRow{"ElementInText", withPlain("Willkommen", "Will<b>kom</b>men"), false},
        DocumentRow{"UnknownId", withPlain("id=\"bye\"", "id=\"hello\""), false},
        DocumentRow{"NoType", withPlain("id=\"bye\" type=\"text\"", "id=\"bye\""), false},
        DocumentRow{"NoId", withPlain("id=\"bye\" type=\"text\"", "type=\"text\""), false},
        DocumentRow{"UnknownLanguage", withPlain("German", "Klingon"), false},
        DocumentRow{"ExtraAttribute", withPlain("language=\"German\"", "language=\"German\" x=\"1\""), false},
        DocumentRow{"TextBeforeTranslations", withPlain("<root>\n", "<root><text id=\"bye\" type=\"text\">x</text>"),
                    false},
        DocumentRow{"NoTexts", QByteArray("<translations language=\"German\"/>"), false},
        DocumentRow{"DuplicateAttribute", withPlain("type=\"text\">Tsch", "type=\"text\" type=\"help\">Tsch"), false},
        DocumentRow{"SecondRoot", utf8(kPlain) + "<root/>", false},
        DocumentRow{"JunkAfterDeclaration", withPlain("?>", "?>x"), false},
        // The full reader refuses an element crowded with attributes, and says so.
        DocumentRow{"AttributesAtTheLimit", withRootAttributes(XmlAttributeLimit::kMaxAttributes), true},
        DocumentRow{"AttributesOverTheLimit", withRootAttributes(XmlAttributeLimit::kMaxAttributes + 1), false}));

// The stress wizard's translations, every text and help with line breaks and
// characters of many scripts: the fast path takes every file, and the image
// part they make is the full reader's to the byte.
TEST(FastReaderOnStressWizard, TakesEveryFileAndGivesTheSameImage)
{
    WizardFiles files;
    const QString wdl = WizardGenerator::write(files.dir(), 1, 3);
    EXPECT_TRUE(openFile(wdl).isEmpty());
    const WizardItemsModel *texts = WdlWizard::instance()->textModel();
    const auto image = [&](bool fast, QStringList *warnings) {
        TranslationImporter importer(texts, QStringLiteral("QX-417"),
                                     [warnings](const QString &text, const QString &, int) { warnings->append(text); });
        importer.setFastPath(fast);
        LeWriter out;
        EXPECT_EQ(importer.importTranslations(files.url(QStringLiteral("stress.sas")), out), 3);
        return out.data();
    };
    QStringList fastWarnings;
    QStringList fullWarnings;
    EXPECT_TRUE(image(true, &fastWarnings) == image(false, &fullWarnings));
    EXPECT_TRUE(fastWarnings.isEmpty() && fullWarnings.isEmpty());
    for (const QString &name : TranslationImporter::translationFileNames(files.dir())) {
        bool tookFast = false;
        EXPECT_EQ(readBack(*texts, files.path(name), true, &tookFast), readBack(*texts, files.path(name), false));
        EXPECT_TRUE(tookFast) << name.toStdString();
    }
}

} // namespace
