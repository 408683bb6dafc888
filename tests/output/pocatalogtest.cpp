#include "output/pocatalog.h"

#include "support/testsupport.h"

namespace {

TEST(PoCatalog, WritesWhatPoToolsRead)
{
    PoCatalog po;
    po.setComment(QStringLiteral("German translation.\nSecond line."));
    po.addHeaderField(QStringLiteral("Language"), QStringLiteral("de"));
    po.addHeaderField(QStringLiteral("Content-Type"), QStringLiteral("text/plain; charset=UTF-8"));
    PoCatalog::Message stale;
    stale.context = QStringLiteral("hello/text");
    stale.id = QStringLiteral("Welcome.\nPress \"OK\".");
    stale.str = QStringLiteral("Willkommen.\\nOK\tdrücken.");
    stale.fuzzy = true;
    stale.previousId = QStringLiteral("Hello.\nPress OK.");
    po.addMessage(stale);
    PoCatalog::Message waiting;
    waiting.context = QStringLiteral("rpm/text");
    waiting.id = QStringLiteral("rpm\r\x01");
    waiting.str = QStringLiteral("");
    po.addMessage(waiting);
    EXPECT_EQ(QString::fromUtf8(po.toUtf8()), QStringLiteral("# German translation.\n"
                                                             "# Second line.\n"
                                                             "msgid \"\"\n"
                                                             "msgstr \"\"\n"
                                                             "\"Language: de\\n\"\n"
                                                             "\"Content-Type: text/plain; charset=UTF-8\\n\"\n"
                                                             "\n"
                                                             "#, fuzzy\n"
                                                             "#| msgid \"\"\n"
                                                             "#| \"Hello.\\n\"\n"
                                                             "#| \"Press OK.\"\n"
                                                             "msgctxt \"hello/text\"\n"
                                                             "msgid \"\"\n"
                                                             "\"Welcome.\\n\"\n"
                                                             "\"Press \\\"OK\\\".\"\n"
                                                             "msgstr \"Willkommen.\\\\nOK\\tdrücken.\"\n"
                                                             "\n"
                                                             "msgctxt \"rpm/text\"\n"
                                                             "msgid \"rpm\\r\\001\"\n"
                                                             "msgstr \"\"\n"));
    PoCatalog back;
    ASSERT_TRUE(back.read(po.toUtf8())) << back.error().toStdString();
    ASSERT_EQ(back.messages().size(), 2);
    for (int i = 0; i < 2; ++i) {
        const PoCatalog::Message &a = po.messages().at(i);
        const PoCatalog::Message &b = back.messages().at(i);
        EXPECT_EQ(a.context, b.context);
        EXPECT_EQ(a.id, b.id);
        EXPECT_EQ(a.str, b.str);
        EXPECT_EQ(a.fuzzy, b.fuzzy);
        EXPECT_EQ(a.previousId, b.previousId);
    }
    EXPECT_EQ(back.messages().at(1).line, 18);
    EXPECT_EQ(back.headerField(QStringLiteral("language")), QStringLiteral("de"));
}

TEST(PoCatalog, ReadsWhatEditorsWrite)
{
    PoCatalog po;
    ASSERT_TRUE(po.read("# translator's comment\n"
                        "msgid \"\"\n"
                        "msgstr \"Content-Type: text/plain; charset=utf-8\\n\"\n"
                        "\n"
                        "#. extracted\n"
                        "#: speed.wdl:10\n"
                        "#, no-c-format, fuzzy\n"
                        "msgctxt \"a/text\"\n"
                        "msgid \"A\"\n"
                        "msgstr \"\"\n"
                        "  \"\\303\\244\\x41\"\n"
                        "#~ msgctxt \"gone/text\"\n"
                        "#~ msgid \"Gone\"\n"
                        "#~ msgstr \"Weg\"\n"
                        "msgctxt \"\"\n"
                        "msgid \"B\"\n"
                        "msgstr \"b\""))
        << po.error().toStdString();
    ASSERT_EQ(po.messages().size(), 2);
    EXPECT_TRUE(po.messages().at(0).fuzzy);
    EXPECT_EQ(po.messages().at(0).str, QStringLiteral("äA"));
    EXPECT_TRUE(po.messages().at(0).previousId.isNull());
    EXPECT_FALSE(po.messages().at(1).fuzzy);
    EXPECT_FALSE(po.messages().at(1).context.isNull());
    EXPECT_EQ(po.messages().at(1).line, 15);
}

// Whatever an editor or a crash leaves behind, the reader answers in kind.
TEST(PoCatalog, ReadsEveryCutOfAFileCleanly)
{
    const QByteArray data = readFile(QStringLiteral(WDLC_TEST_DATA "/tool/translations/po/German.po"));
    ASSERT_FALSE(data.isEmpty());
    const int lines = data.count('\n') + 1;
    for (int size = 0; size <= data.size(); ++size) {
        PoCatalog po;
        if (!po.read(data.left(size))) {
            EXPECT_GE(po.errorLine(), 1) << size;
            EXPECT_LE(po.errorLine(), lines) << size;
            EXPECT_FALSE(po.error().isEmpty()) << size;
        }
    }
}

struct PoErrorRow
{
    const char *name;
    QByteArray data;
    int line;
    const char *error;

