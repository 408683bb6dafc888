#ifndef WDLC_WARNING_H
#define WDLC_WARNING_H

#include <QObject>
#include <QString>

// One problem found in a wizard. The text is a complete sentence without file,
// line or severity; those travel beside it and meet the text only where the
// list is shown.
class Warning : public QObject
{
    Q_OBJECT
public:
    Warning(const QString &text, const QString &fileName, int lineNumber);

    QString text() const { return m_text; }
    QString fileName() const { return m_fileName; }
    int lineNumber() const { return m_lineNumber; }

private:
    const QString m_text;
    const QString m_fileName;
    const int m_lineNumber;
};

#endif
