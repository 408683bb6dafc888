#include "output/wdlwriter.h"

#include "core/fileurl.h"
#include "core/outputfile.h"
#include "core/wdlheader.h"
#include "core/wizardcontent.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltokenfilter.h"

namespace {

QString version(WdlHeader::Version v, int minorDigits)
{
    return QString::number(v.major) + QLatin1Char('.')
           + QString::number(v.minor).rightJustified(minorDigits, QLatin1Char('0'));
}

QString quoted(const QString &value)
{
    return QLatin1Char('"') + value + QLatin1Char('"');
}

// Every item's top-level dump, one after the other: the dumps end their own lines.
QString dumps(const WizardItemsModel *model)
{
    QString out;
    for (const WdlToken *item : model->items())
        out += item->toString(false);
    return out;
}

QString filterDumps(const WizardItemsModel *filters, bool choiceListFilters)
{
    QString out;
    for (const WdlToken *item : filters->items()) {
        if (static_cast<const WdlTokenFilter *>(item)->isClf() == choiceListFilters)
            out += item->toString(false);
    }
    return out;
}

} // namespace

WdlWriter::WdlWriter(WizardItemsModel *const *models, const WdlHeader *header) : m_models(models), m_header(header) {}

QString WdlWriter::headerBlock(const WdlHeader &h)
{
    QString out;
    out += QStringLiteral("#region Wizard Header Information\n\n");
    out += QStringLiteral("FILE_FORMAT_VERSION: ") + version(h.fileFormatVersion(), 1) + QLatin1Char('\n');
    out += QStringLiteral("FILE_VERSION: ") + version(h.fileVersion(), 2) + QLatin1Char('\n');
    out += QStringLiteral("RUN_MODE: ") + QString::number(h.runMode()) + QLatin1Char('\n');
    out += QStringLiteral("PRODUCT_TYPE: ") + QString::number(h.productType()) + QLatin1Char('\n');
    out += QStringLiteral("PRODUCT_NAME: ") + quoted(h.productName()) + QLatin1Char('\n');
    out += QStringLiteral("DATABASE_VERSION: ") + version(h.databaseVersion(), 2) + QLatin1Char('\n');
    out += QStringLiteral("FILE_NAME: ") + quoted(h.fileName()) + QLatin1Char('\n');
    out += QStringLiteral("\n#endregion // Wizard Header Information\n\n");
    return out;
}

// The marker lines are spelt differently from region to region ("// " in the
// first four closing lines, "//" after that, "Choice List" closing "Choice
// Lists"), and so are the empty lines around them: files written earlier read
// that way, and the spellings stay.
QString WdlWriter::region(Region region, const QString &items)
{
    struct Markers
    {
        const char *opening;
        const char *closing;
    };
    static const Markers kMarkers[] = {
        {"#region Wizard Text\n\n", "#endregion // Wizard Text\n\n"},
        {"#region Choice List Filter\n\n", "#endregion // Choice List Filter\n\n"},
        {"#region Array Filter\n\n", "#endregion // Array Filter\n\n"},
        {"#region Local Parameters\n\n", "#endregion //Local Parameters\n\n"},
        {"#region Drive Param\n\n", "\n#endregion //Drive Param\n\n\n"},
        {"#region Choice Lists\n\n", "#endregion //Choice List\n\n\n"},
        {"#region Scripts\n\n", "\n#endregion //Scripts\n\n\n"},
        {"#region Drive Screens\n\n", "\n#endregion //Drive Screens\n\n"},
    };
    static_assert(sizeof(kMarkers) / sizeof(kMarkers[0]) == ScreenRegion + 1, "one row per region");
    return QLatin1String(kMarkers[region].opening) + items + QLatin1String(kMarkers[region].closing);
}

QString WdlWriter::text() const
{
    QString screens;
    // Overlays have no region: each is written inside its screen.
    for (const WdlToken *screen : m_models[WizardContent::ScreensSlot]->items())
        screens += screen->toString(false) + QLatin1Char('\n');
    return headerBlock(*m_header) + region(TextRegion, dumps(m_models[WizardContent::TextsSlot]))
           + region(ChoiceListFilterRegion, filterDumps(m_models[WizardContent::FiltersSlot], true))
           + region(ArrayFilterRegion, filterDumps(m_models[WizardContent::FiltersSlot], false))
           + region(LocalParameterRegion, dumps(m_models[WizardContent::LocalParametersSlot]))
           + region(ParameterRegion, dumps(m_models[WizardContent::ParametersSlot]))
           + region(ChoiceListRegion, dumps(m_models[WizardContent::ChoiceListsSlot]))
           + region(ScriptRegion, dumps(m_models[WizardContent::ScriptsSlot])) + region(ScreenRegion, screens);
}

bool WdlWriter::writeWdl(const QString &sasUrl) const
{
    QString path = FileUrl::toLocalPath(sasUrl);
    if (!path.endsWith(QLatin1String(".sas"), Qt::CaseInsensitive))
        return false;
    path.replace(path.size() - 4, 4, QStringLiteral(".wdl"));

    // Written whole or not at all: the file may be the wizard's only source.
    QString error;
    return OutputFile::write(path, text().toUtf8(), &error);
}
