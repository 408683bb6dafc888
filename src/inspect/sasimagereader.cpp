#include "inspect/sasimagereader.h"

#include "output/savewdl.h"

#include "base/lereader.h"
#include "base/saslayout.h"
#include "codec/dictcodec.h"
#include "items/scriptcommandtable.h"
#include "items/wdltokenoverlay.h"
#include "items/wdltokenscript.h"

#include <QMetaEnum>

#include <algorithm>
#include <bitset>

namespace {

using namespace SasLayout;

// A copy operand shares its field with the setup word above its item number.
constexpr int kSetupWordUnit = 1 << kSourceSetupShift;

QString recordTypeName(quint8 type)
{
    switch (type) {
    case ScreenRecord:
        return QStringLiteral("screen");
    case OverlayRecord:
        return QStringLiteral("overlay");
    case ChoiceListRecord:
        return QStringLiteral("choice list");
    case VcpRecord:
        return QStringLiteral("VCP");
    case DriveParameterRecord:
        return QStringLiteral("P");
    case LocalParameterRecord:
        return QStringLiteral("local parameter");
    case ScriptRecord:
        return QStringLiteral("script");
    case VpRecord:
        return QStringLiteral("VP");
    case FilterRecord:
        return QStringLiteral("filter");
    case FilteredDriveParameterRecord:
        return QStringLiteral("P with filters");
    default:
        return QStringLiteral("unknown");
    }
}

// The kind of item a record holds, as references to it name it: parameters
// of every kind and local parameters share one number sequence.
const char *recordItemKind(quint8 type)
{
    switch (type) {
    case ScreenRecord:
        return "screen";
    case OverlayRecord:
        return "overlay";
    case ChoiceListRecord:
        return "choice list";
    case VcpRecord:
    case DriveParameterRecord:
    case LocalParameterRecord:
    case VpRecord:
    case FilteredDriveParameterRecord:
        return "param";
    case ScriptRecord:
        return "script";
    case FilterRecord:
        return "filter";
    default:
        return "";
    }
}

int alignedTo4(qint64 offset)
{
    return int((offset + kAlignment - 1) / kAlignment * kAlignment);
}

QString at(qint64 offset)
{
    return QStringLiteral("offset ") + QString::number(offset);
}

QString enumKey(const QMetaEnum &e, int value)
{
    const char *key = e.valueToKey(value);
    return key ? QString::fromLatin1(key) : QString();
}

// Zero-filled fixed-size text fields of the language header.
QString latin1Field(const char *field, int size)
{
    return QString::fromLatin1(field, int(std::find(field, field + size, '\0') - field));
}

QString utf16Field(const char16_t *field, int size)
{
    return QString::fromUtf16(field, int(std::find(field, field + size, u'\0') - field));
}

// Reads named fields one after the other, each with its absolute offset, and
// never beyond `end`: a field that does not fit is left out, and so is every
// field after it.
class FieldReader
{
public:
    FieldReader(const QByteArray &data, int start, int end) : m_in(data.left(end), start) {}

    quint8 u8(const QString &name) { return quint8(add(name, 1, m_in.u8())); }
    quint16 u16(const QString &name) { return quint16(add(name, 2, m_in.u16())); }
    quint32 u32(const QString &name) { return quint32(add(name, 4, m_in.u32())); }
    qint32 i32(const QString &name) { return qint32(add(name, 4, m_in.i32())); }
    // An item reference where 0 stands for none; kind names what it refers to.
    quint16 item(const QString &name, const char *kind)
    {
        const quint16 v = u16(name);
        if (v == 0)
            explain(QStringLiteral("none"));
        else
            refersTo(kind);
        return v;
    }
    // The last field is the number of an item of this kind.
    void refersTo(const char *kind)
    {
        if (m_in.ok() && !m_fields.isEmpty())
            m_fields.last().itemKind = QLatin1String(kind);
    }
    QByteArray bytes(const QString &name, int n)
    {
        const int start = m_in.pos();
        const QByteArray b = m_in.bytes(n);
        if (m_in.ok())
            m_fields.append({name, start, n, b, QString(), QString()});
        return b;
    }
    void explain(const QString &meaning)
    {
        if (m_in.ok() && !m_fields.isEmpty())
            m_fields.last().meaning = meaning;
    }

    QList<SasField> fields() const { return m_fields; }

private:
    qint64 add(const QString &name, int size, qint64 value)
    {
        if (m_in.ok())
            m_fields.append({name, m_in.pos() - size, size, value, QString(), QString()});
        return value;
    }

