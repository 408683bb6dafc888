#include "items/wdltokenoverlay.h"

#include "testhelpers.h"

namespace {

struct OverlayRecordCase
{
    const char *name;
    int key;
    const char *action;
    const char *record;
};

class WdlTokenOverlayRecord : public ::testing::TestWithParam<OverlayRecordCase>
{
};

TEST_P(WdlTokenOverlayRecord, StoresActionPerKeyAndNoActionOtherwise)
{
    WdlTokenText text(QStringLiteral("t"), QStringLiteral("Hello"), false);
    text.setItemNumber(5);
    WdlTokenOverlay overlay(QStringLiteral("ov"));
    overlay.setItemNumber(1);
    overlay.setText(&text);
    overlay.setAction(GetParam().key, QString::fromLatin1(GetParam().action));
    EXPECT_EQ(hexBytes(overlay.toByteArray()), GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(
    Actions, WdlTokenOverlayRecord,
    ::testing::Values(
        OverlayRecordCase{"OkGotoNext", WdlTokenOverlay::OK_ACTION, "GOTO_NEXT_SCREEN",
                          "03 01 00 0A 00 05 00 06 0C 0C 0C 0C 0C 0C 0C"},
        OverlayRecordCase{"RightAutoTune", WdlTokenOverlay::RIGHT_ACTION, "PROCEED_TO_AUTO_TUNE",
                          "03 01 00 0A 00 05 00 0C 0C 0C 0C 0C 0C 0C 15"},
        OverlayRecordCase{"UnknownName", WdlTokenOverlay::CANCEL_ACTION, "GOTO_NOWHERE",
                          "03 01 00 0A 00 05 00 0C 0C 0C 0C 0C 0C 0C 0C"},
        // Keys are matched exactly: neither another case nor a scoped name.
        OverlayRecordCase{"LowerCase", WdlTokenOverlay::OK_ACTION, "goto_next_screen",
                          "03 01 00 0A 00 05 00 0C 0C 0C 0C 0C 0C 0C 0C"},
        OverlayRecordCase{"ScopedName", WdlTokenOverlay::OK_ACTION, "WdlTokenOverlay::EXIT_WIZARD",
                          "03 01 00 0A 00 05 00 0C 0C 0C 0C 0C 0C 0C 0C"},
        OverlayRecordCase{"KeyOutOfRangeIgnored", 8, "EXIT_WIZARD",
                          "03 01 00 0A 00 05 00 0C 0C 0C 0C 0C 0C 0C 0C"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(WdlTokenOverlayRecord, WithoutTextStoresZero)
{
    WdlTokenOverlay overlay(QStringLiteral("ov"));
    overlay.setItemNumber(2);
    EXPECT_EQ(hexBytes(overlay.toByteArray()), "03 02 00 0A 00 00 00 0C 0C 0C 0C 0C 0C 0C 0C");
}

TEST(WdlTokenOverlayBind, MapsKeyAndActionNamesToValues)
{
    WdlTokenOverlay overlay(QStringLiteral("ov"));
    overlay.bind(QStringLiteral("OK_ACTION"), QStringLiteral("GOTO_NEXT_SCREEN"));
    overlay.bind(QStringLiteral("BACK_ACTION"), QStringLiteral("GOTO_NOWHERE"));
    overlay.bind(QStringLiteral("RIGHT_ACTION"), QStringLiteral("EXIT_WIZARD"));
    overlay.bind(QStringLiteral("MIDDLE_ACTION"), QStringLiteral("EXIT_WIZARD"));
    const QMap<int, int> expected{{0, 6}, {2, -1}, {7, 9}};
    EXPECT_EQ(overlay.commandMap(), expected);
}

TEST(WdlTokenOverlayDump, ListsAllEightKeysInsideScreenOnly)
{
    WdlTokenText text(QStringLiteral("welcome"), QStringLiteral("Welcome"), false);
    WdlTokenOverlay overlay(QStringLiteral("ov1"));
    overlay.setText(&text);
    overlay.setAction(WdlTokenOverlay::OK_ACTION, QStringLiteral("GOTO_NEXT_SCREEN"));
    overlay.setAction(WdlTokenOverlay::CANCEL_ACTION, QStringLiteral("EXIT_WIZARD"));
    overlay.setAction(WdlTokenOverlay::LEFT_ACTION, QStringLiteral("GOTO_PREVIOUS_SCREEN"));
    EXPECT_EQ(overlay.toString(true).toStdString(),
              "   OVERLAY: ov1\n"
              "   {\n"
              "      T: welcome\n"
              "      OK_ACTION: GOTO_NEXT_SCREEN\n"
              "      CANCEL_ACTION: EXIT_WIZARD\n"
              "      BACK_ACTION: \n"
              "      INFO_ACTION: \n"
              "      UP_ACTION: \n"
              "      DOWN_ACTION: \n"
              "      LEFT_ACTION: GOTO_PREVIOUS_SCREEN\n"
              "      RIGHT_ACTION: \n"
              "   }\n");
    EXPECT_EQ(overlay.toString(false).toStdString(), "");
    EXPECT_EQ(text.referenceCount(), 1);
}

} // namespace
