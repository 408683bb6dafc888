#ifndef WDLC_WDLHEADER_H
#define WDLC_WDLHEADER_H

#include <QString>
#include <QtGlobal>

// The meta-information of a WDL file, with one presence flag per tag.
class WdlHeader
{
public:
    struct Version
    {
        quint16 major = 0;
        quint16 minor = 0;
    };

    // Flag indexes, in the order of the tags (their keyword value minus 34).
    enum Tag {
        FileFormatVersionTag = 0,
        FileVersionTag,
        RunModeTag,
        ProductTypeTag,
        ProductNameTag,
        DatabaseVersionTag,
        FileNameTag,
        TagCount
    };

    void setFileFormatVersion(quint16 major, quint16 minor);
    void setFileVersion(quint16 major, quint16 minor);
    void setDatabaseVersion(quint16 major, quint16 minor);
    void setRunMode(quint8 runMode);
    void setProductType(quint16 productType);
    void setProductName(const QString &productName);
    void setFileName(const QString &fileName);

    Version fileFormatVersion() const { return m_fileFormatVersion; }
    Version fileVersion() const { return m_fileVersion; }
    Version databaseVersion() const { return m_databaseVersion; }
    quint8 runMode() const { return m_runMode; }
    quint16 productType() const { return m_productType; }
    QString productName() const { return m_productName; }
    QString fileName() const { return m_fileName; }

    bool isPresent(int tag) const { return tag >= 0 && tag < TagCount && (m_present & (1u << tag)); }
    // The index of the first tag not given, or TagCount when all are.
    int firstMissingTag() const;
    bool isComplete() const { return firstMissingTag() == TagCount; }

    void reset() { *this = WdlHeader(); }

private:
    void mark(Tag tag) { m_present |= 1u << tag; }

    Version m_fileFormatVersion;
    Version m_fileVersion;
    Version m_databaseVersion;
    quint8 m_runMode = 0;
    quint16 m_productType = 0;
    QString m_productName;
    QString m_fileName;
    quint32 m_present = 0;
};

#endif
