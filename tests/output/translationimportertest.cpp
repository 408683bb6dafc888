#include "output/translationimporter.h"

#include "base/lewriter.h"
#include "core/fileurl.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltokentext.h"
#include "output/translationtemplate.h"
#include "support/wizardfiles.h"

namespace {

// Three texts: welcome (keys 1 and 2), empty_text (3, 4) and bye (5, 6).
class TranslationImport : public ::testing::Test
{
protected:
    TranslationImport()
    {
        for (WdlToken *text : {&m_welcome, &m_empty, &m_bye})
            m_texts.addItem(text);
    }

    // Imports the files beside the image, w.sas in the test's directory by
    // default; returns each dictionary as "language: key=text;...", the
    // warnings after them, "<path>" standing for the directory.
    QStringList import(const QString &image = QString())
    {
        QStringList warnings;
        TranslationImporter importer(&m_texts, QStringLiteral("QX-417"),
                                     [&warnings](const QString &text, const QString &, int) { warnings.append(text); });
        LeWriter out;
        const int count = importer.importTranslations(image.isEmpty() ? m_files.url(QStringLiteral("w.sas")) : image,
                                                      out);
        QStringList dictionaries;
        for (int at = 0; at < out.size();) {
            const DictCodec::Decoded d = DictCodec::decode(out.data(), at);
            EXPECT_TRUE(d.ok && d.codecMode == 9 && QByteArray(d.header.productName, 6) == "QX-417")
                << d.error.toStdString();
            QString line = QString::fromLatin1(d.header.name) + QLatin1Char(':');
            for (const auto &entry : d.entries)
                line += QStringLiteral(" %1=%2;").arg(QString::number(entry.first), entry.second);
            dictionaries.append(line);
            at += (d.size + 3) / 4 * 4;
        }
        EXPECT_EQ(dictionaries.size(), count);
        return (dictionaries + warnings)
            .replaceInStrings(m_files.dir() + QLatin1Char('/'), QStringLiteral("<path>"))
            .replaceInStrings(TranslationTemplate::supportedLanguagesText(), QStringLiteral("<languages>"));
    }

    WdlTokenText m_welcome{QStringLiteral("welcome"), QStringLiteral("Welcome"), QStringLiteral("Press OK.")};
    WdlTokenText m_empty{QStringLiteral("empty_text"), QString(), QStringLiteral("Only help")};
    WdlTokenText m_bye{QStringLiteral("bye"), QStringLiteral("Bye"), QString()};
    WizardItemsModel m_texts;
    WizardFiles m_files;
};

struct RefusalRow
{
    const char *name;
    const char *fileName;
    const char *content;
    QStringList warnings;

