#include "items/wdltokentext.h"

#include "support/testsupport.h"

namespace {

// The record is the same with or without a help: both keys are reserved anyway.
TEST(WdlTokenText, RecordHoldsNumberAndBothKeysPastTheReservedNumbers)
{
    const auto record = [](quint16 position) {
        WdlTokenText text(QStringLiteral("t"), QStringLiteral("Text"), QStringLiteral("Help"));
        text.setItemNumber(position);
        return hex(text.toByteArray());
    };
    EXPECT_EQ(record(1), "01 00 01 00 00 00 02 00 00 00");
    EXPECT_EQ(record(246), "F6 00 EB 01 00 00 EC 01 00 00");
    // 247 to 250 are reserved on the panel: the 247th text is 251.
    EXPECT_EQ(record(247), "FB 00 F5 01 00 00 F6 01 00 00");
}

TEST(WdlTokenText, DumpEscapesLineBreaksOnlyAndIsEmptyInsideAScreen)
{
    const auto dump = [](const char *text, const char *help, bool inScreen = false) {
        return WdlTokenText(QStringLiteral("Welcome_1"), QString::fromUtf8(text), QString::fromUtf8(help))
            .toString(inScreen)
            .toStdString();
    };
    EXPECT_EQ(dump("Welcome\nto the wizard", ""), "T: Welcome_1 \"Welcome\\nto the wizard\"\n");
    EXPECT_EQ(dump("Say \"hi\"", ""), "T: Welcome_1 \"Say \"hi\"\"\n");
    EXPECT_EQ(dump("Hi", " "), "T: Welcome_1 \"Hi\"\nH: Welcome_1 \" \"\n") << "a blank help is a help";
    EXPECT_EQ(dump("Hi", "Help", true), "");
}

} // namespace
