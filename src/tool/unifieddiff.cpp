#include "tool/unifieddiff.h"

#include <QList>
#include <QVector>

#include <algorithm>

namespace {

constexpr int kContext = 3;
// The longest edit script searched for; its trace takes about its square in memory.
constexpr int kMaxEdits = 4000;

enum class Op { Same, Removed, Added };

struct Edit
{
    Op op;
    int line; // in the old text for Same and Removed, in the new one for Added
};

struct Lines
{
    QVector<QByteArray> lines;
    bool lastHasLineEnd = true;
};

Lines splitLines(const QByteArray &text)
{
    Lines out;
    if (text.isEmpty())
        return out;
    out.lines = text.split('\n').toVector();
    if (text.endsWith('\n'))
        out.lines.removeLast();
    else
        out.lastHasLineEnd = false;
    return out;
}

// Myers' greedy forward search for the edits that turn a[from, toA) into
// b[from, toB), with the trace kept to walk back along the path.
QVector<Edit> middleEdits(const QVector<QByteArray> &a, const QVector<QByteArray> &b, int from, int toA, int toB)
{
    const int n = toA - from;
    const int m = toB - from;
    const int limit = std::min(n + m, kMaxEdits);
    QVector<QVector<int>> trace; // trace[d][k + d] for k in [-d, d]: the furthest x after d edits
    QVector<int> previous;
    int found = -1;
    for (int d = 0; d <= limit && found < 0; ++d) {
        QVector<int> v(2 * d + 1);
        for (int k = -d; k <= d; k += 2) {
            const auto at = [&](int kk) { return previous.at(kk + d - 1); };
            int x = 0;
            if (d == 0)
                x = 0;
            else if (k == -d || (k != d && at(k - 1) < at(k + 1)))
                x = at(k + 1);
            else
                x = at(k - 1) + 1;
            int y = x - k;
            while (x < n && y < m && a.at(from + x) == b.at(from + y)) {
                ++x;
                ++y;
            }
            v[k + d] = x;
            if (x >= n && y >= m)
                found = d;
        }
        trace.append(v);
        previous = v;
    }

    QVector<Edit> edits;
    if (found < 0) {
        for (int i = from; i < toA; ++i)
            edits.append({Op::Removed, i});
        for (int j = from; j < toB; ++j)
            edits.append({Op::Added, j});
        return edits;
    }
    int x = n;
    int y = m;
    for (int d = found; d > 0; --d) {
        const QVector<int> &before = trace.at(d - 1);
        const int k = x - y;
        const auto at = [&](int kk) { return before.at(kk + d - 1); };
        const bool down = k == -d || (k != d && at(k - 1) < at(k + 1));
        const int previousK = down ? k + 1 : k - 1;
        const int previousX = at(previousK);
        const int previousY = previousX - previousK;
        while (x > previousX + (down ? 0 : 1) && y > previousY + (down ? 1 : 0)) {
            --x;
            --y;
            edits.append({Op::Same, from + x});
        }
        if (down)
            edits.append({Op::Added, from + --y});
        else
            edits.append({Op::Removed, from + --x});
    }
    while (x > 0 && y > 0) {
        --x;
        --y;
        edits.append({Op::Same, from + x});
    }
    std::reverse(edits.begin(), edits.end());
    return edits;
}

QVector<Edit> editScript(const QVector<QByteArray> &a, const QVector<QByteArray> &b)
{
    int prefix = 0;
    while (prefix < a.size() && prefix < b.size() && a.at(prefix) == b.at(prefix))
        ++prefix;
    int suffix = 0;
    while (suffix < a.size() - prefix && suffix < b.size() - prefix
           && a.at(a.size() - 1 - suffix) == b.at(b.size() - 1 - suffix))
        ++suffix;
    QVector<Edit> edits;
    for (int i = 0; i < prefix; ++i)
        edits.append({Op::Same, i});
    edits += middleEdits(a, b, prefix, a.size() - suffix, b.size() - suffix);
    for (int i = a.size() - suffix; i < a.size(); ++i)
        edits.append({Op::Same, i});
    return edits;
}

// "l,s" as diff -u gives a range: the count left out when it is 1, and an
// empty range named by the line before it.
QByteArray range(int start, int count)
{
    if (count == 1)
        return QByteArray::number(start + 1);
    return QByteArray::number(count == 0 ? start : start + 1) + ',' + QByteArray::number(count);
}

} // namespace

QByteArray UnifiedDiff::diff(const QByteArray &before, const QByteArray &after, const QString &name)
{
    if (before == after)
        return QByteArray();
    Lines a = splitLines(before);
    Lines b = splitLines(after);
    // A last line that differs only in its line end differs.
    if (!a.lastHasLineEnd && !a.lines.isEmpty())
        a.lines.last() += '\x01';
    if (!b.lastHasLineEnd && !b.lines.isEmpty())
        b.lines.last() += '\x01';
    const QVector<Edit> edits = editScript(a.lines, b.lines);

    const auto lineOf = [&](const Edit &e) {
        const Lines &side = e.op == Op::Added ? b : a;
        const QByteArray prefix = e.op == Op::Same ? " " : (e.op == Op::Removed ? "-" : "+");
        QByteArray text = side.lines.at(e.line);
        const bool last = e.line == side.lines.size() - 1 && !side.lastHasLineEnd;
        if (last)
            text.chop(1);
        return prefix + text + (last ? "\n\\ No newline at end of file\n" : "\n");
    };

    QByteArray out = "--- a/" + name.toUtf8() + "\n+++ b/" + name.toUtf8() + '\n';
    int i = 0;
    while (i < edits.size()) {
        while (i < edits.size() && edits.at(i).op == Op::Same)
            ++i;
        if (i == edits.size())
            break;
        // A hunk: from kContext lines before the first change to kContext
        // after the last one that is less than 2 * kContext unchanged lines away.
        const int start = std::max(0, i - kContext);
        int end = i;
        while (end < edits.size()) {
            if (edits.at(end).op != Op::Same) {
                ++end;
                continue;
            }
            int same = end;
            while (same < edits.size() && edits.at(same).op == Op::Same)
                ++same;
            if (same == edits.size() || same - end > 2 * kContext) {
                end = std::min(same, end + kContext);
                break;
            }
            end = same;
        }
        int oldStart = 0;
        int newStart = 0;
        for (int e = 0; e < start; ++e) {
            oldStart += edits.at(e).op != Op::Added ? 1 : 0;
            newStart += edits.at(e).op != Op::Removed ? 1 : 0;
        }
        int oldCount = 0;
        int newCount = 0;
        QByteArray body;
        for (int e = start; e < end; ++e) {
            oldCount += edits.at(e).op != Op::Added ? 1 : 0;
            newCount += edits.at(e).op != Op::Removed ? 1 : 0;
            body += lineOf(edits.at(e));
        }
        out += "@@ -" + range(oldStart, oldCount) + " +" + range(newStart, newCount) + " @@\n" + body;
        i = end;
    }
    return out;
}
