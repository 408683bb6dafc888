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
#include "output/translationfastreader.h"
#include "output/translationtemplate.h"
#include "output/xmlattributelimit.h"

#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

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

TranslationImporter::~TranslationImporter() = default;

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
    // The files are read in order on this thread (the budget counts them
    // so) while the fast path takes each one read on two threads; each is
    // then handed on in file order, taken or read in full, so that the
    // warnings come in the order of the files whatever the threads did.
    std::vector<PendingFile> files(size_t(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        // Named as found: the image's directory as the url gives it, so an
        // image named without a directory gives file names without one.
        files[size_t(i)].path = directory.isEmpty() ? names.at(i) : QDir(directory).filePath(names.at(i));
    }
    int count = 0;
    readFiles(files, [&](PendingFile &pending) {
        if (!pending.opened) {
            m_warn(Diagnostics::text(Diagnostics::TranslationUnreadable, {pending.path}), pending.path, 0);
            return;
        }
        int language = -1;
        DictCodec::Entries entries;
        const bool taken = takeEntries(pending.path, pending.document, pending.taken ? &pending.fast : nullptr,
                                       &language, &entries);
        pending = PendingFile();
        if (!taken)
            return;
        // Encoded straight into the image: a dictionary is as large as its file.
        LanguageTable::setProductName(language, m_productName);
        DictCodec::encode(LanguageTable::row(language), entries, LanguageTable::codecMode(language), image);
        image.padTo(SasLayout::kAlignment);
        ++count;
    });
    return count;
}

// The reading keeps no more than a few files ahead of the fast path, and
// each file is handed on as soon as it and those before it are taken, which
// lets go of its bytes and entries: the files after it reuse the memory, and
// a build holds little more than the files in hand.
void TranslationImporter::readFiles(std::vector<PendingFile> &files, const std::function<void(PendingFile &)> &handOn)
{
    if (m_fastPath && !m_fastReader && !files.empty())
        m_fastReader = std::make_unique<TranslationFastReader>(m_texts);
    // The reader only reads the texts and says nothing, so a file can be
    // handed to whichever thread is free once it is read.
    std::mutex mutex;
    std::condition_variable changed; // a file read or taken
    size_t read = 0;
    size_t next = 0;
    std::vector<char> taken(files.size(), 0);
    const bool withNotes = bool(m_noteEntry);
    // Takes the next file read through the fast path, waiting for it to be
    // read when asked to; false when there is none.
    const auto takeNext = [&](bool wait) {
        std::unique_lock<std::mutex> lock(mutex);
        if (wait)
            changed.wait(lock, [&] { return next < read || next == files.size(); });
        if (next == read)
            return false;
        const size_t i = next++;
        lock.unlock();
        PendingFile &pending = files[i];
        if (m_fastPath && pending.opened)
            pending.taken = m_fastReader->read(pending.document, pending.path, withNotes, &pending.fast);
        // Only the full reader needs the bytes again.
        if (pending.taken)
            pending.document = QByteArray();
        lock.lock();
        taken[i] = 1;
        lock.unlock();
        changed.notify_all();
        return true;
    };
    std::thread helper;
    if (m_fastPath && files.size() > 1 && std::thread::hardware_concurrency() > 1) {
        try {
            helper = std::thread([&] {
                while (takeNext(true)) {}
            });
        } catch (const std::system_error &) {
            // No thread to be had (a process limit, say): this one does it all.
        }
    }
    size_t handedOn = 0;
    const auto handOnTaken = [&] {
        for (;;) {
            {
                const std::lock_guard<std::mutex> lock(mutex);
                if (handedOn == files.size() || !taken[handedOn])
                    return;
            }
            handOn(files[handedOn++]);
        }
    };
    // Four files ahead keep the helper busy while this thread takes one of its
    // own or hands one on (two left it waiting a tenth of the time).
    const size_t ahead = helper.joinable() ? 4 : 1;
    const auto waiting = [&] {
        const std::lock_guard<std::mutex> lock(mutex);
        return read - next;
    };
    for (size_t i = 0; i < files.size(); ++i) {
        PendingFile &pending = files[i];
        pending.opened = InputFile::read(pending.path, &pending.document, m_inputs);
        {
            const std::lock_guard<std::mutex> lock(mutex);
            read = i + 1;
        }
        changed.notify_all();
        for (handOnTaken(); waiting() >= ahead; handOnTaken())
            takeNext(false);
    }
    for (handOnTaken(); handedOn < files.size(); handOnTaken()) {
        if (takeNext(false))
            continue;
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return taken[handedOn] != 0; });
    }
    if (helper.joinable())
        helper.join();
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
    int language = -1;
    DictCodec::Entries entries;
    if (!readEntries(fileName, document, &language, &entries))
        return {};
    LanguageTable::setProductName(language, m_productName);
    return DictCodec::encode(LanguageTable::row(language), entries, LanguageTable::codecMode(language), ignoreProgress);
}

