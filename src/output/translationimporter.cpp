#include "output/translationimporter.h"

#include "base/diagnostics.h"
#include "base/enumkeys.h"
#include "base/lewriter.h"
#include "base/saslayout.h"
#include "core/buildinputs.h"
#include "core/inputfile.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltokentext.h"
#include "output/languagetable.h"
#include "output/savewdl.h"
#include "output/translationtemplate.h"
#include "output/xmlattributelimit.h"

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

bool elementStarts(const QXmlStreamReader &xml, QLatin1String name)
{
    return xml.isStartElement() && xml.name() == name;
}

void ignoreProgress(int) {}

// The template's escapes for what a text cannot hold literally in a line of
// the file: a line break and a double quote.
QString unescapeContent(QString content)
{
    if (!content.contains(QLatin1Char('\\')))
        return content;
    return content.replace(QLatin1String("\\n"), QLatin1String("\r"))
        .replace(QLatin1String("\\\""), QLatin1String("\""));
}

} // namespace

QStringList TranslationImporter::translationFileNames(const QString &directory)
{
    // Name filters ignore letter case unless asked otherwise. Directories and
    // dangling links that match are listed too: opening them fails, and says so.
    QStringList names = QDir(directory).entryList({QStringLiteral("translation_*.xml")},
                                                  QDir::Files | QDir::Dirs | QDir::System | QDir::NoDotAndDotDot);
    names.removeAll(TranslationTemplate::kFileName);
    // In byte order: a directory lists its entries in an order of its own,
    // and the same input must give the same image on every machine.
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.toUtf8() < b.toUtf8(); });
    return names;
}

TranslationImporter::TranslationImporter(const WizardItemsModel *texts, const QString &productName, Warn warn)
    : m_texts(texts), m_productName(productName), m_warn(std::move(warn))
{
}

int TranslationImporter::translationFileCount(const QString &sasUrl)
{
    return translationFileNames(TranslationTemplate::pathBesideImage(sasUrl, QString())).size();
}

int TranslationImporter::importTranslations(const QString &sasUrl, LeWriter &image)
{
    const QString directory = TranslationTemplate::pathBesideImage(sasUrl, QString());
    const QStringList names = translationFileNames(directory);
    if (names.size() > kMaxTranslations)
        return -1;
    // A dictionary takes about the bytes of its file: room for all of them at
    // once spares the image one copy of itself per doubling; no more than the
    // budget lets the build read, whatever the files claim.
    qint64 expected = 0;
    for (const QString &name : names)
        expected += QFileInfo(QDir(directory).filePath(name)).size();
    const qint64 budget = m_inputs ? m_inputs->remaining() : BuildInputs::kBudget;
    image.reserve(int(image.size() + qBound<qint64>(0, expected, budget)));
    int count = 0;
    for (const QString &name : names) {
        // Named as found: the image's directory as the url gives it, so an
        // image named without a directory gives file names without one.
        const std::vector<char> dictionary = readTranslationFile(directory.isEmpty() ? name
                                                                                     : QDir(directory).filePath(name));
        if (dictionary.empty())
            continue;
        image.bytes(QByteArray::fromRawData(dictionary.data(), int(dictionary.size())), "translation dictionary");
        image.padTo(SasLayout::kAlignment);
        ++count;
    }
    return count;
}

std::vector<char> TranslationImporter::readTranslationFile(const QString &path)
{
    QByteArray document;
    if (!InputFile::read(path, &document, m_inputs)) {
        m_warn(Diagnostics::text(Diagnostics::TranslationUnreadable, {path}), path, 0);
        return {};
    }
    return readTranslation(path, document);
}

