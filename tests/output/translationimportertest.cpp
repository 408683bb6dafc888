#include "output/translationimporter.h"

#include "core/fileurl.h"
#include "core/lewriter.h"
#include "output/translationtemplate.h"
#include "support/qtprinters.h"
#include "support/textitems.h"
#include "support/wizardfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

const char *const kSupported = "<supported languages>";

// What an import left: its count, its warnings and the bytes it appended.
struct Imported
{
    int count = 0;
    QStringList warnings;
    QByteArray bytes;
    // The dictionaries one after the other, each read back from its offset.
    std::vector<DictCodec::Decoded> dictionaries() const
    {
        std::vector<DictCodec::Decoded> out;
        int at = 0;
        while (at < bytes.size()) {
            out.push_back(DictCodec::decode(bytes, at));
            if (!out.back().ok)
                break;
            at += (out.back().size + 3) / 4 * 4;
        }
        return out;
    }
};

class ImportTest : public ::testing::Test
{
protected:
    ImportTest()
    {
        m_texts.add("welcome", "Welcome", "Press OK.").add("empty_text", "", "Only help").add("bye", "Bye");
    }

    Imported import()
    {
        Imported out;
        TranslationImporter importer(m_texts.model(), QStringLiteral("QX-417"),
                                     [&out](const QString &text) { out.warnings.append(text); });
        LeWriter image;
        out.count = importer.importTranslations(m_files.url(QStringLiteral("w.sas")), image);
        out.bytes = image.data();
        return out;
    }

    // The expected warning with "<path>" standing for the path of the file
    // and "<supported languages>" for the list of languages.
    QString expected(const char *warning, const char *fileName) const
    {
        return QString::fromUtf8(warning)
            .replace(QLatin1String("<path>"), m_files.path(QString::fromUtf8(fileName)))
            .replace(QLatin1String(kSupported), TranslationTemplate::supportedLanguagesText());
    }

    TextItems m_texts;
    WizardFiles m_files;
};

std::string entriesText(const DictCodec::Entries &entries)
{
    std::string out;
    for (const auto &entry : entries)
        out += std::to_string(entry.first) + "=" + entry.second.toStdString() + ";";
    return out;
}

struct RefusalCase
{
    const char *name;
    const char *fileName;
    const char *content;
    std::vector<const char *> warnings;
};

class TranslationRefusal : public ImportTest, public ::testing::WithParamInterface<RefusalCase>
{
};

TEST_P(TranslationRefusal, WarnsAndGivesNoDictionary)
{
    const RefusalCase &c = GetParam();
    m_files.write(QString::fromUtf8(c.fileName), QString::fromUtf8(c.content));
    QStringList warnings;
    for (const char *w : c.warnings)
        warnings.append(expected(w, c.fileName));

    const Imported result = import();
    EXPECT_EQ(result.count, 0);
    EXPECT_TRUE(result.bytes.isEmpty());
    EXPECT_TRUE(sameWarnings(result.warnings, warnings));
}

