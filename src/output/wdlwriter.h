#ifndef WDLC_WDLWRITER_H
#define WDLC_WDLWRITER_H

#include <QString>

class WdlHeader;
class WizardItemsModel;

// Writes a loaded wizard back as WDL text: the header block, then one region
// per kind of item, each item contributing its own text.
class WdlWriter
{
public:
    // models: the eight collections by slot number.
    WdlWriter(WizardItemsModel *const *models, const WdlHeader *header);

    QString text() const;
    // Writes text() beside the image: the url must end in ".sas" (any letter
    // case), which becomes ".wdl". False when refused or not writable.
    bool writeWdl(const QString &sasUrl) const;

private:
    WizardItemsModel *const *m_models;
    const WdlHeader *m_header;
};

#endif
