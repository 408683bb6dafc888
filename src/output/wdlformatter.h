#ifndef WDLC_WDLFORMATTER_H
#define WDLC_WDLFORMATTER_H

#include <QString>

class WdlHeader;
class WizardItemsModel;

// Writes a loaded wizard as WDL in one canonical form, in the regions of the
// WDL writer. Unlike the writer, whose item dumps choose by reference counts
// where a block goes, it reads back as the same wizard: every parameter,
// choice list, overlay and script is written in full once, at its first use,
// and named by its id at every later one; what no block can hold stands at
// top level, before anything names it. Meant for a wizard without warnings.
class WdlFormatter
{
public:
    // models: the eight collections by slot number.
    WdlFormatter(WizardItemsModel *const *models, const WdlHeader *header);

    QString text() const;

private:
    WizardItemsModel *const *m_models;
    const WdlHeader *m_header;
};

#endif