    LeReader m_in;
    QList<SasField> m_fields;
};

class ImageDecoder
{
public:
    explicit ImageDecoder(const QByteArray &data) : m_data(data) { m_image.size = data.size(); }

    SasImage decode()
    {
        m_image.computedCheckValue = SasImageReader::checkValue(m_data);
        if (!readHeader())
            return m_image;
        readRecords();
        readTextRecords();
        readDictionaries();
        readCsivFiles();
        return m_image;
    }

private:
    void problem(qint64 offset, const QString &message) { m_image.problems.append({int(offset), message}); }

    // | offset | size | field                                   |
    // |      0 |    1 | format byte 0x0F                        |
    // |      1 |    3 | zero                                    |
    // |      4 |    4 | total length                            |
    // |      8 |    2 | check value                             |
    // |     10 |    2 | 48                                      |
    // |     12 |    8 | file format version, file version       |
    // |     20 |    1 | run mode                                |
    // |     21 |    2 | product type                            |
    // |     23 |    4 | database version                        |
    // |     27 |    2 | file-name field length, zero included   |
    // |     29 |    2 | file-name field offset, 48              |
    // |     31 |    2 | script data length                      |
    // |     33 |    2 | header length, 48 + file-name field     |
    // |     35 |    4 | text count, text records length         |
    // |     39 |    2 | text records offset                     |
    // |     41 |    1 | dictionary count                        |
    // |     42 |    4 | dictionary area length                  |
    // |     46 |    2 | dictionary start                        |
    // |     48 |    n | file name, UTF-8, zero-terminated       |
    bool readHeader()
    {
        if (m_data.size() < kFixedHeaderSize) {
            problem(m_data.size(), QStringLiteral("image cut short: the header needs ")
                                       + QString::number(kFixedHeaderSize) + QStringLiteral(" bytes, the data ends at ")
                                       + at(m_data.size()));
            return false;
        }
        FieldReader h(m_data, 0, kFixedHeaderSize);
        const quint8 format = h.u8(QStringLiteral("format"));
        const QByteArray reserved = h.bytes(QStringLiteral("reserved"), kReservedSize);
        const quint32 totalLength = h.u32(QStringLiteral("total length"));
        m_image.storedCheckValue = h.u16(QStringLiteral("check value"));
        h.explain(QStringLiteral("0x") + hex16(m_image.storedCheckValue));
        const quint16 fixedSize = h.u16(QStringLiteral("fixed header size"));
        h.u16(QStringLiteral("file format version major"));
        h.u16(QStringLiteral("file format version minor"));
        h.u16(QStringLiteral("file version major"));
        h.u16(QStringLiteral("file version minor"));
        h.u8(QStringLiteral("run mode"));
        h.u16(QStringLiteral("product type"));
        h.u16(QStringLiteral("database version major"));
        h.u16(QStringLiteral("database version minor"));
        const quint16 nameLength = h.u16(QStringLiteral("file name length"));
        const quint16 nameOffset = h.u16(QStringLiteral("file name offset"));
        const quint16 scriptDataLength = h.u16(QStringLiteral("script data length"));
        const quint16 headerLength = h.u16(QStringLiteral("header length"));
        const quint16 textCount = h.u16(QStringLiteral("text count"));
        const quint16 textRecordsLength = h.u16(QStringLiteral("text records length"));
        const quint16 textRecordsOffset = h.u16(QStringLiteral("text records offset"));
        const quint8 dictionaryCount = h.u8(QStringLiteral("dictionary count"));
        const quint32 dictionaryAreaLength = h.u32(QStringLiteral("dictionary area length"));
        const quint16 dictionaryStart = h.u16(QStringLiteral("dictionary start"));
        m_image.header = h.fields();

        if (format != kFormatByte)
            problem(kFormatAt, QStringLiteral("format byte is ") + QString::number(format) + QStringLiteral(", not ")
                                   + QString::number(kFormatByte));
        // The check value starts at offset 10: nothing else would notice.
        if (reserved != QByteArray(kReservedSize, '\0'))
            problem(kReservedAt, QStringLiteral("reserved bytes at offset ") + QString::number(kReservedAt)
                                     + QStringLiteral(" are ") + QString::fromLatin1(reserved.toHex(' ').toUpper())
                                     + QStringLiteral(", not 00 00 00"));
        if (totalLength != quint32(m_data.size())) {
            problem(
                kTotalLengthAt,
                QStringLiteral("total length ") + QString::number(totalLength) + QStringLiteral(" at offset ")
                    + QString::number(kTotalLengthAt) + QStringLiteral(" differs from the ")
                    + QString::number(m_data.size()) + QStringLiteral(" bytes of the image")
                    + (totalLength > quint32(m_data.size()) ? QStringLiteral(": the image is cut short") : QString()));
        }
        if (fixedSize != kFixedHeaderSize)
            problem(kFixedHeaderSizeAt, QStringLiteral("fixed header size is ") + QString::number(fixedSize)
                                            + QStringLiteral(", not ") + QString::number(kFixedHeaderSize));
        if (!m_image.checkValuesAgree()) {
            problem(kCheckValueAt, QStringLiteral("stored check value 0x") + hex16(m_image.storedCheckValue)
                                       + QStringLiteral(" differs from the computed 0x")
                                       + hex16(m_image.computedCheckValue));
        }

        readFileName(nameOffset, nameLength, headerLength);

        m_image.scriptDataOffset = headerLength;
        m_image.scriptDataLength = scriptDataLength;
        m_image.textRecordsOffset = textRecordsOffset;
        const int textsAt = headerLength + scriptDataLength;
        if (textRecordsOffset != textsAt) {
            problem(kTextRecordsOffsetAt, QStringLiteral("text records offset ") + QString::number(textRecordsOffset)
                                              + QStringLiteral(" is not header length + script data length (")
                                              + QString::number(textsAt) + QLatin1Char(')'));
        }
        if (textRecordsLength != kTextRecordSize * textCount) {
            problem(kTextRecordsLengthAt, QStringLiteral("text records length ") + QString::number(textRecordsLength)
                                              + QStringLiteral(" is not ") + QString::number(kTextRecordSize)
                                              + QStringLiteral(" times the text count ") + QString::number(textCount));
        }
        m_textCount = textCount;
        const int expectedStart = alignedTo4(qint64(textRecordsOffset) + kTextRecordSize * textCount);
        m_image.dictionaryStart = dictionaryStart;
        if (dictionaryStart != expectedStart) {
            problem(kDictionaryStartAt, QStringLiteral("dictionary start ") + QString::number(dictionaryStart)
                                            + QStringLiteral(" is not where the text records end, rounded up to ")
                                            + QString::number(kAlignment) + QStringLiteral(" (")
                                            + QString::number(expectedStart) + QLatin1Char(')'));
        }
        if (dictionaryAreaLength != totalLength - dictionaryStart) {
            problem(kDictionaryAreaLengthAt,
                    QStringLiteral("dictionary area length ") + QString::number(dictionaryAreaLength)
                        + QStringLiteral(" is not total length - dictionary start (")
                        + QString::number(qint64(totalLength) - dictionaryStart) + QLatin1Char(')'));
        }
        if (dictionaryCount == 0)
            problem(kDictionaryCountAt, QStringLiteral("dictionary count is 0: every image has an English dictionary"));
        m_dictionaryCount = dictionaryCount;
        return true;
    }