std::vector<char> TranslationImporter::readTranslation(const QString &fileName, const QByteArray &document)
{
    m_fileEntries.clear();
    const XmlAttributeLimit::Finding crowded = XmlAttributeLimit::find(document);
    if (crowded.excess != XmlAttributeLimit::None) {
        m_warn(XmlAttributeLimit::message(fileName, crowded), fileName, crowded.line);
        return {};
    }
    // Parsed from memory: the reader decodes a whole buffer much faster than
    // it pulls a device in small blocks.
    QXmlStreamReader xml(document);
    int language = -1;
    DictCodec::Entries entries;
    while (!xml.atEnd()) {
        xml.readNext();
        if (elementStarts(xml, QLatin1String("translations"))) {
            language = readLanguage(xml, fileName);
            if (language < 0)
                return {};
        } else if (elementStarts(xml, QLatin1String("text"))) {
            if (language < 0) {
                m_warn(Diagnostics::text(Diagnostics::TranslationsElementMissing, {fileName}), fileName,
                       int(xml.lineNumber()));
                return {};
            }
            readTextEntry(xml, fileName, entries);
        }
        // The one place where the reader's own errors, also those met while
        // reading a text's content, refuse the file.
        if (xml.hasError()) {
            m_warn(Diagnostics::text(Diagnostics::TranslationXmlError, {xml.errorString(), fileName}), fileName,
                   int(xml.lineNumber()));
            return {};
        }
    }
    if (language < 0 || entries.empty()) {
        m_warn(Diagnostics::text(Diagnostics::TranslationWithoutData, {fileName}), fileName, 0);
        return {};
    }
    if (m_noteEntry) {
        for (const BuildProducts::TranslatedText &entry : qAsConst(m_fileEntries))
            m_noteEntry(entry);
    }
    m_fileEntries.clear();
    LanguageTable::setProductName(language, m_productName);
    return DictCodec::encode(LanguageTable::row(language), entries, LanguageTable::codecMode(language), ignoreProgress);
}

// <translations language="German">
int TranslationImporter::readLanguage(QXmlStreamReader &xml, const QString &fileName)
{
    // Namespace declarations are not among the attributes: a file may
    // declare any it likes.
    const QXmlStreamAttributes attributes = xml.attributes();
    if (attributes.size() != 1 || attributes.first().qualifiedName() != QLatin1String("language")) {
        m_warn(Diagnostics::text(Diagnostics::TranslationLanguageAttribute, {fileName}), fileName,
               int(xml.lineNumber()));
        return -1;
    }
    const QString name = attributes.first().value().toString();
    const int language = EnumKeys::of<SaveWdl::Translations>().value(name);
    if (language < 0)
        m_warn(Diagnostics::text(Diagnostics::UnknownLanguage,
                                 {name, fileName, TranslationTemplate::supportedLanguagesText()}),
               fileName, int(xml.lineNumber()));
    return language;
}

// <text id="pump_type_name" type="text">Pumpentyp</text>
void TranslationImporter::readTextEntry(QXmlStreamReader &xml, const QString &fileName, DictCodec::Entries &entries)
{
    const int lineNumber = int(xml.lineNumber());
    const auto line = [lineNumber] { return QString::number(lineNumber); };
    QString id;
    bool hasId = false;
    bool hasType = false;
    bool isText = false;
    bool isHelp = false;
    {
        // Let go of the attributes before reading on: held across the next
        // token, they would make the reader copy them for every element.
        const QXmlStreamAttributes attributes = xml.attributes();
        const QStringRef idValue = attributes.value(QLatin1String("id"));
        const QStringRef type = attributes.value(QLatin1String("type"));
        hasId = !idValue.isNull();
        id = idValue.toString();
        hasType = !type.isNull();
        isText = type == QLatin1String("text");
        isHelp = type == QLatin1String("help");
    }
    if (!hasId)
        m_warn(Diagnostics::text(Diagnostics::TranslationWithoutId, {fileName, line()}), fileName, lineNumber);
    if (!hasType)
        m_warn(Diagnostics::text(Diagnostics::TranslationWithoutType, {fileName, line()}), fileName, lineNumber);

    // A child element inside makes the reader fail; the caller refuses the
    // file once this entry is done, so an unknown id is still reported.
    const QString content = unescapeContent(xml.readElementText());

    const auto *text = m_texts->byId<WdlTokenText>(id);
    if (!text) {
        m_warn(
            Diagnostics::text(Diagnostics::TranslationUnknownText, {id, TranslationTemplate::supportedLanguagesText()}),
            fileName, lineNumber);
        return;
    }
    if (isText)
        entries.emplace_back(text->textKey(), content);
    else if (isHelp)
        entries.emplace_back(text->helpKey(), content);
    if (isText || isHelp)
        m_fileEntries.append({fileName, lineNumber, id, isHelp, content});
}
