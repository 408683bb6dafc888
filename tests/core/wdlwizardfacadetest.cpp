#include "core/fileurl.h"
#include "core/warning.h"
#include "core/wdlwizard.h"

#include "testhelpers.h"

#include <QFile>
#include <QTemporaryDir>
#include <QVariantList>

#include <memory>

namespace {

// The editor's view of the wizard: every call goes through the meta-object
// of the one instance, starting from an empty wizard.
class WdlWizardFacade : public ::testing::Test
{
protected:
    void SetUp() override
    {
        wizard = WdlWizard::instance();
        metaCallVoid(wizard, "clearAllModels");
    }

    std::vector<std::string> warnings() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < wizard->warningsModel()->count(); ++i) {
            const Warning *w = wizard->warningsModel()->itemAt(i);
            out.push_back(std::to_string(w->lineNumber()) + ": " + w->text().toStdString());
        }
        return out;
    }

    WdlWizard *wizard = nullptr;
};

TEST_F(WdlWizardFacade, ScreensAreNamedAndNumberedInOrder)
{
    auto *first = qobject_cast<WdlTokenScreen *>(metaCall<WdlToken *>(wizard, "createWdlTokenScreen"));
    auto *second = qobject_cast<WdlTokenScreen *>(metaCall<WdlToken *>(wizard, "createWdlTokenScreen"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->id(), QStringLiteral("screen_1"));
    EXPECT_EQ(first->getIndex(), 1);
    EXPECT_EQ(second->id(), QStringLiteral("screen_2"));
    EXPECT_EQ(second->getIndex(), 2);
    EXPECT_EQ(wizard->screenModel()->count(), 2);
}

TEST_F(WdlWizardFacade, TextIdReplacesBlanks)
{
    WdlTokenText *text = metaCall<WdlTokenText *>(wizard, "createWizardText", QStringLiteral("Press OK"), QString());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->id(), QStringLiteral("Press_OK"));
    EXPECT_EQ(text->property("text").toString(), QStringLiteral("Press OK"));
    EXPECT_EQ(text->property("help").toString(), QString());
    EXPECT_EQ(wizard->textModel()->count(), 1);
    EXPECT_EQ(text->getIndex(), 1);
}

struct ScriptCase
{
    const char *name;
    int type;
    const char *id;
};

class WdlWizardFacadeScript : public WdlWizardFacade, public ::testing::WithParamInterface<ScriptCase>
{
};

TEST_P(WdlWizardFacadeScript, IdIsPrefixedByType)
{
    auto *script = metaCall<WdlTokenScript *>(wizard, "createWizardScript", QStringLiteral("intro"),
                                              QStringLiteral("SNS s2\nEXIT"), GetParam().type);
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(script->id().toStdString(), GetParam().id);
    EXPECT_EQ(script->scriptType(), GetParam().type);
    EXPECT_EQ(script->getScriptText(), QStringLiteral("SNS s2\nEXIT\n"));
    EXPECT_EQ(wizard->scriptModel()->count(), 1);
    EXPECT_EQ(script->getIndex(), 1);
    EXPECT_TRUE(warnings().empty());
}