    void readFileName(quint16 nameOffset, quint16 nameLength, quint16 headerLength)
    {
        if (nameOffset != kFixedHeaderSize)
            problem(kFileNameOffsetAt, QStringLiteral("file name offset is ") + QString::number(nameOffset)
                                           + QStringLiteral(", not ") + QString::number(kFixedHeaderSize));
        if (headerLength != kFixedHeaderSize + nameLength) {
            problem(kHeaderLengthAt, QStringLiteral("header length ") + QString::number(headerLength)
                                         + QStringLiteral(" is not ") + QString::number(kFixedHeaderSize)
                                         + QStringLiteral(" + file name length ") + QString::number(nameLength));
        }
        const qint64 nameEnd = qint64(kFixedHeaderSize) + nameLength;
        if (nameLength == 0) {
            problem(kFileNameLengthAt, QStringLiteral("file name length 0 at offset ")
                                           + QString::number(kFileNameLengthAt)
                                           + QStringLiteral(" leaves no room for the zero byte"));
            return;
        }
        if (nameEnd > m_data.size()) {
            problem(kFileNameLengthAt, QStringLiteral("file name field of ") + QString::number(nameLength)
                                           + QStringLiteral(" bytes from offset ") + QString::number(kFixedHeaderSize)
                                           + QStringLiteral(" runs past the end of the image at ") + at(m_data.size()));
            return;
        }
        LeReader in(m_data, kFixedHeaderSize);
        QByteArray name = in.bytes(nameLength);
        if (!name.endsWith('\0')) {
            problem(nameEnd - 1, QStringLiteral("file name field ends without its zero byte"));
        } else {
            name.chop(1);
        }
        m_image.fileName = QString::fromUtf8(name);
        m_image.header.append(
            {QStringLiteral("file name"), kFixedHeaderSize, nameLength, m_image.fileName, QString(), QString()});
    }

