#include "output/savewdl.h"

#include "base/diagnostics.h"
#include "base/lereader.h"
#include "base/saslayout.h"
#include "core/fileurl.h"
#include "core/outputfile.h"
#include "core/wdlheader.h"
#include "core/wizardcontent.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltokenparam.h"
#include "items/wdltokenscreen.h"
#include "items/wdltokenscript.h"
#include "items/wdltokentext.h"
#include "output/crc16arc.h"
#include "output/languagetable.h"
#include "output/translationimporter.h"
#include "output/translationtemplate.h"
#include "output/wdlwriter.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using namespace SasLayout;

int roundUpTo4(qint64 n)
{
    return int((n + kAlignment - 1) / kAlignment * kAlignment);
}

// The progress of one build, appended to a log that nothing reads back: it
// shows how far a build got. The log lies at a fixed name in a directory that
// every user may write, so it is opened only as a file of this user's own
// with no other name, without following a link and without waiting; on any
// doubt the trace is left out.
class BuildTrace
{
public:
    BuildTrace()
    {
        const QByteArray path = QFile::encodeName(QDir::tempPath() + QStringLiteral("/wdlc-build.log"));
        m_fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                      0666);
        struct stat st;
        if (m_fd >= 0
            && (::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid() || st.st_nlink != 1)) {
            ::close(m_fd);
            m_fd = -1;
        }
    }
    ~BuildTrace()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    BuildTrace(const BuildTrace &) = delete;
    BuildTrace &operator=(const BuildTrace &) = delete;

    // One write per line, so that lines of builds running side by side do
    // not interleave; a line that fails is lost, as the whole log may be.
    void operator()(const QString &line)
    {
        if (m_fd < 0)
            return;
        const QByteArray bytes = line.toUtf8() + '\n';
        if (::write(m_fd, bytes.constData(), size_t(bytes.size())) != bytes.size()) {
            ::close(m_fd);
            m_fd = -1;
        }
    }

private:
    int m_fd = -1;
};

} // namespace

SaveWdl::SaveWdl(QObject *parent) : QObject(parent) {}

void SaveWdl::setModel(int slot, WizardItemsModel *model)
{
    if (slot < 0 || slot >= WizardContent::SlotCount)
        return;
    m_models[slot] = model;
    m_modelMask |= quint16(1u << slot);
}

void SaveWdl::setHeader(WdlHeader *header)
{
    m_header = header;
}

void SaveWdl::setIncludedFiles(const IncludedFileMap &files)
{
    m_includedFiles = files;
}

bool SaveWdl::isReady() const
{
    return m_modelMask == 0xFF && m_header && m_header->isComplete();
}

int SaveWdl::wizardDataLength() const
{
    LeWriter scratch;
    buildHeader(scratch);
    buildScriptData(scratch);
    return scratch.size();
}

SaveWdl::Limits SaveWdl::checkLimits() const
{
    Limits limits;
    if (!isReady())
        return limits;
    const int wizardData = wizardDataLength();
    const qint64 textRecords = qint64(kTextRecordSize) * m_models[WizardContent::TextsSlot]->count();
    limits.wizardData = wizardData <= kMaxField;
    limits.textData = roundUpTo4(wizardData + textRecords) <= kMaxField;
    return limits;
}

bool SaveWdl::fitsWizardDataLimit() const
{
    return checkLimits().wizardData;
}

bool SaveWdl::fitsTextDataLimit() const
{
    return checkLimits().textData;
}

// Field by field as SasLayout lays the header out; the lengths and offsets
// that depend on what follows are written as zero and patched by writeSas.
void SaveWdl::buildHeader(LeWriter &out) const
{
    const QByteArray fileName = m_header->fileName().toUtf8();
    const int textCount = m_models[WizardContent::TextsSlot]->count();
    out.u8(kFormatByte, "format");
    out.zeros(3, "zero");
    out.u32(0, "total length");
    out.u16(0, "check value");
    out.u16(kFixedHeaderSize, "fixed header size");
    out.u16(m_header->fileFormatVersion().major, "FILE_FORMAT_VERSION major");
    out.u16(m_header->fileFormatVersion().minor, "FILE_FORMAT_VERSION minor");
    out.u16(m_header->fileVersion().major, "FILE_VERSION major");
    out.u16(m_header->fileVersion().minor, "FILE_VERSION minor");
    out.u8(m_header->runMode(), "RUN_MODE");
    out.u16(m_header->productType(), "PRODUCT_TYPE");
    out.u16(m_header->databaseVersion().major, "DATABASE_VERSION major");
    out.u16(m_header->databaseVersion().minor, "DATABASE_VERSION minor");
    out.u16(quint16(fileName.size() + 1), "file-name field length");
    out.u16(kFixedHeaderSize, "file-name field offset");
    out.u16(0, "script data length");
    out.u16(quint16(kFixedHeaderSize + fileName.size() + 1), "header length");
    out.u16(quint16(textCount), "text records");
    out.u16(quint16(kTextRecordSize * textCount), "text records length");
    out.u16(0, "text records offset");
    out.u8(0, "dictionaries");
    out.u32(0, "dictionary area length");
    out.u16(0, "dictionary start");
    out.bytes(fileName, "FILE_NAME");
    out.u8(0, "FILE_NAME end");
}

