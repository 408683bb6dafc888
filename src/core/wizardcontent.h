#ifndef WDLC_WIZARDCONTENT_H
#define WDLC_WIZARDCONTENT_H

#include "core/includedfile.h"

#include <QList>

class BuildInputs;
class SourcePositions;
class WarningSink;
class WdlHeader;
class WdlToken;
class WizardItemsModel;

// What the reader, the checks and the builders see of the wizard: its eight
// item collections, its header, its CSIV file map and where warnings go. The
// wizard hands this view down and owns everything it points to; nothing
// below the wizard reaches the wizard itself.
struct WizardContent
{
    // The collections by slot number, as they are handed on as a group.
    enum Slot {
        ParametersSlot = 0,
        ScreensSlot,
        OverlaysSlot,
        ScriptsSlot,
        LocalParametersSlot,
        ChoiceListsSlot,
        TextsSlot,
        FiltersSlot,
        SlotCount
    };

    WizardItemsModel *models[SlotCount] = {};
    WdlHeader *header = nullptr;
    IncludedFileMap *includedFiles = nullptr;
    WarningSink *warnings = nullptr;
    // Items that belong to no collection (a screen named by NS but never
    // defined): released with the collections.
    QList<WdlToken *> *unlistedItems = nullptr;
    // Where the reader notes the lines that made each item, for the tools
    // that point at them; null to note nothing.
    SourcePositions *positions = nullptr;
    // The files read so far, held to the budget of one build.
    BuildInputs *inputs = nullptr;

    WizardItemsModel *parameters() const { return models[ParametersSlot]; }
    WizardItemsModel *screens() const { return models[ScreensSlot]; }
    WizardItemsModel *overlays() const { return models[OverlaysSlot]; }
    WizardItemsModel *scripts() const { return models[ScriptsSlot]; }
    WizardItemsModel *localParameters() const { return models[LocalParametersSlot]; }
    WizardItemsModel *choiceLists() const { return models[ChoiceListsSlot]; }
    WizardItemsModel *texts() const { return models[TextsSlot]; }
    WizardItemsModel *filters() const { return models[FiltersSlot]; }
};

#endif