    void readRecords()
    {
        const int start = m_image.scriptDataOffset;
        qint64 end = qint64(start) + m_image.scriptDataLength;
        if (end > m_data.size()) {
            problem(kScriptDataLengthAt, QStringLiteral("script data of ") + QString::number(m_image.scriptDataLength)
                                             + QStringLiteral(" bytes from ") + at(start)
                                             + QStringLiteral(" runs past the end of the image at ")
                                             + at(m_data.size()));
            // The text records follow the script data: where they start is
            // the best guess left for where the records end.
            end = qMin(m_image.textRecordsOffset, m_data.size());
        }
        int pos = start;
        while (pos < end) {
            if (pos + kRecordHeadSize > end) {
                problem(pos, QStringLiteral("record head at ") + at(pos)
                                 + QStringLiteral(" is cut short by the end of the script data at ") + at(end));
                return;
            }
            LeReader in(m_data, pos);
            SasRecord r;
            r.offset = pos;
            r.type = in.u8();
            r.number = in.u16();
            r.payloadLength = in.u16();
            r.typeName = recordTypeName(r.type);
            r.itemKind = QLatin1String(recordItemKind(r.type));
            const qint64 recordEnd = qint64(pos) + kRecordHeadSize + r.payloadLength;
            if (recordEnd > end) {
                problem(pos + kPayloadLengthAt,
                        QStringLiteral("payload length ") + QString::number(r.payloadLength)
                            + QStringLiteral(" of the ") + r.typeName + QStringLiteral(" record at ") + at(pos)
                            + QStringLiteral(" runs past the end of the script data at ") + at(end));
                return;
            }
            decodePayload(r, int(recordEnd));
            m_image.records.append(r);
            pos = int(recordEnd);
        }
    }

    void decodePayload(SasRecord &r, int end)
    {
        const int fixed = fixedPayloadLength(r.type);
        if (fixed >= 0 && r.payloadLength != fixed) {
            problem(r.offset + kPayloadLengthAt, QStringLiteral("the ") + r.typeName + QStringLiteral(" record at ")
                                                     + at(r.offset) + QStringLiteral(" has payload length ")
                                                     + QString::number(r.payloadLength) + QStringLiteral(", not ")
                                                     + QString::number(fixed));
        }
        FieldReader f(m_data, r.offset + kRecordHeadSize, end);
        switch (r.type) {
        case ScreenRecord:
            readScreen(f, r);
            break;
        case OverlayRecord:
            readOverlay(f);
            break;
        case ChoiceListRecord:
            readChoiceList(f, r);
            break;
        case VcpRecord:
            f.item(QStringLiteral("choice list"), "choice list");
            f.item(QStringLiteral("text"), "text");
            f.item(QStringLiteral("write script"), "script");
            break;
        case DriveParameterRecord:
        case FilteredDriveParameterRecord:
            f.u16(QStringLiteral("parameter number"));
            f.item(QStringLiteral("text override"), "text");
            f.item(QStringLiteral("write script"), "script");
            if (r.type == FilteredDriveParameterRecord) {
                f.item(QStringLiteral("choice-list filter"), "filter");
                f.item(QStringLiteral("array filter"), "filter");
            }
            break;
        case LocalParameterRecord:
            f.i32(QStringLiteral("value"));
            break;
        case ScriptRecord:
            readScript(f, r, end);
            break;
        case VpRecord:
            f.item(QStringLiteral("text"), "text");
            f.item(QStringLiteral("unit text"), "text");
            f.i32(QStringLiteral("minimum"));
            f.i32(QStringLiteral("maximum"));
            f.i32(QStringLiteral("default"));
            f.i32(QStringLiteral("scale"));
            f.item(QStringLiteral("write script"), "script");
            break;
        case FilterRecord:
            readFilter(f, r);
            break;
        default:
            problem(r.offset, QStringLiteral("unknown record type ") + QString::number(r.type) + QStringLiteral(" at ")
                                  + at(r.offset));
            break;
        }
        r.fields = f.fields();
    }

