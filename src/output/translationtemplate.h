#ifndef WDLC_TRANSLATIONTEMPLATE_H
#define WDLC_TRANSLATIONTEMPLATE_H

#include <QString>

class BuildInputs;
class WizardItemsModel;

// translation_template.xml: every text and help of the wizard, for
// translators to copy into a translation file of their language.
class TranslationTemplate
{
public:
    // The 27 language names, one per line, and the default-language line.
    static const QString &supportedLanguagesText();
    // The template with its "<textid/>" placeholder.
    static const QString &templateText();
    // The template filled with one line per non-empty text and help.
    static QString render(const WizardItemsModel *texts);
    // The same as the file holds it, in UTF-8.
    static QByteArray renderUtf8(const WizardItemsModel *texts);
    // Writes the template beside the image of sasUrl, whole or not at all,
    // never over one of inputs; false when it cannot.
    static bool exportTranslationTemplate(const QString &sasUrl, const WizardItemsModel *texts,
                                          const BuildInputs *inputs = nullptr);
    // "&" first, then "<", ">" and "%"; quotes stay.
    static QString escapeXml(const QString &text);
    // name in the directory of the image at sasUrl, that is the image's local
    // path without its last component: the template and the translation
    // files sit beside the image. An empty name gives the directory, with its
    // last "/", or empty for an image named without a directory.
    static QString pathBesideImage(const QString &sasUrl, const QString &name);
    // Where the template of the image at sasUrl goes.
    static QString templatePath(const QString &sasUrl);
    // The template's file name, which the translation import skips.
    static const QLatin1String kFileName;
};

#endif
