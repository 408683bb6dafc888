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
    WdlTokenScript writeScript{QStringLiteral("ws1"), WdlTokenScript::ScriptType_WS};

    Items()
    {
        name.setItemNumber(7);
        unit.setItemNumber(8);
        low.setItemNumber(1);
        high.setItemNumber(2);
        choices.setItemNumber(5);
        choices.addChoice(&low);
        choices.addChoice(&high);
        choices.setDefaultChoice(1);
        clf.setItemNumber(3);
        apf.setItemNumber(6);
        writeScript.setItemNumber(2);
        writeScript.addCommand(QStringLiteral("EXIT"), 1);
    }
};

using Setup = std::function<std::unique_ptr<WdlTokenParam>(Items &)>;

std::unique_ptr<WdlTokenParam> driveParam(int number)
{
    auto p = std::make_unique<WdlTokenParam>(QStringLiteral("p1"), number);
    p->setItemNumber(4);
    return p;
}

std::unique_ptr<WdlTokenParam> virtualParam(bool isChoicelist)
{
    auto p = std::make_unique<WdlTokenParam>(isChoicelist ? QStringLiteral("vcp1") : QStringLiteral("vp1"), isChoicelist);
    p->setItemNumber(9);
    return p;
}

std::unique_ptr<WdlTokenParam> rangedVp(Items &items)
{
    auto p = virtualParam(false);
    p->setText(&items.name);
    p->setUnitText(&items.unit);
    p->setMinValue(-10);
    p->setMaxValue(200);
    p->setDefaultValue(150);
    p->setScaleValue(-2);
    return p;
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
    const auto param = GetParam().setup(items);
    EXPECT_EQ(hexBytes(param->toByteArray()), GetParam().record);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, WdlTokenParamRecord,
    ::testing::Values(
        RecordCase{"BareP", [](Items &) { return driveParam(120); }, "06 04 00 06 00 78 00 00 00 00 00"},
        RecordCase{"PWithTextAndScript",
                   [](Items &i) {
                       auto p = driveParam(120);
                       p->setText(&i.name);
                       p->setWriteScript(&i.writeScript);
                       return p;
                   },
                   "06 04 00 06 00 78 00 07 00 02 00"},
        RecordCase{"PNumberAbove65535KeepsLow16Bits", [](Items &) { return driveParam(0x11170); },
                   "06 04 00 06 00 70 11 00 00 00 00"},
        RecordCase{"PWithClfOnly",
                   [](Items &i) {
                       auto p = driveParam(120);
                       p->setClf(&i.clf);
                       return p;
                   },
                   "0D 04 00 0A 00 78 00 00 00 00 00 03 00 00 00"},
        RecordCase{"PWithApfOnly",
                   [](Items &i) {
                       auto p = driveParam(120);
                       p->setApf(&i.apf);
                       return p;
                   },
                   "0D 04 00 0A 00 78 00 00 00 00 00 00 00 06 00"},
        RecordCase{"VpWithNegativeMinimum", rangedVp,
                   "0A 09 00 16 00 07 00 08 00 F6 FF FF FF C8 00 00 00 96 00 00 00 FE FF FF FF 00 00"},
        RecordCase{"Vcp",
                   [](Items &i) {
                       auto p = virtualParam(true);
                       p->setChoiceList(&i.choices);
                       p->setText(&i.name);
                       p->setWriteScript(&i.writeScript);
                       return p;
                   },
                   "05 09 00 06 00 05 00 07 00 02 00"},
        RecordCase{"VcpWithoutChoiceList", [](Items &) { return virtualParam(true); },
                   "05 09 00 06 00 00 00 00 00 00 00"}),
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

TEST_P(WdlTokenParamDump, InScreen)
{
    Items items;
    EXPECT_EQ(GetParam().setup(items)->toString(true).toStdString(), GetParam().inScreen);
}

TEST_P(WdlTokenParamDump, TopLevel)
{
    Items items;
    EXPECT_EQ(GetParam().setup(items)->toString(false).toStdString(), GetParam().topLevel);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, WdlTokenParamDump,
    ::testing::Values(
        DumpCase{"BareP", [](Items &) { return driveParam(120); }, "   P: p1\n", "P: p1 120\n"},
        DumpCase{"PWithTextOnly",
                 [](Items &i) {
                     auto p = driveParam(120);
                     p->setText(&i.name);
                     return p;
                 },
                 "   P: p1 120\n"
                 "   {\n"
                 "      TO: name_t\n"
                 "   }\n"
                 "\n",
                 ""},
        // The write script is used by this parameter alone, so it is written inside it.
        DumpCase{"PWithEverything",
                 [](Items &i) {
                     auto p = driveParam(120);
                     p->setText(&i.name);
                     p->setClf(&i.clf);
                     p->setApf(&i.apf);
                     p->setWriteScript(&i.writeScript);
                     return p;
                 },
                 "   P: p1 120\n"
                 "   {\n"
                 "      TO: name_t\n"
                 "      CLF: clf1\n"
                 "      APF: apf1\n"
                 "      WS: ws1\n"
                 "      {\n"
                 "         EXIT\n"
                 "      }\n"
                 "   }\n"
                 "\n",
                 ""},
        // A choice list without entries does not make a P worth a block.
        DumpCase{"PWithEmptyChoiceListIsBare",
                 [](Items &i) {
                     auto p = driveParam(7);
                     p->setChoiceList(&i.emptyChoices);
                     return p;
                 },
                 "   P: p1\n", "P: p1 7\n"},
        DumpCase{"VpWithUnitText", rangedVp,
                 "   VP: vp1\n"
                 "   {\n"
                 "      T: name_t\n"
                 "      H: name_t\n"
                 "      UT: unit_t\n"
                 "      MIN: -10\n"
                 "      VAL: 150\n"
                 "      MAX: 200\n"
                 "      SCALE: -2\n"
                 "   }\n"
                 "\n",
                 "VP: vp1\n"
                 "{\n"
                 "   MIN: -10\n"
                 "   VAL: 150\n"
                 "   MAX: 200\n"
                 "   SCALE: -2\n"
                 "}\n"
                 "\n"},
        DumpCase{"VpTextWithoutHelp",
                 [](Items &i) {
                     auto p = virtualParam(false);
                     p->setText(&i.low);
                     p->setDefinedInScreen(true);
                     return p;
                 },
                 "   VP: vp1\n"
                 "   {\n"
                 "      T: Low\n"
                 "      MIN: 0\n"
                 "      VAL: 0\n"
                 "      MAX: 0\n"
                 "      SCALE: 0\n"
                 "   }\n"
                 "\n",
                 ""},
        DumpCase{"Vcp",
                 [](Items &i) {
                     auto p = virtualParam(true);
                     p->setText(&i.low);
                     p->setChoiceList(&i.choices);
                     return p;
                 },
                 "   VCP: vcp1\n"
                 "   {\n"
                 "      T: Low\n"
                 "      H: Low\n"
                 "      CL: speeds\n"
                 "   }\n"
                 "\n",
                 "VCP: vcp1\n"
                 "{\n"
                 "   CL: speeds\n"
                 "}\n"
                 "\n"},
        DumpCase{"VcpWithoutChoiceList", [](Items &) { return virtualParam(true); },
                 "   VCP: vcp1\n"
                 "   {\n"
                 "   }\n"
                 "\n",
                 "VCP: vcp1\n"
                 "{\n"
                 "}\n"
                 "\n"}),
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
    const auto param = GetParam().setup(items);
    EXPECT_EQ(param->property("defaultValueAsText").toString().toStdString(), GetParam().expected);
}

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

INSTANTIATE_TEST_SUITE_P(
    Values, WdlTokenParamDefaultText,
    ::testing::Values(
        // The unit text "V" is stored with its quotes; they are dropped.
        DefaultTextCase{"ScaledWithUnit", vpWith(150, -2, true), "1.50 V"},
        DefaultTextCase{"Unscaled", vpWith(5, 0, false), "5"},
        DefaultTextCase{"PositiveScaleHasNoDecimals", vpWith(5, 2, false), "500"},
        DefaultTextCase{"NegativeValue", vpWith(-5, -1, false), "-0.5"},
        // The default passes through single precision first.
        DefaultTextCase{"FloatRounding", vpWith(16777217, 0, false), "16777216"},
        DefaultTextCase{"DriveParameter", [](Items &) { return driveParam(1); }, "TODO"},
        DefaultTextCase{"VcpWithoutChoiceList", [](Items &) { return virtualParam(true); }, "TODO"},
        DefaultTextCase{"VcpWithEmptyChoiceList",
                        [](Items &i) {
                            auto p = virtualParam(true);
                            p->setChoiceList(&i.emptyChoices);
                            return p;
                        },
                        "TODO"},
        DefaultTextCase{"VcpDefaultChoice",
                        [](Items &i) {
                            auto p = virtualParam(true);
                            p->setChoiceList(&i.choices);
                            return p;
                        },
                        "High"},
        DefaultTextCase{"VcpDefaultBeyondEntries",
                        [](Items &i) {
                            auto p = virtualParam(true);
                            i.choices.setDefaultChoice(2);
                            p->setChoiceList(&i.choices);
                            return p;
                        },
                        "TODO"}),
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
    EXPECT_EQ(param.property("parameterNumber").toInt(), 121);
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
    EXPECT_EQ(spy.count(), 0);

    metaCallVoid(&param, "setParameterName", &items.name);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<WdlTokenText *>(), &items.name);
    EXPECT_EQ(param.property("name").toString(), QStringLiteral("Speed"));
    EXPECT_EQ(param.property("helpText").toString(), QStringLiteral("Motor speed"));

    // Same text and help in another item: no change.
    metaCallVoid(&param, "setParameterName", &lookAlike);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(param.text(), &items.name);

    metaCallVoid(&param, "setParameterName", &otherHelp);
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(param.text(), &otherHelp);

    // The editor's slot does not count references.
    EXPECT_EQ(items.name.referenceCount(), 0);
    EXPECT_EQ(otherHelp.referenceCount(), 0);
}

