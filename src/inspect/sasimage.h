#ifndef WDLC_SASIMAGE_H
#define WDLC_SASIMAGE_H

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QtGlobal>

#include <utility>
#include <vector>

// What the image reader makes of an image: every section decoded into named
// values in image order, and the problems met on the way. Plain values, so
// that a printer needs nothing but this header.

// One value of the layout. Offsets are absolute, from the start of the image.
struct SasField
{
    QString name;
    int offset = 0;
    int size = 0;
    // A number (qint64), the bytes (QByteArray) of a bitmap or reserved
    // field, or the file name (QString).
    QVariant value;
    // The number spelt out where it stands for a name ("NSS", "GOTO_NEXT_SCREEN").
    QString meaning;
    // For an item's number: the kind of item ("screen", "param", "text", ...).
    QString itemKind;
};

// An item's number and kind, as the image refers to it; the kind is empty
// where no item is named.
struct SasItemRef
{
    QString kind;
    quint16 number = 0;
};

// One 7-byte script command.
struct SasCommand
{
    int offset = 0;
    quint8 code = 0;
    // The CmdTypes key of the code, or "code N" for a code the compiler never writes.
    QString mnemonic;
    // A, B and C as stored.
    quint16 fields[3] = {0, 0, 0};
    // What the fields stand for, in source order: "param 3", "label 1", "none".
    QStringList operands;
    // The item each operand names, one per operand.
    QList<SasItemRef> operandItems;
    // The copy commands' setup word, -1 for every other command or when none is stored.
    qint32 setupWord = -1;
};

// A record of the script data: the five-byte head and the decoded payload.
struct SasRecord
{
    int offset = 0;
    quint8 type = 0;
    QString typeName;
    quint16 number = 0;
    // The kind of item the record holds, as references name it.
    QString itemKind;
    quint16 payloadLength = 0;
    QList<SasField> fields;
    QList<SasCommand> commands; // scripts only
};

struct SasTextRecord
{
    int offset = 0;
    quint16 number = 0;
    qint32 textKey = 0;
    qint32 helpKey = 0;
};

struct SasDictionary
{
    int offset = 0;
    int size = 0;
    quint16 formatVersion = 0;
    quint8 codecMode = 0;
    // From the language header.
    QString name;
    QString nativeName;
    QString localeName;
    quint32 lcid = 0;
    quint32 languageId = 0;
    quint32 languageNumber = 0;
    QString version; // "major.minor.build"
    QString productName;
    std::vector<std::pair<int, QString>> entries;
};

struct SasCsivFile
{
    int offset = 0;
    // Bytes up to the next file or the end of the image: the zero padding in
    // front of a following file is counted, as the image records no sizes.
    int size = 0;
    QString flashName;
    // Offsets of the CSIV commands that name the file.
    QList<int> commandOffsets;
};

struct SasProblem
{
    int offset = 0;
    QString message;
};

struct SasImage
{
    int size = 0;
    QList<SasField> header;
    QString fileName;
    quint16 storedCheckValue = 0;
    quint16 computedCheckValue = 0;
    // The header's length fields, as stored (0 when the header could not be read).
    int scriptDataOffset = 0;
    int scriptDataLength = 0;
    int textRecordsOffset = 0;
    int dictionaryStart = 0;
    QList<SasRecord> records;
    QList<SasTextRecord> texts;
    QList<SasDictionary> dictionaries;
    QList<SasCsivFile> csivFiles;
    QList<SasProblem> problems;

    bool checkValuesAgree() const { return storedCheckValue == computedCheckValue; }
    bool ok() const { return problems.isEmpty(); }
};

#endif
