#include "support/imageassembler.h"

#include "core/fileurl.h"
#include "core/lereader.h"
#include "core/lewriter.h"
#include "core/wdlwizard.h"
#include "inspect/sasimagereader.h"
#include "output/languagetable.h"
#include "output/savewdl.h"

namespace {

constexpr quint8 kCsivCode = 27;

QByteArray encoded(int language, const QString &productName, const DictCodec::Entries &entries)
{
    LanguageTable::setProductName(language, productName);
    const std::vector<char> blob =
        DictCodec::encode(LanguageTable::row(language), entries, LanguageTable::codecMode(language), nullptr);
    return QByteArray(blob.data(), int(blob.size()));
}

} // namespace

void ImageAssembler::addTranslation(int language, const DictCodec::Entries &entries)
{
    m_translations.append({language, entries});
}

void ImageAssembler::addCsivFile(quint16 fileNumber, const QByteArray &contents)
{
    m_csivFiles.insert(fileNumber, contents);
}

QByteArray ImageAssembler::assemble() const
{
    const WdlHeader &h = *m_wizard->header();
    const QByteArray fileName = h.fileName().toUtf8();
    LeWriter out;
    out.u8(0x0F);
    out.zeros(3);
    out.u32(0);
    out.u16(0);
    out.u16(48);
    out.u16(h.fileFormatVersion().major);
    out.u16(h.fileFormatVersion().minor);
    out.u16(h.fileVersion().major);
    out.u16(h.fileVersion().minor);
    out.u8(h.runMode());
    out.u16(h.productType());
    out.u16(h.databaseVersion().major);
    out.u16(h.databaseVersion().minor);
    out.u16(quint16(fileName.size() + 1));
    out.u16(48);
    out.u16(0);
    out.u16(quint16(49 + fileName.size()));
    out.u16(quint16(m_wizard->textModel()->count()));
    out.u16(quint16(10 * m_wizard->textModel()->count()));
    out.u16(0);
    out.u8(0);
    out.u32(0);
    out.u16(0);
    out.bytes(fileName);
    out.u8(0);
    const int headerLength = out.size();

    // The builder's order of the script data.
    QList<WdlToken *> records;
    auto screens = [&](auto keep) {
        for (WdlToken *item : m_wizard->screenModel()->items()) {
            if (keep(static_cast<WdlTokenScreen *>(item)))
                records.append(item);
        }
    };
    auto parameters = [&](int kind) {
        for (WdlToken *item : m_wizard->parametersModel()->items()) {
            if (static_cast<WdlTokenParam *>(item)->kind() == kind)
                records.append(item);
        }
    };
    screens([](WdlTokenScreen *s) { return s->hasOverlay(); });
    screens([](WdlTokenScreen *s) { return s->getParametersInScreen() == 1; });
    screens([](WdlTokenScreen *s) { return s->getParametersInScreen() == 2; });
    records += m_wizard->overlayModel()->items();
    records += m_wizard->choicelistModel()->items();
    parameters(WdlTokenParam::KindVCP);
    parameters(WdlTokenParam::KindP);
    records += m_wizard->localParameterModel()->items();
    const int scriptsFrom = records.size();
    records += m_wizard->scriptModel()->items();
    const int scriptsTo = records.size();
    parameters(WdlTokenParam::KindVP);
    records += m_wizard->filterModel()->items();

    QMultiMap<quint16, int> csivOperands;
    for (int i = 0; i < records.size(); ++i) {
        const QByteArray record = records.at(i)->toByteArray();
        if (i >= scriptsFrom && i < scriptsTo) {
            LeReader in(record);
            for (int at = 7; at + 7 <= record.size(); at += 7) {
                in.seek(at);
                if (in.u8() != kCsivCode)
                    continue;
                in.seek(at + 3);
                const quint16 fileNumber = in.u16();
                if (fileNumber != 0xFFFF)
                    csivOperands.insert(fileNumber, out.size() + at + 3);
            }
        }
        out.bytes(record);
    }
    const int scriptDataLength = out.size() - headerLength;

    for (WdlToken *text : m_wizard->textModel()->items())
        out.bytes(text->toByteArray());
    out.padTo(4);
    const int dictionaryStart = out.size();

    // A text that holds a CSIV file's path goes into the image without its text.
    const IncludedFileMap csivPaths = m_wizard->getCSIVfileList();
    DictCodec::Entries english;
    for (WdlToken *item : m_wizard->textModel()->items()) {
        auto *text = static_cast<WdlTokenText *>(item);
        if (!text->getText().isEmpty() && !csivPaths.contains(text->getIndex()))
            english.emplace_back(text->textKey(), text->getText());
        if (!text->getHelp().isEmpty())
            english.emplace_back(text->helpKey(), text->getHelp());
    }
    out.bytes(encoded(LanguageTable::kEnglish, h.productName(), english));
    for (const Translation &t : m_translations) {
        out.bytes(encoded(t.language, h.productName(), t.entries));
        out.padTo(4);
    }
    for (auto file = m_csivFiles.cbegin(); file != m_csivFiles.cend(); ++file) {
        out.padTo(4);
        const quint32 offset = quint32(out.size());
        out.bytes(file.value());
        for (int position : csivOperands.values(file.key()))
            out.patchU32(position, offset);
    }

    const int total = out.size();
    out.patchU32(4, quint32(total));
    out.patchU16(31, quint16(scriptDataLength));
    out.patchU16(39, quint16(headerLength + scriptDataLength));
    out.patchU8(41, quint8(1 + m_translations.size()));
    out.patchU32(42, quint32(total - dictionaryStart));
    out.patchU16(46, quint16(dictionaryStart));
    out.patchU16(8, SasImageReader::checkValue(out.data()));
    return out.data();
}

const QByteArray &allRecordsImage()
{
    static const QByteArray image = [] {
        WdlWizard *wizard = WdlWizard::instance();
        wizard->openWDLFile(FileUrl::fromLocalPath(QStringLiteral(WDLC_TEST_DATA "/tool/dump/all_records.wdl")));
        ImageAssembler assembler(wizard);
        assembler.addTranslation(SaveWdl::German, {{1, QStringLiteral("Prüfung")}, {7, QStringLiteral("Ja")}});
        assembler.addCsivFile(wizard->getCSIVfileList().firstKey(), csivFile("CURVE1"));
        return assembler.assemble();
    }();
    return image;
}

QByteArray csivFile(const QByteArray &flashName, const QByteArray &body)
{
    // The name sits behind a 30-byte head: length at 26, offset at 28.
    LeWriter out;
    out.bytes(QByteArrayLiteral("CSIV"));
    out.zeros(22);
    out.u16(quint16(flashName.size()));
    out.u16(30);
    out.bytes(flashName);
    out.bytes(body);
    return out.data();
}
