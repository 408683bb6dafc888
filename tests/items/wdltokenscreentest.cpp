#include "items/wdltokenscreen.h"

#include "testhelpers.h"

#include <functional>

namespace {

// The items a screen refers to, with distinct numbers so that every field of
// a record shows where it came from.
struct Items
{
    WdlTokenScreen next{QStringLiteral("s2")};
    WdlTokenScript nss{QStringLiteral("nss_s1"), WdlTokenScript::ScriptType_NSS};
    WdlTokenScript pss{QStringLiteral("pss_shared"), WdlTokenScript::ScriptType_PSS};
    WdlTokenScript pre{QStringLiteral("pre_s1"), WdlTokenScript::ScriptType_PRE};
    WdlTokenScript ws{QStringLiteral("ws_s1"), WdlTokenScript::ScriptType_WS};
    WdlTokenParam first{QStringLiteral("p1"), 120};
    WdlTokenParam second{QStringLiteral("p2"), 121};
    WdlTokenParam third{QStringLiteral("p3"), 122};
    WdlTokenText text{QStringLiteral("welcome"), QStringLiteral("Welcome"), false};
    WdlTokenOverlay overlay{QStringLiteral("ov1")};

    Items()
    {
        for (auto [item, number] : {std::pair<WdlToken *, int>{&next, 2}, {&nss, 3}, {&pss, 4}, {&pre, 5},
                                    {&first, 6}, {&second, 7}, {&overlay, 8}, {&ws, 9}})
            item->setItemNumber(quint16(number));
        nss.addCommand(QStringLiteral("SNS s2"), 1);
        pre.addCommand(QStringLiteral("EXIT"), 2);
        overlay.setText(&text);
        overlay.setAction(WdlTokenOverlay::OK_ACTION, QStringLiteral("GOTO_NEXT_SCREEN"));
        overlay.setAction(WdlTokenOverlay::CANCEL_ACTION, QStringLiteral("EXIT_WIZARD"));
    }
};

using Setup = std::function<void(WdlTokenScreen &, Items &)>;

struct ScreenRecordCase
{
    const char *name;
    Setup setup;
    const char *record;
};

class WdlTokenScreenRecord : public ::testing::TestWithParam<ScreenRecordCase>
{
};

TEST_P(WdlTokenScreenRecord, ShiftsFieldsByPreScriptAndSecondParameter)
{
    Items items;
    WdlTokenScreen screen(QStringLiteral("s1"));
    screen.setItemNumber(1);
    screen.setNextScreen(&items.next);
    screen.setNextScreenScript(&items.nss);
    screen.setPss(&items.pss);
    // Never part of the record.
    screen.setScript(WdlTokenScript::ScriptType_WS, &items.ws);
    GetParam().setup(screen, items);
    EXPECT_EQ(hexBytes(screen.toByteArray()), GetParam().record);
}

void pre(WdlTokenScreen &s, Items &i) { s.setPreScreenScript(&i.pre); }
void one(WdlTokenScreen &s, Items &i) { s.addParameter(&i.first); }
void two(WdlTokenScreen &s, Items &i) { s.addParameter(&i.first); s.addParameter(&i.second); }
void overlay(WdlTokenScreen &s, Items &i) { s.setOverlay(&i.overlay); }
Setup both(Setup a, Setup b) { return [=](WdlTokenScreen &s, Items &i) { a(s, i); b(s, i); }; }

INSTANTIATE_TEST_SUITE_P(
    Kinds, WdlTokenScreenRecord,
    ::testing::Values(
        ScreenRecordCase{"Single", one, "02 01 00 09 00 01 02 00 03 00 04 00 06 00"},
        ScreenRecordCase{"SingleWithPreScript", both(pre, one), "02 01 00 0B 00 04 02 00 03 00 04 00 05 00 06 00"},
        ScreenRecordCase{"Dual", two, "02 01 00 0B 00 02 02 00 03 00 04 00 06 00 07 00"},
        ScreenRecordCase{"DualWithPreScript", both(pre, two), "02 01 00 0D 00 05 02 00 03 00 04 00 05 00 06 00 07 00"},
        ScreenRecordCase{"Overlay", overlay, "02 01 00 09 00 03 02 00 03 00 04 00 08 00"},
        ScreenRecordCase{"OverlayWithPreScript", both(pre, overlay), "02 01 00 0B 00 06 02 00 03 00 04 00 05 00 08 00"},
        // The overlay wins; the second parameter's room is counted and left zero.
        ScreenRecordCase{"OverlayAndTwoParameters", both(overlay, two), "02 01 00 0B 00 03 02 00 03 00 04 00 08 00 00 00"},
        ScreenRecordCase{"Empty", [](WdlTokenScreen &, Items &) {}, "02 01 00 09 00 00 02 00 03 00 04 00 00 00"},
        ScreenRecordCase{"OnlyPreScript", pre, "02 01 00 0B 00 03 02 00 03 00 04 00 05 00 00 00"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(WdlTokenScreenDump, OverlayScreenWithScriptsAndNextScreen)
{
    Items items;
    WdlTokenScreen screen(QStringLiteral("s1"));
    screen.setPreScreenScript(&items.pre);
    screen.setOverlay(&items.overlay);
    screen.setPss(&items.pss);
    // Used by another screen too: named here, written at top level.
    items.pss.addReference();
    screen.setNextScreen(&items.next);
    screen.setNextScreenScript(&items.nss);
    screen.setScript(WdlTokenScript::ScriptType_WS, &items.ws);

    EXPECT_EQ(screen.toString(false).toStdString(),
              "SCREEN_OVERLAY: s1\n{\n"
              "   PRE_SCREEN_SCRIPT: pre_s1\n   {\n      EXIT\n   }\n\n"
              "   OVERLAY: ov1\n   {\n      T: welcome\n"
              "      OK_ACTION: GOTO_NEXT_SCREEN\n      CANCEL_ACTION: EXIT_WIZARD\n      BACK_ACTION: \n"
              "      INFO_ACTION: \n      UP_ACTION: \n      DOWN_ACTION: \n      LEFT_ACTION: \n"
              "      RIGHT_ACTION: \n   }\n\n"
              "   PSS: pss_shared\n\n"
              "   NS: s2\n"
              "   NSS: nss_s1\n   {\n      SNS s2\n   }\n\n"
              "}\n");
    EXPECT_EQ(screen.toString(true).toStdString(), "");
}

TEST(WdlTokenScreenDump, KeywordFollowsParameterCount)
{
    Items items;
    WdlTokenScreen screen(QStringLiteral("s1"));
    screen.addParameter(&items.first);
    EXPECT_EQ(screen.toString(false).toStdString(), "SCREEN_SINGLE_PARAM: s1\n{\n   P: p1\n\n}\n");
    screen.addParameter(&items.second);
    EXPECT_EQ(screen.toString(false).toStdString(), "SCREEN_DUAL_PARAM: s1\n{\n   P: p1\n   P: p2\n\n}\n");
    screen.addParameter(&items.third);
    EXPECT_EQ(screen.toString(false).toStdString(), "s1\n{\n   P: p1\n   P: p2\n   P: p3\n\n}\n");
}

TEST(WdlTokenScreenEditor, OverlayText)
{
    Items items;
    WdlTokenScreen paramScreen(QStringLiteral("a"));
    paramScreen.addParameter(&items.first);
    EXPECT_EQ(metaCall<QString>(&paramScreen, "getOverlayText"), QStringLiteral("ERROR not overlay"));

    WdlTokenOverlay bare(QStringLiteral("bare"));
    WdlTokenScreen bareScreen(QStringLiteral("b"));
    bareScreen.setOverlay(&bare);
    EXPECT_EQ(metaCall<QString>(&bareScreen, "getOverlayText"), QStringLiteral("UNKNOWN"));

    WdlTokenScreen textScreen(QStringLiteral("c"));
    textScreen.setOverlay(&items.overlay);
    EXPECT_EQ(metaCall<QString>(&textScreen, "getOverlayText"), QStringLiteral("Welcome"));
    EXPECT_EQ(metaCall<WdlTokenOverlay *>(&textScreen, "getOverlay"), &items.overlay);
}

TEST(WdlTokenScreenEditor, ReplaceParameterAppendsReplacesOrRefuses)
{
    Items items;
    WdlTokenScreen screen(QStringLiteral("s1"));
    screen.addParameter(&items.first);

    EXPECT_TRUE(metaCall<bool>(&screen, "replaceParameter", &items.second, 2));
    EXPECT_TRUE(metaCall<bool>(&screen, "replaceParameter", &items.third, 1));
    EXPECT_FALSE(metaCall<bool>(&screen, "replaceParameter", &items.first, 3));
    EXPECT_FALSE(metaCall<bool>(&screen, "replaceParameter", &items.first, 0));
    EXPECT_FALSE(metaCall<bool>(&screen, "replaceParameter", static_cast<WdlTokenParam *>(nullptr), 1));
    EXPECT_EQ(metaCall<QStringList>(&screen, "getParameters"), (QStringList{QStringLiteral("p3"), QStringLiteral("p2")}));
    EXPECT_EQ(metaCall<WdlTokenParam *>(&screen, "getParam", 0), &items.third);
    EXPECT_EQ(metaCall<WdlTokenParam *>(&screen, "getParam", 2), nullptr);
    EXPECT_EQ(items.second.referenceCount() + items.third.referenceCount(), 0);
}

TEST(WdlTokenScreenEditor, RemoveParameterTakesFirstForZeroElseLast)
{
    Items items;
    WdlTokenScreen screen(QStringLiteral("s1"));
    for (WdlTokenParam *p : {&items.first, &items.second, &items.third})
        screen.addParameter(p);

    EXPECT_TRUE(metaCall<bool>(&screen, "removeParameter", 5));
    EXPECT_TRUE(metaCall<bool>(&screen, "removeParameter", 0));
    EXPECT_EQ(metaCall<QStringList>(&screen, "getParameters"), QStringList{QStringLiteral("p2")});
    EXPECT_TRUE(metaCall<bool>(&screen, "removeParameter", 1));
    EXPECT_TRUE(metaCall<bool>(&screen, "removeParameter", 1));
    EXPECT_EQ(metaCall<int>(&screen, "getParametersInScreen"), 0);
}

TEST(WdlTokenScreenEditor, ScriptSlotsOneToFourCountNothing)
{
    Items items;
    WdlTokenScreen screen(QStringLiteral("s1"));
    const std::pair<int, WdlTokenScript *> scriptSlots[] = {{1, &items.ws}, {2, &items.nss}, {3, &items.pss}, {4, &items.pre}};
    for (const auto &slot : scriptSlots)
        metaCallVoid(&screen, "setScript", slot.first, slot.second);
    metaCallVoid(&screen, "setScript", 5, &items.ws);
    metaCallVoid(&screen, "setScript", 1, static_cast<WdlTokenScript *>(nullptr));

    for (const auto &slot : scriptSlots) {
        EXPECT_EQ(metaCall<WdlTokenScript *>(&screen, "getScript", slot.first), slot.second) << slot.first;
        EXPECT_EQ(slot.second->referenceCount(), 0) << slot.first;
    }
    for (int other : {0, 5})
        EXPECT_FALSE(metaCall<bool>(&screen, "hasScript", other)) << other;
    EXPECT_EQ(metaCall<WdlTokenScript *>(&screen, "getNextScreenScript"), &items.nss);
}

TEST(WdlTokenScreenEditor, SetNextScreenNameNeitherCountsNorEmits)
{
    Items items;
    WdlTokenScreen screen(QStringLiteral("s1"));
    // A spy cannot record a QString& argument; a direct connection can count.
    int emitted = 0;
    QObject::connect(&screen, &WdlTokenScreen::nextScreenNameChanged, [&emitted](QString &) { ++emitted; });
    metaCallVoid(&screen, "setNextScreenName", static_cast<WdlTokenScreen *>(nullptr));
    EXPECT_FALSE(metaCall<bool>(&screen, "hasNextScreen"));
    metaCallVoid(&screen, "setNextScreenName", &items.next);
    EXPECT_EQ(metaCall<WdlTokenScreen *>(&screen, "getNextScreen"), &items.next);
    EXPECT_EQ(items.next.referenceCount(), 0);
    EXPECT_EQ(emitted, 0);
}

} // namespace
