#ifndef WDLC_WARNING_H
#define WDLC_WARNING_H

#include <QObject>
#include <QString>

// One problem found in a wizard. The text is a complete sentence without file,
// line or severity; those travel beside it and meet the text only where the
// list is shown. Where the reader can say which word of the line the problem
// is about, the warning keeps that word too, so that tools find its column;
// the warnings file never shows it.
class Warning : public QObject
{
    Q_OBJECT
public:
    Warning(const QString &text, const QString &fileName, int lineNumber, const QString &subject = QString());

    QString text() const { return m_text; }
    QString fileName() const { return m_fileName; }
    int lineNumber() const { return m_lineNumber; }
    // The word of the line the problem is about, or empty.
    QString subject() const { return m_subject; }

private:
    const QString m_text;
    const QString m_fileName;
    const int m_lineNumber;
    const QString m_subject;
};

#endif
