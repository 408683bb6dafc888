#ifndef WDLC_CSIVEMBEDDER_H
#define WDLC_CSIVEMBEDDER_H

#include "core/includedfile.h"

#include <QByteArray>
#include <QMultiMap>
#include <QString>

#include <functional>

class BuildInputs;
class LeWriter;

// Carries the CSIV files that scripts name inside the image. While the script
// data is written, the builder notes where each CSIV command's file offset
// goes; once the files are appended, each file's offset is written there.
class CsivEmbedder
{
public:
    // A problem with the CSIV file at path.
    using Warn = std::function<void(const QString &text, const QString &path)>;

    // Notes that the 4 bytes at offset of the image take the offset of file
    // number fileNumber.
    void noteOperand(quint16 fileNumber, int offset);
    // Appends the files in ascending number, each at a multiple of 4, and
    // writes each file's offset (SasLayout::kNotEmbedded for one that is
    // missing or carries another name) into the operands noted for it. The
    // files are read within the budget of inputs, and noted there.
    void embed(LeWriter &image, const IncludedFileMap &files, const Warn &warn, BuildInputs *inputs = nullptr);

    // The flash name a CSIV file carries; empty when the file is too short to
    // hold the name's length and offset, or the name reaches past its end.
    static QString flashNameOf(const QByteArray &file);

    // File number to the image offsets of the operands that take its offset.
    const QMultiMap<quint16, qint32> &operandPositions() const { return m_operandPositions; }

private:
    QMultiMap<quint16, qint32> m_operandPositions;
};

#endif
