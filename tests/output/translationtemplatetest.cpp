#include "output/translationtemplate.h"

#include "core/wizarditemsmodel.h"
#include "items/wdltokentext.h"
#include "support/testsupport.h"

namespace {

// The whole template of a wizard without texts, written out once by hand;
// text lines go before its closing "translations" tag.
std::string templateWith(const char *lines)
{
    QByteArray text = readFile(QStringLiteral(WDLC_TEST_DATA "/translation/template_without_texts.xml"));
    return text.insert(text.indexOf("\t</translations>"), lines).toStdString();
}

TEST(TranslationTemplate, ListsTextAndHelpLinesEscapingReservedCharactersAmpersandFirst)
{
    WdlTokenText a(QStringLiteral("T_A"), QStringLiteral("a<b&c%d"), QString());
    WdlTokenText first(QStringLiteral("first"), QString(), QStringLiteral("Only help"));
    WdlTokenText second(QStringLiteral("second"), QStringLiteral("Text \"quoted\" >"), QStringLiteral("Help"));
    WizardItemsModel texts;
    EXPECT_EQ(TranslationTemplate::render(&texts).toStdString(), templateWith(""));
    for (WdlToken *text : {&a, &first, &second})
        texts.addItem(text);
    EXPECT_EQ(TranslationTemplate::render(&texts).toStdString(),
              templateWith("\t\t<text id=\"T_A\" type=\"text\">a&lt;b&amp;c&#37;d</text>\n"
                           "\t\t<text id=\"first\" type=\"help\">Only help</text>\n"
                           "\t\t<text id=\"second\" type=\"text\">Text \"quoted\" &gt;</text>\n"
                           "\t\t<text id=\"second\" type=\"help\">Help</text>\n"));
}

// Written in the image's directory: its path without the last component,
// also where the image's name appears among the directories above it.
TEST(TranslationTemplate, PathIsInTheImagesDirectory)
{
    const auto path = [](const char *url) {
        return TranslationTemplate::pathBesideImage(QString::fromUtf8(url), QStringLiteral("t.xml")).toStdString();
    };
    EXPECT_EQ(path("file:///C:/w/a.sas"), "C:/w/t.xml");
    EXPECT_EQ(path("file:///a.sas"), "t.xml");
    EXPECT_EQ(path("file:////a.sas"), "/t.xml");
    EXPECT_EQ(path("file:////x/a.sas/a.sas"), "/x/a.sas/t.xml");
    EXPECT_EQ(path("file:////x/A.SAS.d/A.sas"), "/x/A.SAS.d/t.xml");
    EXPECT_EQ(TranslationTemplate::pathBesideImage(QStringLiteral("file:////x/a.sas/a.sas"), QString()), "/x/a.sas/");
}

} // namespace
