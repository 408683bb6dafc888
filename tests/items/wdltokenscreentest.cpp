#include "items/wdltokenscreen.h"

#include "support/testsupport.h"

namespace {

// Screen 1 and the items it refers to, with distinct numbers so that every
// field of a record shows where it came from.
class WdlTokenScreenTest : public ::testing::Test
{
protected:
    WdlTokenScreenTest()
    {
        for (auto [item, number] : {std::pair<WdlToken *, int>{&screen, 1},
                                    {&next, 2},
                                    {&nss, 3},
                                    {&pss, 4},
                                    {&pre, 5},
                                    {&first, 6},
                                    {&second, 7},
                                    {&overlay, 8},
                                    {&ws, 9}})
            item->setItemNumber(quint16(number));
        overlay.setText(&text);
    }

    WdlTokenScreen screen{QStringLiteral("s1")};
    WdlTokenScreen next{QStringLiteral("s2")};
    WdlTokenScript nss{QStringLiteral("nss_s1"), WdlTokenScript::ScriptType_NSS};
    WdlTokenScript pss{QStringLiteral("pss_s1"), WdlTokenScript::ScriptType_PSS};
    WdlTokenScript pre{QStringLiteral("pre_s1"), WdlTokenScript::ScriptType_PRE};
    WdlTokenScript ws{QStringLiteral("ws_s1"), WdlTokenScript::ScriptType_WS};
    WdlTokenParam first{QStringLiteral("p1"), 120};
    WdlTokenParam second{QStringLiteral("p2"), 121};
    WdlTokenParam third{QStringLiteral("p3"), 122};
    WdlTokenText text{QStringLiteral("welcome"), QStringLiteral("Welcome"), false};
    WdlTokenOverlay overlay{QStringLiteral("ov1")};
};

// Kind, next screen 2, NSS 3, PSS 4, [pre-screen script 5], then the overlay
// 8 or the parameters 6 and 7. The write script is never part of the record.
TEST_F(WdlTokenScreenTest, RecordShiftsFieldsByPreScriptAndSecondParameter)
{
    const auto record = [this](bool withPre, bool withOverlay, int parameters) {
        WdlTokenScreen s(QStringLiteral("s"));
        s.setItemNumber(1);
        s.setNextScreen(&next);
        s.setNextScreenScript(&nss);
        s.setPss(&pss);
        s.setScript(WdlTokenScript::ScriptType_WS, &ws);
        if (withPre)
            s.setPreScreenScript(&pre);
        if (withOverlay)
            s.setOverlay(&overlay);
        for (WdlTokenParam *p : {&first, &second}) {
            if (parameters-- > 0)
                s.addParameter(p);
        }
        return hex(s.toByteArray());
    };
    EXPECT_EQ(record(false, false, 1), "02 01 00 09 00 01 02 00 03 00 04 00 06 00");
    EXPECT_EQ(record(true, false, 1), "02 01 00 0B 00 04 02 00 03 00 04 00 05 00 06 00");
    EXPECT_EQ(record(false, false, 2), "02 01 00 0B 00 02 02 00 03 00 04 00 06 00 07 00");
    EXPECT_EQ(record(true, false, 2), "02 01 00 0D 00 05 02 00 03 00 04 00 05 00 06 00 07 00");
    EXPECT_EQ(record(false, true, 0), "02 01 00 09 00 03 02 00 03 00 04 00 08 00");
    EXPECT_EQ(record(true, true, 0), "02 01 00 0B 00 06 02 00 03 00 04 00 05 00 08 00");
    // The overlay wins; the second parameter's room is counted and left zero.
    EXPECT_EQ(record(false, true, 2), "02 01 00 0B 00 03 02 00 03 00 04 00 08 00 00 00");
    EXPECT_EQ(record(false, false, 0), "02 01 00 09 00 00 02 00 03 00 04 00 00 00");
}

// Positions count from 1; one past the end appends, further is refused.
// Removing 0 takes the first, any other position the last. Script slots 1
// to 4 are WS, NSS, PSS and pre-screen script. The editor's calls count no
// reference.
TEST_F(WdlTokenScreenTest, EditorCallsReplaceParametersByPositionAndFillScriptSlots)
{
    screen.addParameter(&first);
    EXPECT_EQ(metaCall<QString>(&screen, "getOverlayText"), QStringLiteral("ERROR not overlay"));
    EXPECT_TRUE(metaCall<bool>(&screen, "replaceParameter", &second, 2));
    EXPECT_TRUE(metaCall<bool>(&screen, "replaceParameter", &third, 1));
    EXPECT_FALSE(metaCall<bool>(&screen, "replaceParameter", &first, 3));
    EXPECT_FALSE(metaCall<bool>(&screen, "replaceParameter", &first, 0));
    EXPECT_FALSE(metaCall<bool>(&screen, "replaceParameter", static_cast<WdlTokenParam *>(nullptr), 1));
    EXPECT_EQ(metaCall<WdlTokenParam *>(&screen, "getParam", 0), &third);
    screen.addParameter(&first);
    EXPECT_TRUE(metaCall<bool>(&screen, "removeParameter", 5));
    EXPECT_TRUE(metaCall<bool>(&screen, "removeParameter", 0));
    EXPECT_EQ(metaCall<QStringList>(&screen, "getParameters"), QStringList{QStringLiteral("p2")});

    const std::pair<int, WdlTokenScript *> scriptSlots[] = {{1, &ws}, {2, &nss}, {3, &pss}, {4, &pre}};
    for (const auto &slot : scriptSlots)
        metaCallVoid(&screen, "setScript", slot.first, slot.second);
    metaCallVoid(&screen, "setScript", 5, &ws);
    for (const auto &slot : scriptSlots)
        EXPECT_EQ(metaCall<WdlTokenScript *>(&screen, "getScript", slot.first), slot.second) << slot.first;
    EXPECT_FALSE(metaCall<bool>(&screen, "hasScript", 5));
    screen.setOverlay(&overlay);
    EXPECT_EQ(metaCall<QString>(&screen, "getOverlayText"), QStringLiteral("Welcome"));
    EXPECT_EQ(second.referenceCount() + third.referenceCount() + ws.referenceCount() + pre.referenceCount(), 0);
}

} // namespace
