#ifndef WDLC_SOURCEOVERLAY_H
#define WDLC_SOURCEOVERLAY_H

#include <QByteArray>
#include <QHash>
#include <QString>

// Texts that stand in for WDL files on disk while a wizard is read: an
// editor's unsaved buffers, a formatter's output checked before it is
// written. A file is found by its absolute, cleaned path; files the overlay
// does not hold are read from disk.
class SourceOverlay
{
public:
    void set(const QString &path, const QByteArray &contents);
    void remove(const QString &path);
    void clear() { m_files.clear(); }
    // The contents standing in for path, when the overlay holds it.
    bool find(const QString &path, QByteArray *contents) const;

    // The key a path is found under: absolute and cleaned.
    static QString key(const QString &path);

private:
    // Looked up only, never walked: no order shows anywhere.
    QHash<QString, QByteArray> m_files;
};

#endif
