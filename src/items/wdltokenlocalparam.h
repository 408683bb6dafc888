#ifndef WDLC_WDLTOKENLOCALPARAM_H
#define WDLC_WDLTOKENLOCALPARAM_H

#include "items/wdltoken.h"

// LP: a named 32-bit value that lives only inside the wizard.
class WdlTokenLocalParam : public WdlToken
{
    Q_OBJECT
    Q_PROPERTY(int value READ value WRITE setValue NOTIFY valueChanged)
public:
    WdlTokenLocalParam(const QString &id, int value);

    QString toString(bool inScreen) const override;
    void writeRecord(LeWriter &w) const override;

    int value() const { return m_value; }

public slots:
    void setValue(int i);

signals:
    void valueChanged(int i);

private:
    qint32 m_value;
};

#endif
