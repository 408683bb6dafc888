#include "items/wdltokenparam.h"

#include "support/testsupport.h"

namespace {

// One parameter of each kind with the items it refers to, numbered as a
// wizard would number them: P number 120 is item 4, VP and VCP are item 9.
class WdlTokenParamTest : public ::testing::Test
{
protected:
    WdlTokenParamTest()
    {
        for (auto [item, number] : {std::pair<WdlToken *, int>{&name, 7},
                                    {&unit, 8},
                                    {&low, 1},
                                    {&high, 2},
                                    {&choices, 5},
                                    {&clf, 3},
                                    {&apf, 6},
                                    {&ws, 2},
                                    {&vcpWs, 2},
                                    {&bareP, 4},
                                    {&pClf, 4},
                                    {&pAll, 4},
                                    {&vp, 9},
                                    {&vcp, 9},
                                    {&vcpBare, 9}})
            item->setItemNumber(quint16(number));
        choices.addChoice(&low);
        choices.addChoice(&high);
        choices.setDefaultChoice(1);
        ws.addCommand(QStringLiteral("EXIT"), 1);
        vcpWs.addCommand(QStringLiteral("EXIT"), 1);
        pClf.setClf(&clf);
        pAll.setText(&name);
        pAll.setClf(&clf);
        pAll.setApf(&apf);
        pAll.setWriteScript(&ws);
        vp.setText(&name);
        vp.setUnitText(&unit);
        vp.setMinValue(-10);
        vp.setMaxValue(200);
        vp.setDefaultValue(150);
        vp.setScaleValue(-2);
        vcp.setText(&low);
        vcp.setChoiceList(&choices);
        vcp.setWriteScript(&vcpWs);
    }

    WdlTokenText name{QStringLiteral("name_t"), QStringLiteral("Speed"), QStringLiteral("Motor speed")};
    WdlTokenText unit{QStringLiteral("unit_t"), QStringLiteral("\"V\""), false};
    WdlTokenText low{QStringLiteral("Low"), QStringLiteral("Low"), false};
    WdlTokenText high{QStringLiteral("High"), QStringLiteral("High"), false};
    WdlTokenChoiceList choices{QStringLiteral("speeds")};
    WdlTokenFilter clf{QStringLiteral("clf1"), QBitArray(2, true), true};
    WdlTokenFilter apf{QStringLiteral("apf1"), QBitArray(2, true), false};
    WdlTokenScript ws{QStringLiteral("ws1"), WdlTokenScript::ScriptType_WS};
    WdlTokenScript vcpWs{QStringLiteral("ws2"), WdlTokenScript::ScriptType_WS};
    WdlTokenParam bareP{QStringLiteral("p1"), 120};
    WdlTokenParam pClf{QStringLiteral("p1"), 120};
    WdlTokenParam pAll{QStringLiteral("p1"), 120};
    WdlTokenParam vp{QStringLiteral("vp1"), false};
    WdlTokenParam vcp{QStringLiteral("vcp1"), true};
    WdlTokenParam vcpBare{QStringLiteral("vcp1"), true};
};

TEST_F(WdlTokenParamTest, RecordLayoutFollowsTheKind)
{
    EXPECT_EQ(hex(bareP.toByteArray()), "06 04 00 06 00 78 00 00 00 00 00");
    bareP.setParameterNumber(0x11170);
    EXPECT_EQ(hex(bareP.toByteArray()), "06 04 00 06 00 70 11 00 00 00 00") << "the low 16 bits of the number";
    EXPECT_EQ(hex(pClf.toByteArray()), "0D 04 00 0A 00 78 00 00 00 00 00 03 00 00 00");
    EXPECT_EQ(hex(pAll.toByteArray()), "0D 04 00 0A 00 78 00 07 00 02 00 03 00 06 00");
    EXPECT_EQ(hex(vp.toByteArray()),
              "0A 09 00 16 00 07 00 08 00 F6 FF FF FF C8 00 00 00 96 00 00 00 FE FF FF FF 00 00");
    EXPECT_EQ(hex(vcp.toByteArray()), "05 09 00 06 00 05 00 01 00 02 00");
    EXPECT_EQ(hex(vcpBare.toByteArray()), "05 09 00 06 00 00 00 00 00 00 00");
}

// A script used once is written inside its user; a P that is not bare is
// written by its screen alone.
TEST_F(WdlTokenParamTest, DumpInAScreenAndAtTopLevel)
{
    const auto dump = [](const WdlTokenParam &p) {
        return p.toString(true).toStdString() + "|" + p.toString(false).toStdString();
    };
    EXPECT_EQ(dump(bareP), "   P: p1\n|P: p1 120\n");
    EXPECT_EQ(dump(pAll), "   P: p1 120\n   {\n      TO: name_t\n      CLF: clf1\n      APF: apf1\n"
                          "      WS: ws1\n      {\n         EXIT\n      }\n   }\n\n|");
    EXPECT_EQ(dump(vp), "   VP: vp1\n   {\n      T: name_t\n      H: name_t\n      UT: unit_t\n"
                        "      MIN: -10\n      VAL: 150\n      MAX: 200\n      SCALE: -2\n   }\n\n"
                        "|VP: vp1\n{\n   MIN: -10\n   VAL: 150\n   MAX: 200\n   SCALE: -2\n}\n\n");
    EXPECT_EQ(dump(vcp), "   VCP: vcp1\n   {\n      T: Low\n      H: Low\n      CL: speeds\n"
                         "      WS: ws2\n      {\n         EXIT\n      }\n   }\n\n|VCP: vcp1\n{\n   CL: speeds\n}\n\n");
    EXPECT_EQ(dump(vcpBare), "   VCP: vcp1\n   {\n   }\n\n|VCP: vcp1\n{\n}\n\n");
    WdlTokenChoiceList empty(QStringLiteral("none"));
    bareP.setChoiceList(&empty);
    EXPECT_EQ(dump(bareP), "   P: p1\n|P: p1 120\n") << "an empty choice list leaves a P bare";
}

TEST_F(WdlTokenParamTest, DefaultValueAsTextIsScaledWithUnitOrTheDefaultChoice)
{
    const auto shown = [this](int value, int scale) {
        vp.setDefaultValue(value);
        vp.setScaleValue(scale);
        return vp.property("defaultValueAsText").toString().toStdString();
    };
    // The unit text is stored as "V", quotes included; they are dropped.
    EXPECT_EQ(shown(150, -2), "1.50 V");
    EXPECT_EQ(shown(5, 2), "500 V") << "a positive scale has no decimals";
    EXPECT_EQ(shown(-5, -1), "-0.5 V");
    EXPECT_EQ(shown(16777217, 0), "16777216 V") << "through single precision first";
    EXPECT_EQ(vcp.property("defaultValueAsText").toString(), QStringLiteral("High"));
    choices.setDefaultChoice(2);
    for (const WdlTokenParam *p : {&vcp, &vcpBare, &bareP})
        EXPECT_EQ(p->property("defaultValueAsText").toString(), QStringLiteral("TODO")) << p->id().toStdString();
}

} // namespace
