#include "core/wdlwizard.h"
#include "items/wdltokenfilter.h"
#include "items/wdltokenlocalparam.h"
#include "items/wdltokenoverlay.h"
#include "support/wizardfiles.h"

namespace {

// Reads one wizard text with the reader alone and gives access to its items.
class ReaderItems : public ::testing::Test
{
protected:
    void read(const char *text)
    {
        m_files.write(QStringLiteral("main.wdl"), QString::fromUtf8(text));
        EXPECT_TRUE(sameWarnings(readOnly(wizard, m_files), {}));
    }
    template<class T = WdlTokenParam> T *item(const char *id, WizardContent::Slot slot = WizardContent::ParametersSlot)
    {
        return wizard->model(slot)->byId<T>(QString::fromUtf8(id));
    }
    WdlTokenScreen *screen(const char *id) { return item<WdlTokenScreen>(id, WizardContent::ScreensSlot); }
    WdlTokenScript *script(const char *id) { return item<WdlTokenScript>(id, WizardContent::ScriptsSlot); }
    WdlTokenText *text(const char *id) { return item<WdlTokenText>(id, WizardContent::TextsSlot); }

    WdlWizard *wizard = WdlWizard::instance();
    WizardFiles m_files;
};

TEST_F(ReaderItems, HeaderTagsFillTheHeaderKeepingLow16Bits)
{
    read("FILE_FORMAT_VERSION: 1.2\nFILE_VERSION: 3.07\nRUN_MODE: 1\nPRODUCT_TYPE: 70000\n"
         "PRODUCT_NAME: \"QX-417\"\nDATABASE_VERSION: -1.5\nFILE_NAME: \"pump\"\n");
    const WdlHeader *h = wizard->header();
    EXPECT_EQ(h->fileVersion().minor, 7);
    EXPECT_EQ(h->productType(), 70000 - 65536);
    EXPECT_EQ(h->databaseVersion().major, 0xFFFF);
    EXPECT_TRUE(h->isComplete());
}

TEST_F(ReaderItems, TextAndHelpLinesMakeOneText)
{
    // How a line's quoted text is cut out, the line splitter's table shows.
    read("H: only \"just help\"\nT: a \"Line\\nbreak\"\nH: a \"Help\"\n");
    ASSERT_EQ(wizard->textModel()->count(), 2);
    EXPECT_EQ(text("only")->getText(), QString());
    EXPECT_EQ(text("a")->getText(), QStringLiteral("Line\nbreak"));
    EXPECT_EQ(text("a")->getHelp(), QStringLiteral("Help"));
    EXPECT_EQ(text("a")->itemNumber(), 2);
}

TEST_F(ReaderItems, ParametersAndLocalParametersShareOneSequenceInBlockEndOrder)
{
    read("P: a 100\nLP: lp1 = -7\nP: b 200\nVP: v\n{\n}\nSCREEN_SINGLE_PARAM: s\n{\n   VCP: c\n   {\n"
         "      WS: w\n      {\n         EXIT\n      }\n   }\n}\nLP: lp2 = 3\n");
    const auto local = [this](const char *id) {
        return item<WdlTokenLocalParam>(id, WizardContent::LocalParametersSlot);
    };
    EXPECT_EQ(local("lp1")->value(), -7);
    const std::pair<WdlToken *, int> numbers[] = {{item("a"), 1},   {local("lp1"), 2}, {item("b"), 3},
                                                  {item("v"), 4},   {item("c"), 5},    {local("lp2"), 6},
                                                  {screen("s"), 1}, {script("w"), 1}};
    for (const auto &n : numbers)
        EXPECT_EQ(n.first->itemNumber(), n.second) << n.first->id().toStdString();
    // The write script's block ends first, then the parameter's, then the screen's.
    EXPECT_EQ(item("c")->writeScript(), script("w"));
    EXPECT_EQ(script("w")->sourceLine(), 11);
    EXPECT_EQ(item("c")->sourceLine(), 9);
}

TEST_F(ReaderItems, ChoiceListCountsEveryLineForTheDefaultAndFiltersStopAtABadPiece)
{
    m_files.write(QStringLiteral("main.wdl"),
                  QStringLiteral("T: a \"A\"\nT: c \"C\"\nCL: days\n{\n   a\n   b*\n"
                                 "   c extra words\n}\nCLF: f1 \"3,1-2\"\nCLF: f3 \"1,x,4\"\n"));
    readOnly(wizard, m_files);
    auto *list = item<WdlTokenChoiceList>("days", WizardContent::ChoiceListsSlot);
    EXPECT_EQ(list->choiceCount(), 2);
    EXPECT_EQ(list->defaultChoice(), 1);
    EXPECT_EQ(text("a")->referenceCount(), 1);
    const QBitArray f1 = item<WdlTokenFilter>("f1", WizardContent::FiltersSlot)->bits();
    EXPECT_EQ(f1.size(), 4);
    EXPECT_EQ(f1.count(true), 3);
    EXPECT_EQ(item<WdlTokenFilter>("f3", WizardContent::FiltersSlot)->bits().size(), 2) << "bits up to the bad piece";
}

TEST_F(ReaderItems, ChoiceListDefinedInsideAVirtualChoiceParameterIsReused)
{
    read("T: mon \"Monday\"\nT: tue \"Tuesday\"\nVCP: first\n{\n   CL: days\n   {\n      mon\n      tue*\n   }\n}\n"
         "VCP: second\n{\n   T: mon\n   H: tue\n   CL: days\n}\n");
    auto *days = item<WdlTokenChoiceList>("days", WizardContent::ChoiceListsSlot);
    EXPECT_EQ(wizard->choicelistModel()->count(), 1);
    EXPECT_EQ(item("first")->choiceList(), days);
    EXPECT_EQ(item("second")->choiceList(), days);
    EXPECT_EQ(days->referenceCount(), 2);
    EXPECT_EQ(item("second")->text(), text("tue")) << "the last T or H wins";
}

TEST_F(ReaderItems, ScreenLinesSetTheirFields)
{
    read("T: t \"T\"\nCLF: f \"0,1\"\nSCREEN_DUAL_PARAM: s1\n{\n   PRE_SCREEN_SCRIPT: pre\n   {\n      EXIT\n   }\n"
         "   P: speed 310\n   {\n      TO: t\n      CLF: f\n   }\n   P: motorPower 120\n   PSS: pss1\n   {\n"
         "      EXIT\n   }\n   NSS: chooser\n   {\n      SNS s2\n   }\n   WS: ws1\n   {\n      EXIT\n   }\n"
         "   NS: s2\n}\nSCREEN_OVERLAY: s2\n{\n   OVERLAY: o1\n   {\n      T: t\n      OK_ACTION: GOTO_NEXT_SCREEN\n"
         "   }\n   NSS: chooser\n}\n");
    WdlTokenScreen *s1 = screen("s1");
    WdlTokenScreen *s2 = screen("s2");
    ASSERT_TRUE(s1 && s2);
    EXPECT_EQ(s1->preScreenScript(), script("pre"));
    EXPECT_EQ(s1->pss(), script("pss1"));
    EXPECT_EQ(s1->nextScreenScript(), script("ws1")) << "WS replaces the NSS given before";
    EXPECT_EQ(s1->nextScreen(), s2) << "NS before the screen's block names the item the block fills";
    ASSERT_EQ(s1->parameters().size(), 2);
    EXPECT_EQ(s1->parameters().at(0)->text(), text("t"));
    EXPECT_TRUE(s1->parameters().at(0)->clf());
    EXPECT_EQ(s1->parameters().at(1)->parameterNumber(), 120);
    EXPECT_FALSE(s1->parameters().at(0)->definedInScreen()) << "P lines do not mark the parameter";
    EXPECT_EQ(s2->itemNumber(), 2);
    EXPECT_EQ(s2->referenceCount(), 2) << "counted by NS and by the NSS resolution";
    EXPECT_EQ(s2->overlay()->action(WdlTokenOverlay::OK_ACTION), QStringLiteral("GOTO_NEXT_SCREEN"));
    EXPECT_EQ(s2->nextScreenScript(), script("chooser"));
    EXPECT_EQ(script("chooser")->referenceCount(), 2);
    EXPECT_EQ(text("t")->referenceCount(), 2);
}

TEST_F(ReaderItems, VirtualParameterNamedInTwoScreensIsOneItem)
{
    read("SCREEN_SINGLE_PARAM: s1\n{\n   VP: vp1\n   {\n      MIN: 1\n   }\n}\nSCREEN_SINGLE_PARAM: s2\n{\n   VP: "
         "vp1\n}\n");
    EXPECT_EQ(wizard->parametersModel()->count(), 1);
    EXPECT_TRUE(item("vp1")->definedInScreen());
    EXPECT_EQ(item("vp1")->referenceCount(), 2);
    EXPECT_EQ(screen("s2")->parameters().value(0), item("vp1"));
}

TEST_F(ReaderItems, CallCountsOnlySubroutinesReadBefore)
{
    read("SUBROUTINE: before\n{\n   RET\n}\nPSS: p\n{\n   CALL before\n   CALL after\n}\n"
         "SUBROUTINE: after\n{\n   RET\n}\nFIRST_SCREEN_SCRIPT: f\n{\n   CALL before\n}\n");
    EXPECT_EQ(script("before")->referenceCount(), 1);
    EXPECT_EQ(script("after")->referenceCount(), 0);
    EXPECT_EQ(script("p")->getCommand(1).lineNumber, 8);
}

TEST_F(ReaderItems, NssCollectsScreensDepthFirst)
{
    read("SCREEN_OVERLAY: a\n{\n}\nSCREEN_OVERLAY: b\n{\n}\nSCREEN_OVERLAY: c\n{\n}\n"
         "NSS: inner\n{\n   SNS c\n   CALL outer\n}\nNSS: outer\n{\n   SNS a\n   CALL inner\n"
         "   SNS b\n   CPY x y\n}\nPSS: notNss\n{\n   SNS a\n}\n");
    EXPECT_EQ(script("outer")->getNextScreensFromScript(), QString("a c b").split(' '));
    EXPECT_EQ(script("inner")->getNextScreensFromScript(), QString("c a b").split(' '));
    EXPECT_TRUE(script("notNss")->getNextScreensFromScript().isEmpty());
    // Direct SNS targets count a reference, screens reached through calls do not.
    for (const char *id : {"a", "b", "c"})
        EXPECT_EQ(screen(id)->referenceCount(), 1) << id;
}

TEST_F(ReaderItems, ItemsFromAnIncludedFileCarryTheIncludeLine)
{
    m_files.write(QStringLiteral("texts.wdl"), QStringLiteral("\nT: shared \"Shared\"\n"));
    read("# texts\n\nINCLUDE texts.wdl\nT: own \"Own\"\n");
    EXPECT_EQ(text("shared")->sourceLine(), 3);
    EXPECT_EQ(text("own")->sourceLine(), 4);
}

} // namespace
