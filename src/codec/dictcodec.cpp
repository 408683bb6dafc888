#include "codec/dictcodec.h"

#include "base/lereader.h"
#include "base/lewriter.h"

#include <algorithm>
#include <numeric>

namespace {

const QByteArray kMagic = QByteArrayLiteral("WDIC");

// Calls the callback only when the percentage moves, so that a dictionary of
// many thousand texts does not make as many calls.
class ProgressReport
{
public:
    explicit ProgressReport(void (*progress)(int)) : m_progress(progress) { report(0); }

    void finish() { report(100); }

private:
    void report(int percent)
    {
        if (!m_progress || percent == m_last)
            return;
        m_last = percent;
        m_progress(percent);
    }

    void (*m_progress)(int);
    int m_last = -1;
};

// Bytes a text takes in the string area: its UTF-16 units and the terminator.
quint32 storedSize(const QString &text)
{
    return quint32(text.size() + 1) * 2;
}

DictCodec::Decoded failed(DictCodec::Decoded result, const QString &message, qint64 offset)
{
    result.ok = false;
    result.error = message;
    result.errorOffset = int(offset);
    return result;
}

} // namespace

// Offset       Size  Field
//      0          4  magic "WDIC"
//      4          2  format version
//      6          1  codec mode, low 8 bits
//      7          1  zero
//      8        120  language header
//    128          4  N, number of entries
//    132          4  S, size of the string area in bytes
//    136       12 N  index by ascending key: key (i32), offset into the
//                    string area (u32), length in UTF-16 units (u32)
//    136 + 12 N   S  string area: UTF-16LE texts in index order, each
//                    followed by a 0x0000 unit
std::vector<char> DictCodec::encode(const LanguageHeader &header, const Entries &entries, int codecMode,
                                    void (*progress)(int))
{
    ProgressReport report(progress);
    LeWriter out;
    encode(header, entries, codecMode, out);
    report.finish();
    return std::vector<char>(out.data().cbegin(), out.data().cend());
}

void DictCodec::encode(const LanguageHeader &header, const Entries &entries, int codecMode, LeWriter &out)
{
    // Sorting positions rather than the pairs leaves the caller's list alone;
    // the stable sort keeps texts of equal keys in the order they came.
    // Translations mostly come in key order already.
    std::vector<size_t> order(entries.size());
    std::iota(order.begin(), order.end(), size_t(0));
    const auto byKey = [&entries](size_t a, size_t b) { return entries[a].first < entries[b].first; };
    if (!std::is_sorted(order.begin(), order.end(), byKey))
        std::stable_sort(order.begin(), order.end(), byKey);

    quint32 stringAreaSize = 0;
    for (const auto &entry : entries)
        stringAreaSize += storedSize(entry.second);

    out.reserveMore(int(kHeadSize + kIndexEntrySize * entries.size() + stringAreaSize));
    out.bytes(kMagic, "magic");
    out.u16(kFormatVersion, "format version");
    out.u8(quint8(codecMode), "codec mode");
    out.u8(0, "zero");
    header.writeTo(out);
    out.u32(quint32(entries.size()), "entry count");
    out.u32(stringAreaSize, "string area size");

    quint32 stringOffset = 0;
    for (size_t i : order) {
        const QString &text = entries[i].second;
        out.i32(entries[i].first, "key");
        out.u32(stringOffset, "string offset");
        out.u32(quint32(text.size()), "string length");
        stringOffset += storedSize(text);
    }

    for (size_t i : order) {
        out.utf16(entries[i].second, "text");
        out.u16(0, "terminator");
    }
}

DictCodec::Decoded DictCodec::decode(const QByteArray &data, int offset)
{
    Decoded result;
    if (offset < 0 || offset > data.size()) {
        return failed(result,
                      QStringLiteral("blob offset ") + QString::number(offset)
                          + QStringLiteral(" lies outside the data of ") + QString::number(data.size())
                          + QStringLiteral(" bytes"),
                      offset);
    }

    LeReader in(data, offset);
    const QByteArray magic = in.bytes(kMagic.size());
    if (in.ok() && magic != kMagic)
        return failed(result, QStringLiteral("bad magic at offset ") + QString::number(offset), offset);
    result.version = in.u16();
    result.codecMode = in.u8();
    in.skip(1);
    const QByteArray headerBytes = in.bytes(LanguageHeader::kSize);
    const quint32 count = in.u32();
    const quint32 stringAreaSize = in.u32();
    if (!in.ok()) {
        return failed(result,
                      QStringLiteral("blob cut short: its head needs ") + QString::number(kHeadSize)
                          + QStringLiteral(" bytes from offset ") + QString::number(offset)
                          + QStringLiteral(", the data has ") + QString::number(data.size() - offset),
                      data.size());
    }
    if (result.version != kFormatVersion) {
        return failed(result,
                      QStringLiteral("unsupported format version ") + QString::number(result.version)
                          + QStringLiteral(" at offset ") + QString::number(offset + 4),
                      offset + 4);
    }
    LanguageHeader::fromBytes(headerBytes, &result.header);

    // In 64 bits: N and S come from the data and 12 N alone may pass 32 bits.
    const qint64 indexStart = qint64(offset) + kHeadSize;
    const qint64 stringAreaStart = indexStart + qint64(kIndexEntrySize) * count;
    const qint64 end = stringAreaStart + stringAreaSize;
    if (end > data.size()) {
        const qint64 countAt = indexStart - 8;
        return failed(result,
                      QStringLiteral("entry count ") + QString::number(count) + QStringLiteral(" and string area size ")
                          + QString::number(stringAreaSize) + QStringLiteral(" at offset ") + QString::number(countAt)
                          + QStringLiteral(" need ") + QString::number(end - offset)
                          + QStringLiteral(" bytes, but only ") + QString::number(data.size() - offset)
                          + QStringLiteral(" are there"),
                      countAt);
    }

    // Strings follow each other in index order, each with its terminator: so
    // the texts read never add up to more than the string area, whatever the
    // index says.
    qint64 nextString = 0;
    for (quint32 i = 0; i < count; ++i) {
        const qint64 entryAt = indexStart + qint64(kIndexEntrySize) * i;
        in.seek(int(entryAt));
        const qint32 key = in.i32();
        const quint32 stringOffset = in.u32();
        const quint32 length = in.u32();
        if (qint64(stringOffset) + 2 * qint64(length) + 2 > stringAreaSize) {
            return failed(result,
                          QStringLiteral("index entry ") + QString::number(i)
                              + QStringLiteral(" points past the string area"),
                          entryAt);
        }
        if (stringOffset != nextString) {
            return failed(result,
                          QStringLiteral("index entry ") + QString::number(i) + QStringLiteral(" puts its string at ")
                              + QString::number(stringOffset) + QStringLiteral(" of the string area, not at ")
                              + QString::number(nextString) + QStringLiteral(" where the one before ends"),
                          entryAt);
        }
        in.seek(int(stringAreaStart + stringOffset));
        QString text(int(length), Qt::Uninitialized);
        for (QChar &unit : text)
            unit = QChar(in.u16());
        if (in.u16() != 0) {
            return failed(result,
                          QStringLiteral("the string of index entry ") + QString::number(i)
                              + QStringLiteral(" has no terminator"),
                          int(stringAreaStart + stringOffset + 2 * qint64(length)));
        }
        nextString = stringOffset + 2 * qint64(length) + 2;
        result.entries.emplace_back(key, text);
    }

    result.ok = true;
    result.size = int(end - offset);
    return result;
}
