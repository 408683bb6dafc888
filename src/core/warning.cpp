#include "core/warning.h"

Warning::Warning(const QString &text, const QString &fileName, int lineNumber, const QString &subject)
    : m_text(text), m_fileName(fileName), m_lineNumber(lineNumber), m_subject(subject)
{
}
