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

    // The parts of the layout that the formatter shares with the writer.
    enum Region {
        TextRegion,
        ChoiceListFilterRegion,
        ArrayFilterRegion,
        LocalParameterRegion,
        ParameterRegion,
        ChoiceListRegion,
        ScriptRegion,
        ScreenRegion
    };
    static QString headerBlock(const WdlHeader &header);
    // The region's marker lines around its items' text, which ends its own lines.
    static QString region(Region region, const QString &items);

    QString text() const;
    // Writes text() beside the image: the url must end in ".sas" (any letter
    // case), which becomes ".wdl". False when refused or not writable.
    bool writeWdl(const QString &sasUrl) const;

private:
    WizardItemsModel *const *m_models;
    const WdlHeader *m_header;
};

#endif
