#include "output/csivembedder.h"

#include "core/inputfile.h"
#include "core/lereader.h"
#include "core/lewriter.h"

#include <QDebug>
#include <QFile>

namespace {

// A script record: the five-byte item header, script type and command count,
// then 7 bytes per command.
//
// | offset | size | field                                            |
// |      0 |    1 | command: 27 for CSIV                             |
// |      1 |    2 | item number of the flash-name text               |
// |      3 |    2 | item number of the path text: the file number    |
// |      5 |    2 | item number of the third argument                |
//
// Bytes 3 to 6 are overwritten by the file's offset in the image (u32).
constexpr int kScriptHeadSize = 7;
constexpr int kCommandSize = 7;
constexpr int kOperandAt = 3;
constexpr quint8 kCsivCommand = 27;
constexpr quint16 kNoItem = 0xFFFF;

// Where a CSIV file says what it is called.
//
// | offset | size | field                               |
// |     26 |    2 | length of the flash name in bytes   |
// |     28 |    2 | offset of the flash name (UTF-8)    |
constexpr int kNameLengthAt = 26;

} // namespace

void CsivEmbedder::scanScript(const QByteArray &record, int recordOffset)
{
    LeReader reader(record);
    for (int at = kScriptHeadSize; at + kCommandSize <= record.size(); at += kCommandSize) {
        reader.seek(at);
        if (reader.u8() != kCsivCommand)
            continue;
        reader.skip(kOperandAt - 1);
        const quint16 fileNumber = reader.u16();
        const quint16 third = reader.u16();
        // A command without a path names no file.
        if (fileNumber == kNoItem && third == kNoItem)
            continue;
        m_operandPositions.insert(fileNumber, recordOffset + at + kOperandAt);
    }
}

void CsivEmbedder::embed(LeWriter &image, const IncludedFileMap &files, const Warn &warn)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const IncludedFile &included = it.value();
        QString path = included.filePath;
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!path.endsWith(QLatin1String(".csiv")))
            path += QLatin1String(".csiv");

        quint32 offset = kNotEmbedded;
        QString message;
        QFile file(path);
        if (included.filePath.isEmpty() || !InputFile::open(file)) {
            message = QStringLiteral("FILE ") + path + QStringLiteral(" NOT FOUND!");
        } else {
            // The padding stays even when the file is refused below.
            image.padTo(4);
            const int start = image.size();
            const QByteArray bytes = file.readAll();
            const QString actual = flashNameOf(bytes);
            if (!included.flashName.isEmpty() && included.flashName == actual) {
                image.bytes(bytes, "CSIV file");
                offset = quint32(start);
            } else {
                message = QStringLiteral("FILE: ") + path + QStringLiteral(" does not contain CSIV file with name \"")
                          + included.flashName + QStringLiteral("\". \nFlash file name is actually \"") + actual
                          + QStringLiteral("\".");
            }
        }
        if (!message.isEmpty()) {
            qDebug().noquote() << message;
            warn(message);
        }

        const QList<qint32> positions = m_operandPositions.values(it.key());
        for (qint32 at : positions)
            image.patchU32(at, offset);
        m_operandPositions.remove(it.key());
    }
}

QString CsivEmbedder::flashNameOf(const QByteArray &file)
{
    LeReader reader(file, kNameLengthAt);
    const quint16 length = reader.u16();
    const quint16 offset = reader.u16();
    if (!reader.ok())
        return QString();
    reader.seek(offset);
    const QByteArray name = reader.bytes(length);
    return reader.ok() ? QString::fromUtf8(name) : QString();
}
