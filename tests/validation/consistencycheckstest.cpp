#include "core/wdlwizard.h"
#include "support/wizardfiles.h"

#include <QSignalSpy>

namespace {

// n virtual parameters, each used by a line of the first-screen script (which
// itself needs no caller), so that only the limit can give a warning.
QString virtualParameters(int n)
{
    QString wdl;
    QString script;
    for (int i = 1; i <= n; ++i) {
        wdl += QStringLiteral("VP v%1\n{\n}\n").arg(i);
        script += QStringLiteral("CVP 0 v%1\n").arg(i);
    }
    return wdl + QStringLiteral("FIRST_SCREEN_SCRIPT fs\n{\n") + script + QStringLiteral("}\n");
}

const char kStart[] = "SCREEN_OVERLAY start\n{\n}\n";

// One row per warning of the checks that run after reading.
const WarningsRow kRows[] = {
    {"NoHeaderNamesTheFirstTagOnly", kStart, {"w.wdl:0: Meta info tag \"FILE_FORMAT_VERSION\" is missing."}, false},
    {"RunModeAndFileNameMissingNamesRunMode",
     "FILE_FORMAT_VERSION 1.0\nFILE_VERSION 1.0\nPRODUCT_TYPE 3\nPRODUCT_NAME \"ABCDEF\"\nDATABASE_VERSION 1.0\n",
     {"w.wdl:0: Meta info tag \"RUN_MODE\" is missing."},
     false},
    // "T name" without quotes defines the text with an empty text.
    {"VpWithEmptyText",
     "T name\nSCREEN_SINGLE_PARAM start\n{\nVP vp1\n{\nT name\n}\n}\n",
     {"w.wdl:4: Parameter vp1 is missing text."}},
    {"VpWithoutTextIsUndefinedNotEmpty", "SCREEN_SINGLE_PARAM start\n{\nVP vp1\n{\n}\n}\n", {}},
    {"VcpWithoutChoiceList",
     "T name \"Mode\"\nSCREEN_SINGLE_PARAM start\n{\nVCP mode\n{\nT name\n}\n}\n",
     {"w.wdl:4: VCP mode is missing choicelist or choicelist is empty."}},
    {"VcpWithEmptyChoiceListReportsTheList",
     "T name \"Mode\"\nCL modes\n{\n}\nSCREEN_SINGLE_PARAM start\n{\nVCP mode\n{\nT name\nCL modes\n}\n}\n",
     {"w.wdl:2: Choicelist modes doesn't have any choices."}},
    {"EmptyScriptBeforeUnused",
     "SUBROUTINE sr\n{\n}\n",
     {"w.wdl:1: Script sr is empty.", "w.wdl:1: Script \"sr\" is not used."}},
    {"SecondScreenWithoutContent",
     QString(kStart) + "SCREEN_OVERLAY second\n{\n}\n",
     {"w.wdl:4: Screen second must have either an overlay or a parameter.", "w.wdl:4: Screen \"second\" is not used."}},
    {"SecondScreenWithOverlayAndParameter",
     QString("T hello \"Hello\"\nP speed 100\n") + kStart
         + "SCREEN_OVERLAY both\n{\nOVERLAY ov\n{\nT hello\n}\nP speed\n}\n",
     {"w.wdl:6: Screen both can't have boht overlay and parameter(s).", "w.wdl:6: Screen \"both\" is not used."}},
    {"OverlayWithoutText",
     "SCREEN_OVERLAY start\n{\nOVERLAY ov\n{\nOK_ACTION EXIT_WIZARD\n}\n}\n",
     {"w.wdl:3: Overlay ov is missing text."}},
    // An overlay cannot be unused: it is only ever defined where a screen takes it.
    {"UnusedOfEveryKindInCollectionOrder",
     QString("T t1 \"x\"\nT t2 \"y\"\nLP lp1 = 5\nP p1 100\nCL cl1\n{\nt2\n}\nSUBROUTINE sr\n{\nEXIT\n}\n"
             "APF f1 \"1\"\n")
         + kStart + "SCREEN_OVERLAY other\n{\nOVERLAY ov\n{\nT t2\n}\n}\n",
     {"w.wdl:1: Text \"t1\" is not used.", "w.wdl:3: Local Parameter  \"lp1\" is not used.",
      "w.wdl:4: Parameter  \"p1\" is not used.", "w.wdl:5: Choicelist \"cl1\" is not used.",
      "w.wdl:9: Script \"sr\" is not used.", "w.wdl:17: Screen \"other\" is not used.",
      "w.wdl:13: Filter \"f1\" is not used."}},
    {"FirstScriptAndFirstScreenNeedNoCaller", QString("FIRST_SCREEN_SCRIPT fs\n{\nEXIT\n}\n") + kStart, {}},
    {"FortyVirtualParameters", virtualParameters(40), {}},
    {"FortyOneVirtualParameters",
     virtualParameters(41),
     {"w.wdl:0: There are more than 40 virtual parameters (tags VP and VCP). Drive supports maximum 40 virtual "
      "parameters. Please remove some virtual parameters."}},
};

class ConsistencyChecks : public ::testing::TestWithParam<WarningsRow>
{
};

TEST_P(ConsistencyChecks, GiveExactlyTheseWarnings)
{
    WizardFiles files;
    EXPECT_TRUE(sameWarnings(openWizard(files, GetParam().wdl, GetParam().withHeader), GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Rows, ConsistencyChecks, ::testing::ValuesIn(kRows), rowName<WarningsRow>);

// The editor enables saving on this signal: clearing announces once, and the
// unused-items check once more when a wizard without warnings has screens.
TEST(ConsistencyChecks, AnnounceValidityOnlyWhenThereAreScreens)
{
    WizardFiles files;
    QSignalSpy spy(WdlWizard::instance(), SIGNAL(isValidForSavingChanged()));
    ASSERT_TRUE(sameWarnings(openWizard(files, "FIRST_SCREEN_SCRIPT fs\n{\nEXIT\n}\n"), {}));
    EXPECT_EQ(spy.count(), 1);
    ASSERT_TRUE(sameWarnings(openWizard(files, kStart), {}));
    EXPECT_EQ(spy.count(), 3);
    EXPECT_TRUE(WdlWizard::instance()->property("isValidForSaving").toBool());
}

} // namespace
