#include "core/buildinputs.h"

void BuildInputs::add(quint64 device, quint64 inode, qint64 size, const QString &path)
{
    const QPair<quint64, quint64> key(device, inode);
    if (!m_files.contains(key))
        m_files.insert(key, path);
    m_total += size;
}

QString BuildInputs::pathOf(quint64 device, quint64 inode) const
{
    return m_files.value(qMakePair(device, inode));
}

void BuildInputs::clear()
{
    m_files.clear();
    m_total = 0;
}
