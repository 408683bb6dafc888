#include "output/translationtemplate.h"

const QString &TranslationTemplate::supportedLanguagesText()
{
    static const QString text;
    return text;
}

const QString &TranslationTemplate::templateText()
{
    static const QString text;
    return text;
}

QString TranslationTemplate::render(const WizardItemsModel *)
{
    return QString();
}

bool TranslationTemplate::exportTranslationTemplate(const QString &, const WizardItemsModel *)
{
    return false;
}

QString TranslationTemplate::escapeXml(const QString &text)
{
    return text;
}
