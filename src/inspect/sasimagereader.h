#ifndef WDLC_SASIMAGEREADER_H
#define WDLC_SASIMAGEREADER_H

#include "inspect/sasimage.h"

#include <QByteArray>

// Takes an image apart section by section, for people and tools that need to
// see what the compiler wrote. Every length and offset the image states is
// checked before it is followed: a cut or damaged image yields what could be
// read and a problem naming the offset, and nothing is ever read past the end
// of the data.
class SasImageReader
{
public:
    static SasImage read(const QByteArray &data);

    // The image's 16-bit check value: CRC-16/ARC over the byte pairs from
    // offset 10 on, the number of pairs taken from the total length at offset
    // 4 (half of it, less 5), each pair fed high byte first. Pairs the data
    // does not hold are not fed.
    static quint16 checkValue(const QByteArray &image);
};

#endif