    // Kind: 3 overlay, else the number of parameters; 3 more with a pre-screen
    // script, whose reference then comes before the overlay or parameters.
    void readScreen(FieldReader &f, const SasRecord &r)
    {
        const quint8 kind = f.u8(QStringLiteral("kind"));
        const bool withPreScreen = kind > 3;
        const int shown = withPreScreen ? kind - 3 : kind;
        static const char *const kinds[] = {"no overlay or parameter", "single parameter", "dual parameter", "overlay"};
        if (shown <= 3) {
            f.explain(QLatin1String(kinds[shown])
                      + (withPreScreen ? QStringLiteral(", pre-screen script") : QString()));
        } else {
            problem(r.offset + kRecordHeadSize, QStringLiteral("screen kind ") + QString::number(kind)
                                                    + QStringLiteral(" at ") + at(r.offset + kRecordHeadSize)
                                                    + QStringLiteral(" is not from 0 to 6"));
        }
        f.item(QStringLiteral("next screen"), "screen");
        f.item(QStringLiteral("next screen script"), "script");
        f.item(QStringLiteral("PSS script"), "script");
        if (withPreScreen)
            f.item(QStringLiteral("pre-screen script"), "script");
        f.item(shown == 3 ? QStringLiteral("overlay") : QStringLiteral("parameter 1"),
               shown == 3 ? "overlay" : "param");
        int expected = 9 + (withPreScreen ? 2 : 0) + (shown == 2 ? 2 : 0);
        if (shown == 2)
            f.item(QStringLiteral("parameter 2"), "param");
        // An overlay screen that also has two parameters keeps their room of
        // two bytes, zero, after the overlay.
        if (shown == 3 && r.payloadLength == expected + 2) {
            f.u16(QStringLiteral("room of a second parameter"));
            expected += 2;
        }
        if (r.payloadLength != expected) {
            problem(r.offset + kPayloadLengthAt,
                    QStringLiteral("the screen record at ") + at(r.offset) + QStringLiteral(" has payload length ")
                        + QString::number(r.payloadLength) + QStringLiteral(", a screen of kind ")
                        + QString::number(kind) + QStringLiteral(" has ") + QString::number(expected));
        }
    }

    void readOverlay(FieldReader &f)
    {
        const QMetaEnum keys = QMetaEnum::fromType<WdlTokenOverlay::OverlayCommands>();
        const QMetaEnum actions = QMetaEnum::fromType<WdlTokenOverlay::ActionTypes>();
        f.item(QStringLiteral("text"), "text");
        for (int k = 0; k < WdlTokenOverlay::kKeyCount; ++k) {
            const quint8 action = f.u8(enumKey(keys, k));
            const QString name = enumKey(actions, action);
            f.explain(name.isEmpty() ? QStringLiteral("not an action") : name);
        }
    }

    void readChoiceList(FieldReader &f, const SasRecord &r)
    {
        const quint8 count = f.u8(QStringLiteral("entry count"));
        // The count byte keeps only the low 8 bits: the payload length tells
        // how many entries there really are.
        const int entries = qMax(0, (r.payloadLength - 2) / 2);
        if (entries != count)
            f.explain(QStringLiteral("low 8 bits of ") + QString::number(entries));
        f.u8(QStringLiteral("default entry"));
        if (r.payloadLength < 2 || r.payloadLength % 2 != 0 || entries % 256 != count) {
            problem(r.offset + kPayloadLengthAt, QStringLiteral("the choice list record at ") + at(r.offset)
                                                     + QStringLiteral(" has payload length ")
                                                     + QString::number(r.payloadLength) + QStringLiteral(" for ")
                                                     + QString::number(count) + QStringLiteral(" entries"));
        }
        for (int i = 0; i < entries; ++i) {
            f.u16(QStringLiteral("entry ") + QString::number(i) + QStringLiteral(" text"));
            f.refersTo("text");
        }
    }

    void readFilter(FieldReader &f, const SasRecord &r)
    {
        const QByteArray bitmap = f.bytes(QStringLiteral("bitmap"), r.payloadLength);
        QStringList passing;
        LeReader in(bitmap);
        for (int k = 0; k < bitmap.size(); ++k) {
            const std::bitset<8> bits(in.u8());
            for (int j = 0; j < 8; ++j) {
                if (bits.test(std::size_t(j)))
                    passing.append(QString::number(8 * k + j));
            }
        }
        f.explain(passing.isEmpty() ? QStringLiteral("passes nothing")
                                    : QStringLiteral("passes ") + passing.join(QStringLiteral(", ")));
    }

    void readScript(FieldReader &f, SasRecord &r, int end)
    {
        const quint8 type = f.u8(QStringLiteral("script type"));
        f.explain(WdlTokenScript::typeName(type));
        const quint8 count = f.u8(QStringLiteral("command count"));
        const int body = r.payloadLength - (kScriptHeadSize - kRecordHeadSize);
        if (body >= 0 && body / kCommandSize != count)
            f.explain(QStringLiteral("low 8 bits of ") + QString::number(body / kCommandSize));
        if (body < 0 || body % kCommandSize != 0 || (body / kCommandSize) % 256 != count) {
            problem(r.offset + kPayloadLengthAt,
                    QStringLiteral("the script record at ") + at(r.offset) + QStringLiteral(" has payload length ")
                        + QString::number(r.payloadLength) + QStringLiteral(", which is not ")
                        + QString::number(kScriptHeadSize - kRecordHeadSize) + QStringLiteral(" + ")
                        + QString::number(kCommandSize) + QStringLiteral(" per command for ") + QString::number(count)
                        + QStringLiteral(" commands"));
        }
        for (int pos = r.offset + kScriptHeadSize; pos + kCommandSize <= end; pos += kCommandSize)
            r.commands.append(readCommand(pos));
    }

