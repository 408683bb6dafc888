#ifndef WDLC_WDLTOKENCHOICELIST_H
#define WDLC_WDLTOKENCHOICELIST_H

#include "items/wdltoken.h"
#include "items/wdltokentext.h"

#include <QList>

// CL: the ordered texts that a choice parameter offers, with a default entry.
class WdlTokenChoiceList : public WdlToken
{
    Q_OBJECT
public:
    explicit WdlTokenChoiceList(const QString &id);

    QString toString(bool inScreen) const override;
    void writeRecord(LeWriter &w) const override;

    // Appends the text and counts a reference to it; null is ignored.
    Q_INVOKABLE void addChoice(WdlTokenText *value);
    // Keeps the low 16 bits, unchecked.
    Q_INVOKABLE void setDefaultChoice(int a);
    // The default entry, or null when there is no such entry.
    Q_INVOKABLE WdlTokenText *getDefaultText() const;

    QList<WdlTokenText *> getChoices() const { return m_choices; }
    int choiceCount() const { return m_choices.size(); }
    quint16 defaultChoice() const { return m_defaultChoice; }
    // Same texts (by identity) in the same order.
    bool sameChoices(const WdlTokenChoiceList *other) const;

private:
    QList<WdlTokenText *> m_choices;
    quint16 m_defaultChoice = 0;
};

#endif
