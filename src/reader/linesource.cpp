#include "reader/linesource.h"

#include "core/inputfile.h"
#include "reader/sourceoverlay.h"

#include <algorithm>
#include <cstring>

bool LineSource::open(const QString &path, const SourceOverlay *overlay, BuildInputs *inputs)
{
    QByteArray bytes;
    if ((!overlay || !overlay->find(path, &bytes)) && !InputFile::read(path, &bytes, inputs))
        return false;
    const int start = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    // In one pass, in place: the file may be as large as a build may read.
    if (std::memchr(bytes.constData(), '\r', size_t(bytes.size())))
        bytes.truncate(int(std::remove(bytes.begin() + start, bytes.end(), '\r') - bytes.begin()));
    // With an explicit size: the QByteArray overload stops at the first NUL byte.
    m_text = QString::fromUtf8(bytes.constData() + start, bytes.size() - start);
    m_pos = 0;
    return true;
}

// The end of the line starting at from; *next is where the following line starts.
int LineSource::lineEnd(int from, int *next) const
{
    const int size = m_text.size();
    const QChar *data = m_text.constData();
    int i = from;
    while (i < size && data[i] != QLatin1Char('\n'))
        ++i;
    *next = i < size ? i + 1 : i;
    return i;
}

QString LineSource::readLine()
{
    if (atEnd())
        return QString();
    int next = 0;
    const int end = lineEnd(m_pos, &next);
    const QString line = m_text.mid(m_pos, end - m_pos);
    m_pos = next;
    return line;
}

bool LineSource::nextNonBlankLineStartsWith(QChar c) const
{
    int pos = m_pos;
    while (pos < m_text.size()) {
        int next = 0;
        const int end = lineEnd(pos, &next);
        int first = pos;
        while (first < end && m_text.at(first).isSpace())
            ++first;
        if (first < end)
            return m_text.at(first) == c;
        pos = next;
    }
    return false;
}
