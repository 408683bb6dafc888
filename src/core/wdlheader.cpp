#include "core/wdlheader.h"

void WdlHeader::setFileFormatVersion(quint16 major, quint16 minor)
{
    m_fileFormatVersion = {major, minor};
    mark(FileFormatVersionTag);
}

void WdlHeader::setFileVersion(quint16 major, quint16 minor)
{
    m_fileVersion = {major, minor};
    mark(FileVersionTag);
}

void WdlHeader::setDatabaseVersion(quint16 major, quint16 minor)
{
    m_databaseVersion = {major, minor};
    mark(DatabaseVersionTag);
}

void WdlHeader::setRunMode(quint8 runMode)
{
    m_runMode = runMode;
    mark(RunModeTag);
}

void WdlHeader::setProductType(quint16 productType)
{
    m_productType = productType;
    mark(ProductTypeTag);
}

void WdlHeader::setProductName(const QString &productName)
{
    m_productName = productName;
    mark(ProductNameTag);
}

void WdlHeader::setFileName(const QString &fileName)
{
    m_fileName = fileName;
    mark(FileNameTag);
}

int WdlHeader::firstMissingTag() const
{
    for (int tag = 0; tag < TagCount; ++tag) {
        if (!isPresent(tag))
            return tag;
    }
    return TagCount;
}