    SasCommand readCommand(int pos)
    {
        LeReader in(m_data, pos);
        SasCommand c;
        c.offset = pos;
        c.code = in.u8();
        for (quint16 &field : c.fields)
            field = in.u16();
        const QString key = ScriptCommandTable::mnemonic(c.code);
        c.mnemonic = key.isEmpty() ? QStringLiteral("code ") + QString::number(c.code) : key;
        if (key.isEmpty()) {
            problem(pos, QStringLiteral("script command code ") + QString::number(c.code) + QStringLiteral(" at ")
                             + at(pos) + QStringLiteral(" is not a command"));
        }
        spellOperands(c);
        return c;
    }

    // What each field stands for, as the command's row in ScriptCommandTable says.
    void spellOperands(SasCommand &c)
    {
        const ScriptCommandTable::Row row = ScriptCommandTable::row(c.code);
        if (row.encoding == ScriptCommandTable::Encoding::CopyWithSetups) {
            const quint16 a = c.fields[0];
            const quint16 b = c.fields[1];
            const quint16 cc = c.fields[2];
            if (c.code == WdlTokenScript::CPY)
                spellCopy(c, a, b, kNoItem, cc);
            else if (c.code == WdlTokenScript::CPTA)
                spellCopy(c, a, b, cc, cc);
            else
                spellCopy(c, a, b, cc, b);
            return;
        }
        for (int k = 0; k < 3; ++k) {
            switch (row.operands[k]) {
            case ScriptCommandTable::Operand::None:
                break;
            case ScriptCommandTable::Operand::CsivPath: {
                // Once the file is embedded, B and C hold its offset in the image.
                const quint32 fileAt = LeReader(m_data, c.offset + kCsivFileOffsetAt).u32();
                c.operands.append(fileAt == kNotEmbedded ? QStringLiteral("no file")
                                                         : QStringLiteral("file at ") + at(fileAt));
                c.operandItems.append(SasItemRef());
                if (fileAt != kNotEmbedded)
                    m_csivUses.append({fileAt, c.offset});
                break;
            }
            default:
                c.operands.append(operand(row.operands[k], c.fields[k]));
                c.operandItems.append(ScriptCommandTable::namesItem(row.operands[k])
                                          ? itemRef(operandKind(row.operands[k]), c.fields[k])
                                          : SasItemRef());
                break;
            }
        }
    }

    static QString operand(ScriptCommandTable::Operand kind, quint16 v)
    {
        switch (kind) {
        case ScriptCommandTable::Operand::Number:
            return number(v);
        case ScriptCommandTable::Operand::Label:
        case ScriptCommandTable::Operand::LabelMark:
            return QStringLiteral("label ") + number(v);
        default:
            return item(operandKind(kind), v);
        }
    }

    // The kind of item an operand that names one refers to.
    static const char *operandKind(ScriptCommandTable::Operand kind)
    {
        switch (kind) {
        case ScriptCommandTable::Operand::Screen:
            return "screen";
        case ScriptCommandTable::Operand::Script:
            return "script";
        case ScriptCommandTable::Operand::Filter:
        case ScriptCommandTable::Operand::ChoiceFilter:
            return "filter";
        case ScriptCommandTable::Operand::CsivName:
            return "text";
        default:
            return "param";
        }
    }

    static SasItemRef itemRef(const char *kind, quint16 v)
    {
        return v == kNoItem ? SasItemRef() : SasItemRef{QLatin1String(kind), v};
    }

