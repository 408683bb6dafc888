#include "reader/wdlline.h"

#include "support/testsupport.h"

namespace {

struct LineRow
{
    const char *name;
    const char *physical;
    // "significant | words | item words | tag of the first word | complete or
    // not | quoted text | last quoted section", words joined by blanks.
    const char *expected;

    friend void PrintTo(const LineRow &row, std::ostream *os) { *os << row.physical; }
};

class WdlLineSplit : public ::testing::TestWithParam<LineRow>
{
};

TEST_P(WdlLineSplit, EveryFunctionOnTheLine)
{
    const QString line = WdlLine::significant(QString::fromUtf8(GetParam().physical));
    const QStringList words = WdlLine::words(line);
    const QStringList parts = {line,
                               words.join(QLatin1Char(' ')),
                               WdlLine::itemWords(line).join(QLatin1Char(' ')),
                               WdlLine::tag(words.value(0)),
                               QLatin1String(WdlLine::isCompleteText(line) ? "complete" : "incomplete"),
                               QString(WdlLine::quotedText(line)).replace(QLatin1Char('\n'), QStringLiteral("<LF>")),
                               WdlLine::lastQuotedSection(line)};
    EXPECT_EQ(parts.join(QStringLiteral(" | ")).toStdString(), GetParam().expected);
}

// The quoted text runs from the first to the last quote, empty sections
// skipped: empty quotes give the part before them, no quotes nothing.
INSTANTIATE_TEST_SUITE_P(
    Rows, WdlLineSplit,
    ::testing::Values(
        LineRow{"HashComment", R"(  T: hello "Hi"  # greeting)",
                R"(T: hello "Hi" | T: hello "Hi" | T hello "Hi" | T | complete | Hi | Hi)"},
        LineRow{"SlashComment", "NS: next// then", "NS: next | NS: next | NS next | NS | complete |  | NS: next"},
        LineRow{"CommentOnly", "\t# nothing", " |  |  |  | complete |  | "},
        // A comment starts inside quotes too: the text loses its closing quote.
        LineRow{"HashInsideQuotes", R"(T: t "No #1")",
                R"(T: t "No | T: t "No | T t "No | T | incomplete | T: t "No | No)"},
        LineRow{"TagGluedToItsValue", R"(T:x "a")", R"(T:x "a" | T:x "a" | T x "a" | Tx | complete | a | a)"},
        LineRow{"Tabs", "\tP:\tspeed\t120 ",
                "P:\tspeed\t120 | P: speed 120 | P speed 120 | P | complete |  | P:\tspeed\t120"},
        LineRow{"ColonsInsideBlocks", "MIN:-10", "MIN:-10 | MIN:-10 | MIN -10 | MIN-10 | complete |  | MIN:-10"},
        LineRow{"EmptyQuotes", R"(T: empty "")",
                R"(T: empty "" | T: empty "" | T empty "" | T | complete | T: empty  | T: empty )"},
        LineRow{"SeveralQuotedStrings", R"(T: t "a" and "b")",
                R"(T: t "a" and "b" | T: t "a" and "b" | T t "a" and "b" | T | complete | a" and "b | b)"},
        LineRow{"BackslashQuotePair", R"(T: t "a \"b\" c")",
                R"(T: t "a \"b\" c" | T: t "a \"b\" c" | T t "a \"b\" c" | T | complete | a \"b\" c |  c)"},
        LineRow{"LoneBackslashQuote", R"(T: t "a \"" b")",
                R"(T: t "a \"" b" | T: t "a \"" b" | T t "a \"" b" | T | incomplete | T: t "a \"" b |  b)"},
        LineRow{"NewlineEscape", R"(H: t "one\ntwo")",
                R"(H: t "one\ntwo" | H: t "one\ntwo" | H t "one\ntwo" | H | complete | one<LF>two | one\ntwo)"}),
    rowName<LineRow>);

} // namespace
