#ifndef WDLC_WDLTOKENTEXT_H
#define WDLC_WDLTOKENTEXT_H

#include "items/wdltoken.h"

// A displayed text with an optional help text: one entry of the dictionary.
class WdlTokenText : public WdlToken
{
    Q_OBJECT
    Q_PROPERTY(QString text READ getText WRITE setText NOTIFY textChanged)
    Q_PROPERTY(QString help READ getHelp WRITE setHelp NOTIFY helpChanged)
public:
    // As the reader creates it: one line gives either the text or the help.
    WdlTokenText(const QString &id, const QString &value, bool isHelp);
    // As the editor creates it.
    WdlTokenText(const QString &id, const QString &text, const QString &help);

    // The text numbers 247 to 250 are reserved on the panel: numbers from 247
    // on are reported 4 higher, so the 247th text is number 251.
    Q_INVOKABLE quint16 getIndex() const override;
    QString toString(bool inScreen) const override;
    void writeRecord(LeWriter &w) const override;

    // Always assigns and emits, unlike the property setters.
    void setTextOrHelp(const QString &value, bool isHelp);

    Q_INVOKABLE QString getText() const { return m_text; }
    Q_INVOKABLE QString getHelp() const { return m_help; }

    // Dictionary keys: the text under 2n - 1, the help under 2n.
    qint32 textKey() const { return 2 * qint32(getIndex()) - 1; }
    qint32 helpKey() const { return 2 * qint32(getIndex()); }

public slots:
    void setText(const QString &value);
    void setHelp(const QString &value);

signals:
    void textChanged(const QString &s);
    void helpChanged(const QString &s);

private:
    QString m_text;
    QString m_help;
};

#endif
