#include "support/sasimage.h"

#include "core/lereader.h"
#include "core/wdlwizard.h"
#include "output/savewdl.h"

#include <QFile>

void setCompleteHeader(WdlWizard *wizard, const QString &fileName)
{
    WdlHeader *header = wizard->header();
    header->setFileFormatVersion(0x0102, 0x0304);
    header->setFileVersion(0x0506, 0x0708);
    header->setRunMode(1);
    header->setProductType(0x0A0B);
    header->setProductName(QStringLiteral("QX-417"));
    header->setDatabaseVersion(0x0C0D, 0x0E0F);
    header->setFileName(fileName);
}

void configure(SaveWdl &builder, WdlWizard *wizard)
{
    for (int slot = 0; slot < WdlWizard::SlotCount; ++slot)
        builder.setModel(slot, wizard->model(slot));
    builder.setHeader(wizard->header());
    builder.setIncludedFiles(wizard->getCSIVfileList());
}

void fillWizardData(WdlWizard *wizard, int wizardDataBytes, int textCount)
{
    // A script record takes 7 bytes plus 7 per command, so the scripts fill a
    // multiple of 7 and the FILE_NAME (header: 49 + its length) the rest.
    constexpr int kHeaderWithoutName = 49;
    constexpr int kUnit = 7;
    int rest = wizardDataBytes - kHeaderWithoutName;
    const int nameLength = rest % kUnit;
    rest -= nameLength;
    setCompleteHeader(wizard, QString(nameLength, QLatin1Char('n')));
    int units = rest / kUnit;
    for (int s = 0; units > 0; ++s) {
        auto *script = new WdlTokenScript(QStringLiteral("s") + QString::number(s), WdlTokenScript::ScriptType_WS);
        const int commands = qMin(units, 101) - 1;
        for (int c = 0; c < commands; ++c)
            script->addCommand(QStringLiteral("EXIT"), c + 1);
        wizard->scriptModel()->addItem(script);
        units -= commands + 1;
    }
    for (int t = 0; t < textCount; ++t)
        wizard->textModel()->addItem(new WdlTokenText(QStringLiteral("t") + QString::number(t), QString(), QString()));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<quint32> csivOperands(const QByteArray &image)
{
    // Script data: from the header length (offset 33) for the length at 31.
    // Each record: type, number, payload length; a script's commands follow
    // its 7-byte head, 7 bytes each.
    QList<quint32> out;
    LeReader header(image, 31);
    const int scriptDataLength = header.u16();
    const int start = header.u16();
    LeReader records(image, start);
    while (records.ok() && records.pos() < start + scriptDataLength) {
        const int recordStart = records.pos();
        const quint8 type = records.u8();
        records.skip(2);
        const int payload = records.u16();
        if (type == 9) {
            for (int at = recordStart + 7; at + 7 <= recordStart + 5 + payload; at += 7) {
                LeReader command(image, at);
                if (command.u8() == 27) {
                    command.skip(2);
                    out.append(command.u32());
                }
            }
        }
        records.seek(recordStart + 5 + payload);
    }
    return out;
}
