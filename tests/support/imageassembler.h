#ifndef WDLC_TESTS_IMAGEASSEMBLER_H
#define WDLC_TESTS_IMAGEASSEMBLER_H

#include "codec/dictcodec.h"

#include <QByteArray>
#include <QList>
#include <QMap>

class WdlWizard;

// Lays out the image of an open wizard section by section, as the image
// layout prescribes, so that the image reader is tested on what the items and
// the codec really write. CSIV files are given as bytes, by file number.
class ImageAssembler
{
public:
    explicit ImageAssembler(WdlWizard *wizard) : m_wizard(wizard) {}

    void addTranslation(int language, const DictCodec::Entries &entries);
    void addCsivFile(quint16 fileNumber, const QByteArray &contents);
    QByteArray assemble() const;

private:
    struct Translation
    {
        int language;
        DictCodec::Entries entries;
    };

    WdlWizard *m_wizard;
    QList<Translation> m_translations;
    QMap<quint16, QByteArray> m_csivFiles;
};

// The image of tests/data/tool/dump/all_records.wdl, a wizard with every
// record kind, with a German translation and one CSIV file named CURVE1.
const QByteArray &allRecordsImage();

// A CSIV file that carries flashName where the builder looks for it.
QByteArray csivFile(const QByteArray &flashName, const QByteArray &body = QByteArray("curve data"));

#endif
