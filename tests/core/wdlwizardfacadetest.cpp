#include "core/wdlwizard.h"
#include "support/wizardfiles.h"

#include <memory>

namespace {

// The editor's view of the wizard: every call goes through the meta-object
// of the one instance, starting from an empty wizard.
class WdlWizardFacade : public ::testing::Test
{
protected:
    void SetUp() override
    {
        metaCallVoid(wizard, "clearAllModels");
        wizard->setCurrentFile(QStringLiteral("/w/editor.wdl"));
    }
    WdlToken *newScreen() { return metaCall<WdlToken *>(wizard, "createWdlTokenScreen"); }
    WdlTokenParam *newParameter(const char *id, WdlTokenText *name = nullptr, bool isChoicelist = false)
    {
        return metaCall<WdlTokenParam *>(wizard, "createWizardParameter", QString::fromUtf8(id), name, isChoicelist);
    }
    WdlTokenScript *newScript(const char *text, int type)
    {
        return metaCall<WdlTokenScript *>(wizard, "createWizardScript", QStringLiteral("intro"),
                                          QString::fromUtf8(text), type);
    }

    WdlWizard *wizard = WdlWizard::instance();
};

TEST_F(WdlWizardFacade, ScreensAndTextsAreNamedAndNumberedInOrder)
{
    EXPECT_EQ(metaCall<QString>(wizard, "getFirstScreenID"), QStringLiteral("There are no screens"));
    EXPECT_EQ(newScreen()->id(), QStringLiteral("screen_1"));
    WdlToken *second = newScreen();
    EXPECT_EQ(second->id(), QStringLiteral("screen_2"));
    EXPECT_EQ(second->getIndex(), 2);
    EXPECT_EQ(metaCall<QString>(wizard, "getFirstScreenID"), QStringLiteral("screen_1"));
    EXPECT_EQ(metaCall<WdlTokenScreen *>(wizard, "getScreen", QStringLiteral("screen_2")), second);
    EXPECT_EQ(metaCall<WdlTokenScreen *>(wizard, "getScreen", QStringLiteral("Screen_1")), nullptr);
    EXPECT_TRUE(sameWarnings(warningLines(wizard), {"editor.wdl:0: Screen Screen_1 does not exist."}));
    WdlTokenText *text = metaCall<WdlTokenText *>(wizard, "createWizardText", QStringLiteral("Press OK"), QString());
    EXPECT_EQ(text->id(), QStringLiteral("Press_OK"));
    EXPECT_EQ(text->getIndex(), 1);
}

TEST_F(WdlWizardFacade, ScriptIdIsPrefixedByTypeAndTooManyTokensWarn)
{
    const std::pair<int, const char *> types[] = {{0, "intro"},     {-3, "intro"},    {1, "ws_intro"}, {2, "nss_intro"},
                                                  {3, "pss_intro"}, {4, "pre_intro"}, {5, "sr_intro"}};
    for (const auto &type : types) {
        WdlTokenScript *script = newScript("SNS s2\nEXIT\nADD A B C D", type.first);
        EXPECT_EQ(script->id().toStdString(), type.second);
        EXPECT_EQ(script->scriptType(), type.first);
        EXPECT_EQ(script->commandCount(), 2);
    }
    EXPECT_EQ(wizard->scriptModel()->count(), 7);
    EXPECT_EQ(warningLines(wizard).value(6),
              QStringLiteral("editor.wdl:0: There were too many tokens on one script line."));
    wizard->scriptModel()->byId<WdlTokenScript>(QStringLiteral("nss_intro"))->setNextScreens({QStringLiteral("s2")});
    EXPECT_EQ(metaCall<QVariantList>(wizard, "getNextScreenScriptItems", QStringLiteral("nss_intro")),
              QVariantList{QStringLiteral("s2")});
    EXPECT_TRUE(metaCall<QVariantList>(wizard, "getNextScreenScriptItems", QStringLiteral("nss_x")).isEmpty());
    // The first-screen type gives a script of no id and no commands, owned by the caller.
    std::unique_ptr<WdlTokenScript> first(newScript("EXIT", 6));
    EXPECT_EQ(first->id(), QString());
    EXPECT_EQ(first->commandCount() + wizard->scriptModel()->count(), 7);
}

// Opening leaves the total at the count of parameters and local parameters.
TEST_F(WdlWizardFacade, ParametersAreNumberedFromTheParameterTotal)
{
    WdlTokenText *name = metaCall<WdlTokenText *>(wizard, "createWizardText", QStringLiteral("Speed"), QString());
    WdlTokenParam *vp = newParameter("motor speed", name);
    EXPECT_EQ(vp->id(), QStringLiteral("motor_speed"));
    EXPECT_EQ(vp->property("name").toString(), QStringLiteral("Speed"));
    EXPECT_EQ(name->referenceCount(), 1);
    EXPECT_EQ(vp->getIndex(), 1);
    EXPECT_EQ(newParameter("mode", nullptr, true)->kind(), WdlTokenParam::KindVCP);
    EXPECT_EQ(wizard->parameterTotal(), 3);

    WizardFiles files;
    files.write(QStringLiteral("five.wdl"),
                QStringLiteral("P: p1 120\nP: p2 121\nP: p3 122\nLP: lp1 = 1\nLP: lp2 = 2\n"));
    metaCallVoid(wizard, "openWDLFile", files.url(QStringLiteral("five.wdl")));
    ASSERT_EQ(wizard->parametersModel()->count() + wizard->localParameterModel()->count(), 5);
    EXPECT_EQ(newParameter("a")->getIndex(), 5);
    EXPECT_EQ(newParameter("b")->getIndex(), 6);
}

} // namespace