bool TranslationImporter::readEntries(const QString &fileName, const QByteArray &document, int *language,
                                      DictCodec::Entries *entries)
{
    TranslationFastReader::Result fast;
    bool taken = false;
    // The fast path leaves crowded files to the full reader, which refuses
    // them before it parses: the refusal is said in one place.
    if (m_fastPath) {
        if (!m_fastReader)
            m_fastReader = std::make_unique<TranslationFastReader>(m_texts);
        taken = m_fastReader->read(document, fileName, bool(m_noteEntry), &fast);
    }
    return takeEntries(fileName, document, taken ? &fast : nullptr, language, entries);
}

bool TranslationImporter::takeEntries(const QString &fileName, const QByteArray &document,
                                      TranslationFastReader::Result *fast, int *language, DictCodec::Entries *entries)
{
    m_fileEntries.clear();
    m_lastReadWasFast = fast != nullptr;
    if (fast) {
        *language = fast->language;
        *entries = std::move(fast->entries);
        m_fileEntries = std::move(fast->notes);
    } else if (!readEntriesInFull(fileName, document, language, entries)) {
        return false;
    }
    if (m_noteEntry) {
        for (const BuildProducts::TranslatedText &entry : qAsConst(m_fileEntries))
            m_noteEntry(entry);
    }
    m_fileEntries.clear();
    return true;
}

// Gives every warning the file deserves; the fast path leaves to it every
// file that deserves any.
bool TranslationImporter::readEntriesInFull(const QString &fileName, const QByteArray &document, int *language,
                                            DictCodec::Entries *entries)
{
    const XmlAttributeLimit::Finding crowded = XmlAttributeLimit::find(document);
    if (crowded.excess != XmlAttributeLimit::None) {
        m_warn(XmlAttributeLimit::message(fileName, crowded), fileName, crowded.line);
        return false;
    }
    // Parsed from memory: the reader decodes a whole buffer much faster than
    // it pulls a device in small blocks.
    QXmlStreamReader xml(document);
    *language = -1;
    entries->clear();
    while (!xml.atEnd()) {
        xml.readNext();
        if (elementStarts(xml, QLatin1String("translations"))) {
            *language = readLanguage(xml, fileName);
            if (*language < 0)
                return false;
        } else if (elementStarts(xml, QLatin1String("text"))) {
            if (*language < 0) {
                m_warn(Diagnostics::text(Diagnostics::TranslationsElementMissing, {fileName}), fileName,
                       int(xml.lineNumber()));
                return false;
            }
            readTextEntry(xml, fileName, *entries);
        }
        // The one place where the reader's own errors, also those met while
        // reading a text's content, refuse the file.
        if (xml.hasError()) {
            m_warn(Diagnostics::text(Diagnostics::TranslationXmlError, {xml.errorString(), fileName}), fileName,
                   int(xml.lineNumber()));
            return false;
        }
    }
    if (*language < 0 || entries->empty()) {
        m_warn(Diagnostics::text(Diagnostics::TranslationWithoutData, {fileName}), fileName, 0);
        return false;
    }
    return true;
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
