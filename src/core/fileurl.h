#ifndef WDLC_FILEURL_H
#define WDLC_FILEURL_H

#include <QString>

// The one conversion between the file URLs the wizard is handed and local paths.
class FileUrl
{
public:
    static constexpr const char *kPrefix = "file:///";

    // "file:///" + path maps to path unchanged (no percent-decoding), so that
    // "file:///pump.wdl" stays relative and "file:////w/pump.wdl" is /w/pump.wdl.
    // Any other URL is parsed tolerantly and turned into its local file.
    static QString toLocalPath(const QString &url);
    // The last path component of the local path.
    static QString fileName(const QString &url);
    static QString fromLocalPath(const QString &path) { return QLatin1String(kPrefix) + path; }
};

#endif
