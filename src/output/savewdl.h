#ifndef WDLC_SAVEWDL_H
#define WDLC_SAVEWDL_H

#include "codec/dictcodec.h"
#include "core/includedfile.h"

#include <QByteArray>
#include <QMultiMap>
#include <QObject>
#include <QString>

#include <vector>

class QFile;
class QUrl;
class QXmlStreamReader;
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
    // Every collection given and every header tag present.
    bool isReady() const;
    // Writes the wizard back as WDL text beside the image of url (".sas"
    // becomes ".wdl"); false when not ready, refused or not writable.
    bool writeWdl(const QString &url);

signals:
    void newWarning(const QString &q, quint16 i = 0);

private:
    WizardItemsModel *m_models[8] = {};
    WdlHeader *m_header = nullptr;
    IncludedFileMap m_includedFiles;
    quint16 m_modelMask = 0;
};

#endif
