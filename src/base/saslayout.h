#ifndef WDLC_SASLAYOUT_H
#define WDLC_SASLAYOUT_H

#include <QtGlobal>

// The layout of a wizard image, in one place: the items, the image builder,
// the CSIV embedder and the image reader all take their numbers from here.
//
// | offset | size | field                                                   |
// |      0 |    1 | format byte 0x0F                                        |
// |      1 |    3 | zero                                                    |
// |      4 |    4 | total image length                                      |
// |      8 |    2 | check value                                             |
// |     10 |    2 | fixed header size: 48                                   |
// |     12 |  2+2 | FILE_FORMAT_VERSION major, minor                        |
// |     16 |  2+2 | FILE_VERSION major, minor                               |
// |     20 |    1 | RUN_MODE                                                |
// |     21 |    2 | PRODUCT_TYPE                                            |
// |     23 |  2+2 | DATABASE_VERSION major, minor                           |
// |     27 |    2 | length of the file-name field, its zero byte included   |
// |     29 |    2 | offset of the file-name field: 48                       |
// |     31 |    2 | script data length                                      |
// |     33 |    2 | header length: 48 + file-name field                     |
// |     35 |    2 | number of text records                                  |
// |     37 |    2 | length of the text records                              |
// |     39 |    2 | offset of the text records                              |
// |     41 |    1 | number of dictionaries                                  |
// |     42 |    4 | length of the dictionary area                           |
// |     46 |    2 | dictionary start                                        |
// |     48 |    n | FILE_NAME in UTF-8, then one zero byte                  |
//
// The script data (every item record) follows the header, then the text
// records, then zero padding up to a multiple of 4, then the English
// dictionary, the translations (each padded to a multiple of 4) and the CSIV
// files (each at a multiple of 4).
namespace SasLayout {

constexpr quint8 kFormatByte = 0x0F;

constexpr int kFormatAt = 0;
constexpr int kReservedAt = 1;
constexpr int kReservedSize = 3;
constexpr int kTotalLengthAt = 4;
constexpr int kCheckValueAt = 8;
// The check value covers the image from here, in byte pairs.
constexpr int kCheckedFrom = 10;
constexpr int kFixedHeaderSizeAt = 10;
constexpr int kFileNameLengthAt = 27;
constexpr int kFileNameOffsetAt = 29;
constexpr int kScriptDataLengthAt = 31;
constexpr int kHeaderLengthAt = 33;
constexpr int kTextCountAt = 35;
constexpr int kTextRecordsLengthAt = 37;
constexpr int kTextRecordsOffsetAt = 39;
constexpr int kDictionaryCountAt = 41;
constexpr int kDictionaryAreaLengthAt = 42;
constexpr int kDictionaryStartAt = 46;
constexpr int kFixedHeaderSize = 48;

// Every 16-bit length and offset of the header ends here.
constexpr int kMaxField = 0xFFFF;
// The sections after the text records start at multiples of this.
constexpr int kAlignment = 4;

// Every item record starts with: type (1), item number (2), payload length (2).
enum RecordType : quint8 {
    ScreenRecord = 2,
    OverlayRecord = 3,
    ChoiceListRecord = 4,
    VcpRecord = 5,
    DriveParameterRecord = 6,
    LocalParameterRecord = 7,
    ScriptRecord = 9,
    VpRecord = 10,
    FilterRecord = 11,
    FilteredDriveParameterRecord = 13
};
constexpr int kRecordHeadSize = 5;
constexpr int kPayloadLengthAt = 3;

// Payload lengths of the records whose size is fixed; -1 for the others.
constexpr int fixedPayloadLength(quint8 type)
{
    switch (type) {
    case OverlayRecord:
        return 10;
    case VcpRecord:
    case DriveParameterRecord:
        return 6;
    case LocalParameterRecord:
        return 4;
    case VpRecord:
        return 22;
    case FilteredDriveParameterRecord:
        return 10;
    default:
        return -1;
    }
}

// A script record: the record head, script type (1) and command count (1),
// then each command: code (1) and three 16-bit fields A, B, C.
constexpr int kScriptHeadSize = kRecordHeadSize + 2;
constexpr int kCommandSize = 7;
// A CSIV command's B and C together hold its file's offset in the image.
constexpr int kCsivFileOffsetAt = 3;

// The setup word of a copy command: the source setup in bits 9 to 11, target
// setup k (1 to 4) in bit 11 + k, all four targets 0xF000. It shares a field
// with an item number, which must therefore stay below 512.
constexpr int kSourceSetupShift = 9;
constexpr int kTargetSetupShift = 11;
constexpr quint16 kAllTargetSetups = 0xF000;
constexpr int kSetupCount = 4;

// An item field that names no item, in script commands.
constexpr quint16 kNoItem = 0xFFFF;
// The file offset of a CSIV command whose file was not embedded.
constexpr quint32 kNotEmbedded = 0xFFFFFFFF;

// A text record: text number (2), text key (4), help key (4).
constexpr int kTextRecordSize = 10;

// Where a CSIV file says what it is called: the length of its flash name in
// bytes, then the offset of the name (UTF-8) within the file.
constexpr int kCsivNameLengthAt = 26;
constexpr int kCsivNameOffsetAt = 28;

} // namespace SasLayout

#endif
