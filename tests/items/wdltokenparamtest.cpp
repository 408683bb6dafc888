#include "items/wdltokenparam.h"

#include "testhelpers.h"

#include <QSignalSpy>

#include <functional>
#include <memory>

namespace {

// Owns the items a parameter refers to, numbered as a wizard would number them.
struct Items
{
    WdlTokenText name{QStringLiteral("name_t"), QStringLiteral("Speed"), QStringLiteral("Motor speed")};
    WdlTokenText unit{QStringLiteral("unit_t"), QStringLiteral("\"V\""), false};
    WdlTokenText low{QStringLiteral("Low"), QStringLiteral("Low"), false};
    WdlTokenText high{QStringLiteral("High"), QStringLiteral("High"), false};
    WdlTokenChoiceList choices{QStringLiteral("speeds")};
    WdlTokenChoiceList emptyChoices{QStringLiteral("none")};
    WdlTokenFilter clf{QStringLiteral("clf1"), QBitArray(2, true), true};
    WdlTokenFilter apf{QStringLiteral("apf1"), QBitArray(2, true), false};
    WdlTokenScript ws{QStringLiteral("ws1"), WdlTokenScript::ScriptType_WS};

    Items()
    {
        for (auto [item, number] : {std::pair<WdlToken *, int>{&name, 7}, {&unit, 8}, {&low, 1}, {&high, 2},
                                    {&choices, 5}, {&clf, 3}, {&apf, 6}, {&ws, 2}})
            item->setItemNumber(quint16(number));
        choices.addChoice(&low);
        choices.addChoice(&high);
        choices.setDefaultChoice(1);
        ws.addCommand(QStringLiteral("EXIT"), 1);
    }
};

using Param = std::unique_ptr<WdlTokenParam>;
using Setup = std::function<Param(Items &)>;

Param driveParam(int number)
{
    auto p = std::make_unique<WdlTokenParam>(QStringLiteral("p1"), number);
    p->setItemNumber(4);
    return p;
}

Param virtualParam(bool isChoicelist)
{
    auto p = std::make_unique<WdlTokenParam>(isChoicelist ? QStringLiteral("vcp1") : QStringLiteral("vp1"), isChoicelist);
    p->setItemNumber(9);
    return p;
}

Param bareP(Items &) { return driveParam(120); }
Param pWithText(Items &i) { auto p = driveParam(120); p->setText(&i.name); return p; }
Param pWithClf(Items &i) { auto p = driveParam(120); p->setClf(&i.clf); return p; }
Param pWithApf(Items &i) { auto p = driveParam(120); p->setApf(&i.apf); return p; }
Param pWithEmptyChoices(Items &i) { auto p = driveParam(120); p->setChoiceList(&i.emptyChoices); return p; }
Param pWithAll(Items &i)
{
    auto p = pWithText(i);
    p->setClf(&i.clf);
    p->setApf(&i.apf);
    p->setWriteScript(&i.ws);
    return p;
}
Param rangedVp(Items &i)
{
    auto p = virtualParam(false);
    p->setText(&i.name);
    p->setUnitText(&i.unit);
    p->setMinValue(-10);
    p->setMaxValue(200);
    p->setDefaultValue(150);
    p->setScaleValue(-2);
    return p;
}
Param vpInScreenWithoutHelp(Items &i) { auto p = virtualParam(false); p->setText(&i.low); p->setDefinedInScreen(true); return p; }
Param vcpBare(Items &) { return virtualParam(true); }
Param vcpWithEmptyChoices(Items &i) { auto p = virtualParam(true); p->setChoiceList(&i.emptyChoices); return p; }
Param vcp(Items &i)
{
    auto p = virtualParam(true);
    p->setText(&i.low);
    p->setChoiceList(&i.choices);
    p->setWriteScript(&i.ws);
    return p;
}
Param vcpDefaultBeyondEntries(Items &i) { i.choices.setDefaultChoice(2); return vcp(i); }
Setup vpWith(int value, int scale, bool withUnit)
{
    return [=](Items &i) {
        auto p = virtualParam(false);
        p->setDefaultValue(value);
        p->setScaleValue(scale);
        if (withUnit)
            p->setUnitText(&i.unit);
        return p;
    };
}

struct RecordCase
{
    const char *name;
    Setup setup;
    const char *record;
};

class WdlTokenParamRecord : public ::testing::TestWithParam<RecordCase>
{
};

TEST_P(WdlTokenParamRecord, WritesLayoutOfItsKind)
{
    Items items;
    EXPECT_EQ(hexBytes(GetParam().setup(items)->toByteArray()), GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, WdlTokenParamRecord,
    ::testing::Values(
        RecordCase{"BareP", bareP, "06 04 00 06 00 78 00 00 00 00 00"},
        RecordCase{"PNumberAbove65535", [](Items &) { return driveParam(0x11170); }, "06 04 00 06 00 70 11 00 00 00 00"},
        RecordCase{"PWithClfOnly", pWithClf, "0D 04 00 0A 00 78 00 00 00 00 00 03 00 00 00"},
        RecordCase{"PWithApfOnly", pWithApf, "0D 04 00 0A 00 78 00 00 00 00 00 00 00 06 00"},
        RecordCase{"PWithAll", pWithAll, "0D 04 00 0A 00 78 00 07 00 02 00 03 00 06 00"},
        RecordCase{"VpNegativeMinimum", rangedVp,
                   "0A 09 00 16 00 07 00 08 00 F6 FF FF FF C8 00 00 00 96 00 00 00 FE FF FF FF 00 00"},
        RecordCase{"Vcp", vcp, "05 09 00 06 00 05 00 01 00 02 00"},
        RecordCase{"VcpWithoutChoiceList", vcpBare, "05 09 00 06 00 00 00 00 00 00 00"}),
    [](const auto &info) { return std::string(info.param.name); });

struct DumpCase
{
    const char *name;
    Setup setup;
    const char *inScreen;
    const char *topLevel;
};

class WdlTokenParamDump : public ::testing::TestWithParam<DumpCase>
{
};

TEST_P(WdlTokenParamDump, InScreenAndTopLevel)
{
    Items items;
    const Param param = GetParam().setup(items);
    EXPECT_EQ(param->toString(true).toStdString(), GetParam().inScreen);
    EXPECT_EQ(param->toString(false).toStdString(), GetParam().topLevel);
}

// A script used once is written inside its user; a P that is not bare and a
// parameter declared in a screen are written by the screen alone.
INSTANTIATE_TEST_SUITE_P(
    Kinds, WdlTokenParamDump,
    ::testing::Values(
        DumpCase{"BareP", bareP, "   P: p1\n", "P: p1 120\n"},
        DumpCase{"PWithText", pWithText, "   P: p1 120\n   {\n      TO: name_t\n   }\n\n", ""},
        DumpCase{"PWithAll", pWithAll,
                 "   P: p1 120\n   {\n      TO: name_t\n      CLF: clf1\n      APF: apf1\n"
                 "      WS: ws1\n      {\n         EXIT\n      }\n   }\n\n",
                 ""},
        DumpCase{"PWithEmptyChoiceListIsBare", pWithEmptyChoices, "   P: p1\n", "P: p1 120\n"},
        DumpCase{"VpWithUnitText", rangedVp,
                 "   VP: vp1\n   {\n      T: name_t\n      H: name_t\n      UT: unit_t\n"
                 "      MIN: -10\n      VAL: 150\n      MAX: 200\n      SCALE: -2\n   }\n\n",
                 "VP: vp1\n{\n   MIN: -10\n   VAL: 150\n   MAX: 200\n   SCALE: -2\n}\n\n"},
        DumpCase{"VpTextWithoutHelp", vpInScreenWithoutHelp,
                 "   VP: vp1\n   {\n      T: Low\n      MIN: 0\n      VAL: 0\n      MAX: 0\n      SCALE: 0\n   }\n\n", ""},
        DumpCase{"Vcp", vcp,
                 "   VCP: vcp1\n   {\n      T: Low\n      H: Low\n      CL: speeds\n"
                 "      WS: ws1\n      {\n         EXIT\n      }\n   }\n\n",
                 "VCP: vcp1\n{\n   CL: speeds\n}\n\n"},
        DumpCase{"VcpWithoutChoiceList", vcpBare, "   VCP: vcp1\n   {\n   }\n\n", "VCP: vcp1\n{\n}\n\n"}),
    [](const auto &info) { return std::string(info.param.name); });

struct DefaultTextCase
{
    const char *name;
    Setup setup;
    const char *expected;
};

class WdlTokenParamDefaultText : public ::testing::TestWithParam<DefaultTextCase>
{
};

TEST_P(WdlTokenParamDefaultText, ReadThroughProperty)
{
    Items items;
    const Param param = GetParam().setup(items);
    EXPECT_EQ(param->property("defaultValueAsText").toString().toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, WdlTokenParamDefaultText,
    ::testing::Values(
        // The unit text is stored as "V", quotes included; they are dropped.
        DefaultTextCase{"ScaledWithUnit", vpWith(150, -2, true), "1.50 V"},
        DefaultTextCase{"Unscaled", vpWith(5, 0, false), "5"},
        DefaultTextCase{"PositiveScaleHasNoDecimals", vpWith(5, 2, false), "500"},
        DefaultTextCase{"NegativeValue", vpWith(-5, -1, false), "-0.5"},
        // The default passes through single precision first.
        DefaultTextCase{"FloatRounding", vpWith(16777217, 0, false), "16777216"},
        DefaultTextCase{"DriveParameter", bareP, "TODO"},
        DefaultTextCase{"VcpWithoutChoiceList", vcpBare, "TODO"},
        DefaultTextCase{"VcpWithEmptyChoiceList", vcpWithEmptyChoices, "TODO"},
        DefaultTextCase{"VcpDefaultChoice", vcp, "High"},
        DefaultTextCase{"VcpDefaultBeyondEntries", vcpDefaultBeyondEntries, "TODO"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(WdlTokenParamName, UndefinedWithoutNameText)
{
    WdlTokenParam param(QStringLiteral("vp"), false);
    EXPECT_EQ(param.property("name").toString(), QStringLiteral("undefined"));
    EXPECT_EQ(param.property("helpText").toString(), QStringLiteral("undefined"));
}

TEST(WdlTokenParamEditor, ParameterNumberEmitsOnlyOnChange)
{
    WdlTokenParam param(QStringLiteral("p"), 120);
    QSignalSpy spy(&param, SIGNAL(parameterNumberChanged(int)));
    ASSERT_TRUE(spy.isValid());
    EXPECT_TRUE(param.setProperty("parameterNumber", 120));
    EXPECT_EQ(spy.count(), 0);
    EXPECT_TRUE(param.setProperty("parameterNumber", 121));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 121);
}

TEST(WdlTokenParamEditor, SetParameterNameIgnoresNullAndLookAlikes)
{
    Items items;
    WdlTokenText lookAlike(QStringLiteral("other"), QStringLiteral("Speed"), QStringLiteral("Motor speed"));
    WdlTokenText otherHelp(QStringLiteral("other2"), QStringLiteral("Speed"), QStringLiteral("Speed of the motor"));
    WdlTokenParam param(QStringLiteral("vp"), false);
    QSignalSpy spy(&param, SIGNAL(parameterNameChanged(WdlTokenText*)));
    ASSERT_TRUE(spy.isValid());

    metaCallVoid(&param, "setParameterName", static_cast<WdlTokenText *>(nullptr));
    metaCallVoid(&param, "setParameterName", &items.name);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<WdlTokenText *>(), &items.name);
    EXPECT_EQ(param.property("helpText").toString(), QStringLiteral("Motor speed"));

    metaCallVoid(&param, "setParameterName", &lookAlike);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(param.text(), &items.name);

    metaCallVoid(&param, "setParameterName", &otherHelp);
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(param.text(), &otherHelp);
    EXPECT_EQ(items.name.referenceCount() + otherHelp.referenceCount(), 0);
}

TEST(WdlTokenParamEditor, ChoiceListPropertyChangesOnlyForOtherChoices)
{
    Items items;
    WdlTokenChoiceList sameEntries(QStringLiteral("same"));
    WdlTokenChoiceList reversed(QStringLiteral("reversed"));
    for (WdlTokenText *text : {&items.low, &items.high})
        sameEntries.addChoice(text);
    for (WdlTokenText *text : {&items.high, &items.low})
        reversed.addChoice(text);
    WdlTokenParam param(QStringLiteral("vcp"), true);
    QSignalSpy spy(&param, SIGNAL(choiceListChanged(WdlTokenChoiceList*)));
    ASSERT_TRUE(spy.isValid());

    metaCallVoid(&param, "setParameterChoiceList", static_cast<WdlTokenChoiceList *>(nullptr));
    EXPECT_TRUE(param.setProperty("parameterChoiceList", QVariant::fromValue(&items.choices)));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<WdlTokenChoiceList *>(), &items.choices);
    EXPECT_EQ(param.property("parameterChoiceList").value<WdlTokenChoiceList *>(), &items.choices);

    EXPECT_TRUE(param.setProperty("parameterChoiceList", QVariant::fromValue(&sameEntries)));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(param.setProperty("parameterChoiceList", QVariant::fromValue(&reversed)));
    EXPECT_EQ(spy.count(), 2);
    EXPECT_EQ(param.choiceList(), &reversed);
    EXPECT_EQ(items.choices.referenceCount() + reversed.referenceCount(), 0);
}

// The reader's setters, also invokable by the editor, count and emit nothing.
TEST(WdlTokenParamEditor, ReaderSettersCountReferencesSilently)
{
    Items items;
    WdlTokenParam param(QStringLiteral("p"), 1);
    QSignalSpy nameSpy(&param, SIGNAL(parameterNameChanged(WdlTokenText*)));
    QSignalSpy listSpy(&param, SIGNAL(choiceListChanged(WdlTokenChoiceList*)));
    metaCallVoid(&param, "setText", &items.name);
    metaCallVoid(&param, "setUnitText", &items.unit);
    metaCallVoid(&param, "setClf", &items.clf);
    metaCallVoid(&param, "setApf", &items.apf);
    metaCallVoid(&param, "setWriteScript", &items.ws);
    metaCallVoid(&param, "setChoiceList", &items.emptyChoices);
    metaCallVoid(&param, "setText", static_cast<WdlTokenText *>(nullptr));

    EXPECT_EQ(param.text(), &items.name);
    for (const WdlToken *item : {static_cast<WdlToken *>(&items.name), static_cast<WdlToken *>(&items.unit),
                                 static_cast<WdlToken *>(&items.clf), static_cast<WdlToken *>(&items.apf),
                                 static_cast<WdlToken *>(&items.ws), static_cast<WdlToken *>(&items.emptyChoices)})
        EXPECT_EQ(item->referenceCount(), 1) << item->id().toStdString();
    EXPECT_EQ(nameSpy.count() + listSpy.count(), 0);
}

} // namespace
