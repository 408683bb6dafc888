#include "output/translationdocument.h"

#include "support/testsupport.h"

#include <functional>

namespace {

using Entry = TranslationDocument::Entry;

const char kHead[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- kept -->\n<root>\n"
                     "\t<translations language=\"German\">\n";
const char kTail[] = "\t</translations>\n</root>\n";

QString file(const char *entries)
{
    return QLatin1String(kHead) + QString::fromUtf8(entries) + QLatin1String(kTail);
}

Entry waiting(const char *id, const char *source)
{
    Entry e;
    e.kind = TranslationDocument::Untranslated;
    e.id = QString::fromUtf8(id);
    e.type = QStringLiteral("text");
    e.source = QString::fromUtf8(source);
    return e;
}

// One edit of a file and the whole file it must give: only the entries
// edited change, and new ones take the indentation of their neighbours.
struct EditRow
{
    const char *name;
    QString before;
    std::function<void(TranslationDocument &)> edit;
    QString after;

    friend void PrintTo(const EditRow &row, std::ostream *os) { *os << row.name; }
};

class TranslationDocumentEdit : public ::testing::TestWithParam<EditRow>
{
};

TEST_P(TranslationDocumentEdit, GivesTheWholeFile)
{
    TranslationDocument document;
    ASSERT_TRUE(document.read(GetParam().before.toUtf8())) << document.error().toStdString();
    GetParam().edit(document);
    // As bytes: a byte order mark is data here.
    EXPECT_EQ(document.toUtf8().toStdString(), GetParam().after.toUtf8().toStdString());
}

const auto setSource = [](int index, const char *source, const char *stale = nullptr) {
    return [=](TranslationDocument &d) {
        Entry e = d.entries().at(index);
        e.source = QString::fromUtf8(source);
        if (stale)
            e.stale = QString::fromUtf8(stale);
        d.setEntry(index, e);
    };
};

INSTANTIATE_TEST_SUITE_P(
    Edits, TranslationDocumentEdit,
    ::testing::Values(
        EditRow{"NoEditKeepsEveryByte",
                file("\t\t<text  id='a' type=\"text\">&#37; A &amp; \\n</text> <!-- mine -->\n"),
                [](TranslationDocument &) {},
                file("\t\t<text  id='a' type=\"text\">&#37; A &amp; \\n</text> <!-- mine -->\n")},
        // The start tag is rewritten, the content stays as written.
        EditRow{"SourceAddedAfterTheOtherAttributes", file("\t\t<text  id='a' type=\"text\">&#37; A\\n</text>\n"),
                setSource(0, "50% <\"a\">\nb\tc"),
                file("\t\t<text  id='a' type=\"text\" source=\"50&#37; &lt;&quot;a&quot;&gt;&#10;b&#9;c\">&#37; "
                     "A\\n</text>\n")},
        EditRow{"StaleMarkReplacesTheOldOne",
                file("\t\t<text id=\"a\" stale=\"x\" type=\"text\" source=\"Old\">Alt</text>\n"),
                setSource(0, "New", "Old"),
                file("\t\t<text id=\"a\" type=\"text\" source=\"New\" stale=\"Old\">Alt</text>\n")},
        EditRow{"SelfClosingStaysSo", file("\t\t<text id=\"a\" type=\"text\"/>\n"), setSource(0, "A"),
                file("\t\t<text id=\"a\" type=\"text\" source=\"A\"/>\n")},
        EditRow{"KindRenamesBothTags", file("\t\t<text id=\"a\" type=\"text\" source=\"A\">Ä</text>\n"),
                [](TranslationDocument &d) {
                    Entry e = d.entries().at(0);
                    e.kind = TranslationDocument::Obsolete;
                    d.setEntry(0, e);
                },
                file("\t\t<obsolete id=\"a\" type=\"text\" source=\"A\">Ä</obsolete>\n")},
        EditRow{"NewContentIsEscaped", file("\t\t<untranslated id=\"a\" type=\"text\" source=\"A\"></untranslated>\n"),
                [](TranslationDocument &d) {
                    Entry e = d.entries().at(0);
                    e.kind = TranslationDocument::Translated;
                    e.content = QStringLiteral("<1 & 2%\r>");
                    d.setEntry(0, e);
                },
                file("\t\t<text id=\"a\" type=\"text\" source=\"A\">&lt;1 &amp; 2&#37;&#13;&gt;</text>\n")},
        EditRow{"RemovalTakesTheWholeLine",
                file("\t\t<text id=\"a\" type=\"text\">A</text>\n\t\t<text id=\"b\" type=\"text\">B</text>\n"),
                [](TranslationDocument &d) { d.removeEntry(0); }, file("\t\t<text id=\"b\" type=\"text\">B</text>\n")},
        EditRow{"RemovalOfOneOfTwoOnALine",
                file("\t\t<text id=\"a\" type=\"text\">A</text> <text id=\"b\" type=\"text\">B</text>\n"),
                [](TranslationDocument &d) { d.removeEntry(1); }, file("\t\t<text id=\"a\" type=\"text\">A</text> \n")},
        EditRow{"InsertionsAfterAnEntryKeepTheirOrder", file("  <text id=\"a\" type=\"text\">A</text>\n"),
                [](TranslationDocument &d) {
                    d.insertEntry(0, waiting("b", "B"));
                    d.insertEntry(0, waiting("c", "C"));
                },
                file("  <text id=\"a\" type=\"text\">A</text>\n"
                     "  <untranslated id=\"b\" type=\"text\" source=\"B\"></untranslated>\n"
                     "  <untranslated id=\"c\" type=\"text\" source=\"C\"></untranslated>\n")},
        EditRow{"InsertionBeforeARemovedFirstEntry", file("\t\t<text id=\"a\" type=\"text\">A</text>\n"),
                [](TranslationDocument &d) {
                    d.insertEntry(-1, waiting("b", "B"));
                    d.removeEntry(0);
                },
                file("\t\t<untranslated id=\"b\" type=\"text\" source=\"B\"></untranslated>\n")},
        EditRow{"InsertionIntoAnEmptyTranslationsElement", file(""),
                [](TranslationDocument &d) { d.insertEntry(-1, waiting("a", "A")); },
                file("\t\t<untranslated id=\"a\" type=\"text\" source=\"A\"></untranslated>\n")},
        EditRow{"CarriageReturnsAndByteOrderMarkStay",
                QStringLiteral("\xFEFF<root><translations language=\"German\">\r\n"
                               "\t<text id=\"a\" type=\"text\">A</text>\r\n</translations></root>\r\n"),
                [](TranslationDocument &d) { d.insertEntry(0, waiting("b", "B")); },
                QStringLiteral("\xFEFF<root><translations language=\"German\">\r\n"
                               "\t<text id=\"a\" type=\"text\">A</text>\r\n"
                               "\t<untranslated id=\"b\" type=\"text\" source=\"B\"></untranslated>\r\n"
                               "</translations></root>\r\n")}),
    rowName<EditRow>);

TEST(TranslationDocument, ReadsEntriesAsTheCompilerDoes)
{
    TranslationDocument document;
    ASSERT_TRUE(document.read(file("\t\t<text id=\"a\" type=\"help\" source=\"S&#10;\">x &lt; y\\n</text>\n"
                                   "\t\t<untranslated id=\"b\" type=\"text\"/>\n"
                                   "\t\t<obsolete type=\"text\">old</obsolete>\n")
                                  .toUtf8()));
    EXPECT_EQ(document.language(), QStringLiteral("German"));
    ASSERT_EQ(document.entries().size(), 3);
    const Entry &a = document.entries().at(0);
    EXPECT_EQ(a.kind, TranslationDocument::Translated);
    EXPECT_EQ(a.type, QStringLiteral("help"));
    EXPECT_EQ(a.source, QStringLiteral("S\n"));
    EXPECT_TRUE(a.stale.isNull());
    // The two characters \n stay: what they become is the compiler's business.
    EXPECT_EQ(a.content, QStringLiteral("x < y\\n"));
    EXPECT_EQ(a.line, 5);
    EXPECT_EQ(document.entries().at(1).kind, TranslationDocument::Untranslated);
    EXPECT_TRUE(document.entries().at(2).id.isNull());
}

TEST(TranslationDocument, ReadsEveryCutOfAFileCleanly)
{
    const QByteArray data = readFile(
        QStringLiteral(WDLC_TEST_DATA "/tool/translations/pump_update/translation_German.xml"));
    ASSERT_FALSE(data.isEmpty());
    for (int size = 0; size <= data.size(); ++size) {
        TranslationDocument document;
        if (document.read(data.left(size))) {
            // What reads must write back as it was.
            EXPECT_EQ(document.toUtf8(), data.left(size)) << size;
        } else {
            EXPECT_FALSE(document.error().isEmpty()) << size;
        }
    }
}

// Attributes a0 to a(count - 1), each followed by tail.
QByteArray crowdOfAttributes(int count, const char *tail = "=\"\"")
{
    QByteArray crowd;
    for (int i = 0; i < count; ++i)
        crowd += " a" + QByteArray::number(i) + tail;
    return crowd;
}

struct ReadErrorRow
{
    const char *name;
    QByteArray data;
    int line;
    const char *error;

    friend void PrintTo(const ReadErrorRow &row, std::ostream *os) { *os << row.name; }
};

class TranslationDocumentReadError : public ::testing::TestWithParam<ReadErrorRow>
{
};

TEST_P(TranslationDocumentReadError, NamesTheLine)
{
    TranslationDocument document;
    EXPECT_FALSE(document.read(GetParam().data));
    EXPECT_EQ(document.errorLine(), GetParam().line);
    EXPECT_EQ(document.error().toStdString(), GetParam().error);
    EXPECT_TRUE(document.entries().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, TranslationDocumentReadError,
    ::testing::Values(
        ReadErrorRow{"Latin1Bytes", QByteArray("<root>\n<translations language=\"French\">\n<text>caf\xE9</text>"), 3,
                     "The file is not UTF-8: this line holds bytes that are no UTF-8 text."},
        ReadErrorRow{"DeclaredLatin1", QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<root/>\n"), 1,
                     "The file declares the encoding ISO-8859-1; translation files are kept in UTF-8."},
        ReadErrorRow{"UnclosedElement", QByteArray("<root>\n<translations language=\"French\">\n</root>\n"), 3,
                     "Opening and ending tag mismatch."},
        ReadErrorRow{"ElementInsideAnEntry",
                     QByteArray("<root>\n<untranslated id=\"a\" type=\"text\">a<b/></untranslated>\n</root>\n"), 2,
                     "Expected character data."},
        // Refused before the XML reader, which would check each attribute
        // against all the others.
        ReadErrorRow{"CrowdedElement",
                     QByteArray("<root>\n<text id=\"a\" type=\"text\"") + crowdOfAttributes(100000) + "/>\n</root>\n",
                     2, "The file has an element with more than 64 attributes; it is not a translation file."},
        ReadErrorRow{"CrowdedDeclaration",
                     QByteArray("<!DOCTYPE root [\n<!ATTLIST root") + crowdOfAttributes(65, " CDATA #IMPLIED")
                         + ">\n]>\n<root/>\n",
                     2, "The file declares more than 64 attributes; it is not a translation file."}),
    rowName<ReadErrorRow>);

} // namespace
