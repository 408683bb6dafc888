#include "reader/sourcecolumns.h"

#include "reader/sourceoverlay.h"
#include "support/wizardfiles.h"

namespace {

struct ColumnRow
{
    const char *name;
    const char *line;
    const char *word;
    int column;

    friend void PrintTo(const ColumnRow &row, std::ostream *os) { *os << row.line << " / " << row.word; }
};

class SourceColumnsInLine : public ::testing::TestWithParam<ColumnRow>
{
};

TEST_P(SourceColumnsInLine, FindsTheWholeWordBeforeTheComment)
{
    EXPECT_EQ(SourceColumns::columnInLine(QString::fromUtf8(GetParam().line), QString::fromUtf8(GetParam().word)),
              GetParam().column);
}

// Columns count UTF-16 units from 1; a word counts only where the reader
// would split it off, and only in the code before the comment.
INSTANTIATE_TEST_SUITE_P(Rows, SourceColumnsInLine,
                         ::testing::Values(ColumnRow{"AfterIndentation", "   NS: speed", "speed", 8},
                                           ColumnRow{"GluedToTheTagColon", "NS:speed", "speed", 4},
                                           ColumnRow{"NotInsideALongerWord", "   NS: speed_screen speed", "speed", 21},
                                           ColumnRow{"NotAPrefix", "   NS: speedy", "speed", 0},
                                           ColumnRow{"InsideQuotes", R"(T: t "x")", "x", 7},
                                           ColumnRow{"BetweenCommas", R"(CLF: f "1,22,3")", "22", 11},
                                           ColumnRow{"TabsAreBlanks", "\tCVP\t70000 lp", "70000", 6},
                                           ColumnRow{"NotInAHashComment", "NS: a # speed", "speed", 0},
                                           ColumnRow{"NotInASlashComment", "NS: a // speed", "speed", 0},
                                           ColumnRow{"EndsAtTheComment", "NS: speed// next", "speed", 5},
                                           ColumnRow{"WideCharactersBefore", "T: \u00fc\u00fc x \"y\"", "x", 7},
                                           ColumnRow{"EmptyWord", "NS: a", "", 0},
                                           ColumnRow{"BracketsAreTheWord", "   CPFA a b[1] c", "b[1]", 11}),
                         rowName<ColumnRow>);

TEST(SourceColumns, ReadsTheLineOfTheFileOrTheOverlay)
{
    WizardFiles files;
    const QString path = files.write(QStringLiteral("w.wdl"), QStringLiteral("\xEF\xBB\xBF# a\r\n  NS: next\n"));
    SourceColumns columns;
    EXPECT_EQ(columns.column(path, 2, QStringLiteral("next")), 7);
    EXPECT_EQ(columns.column(path, 1, QStringLiteral("next")), 0);
    EXPECT_EQ(columns.column(path, 3, QStringLiteral("next")), 0);
    EXPECT_EQ(columns.column(files.path(QStringLiteral("none.wdl")), 1, QStringLiteral("next")), 0);

    SourceOverlay overlay;
    overlay.set(path, "NS: next\n");
    EXPECT_EQ(SourceColumns(&overlay).column(path, 1, QStringLiteral("next")), 5);
}

} // namespace
