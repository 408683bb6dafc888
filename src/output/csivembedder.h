#ifndef WDLC_CSIVEMBEDDER_H
#define WDLC_CSIVEMBEDDER_H

#include "core/includedfile.h"

#include <QByteArray>
#include <QMultiMap>
#include <QString>

#include <functional>

class LeWriter;

// Carries the CSIV files that scripts name inside the image. While the script
// data is laid out it notes where each CSIV command's operand lies; once the
// files are appended it writes each file's image offset into those operands.
class CsivEmbedder
{
public:
    using Warn = std::function<void(const QString &text)>;

    // The operand value of a file that was not embedded.
    static constexpr quint32 kNotEmbedded = 0xFFFFFFFF;

    // Notes the operands of the CSIV commands in one script record that is
    // about to be appended at recordOffset of the image.
    void scanScript(const QByteArray &record, int recordOffset);
    // Appends the files in ascending number, each at a multiple of 4, and
    // writes each file's offset (kNotEmbedded for one that is missing or
    // carries another name) into the operands noted for it.
    void embed(LeWriter &image, const IncludedFileMap &files, const Warn &warn);

    // The flash name a CSIV file carries; empty when the file is too short to
    // hold the name's length and offset, or the name reaches past its end.
    static QString flashNameOf(const QByteArray &file);

    // File number to the image offsets of the operands that take its offset.
    const QMultiMap<quint16, qint32> &operandPositions() const { return m_operandPositions; }

private:
    QMultiMap<quint16, qint32> m_operandPositions;
};

#endif
