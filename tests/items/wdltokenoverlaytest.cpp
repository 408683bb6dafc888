#include "items/wdltokenoverlay.h"

#include "support/testsupport.h"

namespace {

// Overlay 1 showing text 5, then one action byte per key; 12 is "no action".
TEST(WdlTokenOverlay, RecordStoresTheActionOfEachKeyAndNoActionOtherwise)
{
    WdlTokenText text(QStringLiteral("t"), QStringLiteral("Hello"), false);
    text.setItemNumber(5);
    const auto record = [&text](int key, const char *action, bool withText = true) {
        WdlTokenOverlay overlay(QStringLiteral("ov"));
        overlay.setItemNumber(1);
        if (withText)
            overlay.setText(&text);
        overlay.setAction(key, QString::fromLatin1(action));
        return hex(overlay.toByteArray());
    };
    EXPECT_EQ(record(WdlTokenOverlay::OK_ACTION, "GOTO_NEXT_SCREEN"), "03 01 00 0A 00 05 00 06 0C 0C 0C 0C 0C 0C 0C");
    EXPECT_EQ(record(WdlTokenOverlay::RIGHT_ACTION, "PROCEED_TO_AUTO_TUNE"),
              "03 01 00 0A 00 05 00 0C 0C 0C 0C 0C 0C 0C 15");
    const std::string none = "03 01 00 0A 00 05 00 0C 0C 0C 0C 0C 0C 0C 0C";
    EXPECT_EQ(record(WdlTokenOverlay::CANCEL_ACTION, "GOTO_NOWHERE"), none) << "unknown name";
    // Names are matched exactly: neither another case nor a scoped name.
    EXPECT_EQ(record(WdlTokenOverlay::OK_ACTION, "goto_next_screen"), none);
    EXPECT_EQ(record(WdlTokenOverlay::OK_ACTION, "WdlTokenOverlay::EXIT_WIZARD"), none);
    EXPECT_EQ(record(8, "EXIT_WIZARD"), none) << "key out of range";
    EXPECT_EQ(record(0, "", false), "03 01 00 0A 00 00 00 0C 0C 0C 0C 0C 0C 0C 0C") << "no text";
}

// Bindings keep both names as enumeration values, -1 for a name that is none.
TEST(WdlTokenOverlay, BindingsKeepUnknownNamesAsMinusOne)
{
    WdlTokenOverlay overlay(QStringLiteral("ov"));
    overlay.bind(QStringLiteral("OK_ACTION"), QStringLiteral("EXIT_WIZARD"));
    overlay.bind(QStringLiteral("RIGHT_ACTION"), QStringLiteral("GOTO_NOWHERE"));
    overlay.bind(QStringLiteral("JUMP_ACTION"), QStringLiteral("GOTO_NEXT_SCREEN"));
    const QMap<int, int> expected{{-1, WdlTokenOverlay::GOTO_NEXT_SCREEN},
                                  {WdlTokenOverlay::OK_ACTION, WdlTokenOverlay::EXIT_WIZARD},
                                  {WdlTokenOverlay::RIGHT_ACTION, -1}};
    EXPECT_EQ(overlay.commandMap(), expected);
}

} // namespace
