#include "core/wdlwizard.h"
#include "items/wdltokenfilter.h"
#include "items/wdltokenlocalparam.h"
#include "items/wdltokenoverlay.h"
#include "support/qtprinters.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

namespace {

// Reads one wizard text with the reader alone and gives access to its items.
class ReaderItems : public ::testing::Test
{
protected:
    QStringList read(const QString &text)
    {
        m_files.write(QStringLiteral("main.wdl"), text);
        return readOnly(wizard(), m_files);
    }
    WdlWizard *wizard() { return WdlWizard::instance(); }
    template<class T> T *item(WdlWizard::Slot slot, const QString &id)
    {
        return wizard()->model(slot)->byId<T>(id);
    }
    WdlTokenParam *param(const QString &id) { return item<WdlTokenParam>(WdlWizard::ParametersSlot, id); }
    WdlTokenScreen *screen(const QString &id) { return item<WdlTokenScreen>(WdlWizard::ScreensSlot, id); }
    WdlTokenScript *script(const QString &id) { return item<WdlTokenScript>(WdlWizard::ScriptsSlot, id); }
    WdlTokenText *text(const QString &id) { return item<WdlTokenText>(WdlWizard::TextsSlot, id); }

    WizardFiles m_files;
};

TEST_F(ReaderItems, HeaderTagsFillTheHeader)
{
    read(QStringLiteral("FILE_FORMAT_VERSION: 1.2\nFILE_VERSION: 3.07\nRUN_MODE: 1\nPRODUCT_TYPE: 70000\n"
                        "PRODUCT_NAME: \"QX-417\"\nDATABASE_VERSION: -1.5\nFILE_NAME: \"pump\"\n"));
    const WdlHeader *h = wizard()->header();
    EXPECT_EQ(h->fileFormatVersion().major, 1);
    EXPECT_EQ(h->fileFormatVersion().minor, 2);
    EXPECT_EQ(h->fileVersion().minor, 7);
    EXPECT_EQ(h->runMode(), 1);
    EXPECT_EQ(h->productType(), 70000 - 65536) << "16-bit fields keep the low bits";
    EXPECT_EQ(h->productName(), QStringLiteral("QX-417"));
    EXPECT_EQ(h->databaseVersion().major, 0xFFFF);
    EXPECT_EQ(h->fileName(), QStringLiteral("pump"));
    EXPECT_TRUE(h->isComplete());
}

TEST_F(ReaderItems, FailedVersionPieceStillSetsTheTag)
{
    read(QStringLiteral("FILE_VERSION: x.4\n"));
    EXPECT_TRUE(wizard()->header()->isPresent(WdlHeader::FileVersionTag));
    EXPECT_EQ(wizard()->header()->fileVersion().minor, 4);
    EXPECT_EQ(wizard()->header()->firstMissingTag(), int(WdlHeader::FileFormatVersionTag));
}

TEST_F(ReaderItems, TextAndHelpLinesMakeOneText)
{
    read(QStringLiteral("H: only \"just help\"\nT: a \"Line\\nbreak\"\nH: a \"Say \\\"hi\\\" now\"\n"
                        "T: empty \"\"\n"));
    ASSERT_EQ(wizard()->textModel()->count(), 3);
    EXPECT_EQ(text(QStringLiteral("only"))->getText(), QString());
    EXPECT_EQ(text(QStringLiteral("only"))->getHelp(), QStringLiteral("just help"));
    EXPECT_EQ(text(QStringLiteral("a"))->getText(), QStringLiteral("Line\nbreak"));
    EXPECT_EQ(text(QStringLiteral("a"))->getHelp(), QStringLiteral("Say \\\"hi\\\" now"));
    // Empty quotes leave the part before them, as the section rule reads it.
    EXPECT_EQ(text(QStringLiteral("empty"))->getText(), QStringLiteral("T: empty "));
    EXPECT_EQ(text(QStringLiteral("a"))->itemNumber(), 2);
}

TEST_F(ReaderItems, ParametersAndLocalParametersShareOneSequence)
{
    const QStringList warnings =
        read(QStringLiteral("P: a 100\nLP: lp1 = -7\nP: b 200\nVP: v\n{\n}\nSCREEN_SINGLE_PARAM: s\n{\n"
                            "   VCP: c\n   {\n   }\n}\nLP: lp2 = 3\n"));
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(param(QStringLiteral("a"))->itemNumber(), 1);
    EXPECT_EQ(item<WdlTokenLocalParam>(WdlWizard::LocalParametersSlot, QStringLiteral("lp1"))->itemNumber(), 2);
    EXPECT_EQ(item<WdlTokenLocalParam>(WdlWizard::LocalParametersSlot, QStringLiteral("lp1"))->value(), -7);
    EXPECT_EQ(param(QStringLiteral("b"))->itemNumber(), 3);
    EXPECT_EQ(param(QStringLiteral("v"))->itemNumber(), 4);
    EXPECT_EQ(param(QStringLiteral("c"))->itemNumber(), 5);
    EXPECT_EQ(item<WdlTokenLocalParam>(WdlWizard::LocalParametersSlot, QStringLiteral("lp2"))->itemNumber(), 6);
    EXPECT_EQ(screen(QStringLiteral("s"))->itemNumber(), 1);
}

TEST_F(ReaderItems, ItemsAreAppendedWhenTheirBlockEnds)
{
    // The write script's block ends first, then the parameter's, then the screen's.
    read(QStringLiteral("SCREEN_SINGLE_PARAM: s\n{\n   VP: v\n   {\n      WS: w\n      {\n         EXIT\n"
                        "      }\n   }\n}\n"));
    EXPECT_EQ(script(QStringLiteral("w"))->itemNumber(), 1);
    EXPECT_EQ(script(QStringLiteral("w"))->sourceLine(), 5);
    EXPECT_EQ(param(QStringLiteral("v"))->writeScript(), script(QStringLiteral("w")));
    EXPECT_EQ(param(QStringLiteral("v"))->sourceLine(), 3);
    EXPECT_EQ(screen(QStringLiteral("s"))->sourceLine(), 1);
}

TEST_F(ReaderItems, ChoiceListCountsEveryLineForTheDefault)
{
    read(QStringLiteral("T: a \"A\"\nT: c \"C\"\nCL: days\n{\n   a\n   b*\n   c extra words\n}\n"));
    auto *list = item<WdlTokenChoiceList>(WdlWizard::ChoiceListsSlot, QStringLiteral("days"));
    ASSERT_TRUE(list);
    EXPECT_EQ(list->choiceCount(), 2);
    EXPECT_EQ(list->defaultChoice(), 1);
    EXPECT_EQ(text(QStringLiteral("a"))->referenceCount(), 1);
}

TEST_F(ReaderItems, FilterBitsAreSizedToTheHighestIndex)
{
    read(QStringLiteral("CLF: f1 \"3,1-2\"\nAPF: f2 \"5-3\"\nCLF: f3 \"1,x,4\"\n"));
    auto *f1 = item<WdlTokenFilter>(WdlWizard::FiltersSlot, QStringLiteral("f1"));
    ASSERT_TRUE(f1);
    EXPECT_TRUE(f1->isClf());
    EXPECT_EQ(f1->bits().size(), 4);
    EXPECT_EQ(f1->bits().count(true), 3);
    EXPECT_FALSE(f1->bits().testBit(0));
    auto *f2 = item<WdlTokenFilter>(WdlWizard::FiltersSlot, QStringLiteral("f2"));
    EXPECT_FALSE(f2->isClf());
    EXPECT_EQ(f2->bits().size(), 0);
    auto *f3 = item<WdlTokenFilter>(WdlWizard::FiltersSlot, QStringLiteral("f3"));
    EXPECT_EQ(f3->bits().size(), 2) << "bits up to the bad piece are kept";
}

TEST_F(ReaderItems, VirtualParameterReadsItsAttributes)
{
    read(QStringLiteral("T: unit \"\\\"V\\\"\"\nVP: vp1\n{\n   T: name \"Voltage\"\n   H: name \"Help\"\n"
                        "   T: other \"Other\"\n   UT: unit\n   MIN: -10\n   MAX: 400\n   VAL: 150\n"
                        "   SCALE: -2\n}\n"));
    WdlTokenParam *vp = param(QStringLiteral("vp1"));
    ASSERT_TRUE(vp);
    EXPECT_EQ(vp->kind(), int(WdlTokenParam::KindVP));
    EXPECT_EQ(vp->text(), text(QStringLiteral("name"))) << "the first name text stays";
    EXPECT_EQ(text(QStringLiteral("name"))->getHelp(), QStringLiteral("Help"));
    EXPECT_EQ(text(QStringLiteral("name"))->referenceCount(), 1);
    EXPECT_EQ(vp->minValue(), -10);
    EXPECT_EQ(vp->maxValue(), 400);
    EXPECT_EQ(vp->defaultValue(), 150);
    EXPECT_EQ(vp->scaleValue(), -2);
    EXPECT_EQ(vp->unitText(), text(QStringLiteral("unit")));
    EXPECT_FALSE(vp->definedInScreen());
}

TEST_F(ReaderItems, ChoiceListDefinedInsideVirtualChoiceParameterIsReused)
{
    read(QStringLiteral("T: mon \"Monday\"\nT: tue \"Tuesday\"\nVCP: first\n{\n   CL: days\n   {\n      mon\n"
                        "      tue*\n   }\n}\nVCP: second\n{\n   T: mon\n   H: tue\n   CL: days\n}\n"));
    auto *days = item<WdlTokenChoiceList>(WdlWizard::ChoiceListsSlot, QStringLiteral("days"));
    ASSERT_TRUE(days);
    EXPECT_EQ(wizard()->choicelistModel()->count(), 1);
    EXPECT_EQ(param(QStringLiteral("first"))->choiceList(), days);
    EXPECT_EQ(param(QStringLiteral("second"))->choiceList(), days);
    EXPECT_EQ(days->referenceCount(), 2);
    EXPECT_EQ(param(QStringLiteral("second"))->text(), text(QStringLiteral("tue"))) << "the last T or H wins";
}

TEST_F(ReaderItems, ScreenLinesSetTheirFields)
{
    const QStringList warnings = read(QStringLiteral(
        "T: t \"T\"\nCLF: f \"0,1\"\nSCREEN_DUAL_PARAM: s1\n{\n   PRE_SCREEN_SCRIPT: pre\n   {\n      EXIT\n   }\n"
        "   P: speed 310\n   {\n      TO: t\n      CLF: f\n   }\n   P: motorPower 120\n   PSS: pss1\n   {\n"
        "      EXIT\n   }\n   NSS: chooser\n   {\n      SNS s2\n   }\n   WS: ws1\n   {\n      EXIT\n   }\n"
        "   NS: s2\n}\nSCREEN_OVERLAY: s2\n{\n   OVERLAY: o1\n   {\n      T: t\n      OK_ACTION: GOTO_NEXT_SCREEN\n"
        "   }\n   NSS: chooser\n}\n"));
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join(QLatin1Char('\n')).toStdString();
    WdlTokenScreen *s1 = screen(QStringLiteral("s1"));
    WdlTokenScreen *s2 = screen(QStringLiteral("s2"));
    ASSERT_TRUE(s1 && s2);
    EXPECT_EQ(s1->preScreenScript(), script(QStringLiteral("pre")));
    EXPECT_EQ(s1->pss(), script(QStringLiteral("pss1")));
    EXPECT_EQ(s1->nextScreenScript(), script(QStringLiteral("ws1"))) << "WS replaces the NSS given before";
    EXPECT_EQ(s1->nextScreen(), s2) << "NS before the screen's block names the item the block fills";
    ASSERT_EQ(s1->parameters().size(), 2);
    EXPECT_EQ(s1->parameters().at(0)->text(), text(QStringLiteral("t")));
    EXPECT_TRUE(s1->parameters().at(0)->clf());
    EXPECT_EQ(s1->parameters().at(1)->parameterNumber(), 120);
    EXPECT_FALSE(s1->parameters().at(0)->definedInScreen()) << "P lines do not mark the parameter";
    EXPECT_EQ(s2->itemNumber(), 2);
    EXPECT_EQ(s2->referenceCount(), 2) << "counted by NS and by the NSS resolution";
    EXPECT_EQ(s2->overlay()->action(WdlTokenOverlay::OK_ACTION), QStringLiteral("GOTO_NEXT_SCREEN"));
    EXPECT_EQ(s2->nextScreenScript(), script(QStringLiteral("chooser")));
    EXPECT_EQ(script(QStringLiteral("chooser"))->referenceCount(), 2);
    EXPECT_EQ(script(QStringLiteral("chooser"))->getNextScreensFromScript(), QStringList{QStringLiteral("s2")});
    EXPECT_EQ(text(QStringLiteral("t"))->referenceCount(), 2);
}

TEST_F(ReaderItems, VirtualParameterNamedInTwoScreens)
{
    read(QStringLiteral("SCREEN_SINGLE_PARAM: s1\n{\n   VP: vp1\n   {\n      MIN: 1\n   }\n}\n"
                        "SCREEN_SINGLE_PARAM: s2\n{\n   VP: vp1\n}\n"));
    WdlTokenParam *vp = param(QStringLiteral("vp1"));
    ASSERT_TRUE(vp);
    EXPECT_EQ(wizard()->parametersModel()->count(), 1);
    EXPECT_TRUE(vp->definedInScreen());
    EXPECT_EQ(vp->referenceCount(), 2);
    EXPECT_EQ(screen(QStringLiteral("s2"))->parameters().value(0), vp);
}

TEST_F(ReaderItems, ThirdParameterIsReadButNotShown)
{
    read(QStringLiteral("P: a 1\nP: b 2\nSCREEN_DUAL_PARAM: s\n{\n   P: a\n   P: b\n   VP: c\n   {\n   }\n}\n"));
    EXPECT_EQ(screen(QStringLiteral("s"))->parameters().size(), 2);
    ASSERT_TRUE(param(QStringLiteral("c")));
    EXPECT_EQ(param(QStringLiteral("c"))->referenceCount(), 0);
    EXPECT_FALSE(param(QStringLiteral("c"))->definedInScreen());
}

TEST_F(ReaderItems, SecondBlockOfAScreenFillsTheSameItem)
{
    read(QStringLiteral("P: a 1\nSCREEN_SINGLE_PARAM: s\n{\n   P: a\n}\nSCREEN_SINGLE_PARAM: s\n{\n   NS: s2\n}\n"));
    EXPECT_EQ(wizard()->screenModel()->count(), 1);
    EXPECT_TRUE(screen(QStringLiteral("s"))->nextScreen());
    EXPECT_EQ(screen(QStringLiteral("s"))->parameters().size(), 1);
}

TEST_F(ReaderItems, CallCountsOnlySubroutinesReadBefore)
{
    read(QStringLiteral("SUBROUTINE: before\n{\n   RET\n}\nPSS: p\n{\n   CALL before\n   CALL after\n}\n"
                        "SUBROUTINE: after\n{\n   RET\n}\nFIRST_SCREEN_SCRIPT: f\n{\n   CALL before\n}\n"));
    EXPECT_EQ(script(QStringLiteral("before"))->referenceCount(), 1);
    EXPECT_EQ(script(QStringLiteral("after"))->referenceCount(), 0);
    EXPECT_EQ(script(QStringLiteral("p"))->commandCount(), 2);
    EXPECT_EQ(script(QStringLiteral("p"))->getCommand(1).lineNumber, 8);
    EXPECT_EQ(script(QStringLiteral("f"))->scriptType(), int(WdlTokenScript::ScriptType_FIRST));
}

TEST_F(ReaderItems, NssCollectsScreensDepthFirst)
{
    read(QStringLiteral("SCREEN_OVERLAY: a\n{\n}\nSCREEN_OVERLAY: b\n{\n}\nSCREEN_OVERLAY: c\n{\n}\n"
                        "NSS: inner\n{\n   SNS c\n   CALL outer\n}\nNSS: outer\n{\n   SNS a\n   CALL inner\n"
                        "   SNS b\n   CPY x y\n}\nPSS: notNss\n{\n   SNS a\n}\n"));
    EXPECT_EQ(script(QStringLiteral("outer"))->getNextScreensFromScript(),
              (QStringList{QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("b")}));
    EXPECT_EQ(script(QStringLiteral("inner"))->getNextScreensFromScript(),
              (QStringList{QStringLiteral("c"), QStringLiteral("a"), QStringLiteral("b")}));
    EXPECT_TRUE(script(QStringLiteral("notNss"))->getNextScreensFromScript().isEmpty());
    // Direct SNS targets count a reference, screens reached through calls do not.
    EXPECT_EQ(screen(QStringLiteral("a"))->referenceCount(), 1);
    EXPECT_EQ(screen(QStringLiteral("b"))->referenceCount(), 1);
    EXPECT_EQ(screen(QStringLiteral("c"))->referenceCount(), 1);
}

TEST_F(ReaderItems, ItemsFromAnIncludedFileCarryTheIncludeLine)
{
    m_files.write(QStringLiteral("texts.wdl"), QStringLiteral("\n\nT: shared \"Shared\"\n"));
    read(QStringLiteral("# texts\n\nINCLUDE texts.wdl\nT: own \"Own\"\n"));
    EXPECT_EQ(text(QStringLiteral("shared"))->sourceLine(), 3);
    EXPECT_EQ(text(QStringLiteral("own"))->sourceLine(), 4);
}

TEST_F(ReaderItems, HostileBytesAreReadWithoutHarm)
{
    QByteArray bytes("\xEF\xBB\xBFT: a \"x");
    bytes.append('\0');
    bytes.append("y\"\nT: b \"\xFF\xFE bad utf8\"\n");
    bytes.append(QByteArray(1 << 20, 'x'));
    bytes.append("\nT: c \"last line without end\"");
    m_files.writeBytes(QStringLiteral("main.wdl"), bytes);
    const QStringList warnings = readOnly(wizard(), m_files);
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_EQ(warnings.at(0), QStringLiteral("main.wdl:3: Too few arguments. There should be at least 2 arguments, "
                                             "but there are 1 arguments"));
    EXPECT_EQ(text(QStringLiteral("a"))->getText(), QString::fromUtf8("x\0y", 3));
    EXPECT_TRUE(text(QStringLiteral("c")));
}

} // namespace
