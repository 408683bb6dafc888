#include "reader/sourceoverlay.h"

#include <QDir>
#include <QFileInfo>

QString SourceOverlay::key(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void SourceOverlay::set(const QString &path, const QByteArray &contents)
{
    m_files.insert(key(path), contents);
}

void SourceOverlay::remove(const QString &path)
{
    m_files.remove(key(path));
}

bool SourceOverlay::find(const QString &path, QByteArray *contents) const
{
    const auto it = m_files.constFind(key(path));
    if (it == m_files.cend())
        return false;
    *contents = it.value();
    return true;
}
