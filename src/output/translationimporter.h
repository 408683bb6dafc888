#ifndef WDLC_TRANSLATIONIMPORTER_H
#define WDLC_TRANSLATIONIMPORTER_H

#include "codec/dictcodec.h"
#include "core/buildproducts.h"
#include "output/translationfastreader.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class BuildInputs;
class LeWriter;
class QXmlStreamReader;
class WizardItemsModel;

// Reads the translation files beside an image and encodes one dictionary per
// readable file. A file with problems contributes nothing and the build goes on.
class TranslationImporter
{
public:
    // A problem with one translation file, at its line where the XML reader
    // knows it (else 0).
    using Warn = std::function<void(const QString &text, const QString &file, int line)>;

    // An image counts its dictionaries in one byte, the English one among them.
    static constexpr int kMaxTranslations = 254;
    // An entry of a file whose dictionary goes into the image.
    using NoteEntry = std::function<void(const BuildProducts::TranslatedText &entry)>;

    TranslationImporter(const WizardItemsModel *texts, const QString &productName, Warn warn);
    ~TranslationImporter();
    void setNoteEntry(NoteEntry note) { m_noteEntry = std::move(note); }
    // Off, every file goes through QXmlStreamReader alone: the fast path is
    // proven against it so.
    void setFastPath(bool on) { m_fastPath = on; }
    // Whether the last file read was taken by the fast path.
    bool lastReadWasFast() const { return m_lastReadWasFast; }

    // The files are read within the budget of inputs, and noted there.
    void setInputs(BuildInputs *inputs) { m_inputs = inputs; }
    // How many translation files lie beside the image of sasUrl.
    static int translationFileCount(const QString &sasUrl);
    // Appends the dictionary of every "translation_*.xml" beside the image of
    // sasUrl (except the template), each padded to a multiple of 4; returns
    // how many were appended, or -1 and appends nothing when there are more
    // than kMaxTranslations files.
    int importTranslations(const QString &sasUrl, LeWriter &image);
    // The names of the files beside an image that its build reads as
    // translations (not the template), in the order it reads them.
    static QStringList translationFileNames(const QString &directory);
    // One file's encoded dictionary, or nothing when the file cannot be
    // opened or is refused; the refusal is then the last warning given.
    std::vector<char> readTranslationFile(const QString &path);
    // The same for a document already read.
    std::vector<char> readTranslation(const QString &fileName, const QByteArray &document);
    // The Translations value of the current "translations" element, or -1.
    int readLanguage(QXmlStreamReader &xml, const QString &fileName);
    // Handles one "text" element, adding its entry when its id is known.
    void readTextEntry(QXmlStreamReader &xml, const QString &fileName, DictCodec::Entries &entries);

private:
    // A file of the build as it is read and taken.
    struct PendingFile
    {
        QString path;
        bool opened = false;
        QByteArray document;
        bool taken = false; // by the fast path, into fast
        TranslationFastReader::Result fast;
    };
    // Reads the files, takes what the fast path can, and hands each on to
    // handOn in file order.
    void readFiles(std::vector<PendingFile> &files, const std::function<void(PendingFile &)> &handOn);
    // The entries of a file the fast path took (fast), or of a full read.
    bool takeEntries(const QString &fileName, const QByteArray &document, TranslationFastReader::Result *fast,
                     int *language, DictCodec::Entries *entries);
    // The language and entries of one file, false when it is refused; the
    // entries are noted only once the file is taken.
    bool readEntries(const QString &fileName, const QByteArray &document, int *language, DictCodec::Entries *entries);
    bool readEntriesInFull(const QString &fileName, const QByteArray &document, int *language,
                           DictCodec::Entries *entries);

    const WizardItemsModel *m_texts;
    QString m_productName;
    Warn m_warn;
    BuildInputs *m_inputs = nullptr;
    NoteEntry m_noteEntry;
    // The entries of the file being read, noted once the file is taken.
    QList<BuildProducts::TranslatedText> m_fileEntries;
    bool m_fastPath = true;
    bool m_lastReadWasFast = false;
    std::unique_ptr<TranslationFastReader> m_fastReader;
};

#endif
