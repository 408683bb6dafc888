#include "reader/wdlsourcefile.h"
#include "support/testsupport.h"

namespace {

// Everything the layer tells of a line, as one string.
QString describe(const WdlSourceFile &file)
{
    QString out;
    for (const WdlSourceFile::Line &line : file.lines()) {
        out += QString::number(line.number) + QLatin1Char(' ') + QString::number(line.offset) + QLatin1Char(' ')
               + QString::number(line.kind) + QLatin1Char(' ') + QString::number(line.depth)
               + (line.inScript ? QStringLiteral(" script ") : QStringLiteral(" ")) + QString::number(line.codeStart)
               + QLatin1Char('-') + QString::number(line.codeEnd) + QLatin1Char(' ')
               + QString::number(line.commentStart) + QLatin1Char(' ') + QString::number(line.quoteStart)
               + QLatin1Char(' ') + QString::fromUtf8(line.raw.toHex());
        for (const WdlSourceFile::Word &word : line.words)
            out += QLatin1Char(' ') + word.text + QLatin1Char('@') + QString::number(word.column) + QLatin1Char(':')
                   + QString::number(word.start) + QLatin1Char('-') + QString::number(word.end);
        out += QLatin1Char('\n');
    }
    return out;
}

struct ReuseRow
{
    const char *name;
    const char *before;
    const char *after;

    friend void PrintTo(const ReuseRow &row, std::ostream *os) { *os << row.name; }
};

class WdlSourceFileReuse : public ::testing::TestWithParam<ReuseRow>
{
};

// A file split with an earlier version at hand is the file split afresh:
// lines taken over get their new numbers, offsets and depths.
TEST_P(WdlSourceFileReuse, GivesWhatAFreshSplitGives)
{
    const WdlSourceFile earlier = WdlSourceFile::fromBytes(GetParam().before);
    const QByteArray after(GetParam().after);
    const WdlSourceFile reused = WdlSourceFile::fromBytes(after, earlier);
    EXPECT_EQ(describe(reused).toStdString(), describe(WdlSourceFile::fromBytes(after)).toStdString());
    EXPECT_EQ(reused.bytes(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WdlSourceFileReuse,
    ::testing::Values(ReuseRow{"a_line_changed", "T: a \"x\"\nT: b \"y\"\n", "T: a \"x\"\nT: bb \"y\"\n"},
                      ReuseRow{"lines_move_down", "SCREEN_OVERLAY: s\n{\n   NS: t\n}\n",
                               "# new\n\nSCREEN_OVERLAY: s\n{\n   NS: t\n}\n"},
                      // The same line at another depth: inside a script, and out of it.
                      ReuseRow{"depth_changes", "NSS: n\n{\n   SNS a\n}\nSNS a\n", "SNS a\nNSS: n\n{\n   SNS a\n"},
                      // A line's first place takes no line with a byte order mark of its own.
                      ReuseRow{"second_byte_order_mark", "T: a \"x\"\n\xEF\xBB\xBFT: b \"y\"\n",
                               "\xEF\xBB\xBFT: b \"y\"\n"},
                      ReuseRow{"carriage_returns", "T: a \"x\"\r\nT: b\r\"y\"\n", "T: b\r\"y\"\nT: a \"x\"\r\n\r"}),
    rowName<ReuseRow>);

} // namespace
