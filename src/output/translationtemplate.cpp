#include "output/translationtemplate.h"

#include "core/fileurl.h"
#include "core/outputfile.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltokentext.h"
#include "output/savewdl.h"

#include <QMetaEnum>

namespace {

const QLatin1String kPlaceholder("<textid/>");

QString buildSupportedLanguagesText()
{
    // The text is fixed as published: Korean, not the last name, takes the
    // full stop.
    const QMetaEnum languages = QMetaEnum::fromType<SaveWdl::Translations>();
    QString text;
    for (int i = 0; i < languages.keyCount(); ++i) {
        text += QLatin1String(languages.key(i));
        text += languages.value(i) == SaveWdl::Korean ? QLatin1Char('.') : QLatin1Char(',');
        text += QLatin1Char('\n');
    }
    text += QStringLiteral("Default language of wizard is English.\n\n");
    return text;
}

QString buildTemplateText()
{
    const QString head = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- Translate your texts and rename file to \"translation_###.xml\", where ### is one of the "
        "languages in the list below.\n"
        "Files which are not named accordingly will be ignored.\n"
        "Also, attribute \"language\" of xml tag \"translations\" has to be renamed.\n"
        "The following languages are supported:\n");
    const QString tail = QStringLiteral("Translations MUST NOT CONTAIN XML RESERVED CHARACTERS <,>,&,%.\n"
                                        "Please make the following replacements:\n"
                                        "> replace with &gt;\n"
                                        "< replace with &lt;\n"
                                        "& replace with &amp;\n"
                                        "% replace with &#37;\n"
                                        " -->\n"
                                        "<root>\n"
                                        "\t<translations language=\"Copy your language name from the above list\">\n"
                                        "<textid/>\t</translations>\n"
                                        "</root>\n");
    return head + TranslationTemplate::supportedLanguagesText() + tail;
}

void appendTextLine(QByteArray &out, const QString &id, const char *type, const QString &content)
{
    out += "\t\t<text id=\"";
    out += id.toUtf8();
    out += "\" type=\"";
    out += type;
    out += "\">";
    out += TranslationTemplate::escapeXml(content).toUtf8();
    out += "</text>\n";
}

} // namespace

const QString &TranslationTemplate::supportedLanguagesText()
{
    static const QString text = buildSupportedLanguagesText();
    return text;
}

const QString &TranslationTemplate::templateText()
{
    static const QString text = buildTemplateText();
    return text;
}

QString TranslationTemplate::render(const WizardItemsModel *texts)
{
    return QString::fromUtf8(renderUtf8(texts));
}

// Straight into the bytes of the file: the template of a large wizard is
// large, and a text of it in UTF-16 on the way would be twice as large.
QByteArray TranslationTemplate::renderUtf8(const WizardItemsModel *texts)
{
    const QByteArray frame = templateText().toUtf8();
    const int at = frame.indexOf(kPlaceholder.data());
    QByteArray out = frame.left(at);
    for (const WdlToken *item : texts->items()) {
        const auto *text = static_cast<const WdlTokenText *>(item);
        if (!text->getText().isEmpty())
            appendTextLine(out, text->id(), "text", text->getText());
        if (!text->getHelp().isEmpty())
            appendTextLine(out, text->id(), "help", text->getHelp());
    }
    out += frame.mid(at + kPlaceholder.size());
    return out;
}

QString TranslationTemplate::pathBesideImage(const QString &sasUrl, const QString &name)
{
    const QString path = FileUrl::toLocalPath(sasUrl);
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1) + name;
}

const QLatin1String TranslationTemplate::kFileName("translation_template.xml");

QString TranslationTemplate::templatePath(const QString &sasUrl)
{
    return pathBesideImage(sasUrl, kFileName);
}

bool TranslationTemplate::exportTranslationTemplate(const QString &sasUrl, const WizardItemsModel *texts,
                                                    const BuildInputs *inputs)
{
    QString error;
    return OutputFile::write(templatePath(sasUrl), render(texts).toUtf8(), &error, inputs);
}

QString TranslationTemplate::escapeXml(const QString &text)
{
    // The ampersand first, or the entities written for the others would be
    // escaped a second time.
    return QString(text)
        .replace(QLatin1Char('&'), QLatin1String("&amp;"))
        .replace(QLatin1Char('<'), QLatin1String("&lt;"))
        .replace(QLatin1Char('>'), QLatin1String("&gt;"))
        .replace(QLatin1Char('%'), QLatin1String("&#37;"));
}
