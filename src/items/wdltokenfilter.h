#ifndef WDLC_WDLTOKENFILTER_H
#define WDLC_WDLTOKENFILTER_H

#include "items/wdltoken.h"

#include <QBitArray>

// CLF or APF: the indexes of a choice list (CLF) or of an array parameter (APF)
// that a parameter offers. Bit i set means index i passes.
class WdlTokenFilter : public WdlToken
{
    Q_OBJECT
public:
    WdlTokenFilter(const QString &id, const QBitArray &bits, bool isClf);

    QString toString(bool inScreen) const override;
    void writeRecord(LeWriter &w) const override;

    QBitArray bits() const { return m_bits; }
    bool isClf() const { return m_isClf; }

private:
    QBitArray m_bits;
    bool m_isClf;
};

#endif
