#include "output/savewdl.h"

#include "core/wdlheader.h"
#include "output/wdlwriter.h"

SaveWdl::SaveWdl(QObject *parent)
    : QObject(parent)
{
}

void SaveWdl::setModel(int slot, WizardItemsModel *model)
{
    if (slot < 0 || slot >= 8)
        return;
    m_models[slot] = model;
    m_modelMask |= quint16(1u << slot);
}

void SaveWdl::setHeader(WdlHeader *header)
{
    m_header = header;
}

void SaveWdl::setIncludedFiles(const IncludedFileMap &files)
{
    m_includedFiles = files;
}

bool SaveWdl::isReady() const
{
    return m_modelMask == 0xFF && m_header && m_header->isComplete();
}

bool SaveWdl::writeWdl(const QString &url)
{
    if (!isReady())
        return false;
    return WdlWriter(m_models, m_header).writeWdl(url);
}
