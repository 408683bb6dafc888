#include "core/fileurl.h"

#include <QFileInfo>
#include <QUrl>

QString FileUrl::toLocalPath(const QString &url)
{
    const QLatin1String prefix(kPrefix);
    if (url.startsWith(prefix))
        return url.mid(prefix.size());
    return QUrl(url, QUrl::TolerantMode).toLocalFile();
}

QString FileUrl::fileName(const QString &url)
{
    return QFileInfo(toLocalPath(url)).fileName();
}
