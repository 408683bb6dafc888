#include "output/translationimporter.h"

#include "core/lewriter.h"

TranslationImporter::TranslationImporter(const WizardItemsModel *texts, const QString &productName, Warn warn)
    : m_texts(texts), m_productName(productName), m_warn(std::move(warn))
{
}

quint8 TranslationImporter::importTranslations(const QString &, LeWriter &)
{
    return 0;
}

std::vector<char> TranslationImporter::readTranslationFile(QFile &)
{
    return std::vector<char>();
}

int TranslationImporter::readLanguage(QXmlStreamReader &, const QString &)
{
    return -1;
}

void TranslationImporter::readTextEntry(QXmlStreamReader &, const QString &, DictCodec::Entries &)
{
}