TEST(WdlTokenParamEditor, ChoiceListPropertyChangesOnlyForOtherChoices)
{
    Items items;
    WdlTokenChoiceList sameEntries(QStringLiteral("same"));
    sameEntries.addChoice(&items.low);
    sameEntries.addChoice(&items.high);
    WdlTokenChoiceList reversed(QStringLiteral("reversed"));
    reversed.addChoice(&items.high);
    reversed.addChoice(&items.low);
    const int choicesReferences = items.choices.referenceCount();

    WdlTokenParam param(QStringLiteral("vcp"), true);
    QSignalSpy spy(&param, SIGNAL(choiceListChanged(WdlTokenChoiceList*)));
    ASSERT_TRUE(spy.isValid());

    metaCallVoid(&param, "setParameterChoiceList", static_cast<WdlTokenChoiceList *>(nullptr));
    EXPECT_EQ(spy.count(), 0);

    EXPECT_TRUE(param.setProperty("parameterChoiceList", QVariant::fromValue(&items.choices)));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).value<WdlTokenChoiceList *>(), &items.choices);
    EXPECT_EQ(param.property("parameterChoiceList").value<WdlTokenChoiceList *>(), &items.choices);

    EXPECT_TRUE(param.setProperty("parameterChoiceList", QVariant::fromValue(&sameEntries)));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(param.choiceList(), &items.choices);

    EXPECT_TRUE(param.setProperty("parameterChoiceList", QVariant::fromValue(&reversed)));
    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(param.choiceList(), &reversed);

    EXPECT_EQ(items.choices.referenceCount(), choicesReferences);
    EXPECT_EQ(reversed.referenceCount(), 0);
}

// The reader's setters, reached by the editor as invokables, count a
// reference and emit nothing.
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
    metaCallVoid(&param, "setWriteScript", &items.writeScript);
    metaCallVoid(&param, "setChoiceList", &items.emptyChoices);
    metaCallVoid(&param, "setText", static_cast<WdlTokenText *>(nullptr));

    EXPECT_EQ(param.text(), &items.name);
    for (const WdlToken *item : std::initializer_list<const WdlToken *>{
             &items.name, &items.unit, &items.clf, &items.apf, &items.writeScript, &items.emptyChoices})
        EXPECT_EQ(item->referenceCount(), 1) << item->id().toStdString();
    EXPECT_EQ(nameSpy.count(), 0);
    EXPECT_EQ(listSpy.count(), 0);
}

} // namespace