    friend void PrintTo(const PoErrorRow &row, std::ostream *os) { *os << row.name; }
};

class PoCatalogError : public ::testing::TestWithParam<PoErrorRow>
{
};

TEST_P(PoCatalogError, NamesTheLine)
{
    PoCatalog po;
    EXPECT_FALSE(po.read(GetParam().data));
    EXPECT_EQ(po.errorLine(), GetParam().line);
    EXPECT_EQ(po.error().toStdString(), GetParam().error);
    EXPECT_TRUE(po.messages().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, PoCatalogError,
    ::testing::Values(
        PoErrorRow{"PluralId", "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[0] \"b\"\n", 2,
                   "Plural forms are not supported: a text of a wizard has one form."},
        PoErrorRow{"PluralStr", "msgid \"a\"\nmsgstr[0] \"b\"\n", 2,
                   "Plural forms are not supported: a text of a wizard has one form."},
        PoErrorRow{"UnclosedString", "msgid \"a\"\nmsgstr \"b\n", 2, "The string is not closed on this line."},
        PoErrorRow{"UnknownEscape", "msgid \"a\\q\"\nmsgstr \"\"\n", 1, "Unknown escape sequence \\q in a string."},
        PoErrorRow{"TextAfterString", "msgid \"a\" b\nmsgstr \"\"\n", 1, "Text follows the end of the string."},
        PoErrorRow{"UnquotedString", "msgid a\nmsgstr \"\"\n", 1, "A quoted string was expected here."},
        PoErrorRow{"UnknownKeyword", "msgid \"a\"\nmsgtxt \"b\"\n", 2,
                   "Unknown keyword msgtxt; a message has msgctxt, msgid and msgstr."},
        PoErrorRow{"StringOfNothing", "\"a\"\n", 1, "This string continues no msgctxt, msgid or msgstr."},
        PoErrorRow{"NoMsgstrBeforeNext", "msgctxt \"a\"\nmsgid \"a\"\n\nmsgid \"b\"\nmsgstr \"\"\n", 1,
                   "This message has no msgstr."},
        PoErrorRow{"NoMsgstrAtEnd", "msgid \"a\"\nmsgstr \"\"\n\nmsgid \"b\"\n", 4, "This message has no msgstr."},
        PoErrorRow{"MsgstrAlone", "msgstr \"a\"\n", 1, "This msgstr follows no msgid."},
        PoErrorRow{"Twice", "msgctxt \"a\"\nmsgid \"a\"\nmsgstr \"\"\n\nmsgctxt \"a\"\nmsgid \"a\"\nmsgstr \"x\"\n", 5,
                   "This message is given twice; the first is on line 1."},
        PoErrorRow{"Latin1Charset", "msgid \"\"\nmsgstr \"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n", 1,
                   "The file declares the charset ISO-8859-1; PO files are read as UTF-8."},
        PoErrorRow{"Latin1Bytes", "msgid \"\"\nmsgstr \"\"\n\nmsgid \"caf\xE9\"\nmsgstr \"\"\n", 4,
                   "The file is not UTF-8: this line holds bytes that are no UTF-8 text."}),
    rowName<PoErrorRow>);

} // namespace