// The records in a fixed order of groups, each group in collection order. A
// screen that has both an overlay and parameters meets the condition of more
// than one group and is written in each.
void SaveWdl::buildScriptData(LeWriter &out, CsivEmbedder *csivOperands) const
{
    const QList<WdlToken *> &screens = m_models[WizardContent::ScreensSlot]->items();
    const QList<WdlToken *> &parameters = m_models[WizardContent::ParametersSlot]->items();
    auto screensWhere = [&](auto condition) {
        for (WdlToken *item : screens) {
            if (condition(static_cast<WdlTokenScreen *>(item)))
                item->writeRecord(out);
        }
    };
    auto parametersOfKind = [&](int kind) {
        for (WdlToken *item : parameters) {
            if (static_cast<WdlTokenParam *>(item)->kind() == kind)
                item->writeRecord(out);
        }
    };
    auto all = [&](int slot) {
        for (WdlToken *item : m_models[slot]->items())
            item->writeRecord(out);
    };

    screensWhere([](const WdlTokenScreen *s) { return s->overlay() != nullptr; });
    screensWhere([](const WdlTokenScreen *s) { return s->parameters().size() == 1; });
    screensWhere([](const WdlTokenScreen *s) { return s->parameters().size() == 2; });
    all(WizardContent::OverlaysSlot);
    all(WizardContent::ChoiceListsSlot);
    parametersOfKind(WdlTokenParam::KindVCP);
    parametersOfKind(WdlTokenParam::KindP);
    all(WizardContent::LocalParametersSlot);
    WdlTokenScript::CsivOperandNote noteCsivOperand;
    if (csivOperands)
        noteCsivOperand = [csivOperands](quint16 fileNumber, int at) { csivOperands->noteOperand(fileNumber, at); };
    for (WdlToken *item : m_models[WizardContent::ScriptsSlot]->items())
        static_cast<WdlTokenScript *>(item)->writeRecord(out, noteCsivOperand);
    parametersOfKind(WdlTokenParam::KindVP);
    all(WizardContent::FiltersSlot);
}

// An empty text or help gets no entry, so a text emptied because it holds a
// CSIV path leaves only its help, if any.
void SaveWdl::buildDictionary(LeWriter &out) const
{
    DictCodec::Entries entries;
    for (WdlToken *item : m_models[WizardContent::TextsSlot]->items()) {
        const auto *text = static_cast<WdlTokenText *>(item);
        if (!text->getText().isEmpty())
            entries.emplace_back(text->textKey(), text->getText());
        if (!text->getHelp().isEmpty())
            entries.emplace_back(text->helpKey(), text->getHelp());
    }
    LanguageTable::setProductName(LanguageTable::kEnglish, m_header->productName());
    DictCodec::encode(LanguageTable::row(LanguageTable::kEnglish), entries,
                      LanguageTable::codecMode(LanguageTable::kEnglish), out);
}

void SaveWdl::embedCsivFiles(LeWriter &image)
{
    m_csiv.embed(
        image, m_includedFiles,
        [this](const QString &text, const QString &path) { report(text, path, 0, BuildProducts::Problem::CsivFile); },
        &m_inputs);
}

void SaveWdl::report(const QString &text, const QString &file, int line, BuildProducts::Problem::Source source)
{
    m_problems.append({text, file, line, source});
    emit newWarning(text, 0);
}