INSTANTIATE_TEST_SUITE_P(Types, WdlWizardFacadeScript,
                         ::testing::Values(ScriptCase{"NoType", 0, "intro"}, ScriptCase{"Negative", -3, "intro"},
                                           ScriptCase{"Ws", 1, "ws_intro"}, ScriptCase{"Nss", 2, "nss_intro"},
                                           ScriptCase{"Pss", 3, "pss_intro"}, ScriptCase{"Pre", 4, "pre_intro"},
                                           ScriptCase{"Subroutine", 5, "sr_intro"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST_F(WdlWizardFacade, FirstScreenScriptTypeGivesUnregisteredEmptyScript)
{
    std::unique_ptr<WdlTokenScript> script(
        metaCall<WdlTokenScript *>(wizard, "createWizardScript", QStringLiteral("intro"), QStringLiteral("EXIT"), 6));
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(script->id(), QString());
    EXPECT_EQ(script->scriptType(), WdlTokenScript::ScriptType_PRE);
    EXPECT_EQ(script->commandCount(), 0);
    EXPECT_EQ(wizard->scriptModel()->count(), 0);
}

TEST_F(WdlWizardFacade, TooManyTokensWarnsAndStillRegisters)
{
    auto *script = metaCall<WdlTokenScript *>(wizard, "createWizardScript", QStringLiteral("intro"),
                                              QStringLiteral("EXIT\nADD A B C D"), 2);
    ASSERT_NE(script, nullptr);
    EXPECT_EQ(wizard->scriptModel()->count(), 1);
    EXPECT_EQ(script->commandCount(), 1);
    EXPECT_EQ(warnings(), std::vector<std::string>{"0: There were too many tokens on one script line."});
}

TEST_F(WdlWizardFacade, ParametersAreNumberedFromParameterTotal)
{
    WdlTokenText *name = metaCall<WdlTokenText *>(wizard, "createWizardText", QStringLiteral("Speed"), QString());
    auto *vp = metaCall<WdlTokenParam *>(wizard, "createWizardParameter", QStringLiteral("motor speed"), name, false);
    auto *vcp = metaCall<WdlTokenParam *>(wizard, "createWizardParameter", QStringLiteral("mode"),
                                          static_cast<WdlTokenText *>(nullptr), true);
    ASSERT_NE(vp, nullptr);
    ASSERT_NE(vcp, nullptr);
    EXPECT_EQ(vp->id(), QStringLiteral("motor_speed"));
    EXPECT_EQ(vp->kind(), WdlTokenParam::KindVP);
    EXPECT_EQ(vp->getIndex(), 1);
    EXPECT_EQ(vp->property("name").toString(), QStringLiteral("Speed"));
    EXPECT_EQ(name->referenceCount(), 1);
    EXPECT_EQ(vcp->kind(), WdlTokenParam::KindVCP);
    EXPECT_EQ(vcp->getIndex(), 2);
    EXPECT_EQ(wizard->parameterTotal(), 3);
    EXPECT_EQ(wizard->parametersModel()->count(), 2);
}

// Opening a file leaves parameterTotal at the count of parameters and local
// parameters, so the next created parameter continues from there.
TEST_F(WdlWizardFacade, ParameterAfterOpeningContinuesFromFileCounts)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("five.wdl"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("P: p1 120\nP: p2 121\nP: p3 122\nLP: lp1 = 1\nLP: lp2 = 2\n");
    file.close();

    metaCallVoid(wizard, "openWDLFile", FileUrl::fromLocalPath(path));
    ASSERT_EQ(wizard->parametersModel()->count(), 3);
    ASSERT_EQ(wizard->localParameterModel()->count(), 2);

    auto *first = metaCall<WdlTokenParam *>(wizard, "createWizardParameter", QStringLiteral("a"),
                                            static_cast<WdlTokenText *>(nullptr), false);
    auto *second = metaCall<WdlTokenParam *>(wizard, "createWizardParameter", QStringLiteral("b"),
                                             static_cast<WdlTokenText *>(nullptr), false);
    EXPECT_EQ(first->getIndex(), 5);
    EXPECT_EQ(second->getIndex(), 6);
}

TEST_F(WdlWizardFacade, GetScreenWarnsForUnknownId)
{
    auto *created = metaCall<WdlToken *>(wizard, "createWdlTokenScreen");
    EXPECT_EQ(metaCall<WdlTokenScreen *>(wizard, "getScreen", QStringLiteral("screen_1")), created);
    EXPECT_TRUE(warnings().empty());

    EXPECT_EQ(metaCall<WdlTokenScreen *>(wizard, "getScreen", QStringLiteral("Screen_1")), nullptr);
    EXPECT_EQ(warnings(), std::vector<std::string>{"0: Screen Screen_1 does not exist."});
}

TEST_F(WdlWizardFacade, FirstScreenIdOrNoScreensWithoutWarning)
{
    EXPECT_EQ(metaCall<QString>(wizard, "getFirstScreenID"), QStringLiteral("There are no screens"));
    EXPECT_TRUE(warnings().empty());

    metaCall<WdlToken *>(wizard, "createWdlTokenScreen");
    metaCall<WdlToken *>(wizard, "createWdlTokenScreen");
    EXPECT_EQ(metaCall<QString>(wizard, "getFirstScreenID"), QStringLiteral("screen_1"));
}

TEST_F(WdlWizardFacade, NextScreenScriptItemsAreScreenIds)
{
    auto *nss = metaCall<WdlTokenScript *>(wizard, "createWizardScript", QStringLiteral("s1"),
                                           QStringLiteral("SNS s2"), 2);
    nss->setNextScreens({QStringLiteral("s2"), QStringLiteral("s3")});

    const QVariantList expected{QStringLiteral("s2"), QStringLiteral("s3")};
    EXPECT_EQ(metaCall<QVariantList>(wizard, "getNextScreenScriptItems", QStringLiteral("nss_s1")), expected);
    EXPECT_TRUE(metaCall<QVariantList>(wizard, "getNextScreenScriptItems", QStringLiteral("nss_s9")).isEmpty());
}

} // namespace
