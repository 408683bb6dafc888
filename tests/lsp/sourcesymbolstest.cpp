#include "lsp/sourcesymbols.h"
#include "reader/wdlsourcefile.h"
#include "support/testsupport.h"

namespace {

struct SymbolsRow
{
    const char *name;
    const char *wdl;
    // Each occurrence as "line:start-end kind id", lines from 1, "+" after a
    // declaring one, "^n" naming the line of the block's head it stands in.
    const char *expected;

    friend void PrintTo(const SymbolsRow &row, std::ostream *os) { *os << row.name; }
};

class SourceSymbolsTable : public ::testing::TestWithParam<SymbolsRow>
{
};

const char *const kKindNames[] = {"none",   "text",    "cl",     "filter",   "lp",        "param",
                                  "screen", "overlay", "script", "anyparam", "localfirst"};

TEST_P(SourceSymbolsTable, FindsEveryIdWhereTheReaderReadsIt)
{
    const SourceSymbols symbols = SourceSymbols::scan(WdlSourceFile::fromBytes(QByteArray(GetParam().wdl)));
    QStringList out;
    for (const SourceSymbols::Occurrence &o : symbols.occurrences()) {
        QString item = QString::number(o.line + 1) + QLatin1Char(':') + QString::number(o.start) + QLatin1Char('-')
                       + QString::number(o.end) + QLatin1Char(' ') + QLatin1String(kKindNames[o.kind])
                       + QLatin1Char(' ') + o.id + (o.declares ? QStringLiteral("+") : QString());
        if (o.parent >= 0)
            item += QStringLiteral(" ^") + QString::number(symbols.occurrences().at(o.parent).line + 1);
        out.append(item);
    }
    for (const SourceSymbols::Include &include : symbols.includes())
        out.append(QString::number(include.line + 1) + QStringLiteral(":include ") + include.name);
    EXPECT_EQ(out.join(QLatin1Char('\n')).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lsp, SourceSymbolsTable,
    ::testing::Values(
        SymbolsRow{"top_level_items", "T: t \"x\"\nH: t \"y\"\nP: p 12\nLP: lp = 1\nCLF: f \"1\"\nINCLUDE a/b.wdl\n",
                   "1:3-4 text t+\n2:3-4 text t+\n3:3-4 param p+\n4:4-6 lp lp+\n5:5-6 filter f+\n6:include a/b.wdl"},
        // At the top level the colon belongs to the tag: T:x is the tag Tx.
        SymbolsRow{"colon_at_top_level", "T:x \"y\"\nT x \"y\"\n", "2:2-3 text x+"},
        SymbolsRow{"screen_with_everything",
                   "SCREEN_DUAL_PARAM: s\n{\n   P:p 5\n   {\n      TO:t\n      CLF: f\n   }\n   VP: v\n   {\n"
                   "      T: n \"Name\"\n      UT: u\n      WS: w\n      {\n         CPY v[1] p[2,3]\n      }\n   }\n"
                   "   NS: next\n}\n",
                   "1:19-20 screen s+\n3:5-6 param p+ ^1\n5:9-10 text t ^3\n6:11-12 filter f ^3\n8:7-8 param v+ ^1\n"
                   "10:9-10 text n+ ^8\n11:10-11 text u ^8\n12:10-11 script w+ ^8\n14:13-14 anyparam v ^12\n"
                   "14:18-19 anyparam p ^12\n17:7-11 screen next ^1"},
        SymbolsRow{"choice_parameter_and_list",
                   "VCP: c\n{\n   T: name\n   CL: l\n   {\n      yes*\n      no # comment\n   }\n}\n",
                   "1:5-6 param c+\n3:6-10 text name ^1\n4:7-8 cl l+ ^1\n6:6-9 text yes ^4\n7:6-8 text no ^4"},
        // A script splits at blanks only, and every operand names what the command table says.
        SymbolsRow{"script_operands",
                   "NSS: n\n{\n   SNS a\n   CALL sr\n   SCF p f\n   ENABLE_CHOICE f q\n   CSIV name path\n"
                   "   BEQ x\ty 1\n   BRA 1\n   NOPE x\n}\n",
                   "1:5-6 script n+\n3:7-8 screen a ^1\n4:8-10 script sr ^1\n5:7-8 param p ^1\n5:9-10 filter f ^1\n"
                   "6:17-18 filter f ^1\n6:19-20 localfirst q ^1\n7:8-12 text name ^1\n7:13-17 text path ^1\n"
                   "8:7-10 anyparam x\ty ^1\n8:11-12 anyparam 1 ^1"},
        // Lines in a block under an unknown head name nothing.
        SymbolsRow{
            "unknown_block",
            "SCREEN_OVERLAY: s\n{\n   FOO: x\n   {\n      NS: t\n   }\n   OVERLAY: o\n   {\n      T: t\n   }\n}\n",
            "1:16-17 screen s+\n7:12-13 overlay o+ ^1\n9:9-10 text t ^7"},
        SymbolsRow{"columns_count_utf16_units", "T: \xF0\x9D\x84\x9Ex \"y\"\nT: \xC3\xA4 \"z\"\n",
                   "1:3-6 text \xF0\x9D\x84\x9Ex+\n2:3-4 text \xC3\xA4+"}),
    rowName<SymbolsRow>);

// The block each line is in, for completion: blank lines and braces take
// the block around them.
TEST(SourceSymbols, EveryLineKnowsItsBlock)
{
    const SourceSymbols symbols = SourceSymbols::scan(WdlSourceFile::fromBytes(
        "SCREEN_OVERLAY: s\n{\n\n   OVERLAY: o\n   {\n\n   }\n   PSS: p\n   {\n\n   }\n}\n\n"));
    QStringList contexts;
    for (const SourceSymbols::LineInfo &line : symbols.lines())
        contexts.append(QString::number(line.context));
    EXPECT_EQ(contexts.join(QLatin1Char(' ')).toStdString(), "0 0 1 1 1 6 1 1 1 7 1 0 0");
    EXPECT_EQ(symbols.occurrences().at(0).lastLine, 11);
    EXPECT_EQ(symbols.occurrences().at(1).lastLine, 6);
}

} // namespace