bool SaveWdl::writeSas(const QString &url, QString *refusal)
{
    BuildTrace trace;
    trace(url);
    if (!isReady()) {
        trace(QStringLiteral("not ready"));
        return false;
    }
    trace(QStringLiteral("data ready"));
    // The template lists the texts as they are before the build empties
    // those that hold CSIV paths.
    const QByteArray translationTemplate = TranslationTemplate::renderUtf8(m_models[WizardContent::TextsSlot]);
    trace(QStringLiteral("file opened"));
    // Built whole in memory first: only then are all the files it reads
    // known, none of which the two files written may replace.
    if (!buildImage(url, [&trace](const QString &step) { trace(step); }))
        return false;
    const QString imagePath = FileUrl::toLocalPath(url);
    const QString templatePath = TranslationTemplate::templatePath(url);
    for (const QString &target : {imagePath, templatePath}) {
        const QString input = OutputFile::inputAt(target, m_inputs);
        if (input.isEmpty())
            continue;
        trace(QStringLiteral("nothing written: ") + target + QStringLiteral(" is ") + input);
        if (refusal)
            *refusal = Diagnostics::text(Diagnostics::WouldOverwriteInput, {input});
        return false;
    }

    // A template that cannot be written does not stop the image.
    QString error;
    if (!OutputFile::write(templatePath, translationTemplate, &error, &m_inputs))
        trace(QStringLiteral("template not written: ") + error);
    if (!OutputFile::write(imagePath, m_image.data(), &error, &m_inputs)) {
        trace(QStringLiteral("image not written: ") + error);
        return false;
    }
    return true;
}

bool SaveWdl::buildImage(const QString &url)
{
    return isReady() && buildImage(url, [](const QString &) {});
}

bool SaveWdl::buildImage(const QString &url, const Trace &trace)
{
    m_image = LeWriter();
    m_image.setAnnotate(m_annotate);
    m_csiv = CsivEmbedder();
    m_problems.clear();
    m_inputs = m_wizardInputs;
    m_translatedTexts.clear();
    m_csivPathTexts.clear();
    buildHeader(m_image);
    const int headerLength = m_image.size();
    trace(QStringLiteral("file header"));
    buildScriptData(m_image, &m_csiv);
    const int scriptDataLength = m_image.size() - headerLength;
    trace(QStringLiteral("file script data"));

    // A text that holds a CSIV file's path is not shown on the panel: its
    // record stays, its dictionary entry goes.
    for (WdlToken *item : m_models[WizardContent::TextsSlot]->items()) {
        auto *text = static_cast<WdlTokenText *>(item);
        if (m_includedFiles.contains(text->getIndex())) {
            m_csivPathTexts.insert(text->id(), text->getText());
            text->setText(QString());
        }
        text->writeRecord(m_image);
    }
    m_image.padTo(SasLayout::kAlignment);
    const int dictionaryStart = m_image.size();
    // The callers refuse such a wizard first; this keeps a wrapped 16-bit
    // field out of any image written some other way.
    if (dictionaryStart > kMaxField)
        return false;

    trace(QStringLiteral("dict data"));
    buildDictionary(m_image);
    TranslationImporter importer(m_models[WizardContent::TextsSlot], m_header->productName(),
                                 [this](const QString &text, const QString &file, int line) {
                                     report(text, file, line, BuildProducts::Problem::TranslationFile);
                                 });
    if (m_noteTranslatedTexts)
        importer.setNoteEntry([this](const BuildProducts::TranslatedText &entry) { m_translatedTexts.append(entry); });
    importer.setInputs(&m_inputs);
    // The callers refuse too many translation files first; this keeps a
    // wrapped dictionary count out of any image.
    const int translations = importer.importTranslations(url, m_image);
    if (translations < 0)
        return false;
    embedCsivFiles(m_image);

    const int total = m_image.size();
    m_image.patchU32(kTotalLengthAt, quint32(total));
    m_image.patchU16(kScriptDataLengthAt, quint16(scriptDataLength));
    m_image.patchU16(kTextRecordsOffsetAt, quint16(headerLength + scriptDataLength));
    m_image.patchU8(kDictionaryCountAt, quint8(translations + 1));
    m_image.patchU32(kDictionaryAreaLengthAt, quint32(total - dictionaryStart));
    m_image.patchU16(kDictionaryStartAt, quint16(dictionaryStart));

    trace(QStringLiteral("crc1"));
    trace(QStringLiteral("crc2"));
    const quint16 checkValue = sasChecksum(m_image.data());
    trace(QStringLiteral("crc3"));
    m_image.patchU16(kCheckValueAt, checkValue);
    return true;
}

quint16 SaveWdl::sasChecksum(const QByteArray &image)
{
    // Never past the array, whatever the length field says. An odd last byte
    // has no partner and is not covered.
    const qint64 covered = qMin<qint64>(LeReader::u32At(image, kTotalLengthAt, nullptr), image.size());
    const auto *bytes = reinterpret_cast<const quint8 *>(image.constData());
    Crc16Arc crc;
    if (covered > kCheckedFrom)
        crc.addSwappedPairs(bytes + kCheckedFrom, covered - kCheckedFrom);
    return crc.value();
}

bool SaveWdl::writeWdl(const QString &url)
{
    if (!isReady())
        return false;
    return WdlWriter(m_models, m_header).writeWdl(url);
}