    friend void PrintTo(const RefusalRow &row, std::ostream *os) { *os << row.name; }
};

class TranslationRefusal : public TranslationImport, public ::testing::WithParamInterface<RefusalRow>
{
};

TEST_P(TranslationRefusal, WarnsAndGivesNoDictionary)
{
    m_files.write(QString::fromUtf8(GetParam().fileName), QString::fromUtf8(GetParam().content));
    EXPECT_TRUE(sameWarnings(import(), GetParam().warnings));
}

INSTANTIATE_TEST_SUITE_P(
    Files, TranslationRefusal,
    ::testing::Values(
        RefusalRow{"SecondAttributeOnTranslations",
                   "translation_German.xml",
                   "<root><translations language=\"German\" version=\"2\"><text id=\"bye\" type=\"text\">Tschüss</text>"
                   "</translations></root>",
                   {"XML file <path>translation_German.xml did not contain attribute \"language\" or contained extra "
                    "attributes. This file is not a translation file."}},
        RefusalRow{"LanguageInLowerCase",
                   "translation_German.xml",
                   "<root><translations language=\"german\"/></root>",
                   {"Unknown translation language \"german\" found in file <path>translation_German.xml. The following "
                    "languages are supported:\n<languages>"}},
        RefusalRow{"TextBeforeTranslations",
                   "translation_German.xml",
                   "<root><text id=\"bye\" type=\"text\">Tschüss</text><translations language=\"German\"/></root>",
                   {"XML tag \"translations\" was not found or did not contain any data. Error was in file "
                    "<path>translation_German.xml"}},
        RefusalRow{"ElementInsideText",
                   "translation_German.xml",
                   "<root><translations language=\"German\"><text id=\"welcome\" type=\"text\">Will<b/>kommen</text>"
                   "</translations></root>",
                   {"Expected character data.Error was detected in file <path>translation_German.xml"}},
        RefusalRow{"ElementInsideTextOfUnknownId",
                   "translation_German.xml",
                   "<root><translations language=\"German\"><text id=\"nope\" type=\"text\">A<b/></text>"
                   "</translations></root>",
                   {"Text identificator nope was not found in wdl file. Found translation for unknown text.<languages>",
                    "Expected character data.Error was detected in file <path>translation_German.xml"}},
        RefusalRow{"NoTranslationsElement",
                   "translation_German.xml",
                   "<root/>",
                   {"Did not find any meaningful data in file <path>translation_German.xml . Perhaps it isn't a "
                    "translation file."}},
        RefusalRow{
            "OnlyUnknownIds",
            "translation_German.xml",
            "<root><translations language=\"German\">\n<text id=\"hello\" type=\"text\">Hallo</text>\n"
            "<text id=\"Bye\" type=\"text\">Tschüss</text>\n</translations></root>",
            {"Text identificator hello was not found in wdl file. Found translation for unknown text.<languages>",
             "Text identificator Bye was not found in wdl file. Found translation for unknown text.<languages>",
             "Did not find any meaningful data in file <path>translation_German.xml . Perhaps it isn't a "
             "translation file."}},
        // Only the exact name of the template is skipped; this one is read,
        // and its language is the template's placeholder.
        RefusalRow{"TemplateNameInAnotherCase",
                   "Translation_Template.xml",
                   "<root>\n\t<translations language=\"Copy your language name from the above list\">\n"
                   "\t\t<text id=\"bye\" type=\"text\">Bye</text>\n\t</translations>\n</root>\n",
                   {"Unknown translation language \"Copy your language name from the above list\" found in file "
                    "<path>Translation_Template.xml. The following languages are supported:\n<languages>"}}),
    rowName<RefusalRow>);

QString germanFile(const char *texts)
{
    return QStringLiteral("<root><translations language=\"German\">%1</translations></root>")
        .arg(QString::fromUtf8(texts));
}

TEST_F(TranslationImport, TheTemplateIsSkippedAndAnUnreadableFileReported)
{
    m_files.write(QStringLiteral("translation_template.xml"), TranslationTemplate::render(&m_texts));
    // A dangling link: listed by its name, but there is nothing to open.
    ASSERT_TRUE(
        QFile::link(m_files.path(QStringLiteral("nowhere.xml")), m_files.path(QStringLiteral("translation_A.xml"))));
    m_files.write(QStringLiteral("translation_B.xml"), germanFile("<text id=\"bye\" type=\"text\">Tschüss</text>"));
    EXPECT_TRUE(sameWarnings(import(), {"german: 5=Tschüss;", "Unable to open file <path>translation_A.xml"}));
}

TEST_F(TranslationImport, MissingIdOrTypeSkipsOnlyThatEntry)
{
    m_files.write(QStringLiteral("translation_German.xml"),
                  germanFile("\n<text type=\"text\">Hallo</text>\n<text id=\"welcome\">Willkommen</text>\n"
                             "<text id=\"welcome\" type=\"Text\">Willkommen</text>\n"
                             "<text id=\"bye\" type=\"text\">Tschüss</text>\n<text id=\"\" type=\"\">Leer</text>\n"));
    EXPECT_TRUE(sameWarnings(
        import(),
        {"german: 5=Tschüss;",
         "XML file <path>translation_German.xml does not have attribute \"id\" on line 2 was empty. It is not "
         "known which text was translated.",
         "Text identificator  was not found in wdl file. Found translation for unknown text.<languages>",
         "XML file <path>translation_German.xml does not have attribute \"type\" on line 3 was empty. It is "
         "not known whether text or help was translated.",
         // Present but empty attributes are no missing ones.
         "Text identificator  was not found in wdl file. Found translation for unknown text.<languages>"}));
}

// Byte order of the names: upper case before lower case, whatever the file
// system lists first. Only translation_*.xml is read, in any letter case,
// and two files of one language give two dictionaries, the second behind
// the padding of the first.
TEST_F(TranslationImport, FilesAreReadInByteOrderOfTheirNamesEachGivingADictionary)
{
    for (const char *name : {"translation_b.xml", "translation_C.xml", "TRANSLATION_a.XML"}) {
        const std::string texts = "<text id=\"welcome\" type=\"help\">OK drücken</text><text id=\"bye\" type=\"text\">"
                                  + std::string(name) + "</text>";
        m_files.write(QString::fromUtf8(name), germanFile(texts.c_str()));
    }
    m_files.write(QStringLiteral("translation_German.xml.bak"), QStringLiteral("not read"));
    m_files.write(QStringLiteral("translations_German.xml"), QStringLiteral("not read"));
    EXPECT_TRUE(sameWarnings(import(), {"german: 2=OK drücken; 5=TRANSLATION_a.XML;",
                                        "german: 2=OK drücken; 5=translation_C.xml;",
                                        "german: 2=OK drücken; 5=translation_b.xml;"}));
}

TEST_F(TranslationImport, EntriesKeepEscapesEmptyContentAndRepeatsInFileOrder)
{
    m_files.write(
        QStringLiteral("translation_German.xml"),
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<root xmlns=\"urn:example\"><translations xmlns:x=\"urn:x\" language=\"French\">\n"
                       "<text id=\"empty_text\" type=\"text\">Aide</text>\n"
                       "<text id=\"bye\" type=\"text\">Deux\\nlignes \\\"cité\\\" &lt;&amp;&#37;</text>\n"
                       "<text id=\"bye\" type=\"text\">encore</text>\n<text id=\"bye\" type=\"help\"></text>\n"
                       "</translations></root>"));
    EXPECT_TRUE(sameWarnings(import(), {"french: 3=Aide; 5=Deux\rlignes \"cité\" <&%; 5=encore; 6=;"}));
}

