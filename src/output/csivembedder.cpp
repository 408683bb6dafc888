#include "output/csivembedder.h"

#include "base/lereader.h"
#include "base/lewriter.h"
#include "base/saslayout.h"
#include "core/inputfile.h"

#include <QDebug>

void CsivEmbedder::noteOperand(quint16 fileNumber, int offset)
{
    m_operandPositions.insert(fileNumber, offset);
}

void CsivEmbedder::embed(LeWriter &image, const IncludedFileMap &files, const Warn &warn, BuildInputs *inputs)
{
    for (auto it = files.cbegin(); it != files.cend(); ++it) {
        const IncludedFile &included = it.value();
        QString path = included.filePath;
        path.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!path.endsWith(QLatin1String(".csiv")))
            path += QLatin1String(".csiv");

        quint32 offset = SasLayout::kNotEmbedded;
        QString message;
        QByteArray bytes;
        if (included.filePath.isEmpty() || !InputFile::read(path, &bytes, inputs)) {
            message = QStringLiteral("FILE ") + path + QStringLiteral(" NOT FOUND!");
        } else {
            // The padding stays even when the file is refused below.
            image.padTo(SasLayout::kAlignment);
            const int start = image.size();
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
            warn(message, path);
        }

        const QList<qint32> positions = m_operandPositions.values(it.key());
        for (qint32 at : positions)
            image.patchU32(at, offset);
        m_operandPositions.remove(it.key());
    }
}

QString CsivEmbedder::flashNameOf(const QByteArray &file)
{
    LeReader reader(file, SasLayout::kCsivNameLengthAt);
    const quint16 length = reader.u16();
    reader.seek(SasLayout::kCsivNameOffsetAt);
    const quint16 offset = reader.u16();
    if (!reader.ok())
        return QString();
    reader.seek(offset);
    const QByteArray name = reader.bytes(length);
    return reader.ok() ? QString::fromUtf8(name) : QString();
}
