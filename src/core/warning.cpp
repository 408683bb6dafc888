#include "core/warning.h"

namespace {

// A text built by concatenation keeps the room it grew by; a wizard may hold
// a warning for each of millions of lines.
QString squeezed(QString text)
{
    text.squeeze();
    return text;
}

} // namespace

Warning::Warning(const QString &text, const QString &fileName, int lineNumber, const QString &subject)
    : m_text(squeezed(text)), m_fileName(fileName), m_lineNumber(lineNumber), m_subject(subject)
{
}
