// Which screens each next-screen script can lead to, as the reader works it
// out when the top-level file ends.

#include "support/wizardfiles.h"

namespace {

struct NssRow
{
    const char *name;
    const char *wdl;
    // "script: screen screen; script: ..." for every NSS script, in order.
    const char *nextScreens;

    friend void PrintTo(const NssRow &row, std::ostream *os) { *os << row.name; }
};

const char kScreens[] = "SCREEN_OVERLAY: s1\n{\n}\nSCREEN_OVERLAY: s2\n{\n}\nSCREEN_OVERLAY: s3\n{\n}\n";

QString nextScreensOf(WdlWizard *wizard)
{
    QStringList out;
    for (WdlToken *item : wizard->scriptModel()->items()) {
        auto *script = static_cast<WdlTokenScript *>(item);
        if (script->scriptType() == WdlTokenScript::ScriptType_NSS)
            out.append(script->id() + QStringLiteral(":") + script->getNextScreensFromScript().join(QLatin1Char(' ')));
    }
    return out.join(QStringLiteral("; "));
}

class NssResolution : public ::testing::TestWithParam<NssRow>
{
};

TEST_P(NssResolution, LeadsToTheseScreens)
{
    WizardFiles files;
    files.write(QStringLiteral("main.wdl"), QString::fromUtf8(kScreens) + QString::fromUtf8(GetParam().wdl));
    EXPECT_TRUE(readOnly(WdlWizard::instance(), files).isEmpty());
    EXPECT_EQ(nextScreensOf(WdlWizard::instance()).toStdString(), GetParam().nextScreens);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, NssResolution,
    ::testing::Values(
        NssRow{"ScreensInLineOrder", "NSS: a\n{\n   SNS s2\n   SNS s1\n}\n", "a:s2 s1"},
        NssRow{"CalledScriptsDepthFirst", "NSS: a\n{\n   SNS s1\n   CALL b\n   SNS s3\n}\nNSS: b\n{\n   SNS s2\n}\n",
               "a:s1 s2 s3; b:s2"},
        NssRow{"CalledBeforeItsBlock",
               "NSS: a\n{\n   CALL b\n}\nNSS: b\n{\n   CALL c\n   SNS s1\n}\nNSS: c\n{\n   SNS s2\n}\n",
               "a:s2 s1; b:s2 s1; c:s2"},
        // Each script is walked once per resolution, so a shared one adds its
        // screens once.
        NssRow{"DiamondOnce",
               "NSS: a\n{\n   CALL b\n   CALL c\n}\nNSS: b\n{\n   CALL d\n}\nNSS: c\n{\n   CALL d\n   SNS s2\n}\n"
               "NSS: d\n{\n   SNS s1\n}\n",
               "a:s1 s2; b:s1; c:s1 s2; d:s1"},
        NssRow{"CycleEnds", "NSS: a\n{\n   CALL b\n   SNS s1\n}\nNSS: b\n{\n   CALL a\n   SNS s2\n}\n",
               "a:s2 s1; b:s1 s2"},
        NssRow{"SelfCall", "NSS: a\n{\n   CALL a\n   SNS s1\n}\n", "a:s1"},
        NssRow{"UnknownWordsIgnored", "NSS: a\n{\n   SNS nowhere\n   SNS s3\n}\n", "a:s3"}),
    rowName<NssRow>);

// A chain far longer than any wizard the drive can hold: the walk needs no
// deep call stack, and stops with one warning once no image could hold the
// scripts anyway.
TEST(NssResolution, LongChainEndsWithOneWarning)
{
    const int length = 60000;
    QString wdl = QStringLiteral("SCREEN_OVERLAY: s1\n{\n}\n");
    for (int k = 0; k + 1 < length; ++k)
        wdl += QStringLiteral("NSS: n%1\n{\nCALL n%2\n}\n").arg(k).arg(k + 1);
    wdl += QStringLiteral("NSS: n%1\n{\nSNS s1\n}\n").arg(length - 1);
    WizardFiles files;
    files.write(QStringLiteral("main.wdl"), wdl);
    WdlWizard *wizard = WdlWizard::instance();
    EXPECT_EQ(readOnly(wizard, files),
              QStringList{QStringLiteral("main.wdl:1472: Next Screen Scripts (NSS) call each other too deeply to fit "
                                         "into the wizard data of 65kB. Script n367 was not resolved completely.")});
    EXPECT_EQ(wizard->scriptModel()->byId<WdlTokenScript>(QStringLiteral("n0"))->getNextScreensFromScript(),
              QStringList{QStringLiteral("s1")});
    EXPECT_TRUE(
        wizard->scriptModel()->byId<WdlTokenScript>(QStringLiteral("n400"))->getNextScreensFromScript().isEmpty());
}

} // namespace