    // The setup word S (source setup in bits 9 to 11, target setups in bits
    // 12 to 15) is the whole of C for CPY; CPTA adds it to the item in C and
    // CPFA to the item in B, whose numbers stay below 512.
    void spellCopy(SasCommand &c, quint16 a, quint16 b, quint16 third, quint16 shared)
    {
        quint16 to = b;
        if (shared != kNoItem) {
            const int item = c.code == WdlTokenScript::CPY ? 0 : shared % kSetupWordUnit;
            if (shared - item > 0)
                c.setupWord = shared - item;
            if (c.code == WdlTokenScript::CPTA)
                third = quint16(item);
            else if (c.code == WdlTokenScript::CPFA)
                to = quint16(item);
        }
        QString sourceSetup;
        QString targetSetups;
        if (c.setupWord > 0) {
            const int source = c.setupWord / kSetupWordUnit % 8;
            if (source > 0)
                sourceSetup = QLatin1Char('[') + QString::number(source) + QLatin1Char(']');
            const std::bitset<16> word(quint16(c.setupWord));
            QStringList targets;
            for (int k = 1; k <= kSetupCount; ++k) {
                if (word.test(std::size_t(kTargetSetupShift + k)))
                    targets.append(QString::number(k));
            }
            if (targets.size() == kSetupCount)
                targetSetups = QStringLiteral("[ALL]");
            else if (!targets.isEmpty())
                targetSetups = QLatin1Char('[') + targets.join(QLatin1Char(',')) + QLatin1Char(']');
        }
        c.operands = QStringList{item("param", a) + sourceSetup, item("param", to) + targetSetups};
        c.operandItems = {itemRef("param", a), itemRef("param", to)};
        if (c.code != WdlTokenScript::CPY) {
            c.operands.append(item("param", third));
            c.operandItems.append(itemRef("param", third));
        }
    }

    static QString item(const char *kind, quint16 v)
    {
        return v == kNoItem ? QStringLiteral("none") : QLatin1String(kind) + QLatin1Char(' ') + QString::number(v);
    }
    // Numbers are stored as their low 16 bits, two's complement.
    static QString number(quint16 v) { return QString::number(qint16(v)); }
    static QString hex16(quint16 v) { return QString::number(v, 16).toUpper().rightJustified(4, QLatin1Char('0')); }

    void readTextRecords()
    {
        const qint64 start = m_image.textRecordsOffset;
        const qint64 end = start + qint64(kTextRecordSize) * m_textCount;
        if (end > m_data.size()) {
            problem(kTextCountAt, QStringLiteral("text count ") + QString::number(m_textCount)
                                      + QStringLiteral(" at offset ") + QString::number(kTextCountAt)
                                      + QStringLiteral(" needs text records up to ") + at(end)
                                      + QStringLiteral(", past the end of the image at ") + at(m_data.size()));
            return;
        }
        LeReader in(m_data, int(start));
        for (int i = 0; i < m_textCount; ++i) {
            SasTextRecord t;
            t.offset = in.pos();
            t.number = in.u16();
            t.textKey = in.i32();
            t.helpKey = in.i32();
            if (t.textKey != 2 * t.number - 1 || t.helpKey != 2 * t.number) {
                problem(t.offset, QStringLiteral("text record at ") + at(t.offset) + QStringLiteral(" of text ")
                                      + QString::number(t.number) + QStringLiteral(" has keys ")
                                      + QString::number(t.textKey) + QStringLiteral(" and ")
                                      + QString::number(t.helpKey) + QStringLiteral(", not ")
                                      + QString::number(2 * t.number - 1) + QStringLiteral(" and ")
                                      + QString::number(2 * t.number));
            }
            m_image.texts.append(t);
        }
    }

    // The English dictionary comes first and is not padded; every translation
    // after it is padded to a multiple of 4.
    void readDictionaries()
    {
        int pos = m_image.dictionaryStart;
        m_sectionsEnd = pos;
        for (int i = 0; i < m_dictionaryCount; ++i) {
            const DictCodec::Decoded blob = DictCodec::decode(m_data, pos);
            if (!blob.ok) {
                problem(blob.errorOffset, QStringLiteral("dictionary ") + QString::number(i + 1)
                                              + QStringLiteral(" at ") + at(pos) + QStringLiteral(": ") + blob.error);
                return;
            }
            SasDictionary d;
            d.offset = pos;
            d.size = blob.size;
            d.formatVersion = blob.version;
            d.codecMode = blob.codecMode;
            d.name = latin1Field(blob.header.name, sizeof blob.header.name);
            d.nativeName = utf16Field(blob.header.nativeName, 24);
            d.localeName = latin1Field(blob.header.localeName, sizeof blob.header.localeName);
            d.lcid = blob.header.lcid;
            d.languageId = blob.header.languageId;
            d.languageNumber = blob.header.languageNumber;
            d.version = QString::number(blob.header.versionMajor) + QLatin1Char('.')
                        + QString::number(blob.header.versionMinor) + QLatin1Char('.')
                        + QString::number(blob.header.versionBuild);
            // The product name went in as UTF-8, cut after 6 bytes.
            const char *product = blob.header.productName;
            d.productName = QString::fromUtf8(product, int(std::find(product, product + 6, '\0') - product));
            d.entries = blob.entries;
            m_image.dictionaries.append(d);
            pos += blob.size;
            if (i > 0)
                pos = alignedTo4(pos);
            m_sectionsEnd = qMin(pos, m_data.size());
        }
        // Without a dictionary nothing says where the dictionary area ends.
        m_dictionariesRead = m_dictionaryCount > 0;
    }

