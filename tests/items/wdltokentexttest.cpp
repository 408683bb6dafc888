#include "items/wdltokentext.h"

#include "testhelpers.h"

#include <QSignalSpy>

namespace {

struct TextRecordCase
{
    const char *name;
    quint16 position;
    const char *record;
};

class WdlTokenTextRecord : public ::testing::TestWithParam<TextRecordCase>
{
};

// The record is the same with or without a help: the keys are reserved anyway.
TEST_P(WdlTokenTextRecord, WritesNumberAndBothKeys)
{
    WdlTokenText text(QStringLiteral("t"), QStringLiteral("Text"), QStringLiteral("Help"));
    text.setItemNumber(GetParam().position);
    EXPECT_EQ(hexBytes(text.toByteArray()), GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, WdlTokenTextRecord,
    ::testing::Values(TextRecordCase{"First", 1, "01 00 01 00 00 00 02 00 00 00"},
                      TextRecordCase{"LastBeforeGap", 246, "F6 00 EB 01 00 00 EC 01 00 00"},
                      // 247 to 250 are reserved on the panel: the 247th text is 251.
                      TextRecordCase{"FirstAfterGap", 247, "FB 00 F5 01 00 00 F6 01 00 00"},
                      TextRecordCase{"SecondAfterGap", 248, "FC 00 F7 01 00 00 F8 01 00 00"}),
    [](const auto &info) { return std::string(info.param.name); });

struct TextDumpCase
{
    const char *name;
    const char *text;
    const char *help;
    bool inScreen;
    const char *dump;
};

class WdlTokenTextDump : public ::testing::TestWithParam<TextDumpCase>
{
};

TEST_P(WdlTokenTextDump, WritesTextAndHelpLines)
{
    const TextDumpCase &c = GetParam();
    const WdlTokenText text(QStringLiteral("Welcome_1"), QString::fromUtf8(c.text), QString::fromUtf8(c.help));
    EXPECT_EQ(text.toString(c.inScreen).toStdString(), c.dump);
}

INSTANTIATE_TEST_SUITE_P(
    Dumps, WdlTokenTextDump,
    ::testing::Values(
        TextDumpCase{"LineBreakEscaped", "Welcome\nto the wizard", "", false, "T: Welcome_1 \"Welcome\\nto the wizard\"\n"},
        TextDumpCase{"QuoteKept", "Say \"hi\"", "", false, "T: Welcome_1 \"Say \"hi\"\"\n"},
        TextDumpCase{"BlankHelpIsAHelp", "Hi", " ", false, "T: Welcome_1 \"Hi\"\nH: Welcome_1 \" \"\n"},
        TextDumpCase{"HelpEscaped", "Hi", "a\nb", false, "T: Welcome_1 \"Hi\"\nH: Welcome_1 \"a\\nb\"\n"},
        TextDumpCase{"NothingInScreen", "Hi", "Help", true, ""}),
    [](const auto &info) { return std::string(info.param.name); });

// The editor's property write is a change only when the text differs;
// the reader's setTextOrHelp always announces.
TEST(WdlTokenTextSignals, PropertyWriteEmitsOnlyOnChange)
{
    WdlTokenText text(QStringLiteral("t"), QStringLiteral("Text"), QStringLiteral("Help"));
    QSignalSpy textSpy(&text, SIGNAL(textChanged(QString)));
    QSignalSpy helpSpy(&text, SIGNAL(helpChanged(QString)));
    ASSERT_TRUE(textSpy.isValid() && helpSpy.isValid());
    EXPECT_TRUE(text.setProperty("text", QStringLiteral("Text")));
    EXPECT_TRUE(text.setProperty("help", QStringLiteral("Help")));
    EXPECT_EQ(textSpy.count() + helpSpy.count(), 0);

    EXPECT_TRUE(text.setProperty("text", QStringLiteral("text")));
    ASSERT_EQ(textSpy.count(), 1);
    EXPECT_EQ(textSpy.at(0).at(0).toString(), QStringLiteral("text"));

    text.setTextOrHelp(QStringLiteral("text"), false);
    text.setTextOrHelp(QStringLiteral("Help"), true);
    EXPECT_EQ(textSpy.count(), 2);
    EXPECT_EQ(helpSpy.count(), 1);
}

TEST(WdlTokenTextIndex, SkipsReservedNumbersThroughMetaCall)
{
    WdlTokenText text(QStringLiteral("t"), QStringLiteral("x"), false);
    text.setItemNumber(250);
    EXPECT_EQ(metaCall<quint16>(&text, "getIndex"), 254);
}

} // namespace
