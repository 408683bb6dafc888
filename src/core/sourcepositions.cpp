#include "core/sourcepositions.h"

void SourcePositions::note(const void *subject, int field, const SourcePosition &position)
{
    m_positions[qMakePair(subject, field)].append(position);
}

QList<SourcePosition> SourcePositions::all(const void *subject, int field) const
{
    return m_positions.value(qMakePair(subject, field)).toList();
}

SourcePosition SourcePositions::at(const void *subject, int field) const
{
    const auto it = m_positions.constFind(qMakePair(subject, field));
    if (it != m_positions.cend() && !it->isEmpty())
        return it->first();
    if (field != Head)
        return at(subject, Head);
    return SourcePosition();
}