    // The image keeps no list of its CSIV files: the CSIV commands name their
    // offsets, and each file runs up to the next one or the end of the image.
    void readCsivFiles()
    {
        std::sort(m_csivUses.begin(), m_csivUses.end());
        QList<quint32> starts;
        for (const auto &use : qAsConst(m_csivUses)) {
            if (starts.isEmpty() || starts.last() != use.first)
                starts.append(use.first);
        }
        int covered = m_sectionsEnd;
        for (int i = 0; i < starts.size(); ++i) {
            const quint32 start = starts.at(i);
            const quint32 end = i + 1 < starts.size() ? starts.at(i + 1) : quint32(m_data.size());
            QList<int> users;
            for (const auto &use : qAsConst(m_csivUses)) {
                if (use.first == start)
                    users.append(use.second);
            }
            if (start >= quint32(m_data.size())) {
                problem(users.first() + kCsivFileOffsetAt,
                        QStringLiteral("CSIV command at ") + at(users.first()) + QStringLiteral(" names a file at ")
                            + at(start) + QStringLiteral(", past the end of the image at ") + at(m_data.size()));
                continue;
            }
            // Where the dictionaries end is known only when all could be read.
            if (m_dictionariesRead && start < quint32(m_sectionsEnd)) {
                problem(users.first() + kCsivFileOffsetAt,
                        QStringLiteral("CSIV command at ") + at(users.first()) + QStringLiteral(" names a file at ")
                            + at(start) + QStringLiteral(", before the end of the dictionaries at ")
                            + at(m_sectionsEnd));
                continue;
            }
            if (start % kAlignment != 0) {
                problem(users.first() + kCsivFileOffsetAt, QStringLiteral("CSIV command at ") + at(users.first())
                                                               + QStringLiteral(" names a file at ") + at(start)
                                                               + QStringLiteral(", which is not a multiple of ")
                                                               + QString::number(kAlignment));
                continue;
            }
            if (m_dictionariesRead && int(start) - covered >= kAlignment) {
                problem(covered, QString::number(int(start) - covered) + QStringLiteral(" bytes at ") + at(covered)
                                     + QStringLiteral(" belong to no section"));
            }
            SasCsivFile file;
            file.offset = int(start);
            file.size = int(end - start);
            file.commandOffsets = users;
            file.flashName = csivFlashName(file);
            m_image.csivFiles.append(file);
            covered = int(end);
        }
        if (m_dictionariesRead && m_data.size() - covered >= kAlignment) {
            problem(covered, QString::number(m_data.size() - covered) + QStringLiteral(" bytes at ") + at(covered)
                                 + QStringLiteral(" belong to no section"));
        }
    }

    QString csivFlashName(const SasCsivFile &file)
    {
        const QByteArray bytes = m_data.mid(file.offset, file.size);
        LeReader in(bytes, kCsivNameLengthAt);
        const quint16 length = in.u16();
        in.seek(kCsivNameOffsetAt);
        const quint16 offset = in.u16();
        in.seek(offset);
        const QByteArray name = in.bytes(length);
        if (!in.ok()) {
            problem(file.offset, QStringLiteral("CSIV file at ") + at(file.offset)
                                     + QStringLiteral(" has no readable flash name: its name field (length ")
                                     + QString::number(length) + QStringLiteral(", offset ") + QString::number(offset)
                                     + QStringLiteral(") lies outside its ") + QString::number(file.size)
                                     + QStringLiteral(" bytes"));
            return QString();
        }
        return QString::fromUtf8(name);
    }

    const QByteArray m_data;
    SasImage m_image;
    int m_textCount = 0;
    int m_dictionaryCount = 0;
    int m_sectionsEnd = 0;
    bool m_dictionariesRead = false;
    // (file offset, command offset) of every CSIV command that names a file.
    QList<QPair<quint32, int>> m_csivUses;
};

} // namespace

SasImage SasImageReader::read(const QByteArray &data)
{
    return ImageDecoder(data).decode();
}

quint16 SasImageReader::checkValue(const QByteArray &image)
{
    // The builder's own computation: it never reads past the data, whatever
    // the length field says.
    return SaveWdl::sasChecksum(image);
}
