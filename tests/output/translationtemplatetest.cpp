#include "output/translationtemplate.h"

#include "support/qtprinters.h"
#include "support/textitems.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QXmlStreamReader>

namespace {

// The whole template around the text lines, written out once by hand.
const char *const kHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!-- Translate your texts and rename file to \"translation_###.xml\", where ### is one of the languages in "
    "the list below.\n"
    "Files which are not named accordingly will be ignored.\n"
    "Also, attribute \"language\" of xml tag \"translations\" has to be renamed.\n"
    "The following languages are supported:\n"
    "Bahasa,\nBulgarian,\nChinese,\nChineseTraditional,\nCzech,\nDanish,\nDutch,\nFinnish,\nGerman,\nEnglish,\n"
    "EnglishUS,\nFrench,\nGreek,\nHungarian,\nItalian,\nJapanese,\nKorean.\nPolish,\nPortuguese,\nRomanian,\n"
    "Russian,\nSerbian,\nSlovenian,\nSpanish,\nSwedish,\nThai,\nTurkish,\n"
    "Default language of wizard is English.\n"
    "\n"
    "Translations MUST NOT CONTAIN XML RESERVED CHARACTERS <,>,&,%.\n"
    "Please make the following replacements:\n"
    "> replace with &gt;\n"
    "< replace with &lt;\n"
    "& replace with &amp;\n"
    "% replace with &#37;\n"
    " -->\n"
    "<root>\n"
    "\t<translations language=\"Copy your language name from the above list\">\n";
const char *const kTail = "\t</translations>\n</root>\n";

std::string templateWith(const std::string &lines)
{
    return kHead + lines + kTail;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(TranslationTemplate, WithoutTextsOnlyTheClosingTagFollowsTheOpeningOne)
{
    const TextItems none;
    EXPECT_EQ(TranslationTemplate::render(none.model()).toStdString(), templateWith(""));
}

TEST(TranslationTemplate, ReservedCharactersAreEscapedAmpersandFirst)
{
    TextItems texts;
    texts.add("T_A", "a<b&c%d", "");
    EXPECT_EQ(TranslationTemplate::render(texts.model()).toStdString(),
              templateWith("\t\t<text id=\"T_A\" type=\"text\">a&lt;b&amp;c&#37;d</text>\n"));
}

TEST(TranslationTemplate, EmptyTextGivesOnlyItsHelpLine)
{
    TextItems texts;
    texts.add("first", "", "Only help").add("second", "Text \"quoted\" >", "Help");
    EXPECT_EQ(TranslationTemplate::render(texts.model()).toStdString(),
              templateWith("\t\t<text id=\"first\" type=\"help\">Only help</text>\n"
                           "\t\t<text id=\"second\" type=\"text\">Text \"quoted\" &gt;</text>\n"
                           "\t\t<text id=\"second\" type=\"help\">Help</text>\n"));
}

TEST(TranslationTemplate, EscapedTextReadsBackUnchanged)
{
    const QString original = QStringLiteral("a<b&c%d > 100% & \"so\"");
    QXmlStreamReader xml(QStringLiteral("<t>") + TranslationTemplate::escapeXml(original) + QStringLiteral("</t>"));
    xml.readNextStartElement();
    EXPECT_EQ(xml.readElementText(), original);
    EXPECT_FALSE(xml.hasError());
}

TEST(TranslationTemplate, CannotBeWrittenIntoAMissingDirectory)
{
    WizardFiles files;
    const TextItems none;
    EXPECT_FALSE(
        TranslationTemplate::exportTranslationTemplate(files.url(QStringLiteral("missing/w.sas")), none.model()));
}

TEST(TranslationTemplate, IsWrittenBesideTheImageAsUtf8)
{
    WizardFiles files;
    TextItems texts;
    texts.add("grüße", "Grüße, 日本", "");
    files.write(QStringLiteral("out/keep.txt"), QString());
    ASSERT_TRUE(TranslationTemplate::exportTranslationTemplate(files.url(QStringLiteral("out/w.sas")), texts.model()));
    EXPECT_EQ(readAll(files.path(QStringLiteral("out/translation_template.xml"))),
              QByteArray::fromStdString(
                  templateWith("\t\t<text id=\"grüße\" type=\"text\">Grüße, 日本</text>\n")));
}

struct TargetCase
{
    const char *name;
    const char *url;
    const char *path;
};

class TranslationTemplateTarget : public ::testing::TestWithParam<TargetCase>
{
};

// Every occurrence of the image's name is replaced, also one in a directory.
TEST_P(TranslationTemplateTarget, ReplacesTheImageNameInThePath)
{
    EXPECT_EQ(TranslationTemplate::pathBesideImage(QString::fromUtf8(GetParam().url),
                                                   QStringLiteral("translation_template.xml")),
              QString::fromUtf8(GetParam().path));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, TranslationTemplateTarget,
    ::testing::Values(TargetCase{"DriveLetter", "file:///C:/w/a.sas", "C:/w/translation_template.xml"},
                      TargetCase{"Relative", "file:///a.sas", "translation_template.xml"},
                      TargetCase{"NameAlsoInDirectory", "file:////x/a.sas/a.sas",
                                 "/x/translation_template.xml/translation_template.xml"},
                      TargetCase{"CaseSensitive", "file:////x/A.SAS.d/A.sas",
                                 "/x/A.SAS.d/translation_template.xml"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
