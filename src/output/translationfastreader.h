#ifndef WDLC_TRANSLATIONFASTREADER_H
#define WDLC_TRANSLATIONFASTREADER_H

#include "codec/dictcodec.h"
#include "core/buildproducts.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <vector>

class WizardItemsModel;

// Reads the translation files that keep to a plain, common form with expat,
// at a fraction of the cost of QXmlStreamReader. It takes a file only when
// it can tell that QXmlStreamReader would read the same language and entries
// from it and give no warning: UTF-8, XML 1.0, no DOCTYPE, no processing
// instruction, no namespace, plain ASCII names, no element crowded with
// attributes, no element inside a text, and every text and help found in the
// wizard. Anything else, and any error, it
// leaves to the full reader, having said nothing.
class TranslationFastReader
{
public:
    struct Result
    {
        int language = -1;
        DictCodec::Entries entries;
        QList<BuildProducts::TranslatedText> notes;
    };

    // Texts must not change while the reader lives.
    explicit TranslationFastReader(const WizardItemsModel *texts);

    // True with the file's language, entries and, when asked for, notes
    // (named fileName) in result; false when the file is not one this reader
    // can vouch for.
    bool read(const QByteArray &document, const QString &fileName, bool withNotes, Result *result) const;

private:
    const WizardItemsModel *m_texts;
    // Per row, whether it is the first item of its id: a guessed row then
    // answers an id lookup as the index would.
    std::vector<bool> m_firstOfId;
};

#endif
