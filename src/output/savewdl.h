#ifndef WDLC_SAVEWDL_H
#define WDLC_SAVEWDL_H

#include "base/lewriter.h"
#include "core/buildinputs.h"
#include "core/buildproducts.h"
#include "core/includedfile.h"
#include "output/csivembedder.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class WdlHeader;
class WizardItemsModel;

// Builds the image of one wizard (or writes it back as WDL text) from the
// wizard's eight collections and its header. Lives for one operation.
class SaveWdl : public QObject
{
    Q_OBJECT
public:
    // The languages a wizard's texts can be translated into; the key names are
    // the language names that translation files use.
    enum Translations {
        Bahasa = 0,
        Bulgarian,
        Chinese,
        ChineseTraditional,
        Czech,
        Danish,
        Dutch,
        Finnish,
        German,
        English,
        EnglishUS,
        French,
        Greek,
        Hungarian,
        Italian,
        Japanese,
        Korean,
        Polish,
        Portuguese,
        Romanian,
        Russian,
        Serbian,
        Slovenian,
        Spanish,
        Swedish,
        Thai,
        Turkish
    };
    Q_ENUM(Translations)

    explicit SaveWdl(QObject *parent = nullptr);

    // Slots 0 parameters, 1 screens, 2 overlays, 3 scripts, 4 local
    // parameters, 5 choice lists, 6 texts, 7 filters; 8 and above are ignored.
    void setModel(int slot, WizardItemsModel *model);
    void setHeader(WdlHeader *header);
    // The CSIV files the scripts name, by file number.
    void setIncludedFiles(const IncludedFileMap &files);
    // The files the wizard was read from: the build reads on within their
    // budget, and writes over none of them nor of those it reads itself.
    void setInputs(const BuildInputs &inputs) { m_wizardInputs = inputs; }
    // Every collection given and every header tag present.
    bool isReady() const;
    // Writes the wizard back as WDL text beside the image of url (".sas"
    // becomes ".wdl"); false when not ready, refused or not writable.
    bool writeWdl(const QString &url);

    // Which of the two limits below the wizard passes, measured at once.
    struct Limits
    {
        bool wizardData = false;
        bool textData = false;
    };
    Limits checkLimits() const;
    // Header and script data (the wizard data) hold at most 65535 bytes.
    bool fitsWizardDataLimit() const;
    // The dictionary start (wizard data and text records, rounded up to a
    // multiple of 4) fits its 16-bit field.
    bool fitsTextDataLimit() const;
    // Builds the whole image and writes it to the local file of url, and the
    // translation template beside it. An existing file is replaced only once
    // its whole new contents have been written. False when nothing or not
    // the image could be written; when the image or the template would
    // replace a file the build reads, nothing is written and refusal (when
    // given) says so.
    bool writeSas(const QString &url, QString *refusal = nullptr);
    // Builds the whole image in memory, for an image at url: the translation
    // files are read beside it and the CSIV files where the scripts say.
    // False when not ready, too large or with too many translation files;
    // the image is then incomplete.
    bool buildImage(const QString &url);
    // The problems met by the last build, each with the file it is about.
    // Each was also announced by newWarning.
    const QList<BuildProducts::Problem> &problems() const { return m_problems; }
    // The entries of the translation files the last build took, when noted:
    // a compile that writes the image has no use for them.
    void setNoteTranslatedTexts(bool on) { m_noteTranslatedTexts = on; }
    const QList<BuildProducts::TranslatedText> &translatedTexts() const { return m_translatedTexts; }
    // The texts the last build left out of the dictionaries for holding a CSIV path, as they were.
    const QHash<QString, QString> &csivPathTexts() const { return m_csivPathTexts; }

    // The pieces of the image, field by field into out. The fields that are
    // known only once the image is complete are written as zero.
    void buildHeader(LeWriter &out) const;
    // With csivOperands, the operands of CSIV commands are noted in it at
    // their offsets in out.
    void buildScriptData(LeWriter &out, CsivEmbedder *csivOperands = nullptr) const;
    // The English dictionary of the wizard's texts, appended to out.
    void buildDictionary(LeWriter &out) const;
    // Appends the CSIV files and patches the operands noted while the script
    // data was built.
    void embedCsivFiles(LeWriter &image);

    // CRC-16/ARC over the byte pairs from offset 10 up to the total length
    // stored at offset 4, each pair fed high byte first.
    static quint16 sasChecksum(const QByteArray &image);

    // Remembers the fields of the next image built, for annotatedDump.
    void setAnnotate(bool on) { m_annotate = on; }
    QString annotatedDump() const { return m_image.annotatedDump(); }
    const QByteArray &image() const { return m_image.data(); }

signals:
    void newWarning(const QString &q, quint16 i = 0);

private:
    using Trace = std::function<void(const QString &step)>;

    int wizardDataLength() const;
    bool buildImage(const QString &url, const Trace &trace);
    void report(const QString &text, const QString &file, int line, BuildProducts::Problem::Source source);

    WizardItemsModel *m_models[8] = {};
    WdlHeader *m_header = nullptr;
    IncludedFileMap m_includedFiles;
    BuildInputs m_wizardInputs;
    // Those and the files the last build read.
    BuildInputs m_inputs;
    quint16 m_modelMask = 0;
    LeWriter m_image;
    CsivEmbedder m_csiv;
    QList<BuildProducts::Problem> m_problems;
    QList<BuildProducts::TranslatedText> m_translatedTexts;
    QHash<QString, QString> m_csivPathTexts;
    bool m_annotate = false;
    bool m_noteTranslatedTexts = false;
};

#endif
