#include "tool/unifieddiff.h"

#include "support/testsupport.h"

namespace {

struct DiffRow
{
    const char *name;
    const char *before;
    const char *after;
    // Without the two header lines; what diff -u prints after them.
    const char *expected;

    friend void PrintTo(const DiffRow &row, std::ostream *os) { *os << row.name; }
};

class UnifiedDiffHunks : public ::testing::TestWithParam<DiffRow>
{
};

TEST_P(UnifiedDiffHunks, AsDiffUPrintsThem)
{
    const QByteArray diff = UnifiedDiff::diff(GetParam().before, GetParam().after, QStringLiteral("w.wdl"));
    ASSERT_TRUE(diff.startsWith("--- a/w.wdl\n+++ b/w.wdl\n")) << diff.toStdString();
    EXPECT_EQ(diff.mid(24).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, UnifiedDiffHunks,
    ::testing::Values(DiffRow{"OneLineChanged", "a\nb\nc\n", "a\nB\nc\n", "@@ -1,3 +1,3 @@\n a\n-b\n+B\n c\n"},
                      DiffRow{"InsertedAtTheStart", "a\n", "x\na\n", "@@ -1 +1,2 @@\n+x\n a\n"},
                      DiffRow{"AllRemoved", "a\nb\n", "", "@@ -1,2 +0,0 @@\n-a\n-b\n"},
                      DiffRow{"FinalLineEndAdded", "a\nb", "a\nb\n",
                              "@@ -1,2 +1,2 @@\n a\n-b\n\\ No newline at end of file\n+b\n"},
                      // Changes more than six unchanged lines apart make two hunks; six or
                      // fewer, one.
                      DiffRow{"TwoHunks", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n", "x\n2\n3\n4\n5\n6\n7\n8\n9\ny\n",
                              "@@ -1,4 +1,4 @@\n-1\n+x\n 2\n 3\n 4\n@@ -7,4 +7,4 @@\n 7\n 8\n 9\n-10\n+y\n"},
                      DiffRow{"OneHunkAcrossSixLines", "1\n2\n3\n4\n5\n6\n7\n8\n", "x\n2\n3\n4\n5\n6\n7\ny\n",
                              "@@ -1,8 +1,8 @@\n-1\n+x\n 2\n 3\n 4\n 5\n 6\n 7\n-8\n+y\n"},
                      // The shortest script keeps the common lines in the middle.
                      DiffRow{"ShortestEditScript", "a\nb\nc\na\nb\nb\na\n", "c\nb\na\nb\na\nc\n",
                              "@@ -1,7 +1,6 @@\n-a\n-b\n c\n+b\n a\n b\n-b\n a\n+c\n"}),
    rowName<DiffRow>);

TEST(UnifiedDiff, EqualTextsGiveNothing)
{
    EXPECT_TRUE(UnifiedDiff::diff("a\n", "a\n", QStringLiteral("w.wdl")).isEmpty());
}

// Past the edit limit the middle goes as removed and added whole, still a
// correct diff, in linear memory.
TEST(UnifiedDiff, HugeDifferencesStayCorrect)
{
    QByteArray before;
    QByteArray after;
    for (int i = 0; i < 20000; ++i) {
        before += QByteArray::number(i) + '\n';
        after += QByteArray::number(i) + "x\n";
    }
    const QByteArray diff = UnifiedDiff::diff(before, after, QStringLiteral("w.wdl"));
    EXPECT_TRUE(diff.contains("@@ -1,20000 +1,20000 @@\n-0\n-1\n"));
    EXPECT_EQ(diff.mid(24).count("\n-"), 20000);
    EXPECT_EQ(diff.mid(24).count("\n+"), 20000);
}

} // namespace
