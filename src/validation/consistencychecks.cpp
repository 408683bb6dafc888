#include "validation/consistencychecks.h"

#include "base/diagnostics.h"

#include "core/warningsink.h"
#include "core/wdlheader.h"
#include "core/wizardcontent.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltokenchoicelist.h"
#include "items/wdltokenoverlay.h"
#include "items/wdltokenparam.h"
#include "items/wdltokenscreen.h"
#include "items/wdltokenscript.h"
#include "reader/wdlparser.h"

#include <QDebug>
#include <QMetaEnum>

namespace {

static_assert(WdlParser::FILE_FORMAT_VERSION + WdlHeader::FileNameTag == WdlParser::FILE_NAME,
              "a header flag's index is its keyword's value minus FILE_FORMAT_VERSION");

} // namespace

// Only the first missing tag is named: one message is enough to send the
// author to the header, and the rest follow once it is complete.
void ConsistencyChecks::checkMetaInformation()
{
    const int missing = m_content.header->firstMissingTag();
    if (missing == WdlHeader::TagCount)
        return;
    const QMetaEnum commands = QMetaEnum::fromType<WdlParser::Commands>();
    const QString name = QString::fromLatin1(commands.valueToKey(WdlParser::FILE_FORMAT_VERSION + missing));
    m_content.warnings->addWarning(Diagnostics::text(Diagnostics::MetaTagMissing, {name}), 0);
}

void ConsistencyChecks::checkMissingItems()
{
    for (WdlToken *item : m_content.parameters()->items()) {
        const auto *param = static_cast<WdlTokenParam *>(item);
        // A parameter without a name text is named "undefined", which is not
        // empty: only a name text whose text is empty is reported.
        if (param->kind() != WdlTokenParam::KindP && param->name().isEmpty())
            m_content.warnings->addWarning(Diagnostics::text(Diagnostics::ParameterMissingText, {param->id()}),
                                           param->sourceLine());
        // An empty list is reported with the choice lists below, not here.
        if (param->kind() == WdlTokenParam::KindVCP && !param->choiceList())
            m_content.warnings->addWarning(Diagnostics::text(Diagnostics::VcpMissingChoiceList, {param->id()}),
                                           param->sourceLine());
    }

    for (WdlToken *item : m_content.choiceLists()->items()) {
        if (static_cast<WdlTokenChoiceList *>(item)->choiceCount() > 0)
            continue;
        m_content.warnings->addWarning(Diagnostics::text(Diagnostics::EmptyChoiceList, {item->id()}),
                                       item->sourceLine());
        qDebug() << item->id() << item->sourceLine();
    }

    for (WdlToken *item : m_content.scripts()->items()) {
        if (static_cast<WdlTokenScript *>(item)->commandCount() == 0)
            m_content.warnings->addWarning(Diagnostics::text(Diagnostics::EmptyScript, {item->id()}),
                                           item->sourceLine());
    }

    // Every screen but the first, where the wizard starts.
    const QList<WdlToken *> &screens = m_content.screens()->items();
    for (int i = 1; i < screens.size(); ++i) {
        const auto *screen = static_cast<WdlTokenScreen *>(screens.at(i));
        const bool hasParameters = !screen->parameters().isEmpty();
        if (!screen->overlay() && !hasParameters)
            m_content.warnings->addWarning(Diagnostics::text(Diagnostics::EmptyScreen, {screen->id()}),
                                           screen->sourceLine());
        else if (screen->overlay() && hasParameters)
            m_content.warnings->addWarning(Diagnostics::text(Diagnostics::OverlayAndParameters, {screen->id()}),
                                           screen->sourceLine());
    }

    for (WdlToken *item : m_content.overlays()->items()) {
        if (!static_cast<WdlTokenOverlay *>(item)->text())
            m_content.warnings->addWarning(Diagnostics::text(Diagnostics::OverlayMissingText, {item->id()}),
                                           item->sourceLine());
    }
}

// Relies on the reference counts of the reader and the script validation, so
// it must run after both.
void ConsistencyChecks::checkUnusedItems()
{
    struct Kind
    {
        WizardItemsModel *items;
        Diagnostics::Id unused;
    };
    const Kind kinds[] = {
        {m_content.texts(), Diagnostics::UnusedText},
        {m_content.localParameters(), Diagnostics::UnusedLocalParameter},
        {m_content.parameters(), Diagnostics::UnusedParameter},
        {m_content.choiceLists(), Diagnostics::UnusedChoiceList},
        {m_content.scripts(), Diagnostics::UnusedScript},
        {m_content.screens(), Diagnostics::UnusedScreen},
        {m_content.overlays(), Diagnostics::UnusedOverlay},
        {m_content.filters(), Diagnostics::UnusedFilter},
    };
    for (const Kind &kind : kinds) {
        const QList<WdlToken *> &items = kind.items->items();
        for (int i = 0; i < items.size(); ++i) {
            const WdlToken *item = items.at(i);
            if (item->referenceCount() != 0)
                continue;
            // Nothing refers to the wizard's entry points: the first screen and
            // the script that runs at the start.
            if (kind.items == m_content.screens() && i == 0)
                continue;
            if (kind.items == m_content.scripts()
                && static_cast<const WdlTokenScript *>(item)->scriptType() == WdlTokenScript::ScriptType_FIRST)
                continue;
            m_content.warnings->addWarning(Diagnostics::text(kind.unused, {item->id()}), item->sourceLine());
        }
    }
}