INSTANTIATE_TEST_SUITE_P(
    Files, TranslationRefusal,
    ::testing::Values(
        RefusalCase{"SecondAttributeOnTranslations", "translation_German.xml",
                    "<root><translations language=\"German\" version=\"2\">"
                    "<text id=\"bye\" type=\"text\">Tschüss</text></translations></root>",
                    {"XML file <path> did not contain attribute \"language\" or contained extra attributes. This "
                     "file is not a translation file."}},
        RefusalCase{"NoLanguageAttribute", "translation_German.xml",
                    "<root><translations lang=\"German\"/></root>",
                    {"XML file <path> did not contain attribute \"language\" or contained extra attributes. This "
                     "file is not a translation file."}},
        RefusalCase{"LanguageInLowerCase", "translation_German.xml",
                    "<root><translations language=\"german\"/></root>",
                    {"Unknown translation language \"german\" found in file <path>. The following languages are "
                     "supported:\n<supported languages>"}},
        RefusalCase{"TextBeforeTranslations", "translation_German.xml",
                    "<root><text id=\"bye\" type=\"text\">Tschüss</text><translations language=\"German\"/></root>",
                    {"XML tag \"translations\" was not found or did not contain any data. Error was in file <path>"}},
        RefusalCase{"ElementInsideText", "translation_German.xml",
                    "<root><translations language=\"German\"><text id=\"welcome\" type=\"text\">Will<b/>kommen</text>"
                    "</translations></root>",
                    {"Expected character data.Error was detected in file <path>"}},
        RefusalCase{"TagsNotBalanced", "translation_German.xml",
                    "<root><translations language=\"German\"><text id=\"bye\" type=\"text\">Tschüss</translations>",
                    {"Opening and ending tag mismatch.Error was detected in file <path>"}},
        RefusalCase{"EmptyFile", "translation_German.xml", "",
                    {"Premature end of document.Error was detected in file <path>"}},
        RefusalCase{"NoTranslationsElement", "translation_German.xml", "<root/>",
                    {"Did not find any meaningful data in file <path> . Perhaps it isn't a translation file."}},
        RefusalCase{"NoTextElement", "translation_German.xml", "<root><translations language=\"German\"/></root>",
                    {"Did not find any meaningful data in file <path> . Perhaps it isn't a translation file."}},
        RefusalCase{"OnlyUnknownIds", "translation_German.xml",
                    "<root><translations language=\"German\">\n"
                    "<text id=\"hello\" type=\"text\">Hallo</text>\n"
                    "<text id=\"Bye\" type=\"text\">Tschüss</text>\n"
                    "</translations></root>",
                    {"Text identificator hello was not found in wdl file. Found translation for unknown "
                     "text.<supported languages>",
                     "Text identificator Bye was not found in wdl file. Found translation for unknown "
                     "text.<supported languages>",
                     "Did not find any meaningful data in file <path> . Perhaps it isn't a translation file."}},
        // Only the exact name of the template is skipped; this one is read,
        // and its language is the template's placeholder.
        RefusalCase{"TemplateNameInAnotherCase", "Translation_Template.xml",
                    "<root>\n\t<translations language=\"Copy your language name from the above list\">\n"
                    "\t\t<text id=\"bye\" type=\"text\">Bye</text>\n\t</translations>\n</root>\n",
                    {"Unknown translation language \"Copy your language name from the above list\" found in file "
                     "<path>. The following languages are supported:\n<supported languages>"}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ImportTest, TheTemplateIsSkipped)
{
    m_files.write(QStringLiteral("translation_template.xml"), TranslationTemplate::render(m_texts.model()));
    const Imported result = import();
    EXPECT_EQ(result.count, 0);
    EXPECT_TRUE(sameWarnings(result.warnings, {}));
}

TEST_F(ImportTest, AnUnreadableFileIsReportedAndTheOthersAreRead)
{
    // A dangling link: listed by its name, but there is nothing to open.
    ASSERT_TRUE(QFile::link(m_files.path(QStringLiteral("nowhere.xml")),
                            m_files.path(QStringLiteral("translation_A.xml"))));
    m_files.write(QStringLiteral("translation_B.xml"),
                  QStringLiteral("<translations language=\"German\"><text id=\"bye\" type=\"text\">Tschüss</text>"
                                 "</translations>"));
    const Imported result = import();
    EXPECT_EQ(result.count, 1);
    const QString dangling = m_files.path(QStringLiteral("translation_A.xml"));
    EXPECT_TRUE(sameWarnings(result.warnings, {QStringLiteral("Unable to open file ") + dangling}));
}

TEST_F(ImportTest, MissingIdOrTypeSkipsOnlyThatEntry)
{
    m_files.write(QStringLiteral("translation_German.xml"),
                  QStringLiteral("<translations language=\"German\">\n"
                                 "<text type=\"text\">Hallo</text>\n"
                                 "<text id=\"welcome\">Willkommen</text>\n"
                                 "<text id=\"welcome\" type=\"Text\">Willkommen</text>\n"
                                 "<text id=\"bye\" type=\"text\">Tschüss</text>\n"
                                 "</translations>"));
    const Imported result = import();
    const QString path = m_files.path(QStringLiteral("translation_German.xml"));
    EXPECT_TRUE(sameWarnings(
        result.warnings,
        {QStringLiteral("XML file ") + path
             + QStringLiteral(" does not have attribute \"id\" on line 2 was empty. It is not known which text was "
                              "translated."),
         QStringLiteral("Text identificator  was not found in wdl file. Found translation for unknown text.")
             + TranslationTemplate::supportedLanguagesText(),
         QStringLiteral("XML file ") + path
             + QStringLiteral(" does not have attribute \"type\" on line 3 was empty. It is not known whether text "
                              "or help was translated.")}));
    ASSERT_EQ(result.count, 1);
    EXPECT_EQ(entriesText(result.dictionaries().at(0).entries), "5=Tschüss;");
}

TEST_F(ImportTest, TwoFilesOfOneLanguageGiveTwoDictionaries)
{
    m_files.write(QStringLiteral("translation_German.xml"),
                  QStringLiteral("<root><translations language=\"German\">"
                                 "<text id=\"welcome\" type=\"help\">OK drücken.</text>"
                                 "<text id=\"welcome\" type=\"text\">Willkommen</text>"
                                 "</translations></root>"));
    m_files.write(QStringLiteral("translation_German2.xml"),
                  QStringLiteral("<root><translations language=\"German\">"
                                 "<text id=\"bye\" type=\"text\">Auf Wiedersehen</text>"
                                 "</translations></root>"));
    const Imported result = import();
    EXPECT_TRUE(sameWarnings(result.warnings, {}));
    ASSERT_EQ(result.count, 2);
    // 206 bytes: the second dictionary is found only behind the padding.
    EXPECT_EQ(result.bytes.size(), 208 + 136 + 12 + 32);

    const std::vector<DictCodec::Decoded> dictionaries = result.dictionaries();
    ASSERT_EQ(dictionaries.size(), 2u);
    for (const DictCodec::Decoded &d : dictionaries) {
        ASSERT_TRUE(d.ok) << d.error.toStdString();
        EXPECT_STREQ(d.header.name, "german");
        EXPECT_EQ(QByteArray(d.header.productName, 6), QByteArray("QX-417"));
        EXPECT_EQ(d.codecMode, 9);
    }
    EXPECT_EQ(entriesText(dictionaries.at(0).entries), "1=Willkommen;2=OK drücken.;");
    EXPECT_EQ(entriesText(dictionaries.at(1).entries), "5=Auf Wiedersehen;");
}

TEST_F(ImportTest, TheFileNamePlaysNoPartBeyondThePattern)
{
    m_files.write(QStringLiteral("TRANSLATION_German.XML"),
                  QStringLiteral("<translations language=\"French\"><text id=\"bye\" type=\"text\">Au revoir</text>"
                                 "</translations>"));
    m_files.write(QStringLiteral("translation_German.xml.bak"), QStringLiteral("not read"));
    m_files.write(QStringLiteral("translations_German.xml"), QStringLiteral("not read"));
    const Imported result = import();
    EXPECT_TRUE(sameWarnings(result.warnings, {}));
    ASSERT_EQ(result.count, 1);
    EXPECT_STREQ(result.dictionaries().at(0).header.name, "french");
}

// Byte order of the names: upper case before lower case, whatever the file
// system lists first.
TEST_F(ImportTest, FilesAreReadInByteOrderOfTheirNames)
{
    const char *const names[] = {"translation_b.xml", "translation_C.xml", "translation_a.xml"};
    for (const char *name : names)
        m_files.write(QString::fromUtf8(name),
                      QStringLiteral("<translations language=\"German\"><text id=\"bye\" type=\"text\">")
                          + QString::fromUtf8(name) + QStringLiteral("</text></translations>"));
    const std::vector<DictCodec::Decoded> dictionaries = import().dictionaries();
    ASSERT_EQ(dictionaries.size(), 3u);
    EXPECT_EQ(entriesText(dictionaries.at(0).entries), "5=translation_C.xml;");
    EXPECT_EQ(entriesText(dictionaries.at(1).entries), "5=translation_a.xml;");
    EXPECT_EQ(entriesText(dictionaries.at(2).entries), "5=translation_b.xml;");
}

TEST_F(ImportTest, EntriesKeepEscapesEmptyContentAndRepeatsInFileOrder)
{
    m_files.write(QStringLiteral("translation_German.xml"),
                  QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                 "<root xmlns=\"urn:example\"><translations xmlns:x=\"urn:x\" language=\"German\">\n"
                                 "<text id=\"empty_text\" type=\"text\">Nur Hilfe</text>\n"
                                 "<text id=\"bye\" type=\"text\">Zweite\\nZeile \\\"zitiert\\\" &lt;&amp;&#37;</text>\n"
                                 "<text id=\"bye\" type=\"text\">noch einmal</text>\n"
                                 "<text id=\"bye\" type=\"help\"></text>\n"
                                 "</translations></root>"));
    const Imported result = import();
    EXPECT_TRUE(sameWarnings(result.warnings, {}));
    ASSERT_EQ(result.count, 1);
    EXPECT_EQ(entriesText(result.dictionaries().at(0).entries),
              "3=Nur Hilfe;5=Zweite\rZeile \"zitiert\" <&%;5=noch einmal;6=;");
}

// An image named without a directory: the files are found in the working
// directory and named without one.
TEST(TranslationImporter, FilesBesideARelativeImageAreNamedWithoutDirectory)
{
    WizardFiles files;
    files.write(QStringLiteral("translation_x.xml"), QStringLiteral("<root/>"));
    const TextItems none;
    QStringList warnings;
    TranslationImporter importer(none.model(), QStringLiteral("QX-417"),
                                 [&warnings](const QString &text) { warnings.append(text); });
    LeWriter image;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(files.dir());
    importer.importTranslations(FileUrl::fromLocalPath(QStringLiteral("w.sas")), image);
    QDir::setCurrent(previous);
    EXPECT_TRUE(sameWarnings(warnings, {QStringLiteral("Did not find any meaningful data in file translation_x.xml . "
                                                       "Perhaps it isn't a translation file.")}));
}

} // namespace