// Files the fast path takes, files the full reader reads with a warning and
// files that cannot be opened, in turns: however the threads share them, the
// dictionaries and the warnings come in the order of the files.
TEST_F(TranslationImport, ManyFilesGiveDictionariesAndWarningsInFileOrder)
{
    QStringList expected;
    QStringList warnings;
    for (int i = 0; i < 12; ++i) {
        const QString name = QStringLiteral("translation_%1.xml").arg(i, 2, 10, QLatin1Char('0'));
        const std::string bye = "<text id=\"bye\" type=\"text\">" + std::to_string(i) + "</text>";
        if (i % 3 == 0) {
            m_files.write(name, germanFile(bye.c_str()));
        } else if (i % 3 == 1) {
            m_files.write(name, germanFile(("<text type=\"text\">Hallo</text>" + bye).c_str()));
            warnings.append(QStringLiteral("XML file <path>") + name
                            + QStringLiteral(" does not have attribute \"id\" on line 1 was empty. It is not known "
                                             "which text was translated."));
            warnings.append(QStringLiteral("Text identificator  was not found in wdl file. Found translation for "
                                           "unknown text.<languages>"));
        } else {
            ASSERT_TRUE(QFile::link(m_files.path(QStringLiteral("nowhere.xml")), m_files.path(name)));
            warnings.append(QStringLiteral("Unable to open file <path>") + name);
            continue;
        }
        expected.append(QStringLiteral("german: 5=") + QString::number(i) + QLatin1Char(';'));
    }
    EXPECT_EQ(import(), expected + warnings);
}

// An image named without a directory: the files are found in the working
// directory and named without one.
TEST_F(TranslationImport, FilesBesideARelativeImageAreNamedWithoutDirectory)
{
    m_files.write(QStringLiteral("translation_x.xml"), QStringLiteral("<root/>"));
    WorkingDirectory cd(m_files.dir());
    EXPECT_TRUE(sameWarnings(import(FileUrl::fromLocalPath(QStringLiteral("w.sas"))),
                             {"Did not find any meaningful data in file translation_x.xml . Perhaps it isn't a "
                              "translation file."}));
}

// Half a million attributes on one element would keep the XML reader busy
// for minutes, each checked against all before it: the file is refused
// before the reader sees it.
TEST_F(TranslationImport, CrowdedElementIsRefusedBeforeParsing)
{
    QByteArray xml = "<translations language=\"German\">\n<text id=\"welcome\" type=\"text\"";
    for (int i = 0; i < 500000; ++i)
        xml += " a" + QByteArray::number(i) + "=\"\"";
    xml += ">Willkommen</text>\n</translations>\n";
    m_files.writeBytes(QStringLiteral("translation_German.xml"), xml);
    EXPECT_EQ(import(), QStringList{QStringLiteral("XML file <path>translation_German.xml has an element with more "
                                                   "than 64 attributes on line 2. This file is not a translation "
                                                   "file.")});
}

} // namespace
