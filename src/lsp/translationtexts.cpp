#include "lsp/translationtexts.h"

#include "base/enumkeys.h"
#include "core/inputfile.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltokentext.h"
#include "output/savewdl.h"
#include "output/translationimporter.h"
#include "output/translationtemplate.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaEnum>
#include <QXmlStreamReader>

#include <algorithm>
#include <memory>

namespace {

QStringList translationFiles(const QString &directory)
{
    QStringList names = QDir(directory).entryList({QStringLiteral("translation_*.xml")}, QDir::Files);
    names.removeAll(TranslationTemplate::kFileName);
    std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) { return a.toUtf8() < b.toUtf8(); });
    return names;
}

// Names, sizes and times of the files: a change to any of them reads all again.
QString stampOf(const QString &directory, const QStringList &names)
{
    QString stamp;
    for (const QString &name : names) {
        const QFileInfo info(QDir(directory).filePath(name));
        stamp += name + QLatin1Char(' ') + QString::number(info.size()) + QLatin1Char(' ')
                 + QString::number(info.lastModified().toMSecsSinceEpoch()) + QLatin1Char('\n');
    }
    return stamp;
}

} // namespace

void TranslationTexts::update(const QString &directory, const QStringList &ids)
{
    const QStringList names = translationFiles(directory);
    const QString stamp = stampOf(directory, names);
    if (directory == m_directory && stamp == m_stamp && ids == m_ids)
        return;
    m_directory = directory;
    m_stamp = stamp;
    m_ids = ids;
    m_entries.clear();

    // The reader finds texts in a collection and gives their dictionary keys:
    // a collection of stand-ins, one per id, gives each id a key of its own.
    WizardItemsModel texts;
    std::vector<std::unique_ptr<WdlTokenText>> owned;
    owned.reserve(std::size_t(ids.size()));
    QHash<qint32, QString> idOfKey;
    for (const QString &id : ids) {
        if (texts.containsId(id))
            continue;
        owned.push_back(std::make_unique<WdlTokenText>(id, QString(), false));
        texts.addItem(owned.back().get());
        idOfKey.insert(owned.back()->textKey(), id);
    }
    TranslationImporter importer(&texts, QString(), [](const QString &, const QString &, int) {});
    const QMetaEnum languages = QMetaEnum::fromType<SaveWdl::Translations>();
    for (const QString &name : names) {
        QFile file(QDir(directory).filePath(name));
        if (!InputFile::open(file))
            continue;
        QXmlStreamReader xml(file.readAll());
        int language = -1;
        DictCodec::Entries entries;
        while (!xml.atEnd() && !xml.hasError()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("translations"))
                language = importer.readLanguage(xml, name);
            else if (xml.name() == QLatin1String("text") && language >= 0)
                importer.readTextEntry(xml, name, entries);
        }
        if (xml.hasError() || language < 0)
            continue;
        QHash<QString, Entry> byId;
        QStringList order;
        for (const auto &entry : entries) {
            // Text keys are odd, help keys the even key after them.
            const bool isHelp = entry.first % 2 == 0;
            const QString id = idOfKey.value(isHelp ? entry.first - 1 : entry.first);
            if (!byId.contains(id))
                order.append(id);
            Entry &e = byId[id];
            e.language = QLatin1String(languages.valueToKey(language));
            (isHelp ? e.help : e.text) = entry.second;
        }
        for (const QString &id : order)
            m_entries[id].append(byId.value(id));
    }
    // The stand-ins go before the collection that lists them is emptied.
    texts.clear();
}
