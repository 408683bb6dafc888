#ifndef WDLC_UTF8LINES_H
#define WDLC_UTF8LINES_H

#include <QByteArray>
#include <QTextCodec>

// The first line of data that is not UTF-8, counted from 1, or 0 when all of
// it is. A line feed is never part of a longer sequence, so each line can be
// decoded on its own, and the line found is the one to show the reader.
inline int firstLineNotUtf8(const QByteArray &data)
{
    const QTextCodec *codec = QTextCodec::codecForMib(106);
    int line = 1;
    for (int from = 0; from <= data.size(); ++line) {
        int to = data.indexOf('\n', from);
        if (to < 0)
            to = data.size();
        QTextCodec::ConverterState state;
        codec->toUnicode(data.constData() + from, to - from, &state);
        if (state.invalidChars > 0 || state.remainingChars > 0)
            return line;
        from = to + 1;
    }
    return 0;
}

#endif
