#include "validation/wizardfile.h"

#include "core/wdlwizard.h"

#include <QSignalSpy>

namespace {

// n virtual parameters, each used by a line of the first-screen script (which
// itself needs no caller), so that only the limit can give a warning.
QString virtualParameters(int n)
{
    QString wdl;
    for (int i = 1; i <= n; ++i)
        wdl += QStringLiteral("VP v") + QString::number(i) + QStringLiteral("\n{\n}\n");
    wdl += QStringLiteral("FIRST_SCREEN_SCRIPT fs\n{\n");
    for (int i = 1; i <= n; ++i)
        wdl += QStringLiteral("CVP 0 v") + QString::number(i) + QLatin1Char('\n');
    return wdl + QStringLiteral("}\n");
}

std::vector<WarningsRow> headerRows()
{
    return {
        {"CompleteWizardWithEmptyFirstScreen",
         "SCREEN_OVERLAY start\n"
         "{\n"
         "}\n",
         {}},
        {"NoHeaderNamesFirstTagOnly",
         "SCREEN_OVERLAY start\n"
         "{\n"
         "}\n",
         {"w.wdl:0: Meta info tag \"FILE_FORMAT_VERSION\" is missing."},
         false},
        {"RunModeAndFileNameMissingNamesRunMode",
         "FILE_FORMAT_VERSION 1.0\n"
         "FILE_VERSION 1.0\n"
         "PRODUCT_TYPE 3\n"
         "PRODUCT_NAME \"ABCDEF\"\n"
         "DATABASE_VERSION 1.0\n",
         {"w.wdl:0: Meta info tag \"RUN_MODE\" is missing."},
         false},
        {"FileNameMissing",
         "FILE_FORMAT_VERSION 1.0\n"
         "FILE_VERSION 1.0\n"
         "RUN_MODE 1\n"
         "PRODUCT_TYPE 3\n"
         "PRODUCT_NAME \"ABCDEF\"\n"
         "DATABASE_VERSION 1.0\n",
         {"w.wdl:0: Meta info tag \"FILE_NAME\" is missing."},
         false},
    };
}

std::vector<WarningsRow> missingItemRows()
{
    return {
        // "T name" without quotes defines the text with an empty text.
        {"VpWithEmptyText",
         "T name\n"
         "SCREEN_SINGLE_PARAM start\n"
         "{\n"
         "VP vp1\n"
         "{\n"
         "T name\n"
         "}\n"
         "}\n",
         {"w.wdl:4: Parameter vp1 is missing text."}},
        {"VpWithoutTextIsUndefinedNotEmpty",
         "SCREEN_SINGLE_PARAM start\n"
         "{\n"
         "VP vp1\n"
         "{\n"
         "}\n"
         "}\n",
         {}},
        {"VcpWithoutChoiceList",
         "T name \"Mode\"\n"
         "SCREEN_SINGLE_PARAM start\n"
         "{\n"
         "VCP mode\n"
         "{\n"
         "T name\n"
         "}\n"
         "}\n",
         {"w.wdl:4: VCP mode is missing choicelist or choicelist is empty."}},
        {"VcpWithEmptyChoiceListReportsTheList",
         "T name \"Mode\"\n"
         "CL modes\n"
         "{\n"
         "}\n"
         "SCREEN_SINGLE_PARAM start\n"
         "{\n"
         "VCP mode\n"
         "{\n"
         "T name\n"
         "CL modes\n"
         "}\n"
         "}\n",
         {"w.wdl:2: Choicelist modes doesn't have any choices."}},
        {"EmptyScriptBeforeUnused",
         "SUBROUTINE sr\n"
         "{\n"
         "}\n",
         {"w.wdl:1: Script sr is empty.", "w.wdl:1: Script \"sr\" is not used."}},
        {"SecondScreenWithoutContent",
         "SCREEN_OVERLAY start\n"
         "{\n"
         "}\n"
         "SCREEN_OVERLAY second\n"
         "{\n"
         "}\n",
         {"w.wdl:4: Screen second must have either an overlay or a parameter.",
          "w.wdl:4: Screen \"second\" is not used."}},
        {"SecondScreenWithOverlayAndParameter",
         "T hello \"Hello\"\n"
         "P speed 100\n"
         "SCREEN_OVERLAY start\n"
         "{\n"
         "}\n"
         "SCREEN_OVERLAY both\n"
         "{\n"
         "OVERLAY ov\n"
         "{\n"
         "T hello\n"
         "}\n"
         "P speed\n"
         "}\n",
         {"w.wdl:6: Screen both can't have boht overlay and parameter(s).",
          "w.wdl:6: Screen \"both\" is not used."}},
        {"OverlayWithoutText",
         "SCREEN_OVERLAY start\n"
         "{\n"
         "OVERLAY ov\n"
         "{\n"
         "OK_ACTION EXIT_WIZARD\n"
         "}\n"
         "}\n",
         {"w.wdl:3: Overlay ov is missing text."}},
    };
}

std::vector<WarningsRow> unusedItemRows()
{
    return {
        // Nothing in WDL can leave an overlay unused: an overlay is only ever
        // defined where a screen takes it.
        {"EveryKindInCollectionOrder",
         "T t1 \"x\"\n"
         "T t2 \"y\"\n"
         "LP lp1 = 5\n"
         "P p1 100\n"
         "CL cl1\n"
         "{\n"
         "t2\n"
         "}\n"
         "SUBROUTINE sr\n"
         "{\n"
         "EXIT\n"
         "}\n"
         "APF f1 \"1\"\n"
         "SCREEN_OVERLAY start\n"
         "{\n"
         "}\n"
         "SCREEN_OVERLAY other\n"
         "{\n"
         "OVERLAY ov\n"
         "{\n"
         "T t2\n"
         "}\n"
         "}\n",
         {"w.wdl:1: Text \"t1\" is not used.", "w.wdl:3: Local Parameter  \"lp1\" is not used.",
          "w.wdl:4: Parameter  \"p1\" is not used.", "w.wdl:5: Choicelist \"cl1\" is not used.",
          "w.wdl:9: Script \"sr\" is not used.", "w.wdl:17: Screen \"other\" is not used.",
          "w.wdl:13: Filter \"f1\" is not used."}},
        {"FirstScriptAndFirstScreenNeedNoCaller",
         "FIRST_SCREEN_SCRIPT fs\n"
         "{\n"
         "EXIT\n"
         "}\n"
         "SCREEN_OVERLAY start\n"
         "{\n"
         "}\n",
         {}},
        {"FortyVirtualParameters", virtualParameters(40), {}},
        {"FortyOneVirtualParameters",
         virtualParameters(41),
         {"w.wdl:0: There are more than 40 virtual parameters (tags VP and VCP). Drive supports maximum 40 virtual "
          "parameters. Please remove some virtual parameters."}},
    };
}

class ConsistencyChecksTable : public ::testing::TestWithParam<WarningsRow>
{
};

TEST_P(ConsistencyChecksTable, GivesExactlyTheseWarnings)
{
    const WarningsRow &row = GetParam();
    WizardFile file(row.wdl, row.withHeader);
    EXPECT_TRUE(sameWarnings(warningLines(file.open()), row.expected));
}

INSTANTIATE_TEST_SUITE_P(Header, ConsistencyChecksTable, ::testing::ValuesIn(headerRows()), rowName);
INSTANTIATE_TEST_SUITE_P(MissingItems, ConsistencyChecksTable, ::testing::ValuesIn(missingItemRows()), rowName);
INSTANTIATE_TEST_SUITE_P(UnusedItems, ConsistencyChecksTable, ::testing::ValuesIn(unusedItemRows()), rowName);

// The editor enables saving on this signal; a wizard without warnings must
// announce that it has become savable once its screens are known.
TEST(ConsistencyChecks, UnusedItemsCheckAnnouncesValidityWhenThereAreScreens)
{
    WizardFile file(QStringLiteral("SCREEN_OVERLAY start\n{\n}\n"));
    QSignalSpy spy(WdlWizard::instance(), &WdlWizard::isValidForSavingChanged);
    WdlWizard *wizard = file.open();
    ASSERT_TRUE(warningLines(wizard).isEmpty());
    // clearAllModels emits once; the unused-items check once more.
    EXPECT_EQ(spy.count(), 2);
    EXPECT_TRUE(wizard->isValidForSaving());
}

TEST(ConsistencyChecks, UnusedItemsCheckStaysQuietWithoutScreens)
{
    WizardFile file(QStringLiteral("FIRST_SCREEN_SCRIPT fs\n{\nEXIT\n}\n"));
    QSignalSpy spy(WdlWizard::instance(), &WdlWizard::isValidForSavingChanged);
    WdlWizard *wizard = file.open();
    ASSERT_TRUE(warningLines(wizard).isEmpty());
    EXPECT_EQ(spy.count(), 1);
}

} // namespace
