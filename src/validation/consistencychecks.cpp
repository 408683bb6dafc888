#include "validation/consistencychecks.h"

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
    m_content.warnings->addWarning(QStringLiteral("Meta info tag \"") + name + QStringLiteral("\" is missing."), 0);
}

void ConsistencyChecks::checkMissingItems()
{
    for (WdlToken *item : m_content.parameters()->items()) {
        const auto *param = static_cast<WdlTokenParam *>(item);
        // A parameter without a name text is named "undefined", which is not
        // empty: only a name text whose text is empty is reported.
        if (param->kind() != WdlTokenParam::KindP && param->name().isEmpty())
            m_content.warnings->addWarning(
                QStringLiteral("Parameter ") + param->id() + QStringLiteral(" is missing text."), param->sourceLine());
        // An empty list is reported with the choice lists below, not here.
        if (param->kind() == WdlTokenParam::KindVCP && !param->choiceList())
            m_content.warnings->addWarning(QStringLiteral("VCP ") + param->id()
                                               + QStringLiteral(" is missing choicelist or choicelist is empty."),
                                           param->sourceLine());
    }

    for (WdlToken *item : m_content.choiceLists()->items()) {
        if (static_cast<WdlTokenChoiceList *>(item)->choiceCount() > 0)
            continue;
        m_content.warnings->addWarning(QStringLiteral("Choicelist ") + item->id()
                                           + QStringLiteral(" doesn't have any choices."),
                                       item->sourceLine());
        qDebug() << item->id() << item->sourceLine();
    }

    for (WdlToken *item : m_content.scripts()->items()) {
        if (static_cast<WdlTokenScript *>(item)->commandCount() == 0)
            m_content.warnings->addWarning(QStringLiteral("Script ") + item->id() + QStringLiteral(" is empty."),
                                           item->sourceLine());
    }

    // Every screen but the first, where the wizard starts.
    const QList<WdlToken *> &screens = m_content.screens()->items();
    for (int i = 1; i < screens.size(); ++i) {
        const auto *screen = static_cast<WdlTokenScreen *>(screens.at(i));
        const bool hasParameters = !screen->parameters().isEmpty();
        if (!screen->overlay() && !hasParameters)
            m_content.warnings->addWarning(QStringLiteral("Screen ") + screen->id()
                                               + QStringLiteral(" must have either an overlay or a parameter."),
                                           screen->sourceLine());
        else if (screen->overlay() && hasParameters)
            m_content.warnings->addWarning(QStringLiteral("Screen ") + screen->id()
                                               + QStringLiteral(" can't have boht overlay and parameter(s)."),
                                           screen->sourceLine());
    }

    for (WdlToken *item : m_content.overlays()->items()) {
        if (!static_cast<WdlTokenOverlay *>(item)->text())
            m_content.warnings->addWarning(
                QStringLiteral("Overlay ") + item->id() + QStringLiteral(" is missing text."), item->sourceLine());
    }
}

// Relies on the reference counts of the reader and the script validation, so
// it must run after both.
void ConsistencyChecks::checkUnusedItems()
{
    struct Kind
    {
        WizardItemsModel *items;
        QLatin1String word;
    };
    // Two kind words end in a blank; the messages built from them keep both blanks.
    const Kind kinds[] = {
        {m_content.texts(), QLatin1String("Text")},
        {m_content.localParameters(), QLatin1String("Local Parameter ")},
        {m_content.parameters(), QLatin1String("Parameter ")},
        {m_content.choiceLists(), QLatin1String("Choicelist")},
        {m_content.scripts(), QLatin1String("Script")},
        {m_content.screens(), QLatin1String("Screen")},
        {m_content.overlays(), QLatin1String("Overlay")},
        {m_content.filters(), QLatin1String("Filter")},
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
            m_content.warnings->addWarning(
                kind.word + QStringLiteral(" \"") + item->id() + QStringLiteral("\" is not used."), item->sourceLine());
        }
    }
}
