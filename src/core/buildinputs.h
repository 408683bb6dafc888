#ifndef WDLC_BUILDINPUTS_H
#define WDLC_BUILDINPUTS_H

#include <QHash>
#include <QPair>
#include <QString>

// The files one build has read: the WDL file and its includes, the
// translation files, the CSIV files. Who they are, so that nothing the build
// writes replaces one of them through any link; and how much they hold
// together, so that no set of inputs, however it is spread over files and
// INCLUDE lines, can make a build run for minutes or exhaust memory.
class BuildInputs
{
public:
    // What all the files of one build may hold together.
    static constexpr qint64 kBudget = qint64(256) << 20;

    qint64 remaining() const { return kBudget - m_total; }
    qint64 total() const { return m_total; }
    // Notes a file read whole; a file read twice counts twice.
    void add(quint64 device, quint64 inode, qint64 size, const QString &path);
    // The path under which the file device:inode was first read, or empty
    // when the build has not read it.
    QString pathOf(quint64 device, quint64 inode) const;
    void clear();

private:
    // Looked up only, never walked: no order shows anywhere.
    QHash<QPair<quint64, quint64>, QString> m_files;
    qint64 m_total = 0;
};

#endif
