#include "output/wdlformatter.h"

#include "core/wdlheader.h"
#include "core/wizardcontent.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltokenfilter.h"
#include "items/wdltokenoverlay.h"
#include "items/wdltokenparam.h"
#include "items/wdltokenscreen.h"
#include "items/wdltokenscript.h"
#include "output/wdlwriter.h"
#include "reader/wdlparser.h"

#include <QHash>
#include <QMetaEnum>
#include <QSet>

namespace {

using Keyword = WdlParser::Commands;

static_assert(WdlParser::RIGHT_ACTION - WdlParser::OK_ACTION == WdlTokenOverlay::RIGHT_ACTION,
              "the overlay keys' keywords follow OK_ACTION in key order");
static_assert(WdlParser::FIRST_SCREEN_SCRIPT - WdlParser::WS
                  == WdlTokenScript::ScriptType_FIRST - WdlTokenScript::ScriptType_WS,
              "the script keywords follow WS in script type order");

// "TAG: ", spelt as the reader looks it up.
QString tag(Keyword keyword)
{
    return QLatin1String(QMetaEnum::fromType<Keyword>().valueToKey(keyword)) + QStringLiteral(": ");
}

Keyword scriptKeyword(int scriptType)
{
    return Keyword(WdlParser::WS + scriptType - WdlTokenScript::ScriptType_WS);
}

// The keyword that names a script in a slot. The next-screen slot reads NSS
// and WS alike; a write script there keeps WS, so that the line can also
// define it.
Keyword slotKeyword(Keyword slot, const WdlTokenScript *script)
{
    if (slot == WdlParser::NSS && script->scriptType() == WdlTokenScript::ScriptType_WS)
        return WdlParser::WS;
    return slot;
}

template<class T> QList<T *> itemsOf(const WizardItemsModel *model)
{
    QList<T *> out;
    out.reserve(model->count());
    for (WdlToken *item : model->items())
        out.append(static_cast<T *>(item));
    return out;
}

QString textLines(const WdlTokenText *text)
{
    QString out = text->toString(false);
    // The reader takes an empty pair of quotes for the line's text before
    // them; a T line without quotes is the empty text.
    if (text->getText().isEmpty())
        out.remove(tag(WdlParser::T).size() + text->id().size(), 3);
    return out;
}

QString filterLine(const WdlTokenFilter *filter)
{
    // The reader sizes the bits up to the highest index, so the dump ends on
    // a set bit and closes its quotes. A filter that passes nothing is a list
    // without indexes: "" would read as the text before the quotes.
    if (filter->bits().count(true) > 0)
        return filter->toString(false);
    return tag(filter->isClf() ? WdlParser::CLF : WdlParser::APF) + filter->id() + QStringLiteral(" \",\"\n");
}

// Writes the blocks that hold other blocks, in file order: the parameters at
// top level, then the screens, each defining the items it is the first to
// use. The walk runs twice. The first run finds which items a block can
// define; the scripts and choice lists that none can are written at top
// level before the second run, which takes them as known.
class BlockWriter
{
public:
    // Writes the item at top level and takes it as known from then on.
    void topLevelParameter(const WdlTokenParam *param);
    void topLevelScript(const WdlTokenScript *script);
    void topLevelChoiceList(const WdlTokenChoiceList *list);
    void screen(const WdlTokenScreen *screen);

    // Whether the walk so far has written the item in full inside a block.
    bool definedInBlock(const WdlToken *item) const { return m_definedInBlock.contains(item); }
    // The text written since the last call.
    QString take();

private:
    void line(int depth, const QString &text);
    void openBlock(int depth);
    void closeBlock(int depth);
    // True the first time an item is met; later uses name it.
    bool firstUse(const WdlToken *item);
    void markDefined(const WdlToken *item, int depth);

    void parameter(const WdlTokenParam *param, int depth);
    void defineParameter(const WdlTokenParam *param, int depth);
    void script(Keyword slot, const WdlTokenScript *script, int depth);
    void choiceList(const WdlTokenChoiceList *list, int depth);
    void overlay(const WdlTokenOverlay *overlay, int depth);

    QString m_out;
    QSet<const WdlToken *> m_known;
    QSet<const WdlToken *> m_definedInBlock;
};

QString BlockWriter::take()
{
    QString out;
    out.swap(m_out);
    return out;
}

void BlockWriter::line(int depth, const QString &text)
{
    m_out += QString(3 * depth, QLatin1Char(' ')) + text + QLatin1Char('\n');
}

void BlockWriter::openBlock(int depth)
{
    line(depth, QStringLiteral("{"));
}

// An empty line after each top-level block, as the writer's dumps end theirs.
void BlockWriter::closeBlock(int depth)
{
    line(depth, QStringLiteral("}"));
    if (depth == 0)
        m_out += QLatin1Char('\n');
}

bool BlockWriter::firstUse(const WdlToken *item)
{
    if (m_known.contains(item))
        return false;
    m_known.insert(item);
    return true;
}

void BlockWriter::markDefined(const WdlToken *item, int depth)
{
    if (depth > 0)
        m_definedInBlock.insert(item);
}

void BlockWriter::topLevelParameter(const WdlTokenParam *param)
{
    firstUse(param);
    defineParameter(param, 0);
}

void BlockWriter::topLevelScript(const WdlTokenScript *s)
{
    script(scriptKeyword(s->scriptType()), s, 0);
}

void BlockWriter::topLevelChoiceList(const WdlTokenChoiceList *list)
{
    choiceList(list, 0);
}

// The screen's write script is left out: the reader never sets it, a WS line
// in a screen sets the next-screen script.
void BlockWriter::screen(const WdlTokenScreen *screen)
{
    const int parameters = screen->parameters().size();
    const Keyword keyword = parameters == 0   ? WdlParser::SCREEN_OVERLAY
                            : parameters == 1 ? WdlParser::SCREEN_SINGLE_PARAM
                                              : WdlParser::SCREEN_DUAL_PARAM;
    line(0, tag(keyword) + screen->id());
    openBlock(0);
    if (screen->preScreenScript())
        script(WdlParser::PRE_SCREEN_SCRIPT, screen->preScreenScript(), 1);
    for (const WdlTokenParam *param : screen->parameters())
        parameter(param, 1);
    if (screen->overlay())
        overlay(screen->overlay(), 1);
    if (screen->pss())
        script(WdlParser::PSS, screen->pss(), 1);
    if (screen->nextScreen())
        line(1, tag(WdlParser::NS) + screen->nextScreen()->id());
    if (screen->nextScreenScript())
        script(WdlParser::NSS, screen->nextScreenScript(), 1);
    closeBlock(0);
}

void BlockWriter::parameter(const WdlTokenParam *param, int depth)
{
    if (firstUse(param)) {
        defineParameter(param, depth);
        return;
    }
    static const Keyword kKeywords[] = {WdlParser::P, WdlParser::VP, WdlParser::VCP};
    line(depth, tag(kKeywords[param->kind()]) + param->id());
}

// The lines of the parameter dumps, with the blocks they name written where
// they are first used.
void BlockWriter::defineParameter(const WdlTokenParam *param, int depth)
{
    const int inner = depth + 1;
    switch (param->kind()) {
    case WdlTokenParam::KindP:
        line(depth, tag(WdlParser::P) + param->id() + QLatin1Char(' ') + QString::number(param->parameterNumber()));
        if (param->isBare())
            return;
        openBlock(depth);
        if (param->text())
            line(inner, tag(WdlParser::TO) + param->text()->id());
        if (param->clf())
            line(inner, tag(WdlParser::CLF) + param->clf()->id());
        if (param->apf())
            line(inner, tag(WdlParser::APF) + param->apf()->id());
        break;
    case WdlTokenParam::KindVP:
        line(depth, tag(WdlParser::VP) + param->id());
        openBlock(depth);
        if (param->text()) {
            line(inner, tag(WdlParser::T) + param->text()->id());
            if (!param->text()->getHelp().isEmpty())
                line(inner, tag(WdlParser::H) + param->text()->id());
        }
        if (param->unitText())
            line(inner, tag(WdlParser::UT) + param->unitText()->id());
        line(inner, tag(WdlParser::MIN) + QString::number(param->minValue()));
        line(inner, tag(WdlParser::VAL) + QString::number(param->defaultValue()));
        line(inner, tag(WdlParser::MAX) + QString::number(param->maxValue()));
        line(inner, tag(WdlParser::SCALE) + QString::number(param->scaleValue()));
        break;
    default: // KindVCP
        line(depth, tag(WdlParser::VCP) + param->id());
        openBlock(depth);
        if (param->text()) {
            line(inner, tag(WdlParser::T) + param->text()->id());
            line(inner, tag(WdlParser::H) + param->text()->id());
        }
        if (param->choiceList())
            choiceList(param->choiceList(), inner);
        break;
    }
    if (param->writeScript())
        script(WdlParser::WS, param->writeScript(), inner);
    closeBlock(depth);
}

// A line for a script not yet known defines it with its keyword's type. A
// script first met where its keyword gives another type stays a name: the
// first run leaves it to the top level, which the second run has written.
void BlockWriter::script(Keyword slot, const WdlTokenScript *s, int depth)
{
    const Keyword keyword = slotKeyword(slot, s);
    line(depth, tag(keyword) + s->id());
    if (!firstUse(s) || keyword != scriptKeyword(s->scriptType()))
        return;
    markDefined(s, depth);
    openBlock(depth);
    const QStringList commands = s->getScriptText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &command : commands)
        line(depth + 1, command);
    closeBlock(depth);
}

// The default entry is starred, also the first: the dump leaves it out.
void BlockWriter::choiceList(const WdlTokenChoiceList *list, int depth)
{
    line(depth, tag(WdlParser::CL) + list->id());
    if (!firstUse(list))
        return;
    markDefined(list, depth);
    openBlock(depth);
    const QList<WdlTokenText *> choices = list->getChoices();
    for (int i = 0; i < choices.size(); ++i)
        line(depth + 1, choices.at(i)->id() + (i == list->defaultChoice() ? QStringLiteral("*") : QString()));
    closeBlock(depth);
}

// Keys that were never set are left out: a key line without an action does
// not read back.
void BlockWriter::overlay(const WdlTokenOverlay *overlay, int depth)
{
    line(depth, tag(WdlParser::OVERLAY) + overlay->id());
    if (!firstUse(overlay))
        return;
    markDefined(overlay, depth);
    openBlock(depth);
    if (overlay->text())
        line(depth + 1, tag(WdlParser::T) + overlay->text()->id());
    for (int key = 0; key < WdlTokenOverlay::kKeyCount; ++key) {
        if (!overlay->action(key).isEmpty())
            line(depth + 1, tag(Keyword(WdlParser::OK_ACTION + key)) + overlay->action(key));
    }
    closeBlock(depth);
}

} // namespace

WdlFormatter::WdlFormatter(WizardItemsModel *const *models, const WdlHeader *header)
    : m_models(models), m_header(header)
{
}

// Regions in the writer's order, except that the scripts come before the
// parameters: a top-level parameter may name a script that only the top
// level can define.
QString WdlFormatter::text() const
{
    const auto parameters = itemsOf<WdlTokenParam>(m_models[WizardContent::ParametersSlot]);
    const auto screens = itemsOf<WdlTokenScreen>(m_models[WizardContent::ScreensSlot]);
    const auto scripts = itemsOf<WdlTokenScript>(m_models[WizardContent::ScriptsSlot]);
    const auto choiceLists = itemsOf<WdlTokenChoiceList>(m_models[WizardContent::ChoiceListsSlot]);

    // A bare drive parameter is declared at top level and named by its
    // screens; a parameter on no screen, named only by scripts, has no other
    // place.
    QSet<const WdlTokenParam *> onScreens;
    for (const WdlTokenScreen *screen : screens) {
        for (const WdlTokenParam *param : screen->parameters())
            onScreens.insert(param);
    }
    QList<const WdlTokenParam *> topLevelParameters;
    for (const WdlTokenParam *param : parameters) {
        if ((param->kind() == WdlTokenParam::KindP && param->isBare()) || !onScreens.contains(param))
            topLevelParameters.append(param);
    }

    BlockWriter firstRun;
    for (const WdlTokenParam *param : qAsConst(topLevelParameters))
        firstRun.topLevelParameter(param);
    for (const WdlTokenScreen *screen : screens)
        firstRun.screen(screen);

    // Scripts that share an id all stay at top level, in their order, so that
    // the id still names the first of them: a block line for a known id never
    // defines a script. (Without warnings, such a twin can only be a
    // FIRST_SCREEN_SCRIPT, which the unused-items check leaves alone.)
    QHash<QString, int> scriptsById;
    for (const WdlTokenScript *script : scripts)
        ++scriptsById[script->id()];
    BlockWriter writer;
    for (const WdlTokenScript *script : scripts) {
        if (!firstRun.definedInBlock(script) || scriptsById.value(script->id()) > 1)
            writer.topLevelScript(script);
    }
    const QString scriptText = writer.take();
    for (const WdlTokenParam *param : qAsConst(topLevelParameters))
        writer.topLevelParameter(param);
    const QString parameterText = writer.take();
    for (const WdlTokenChoiceList *list : choiceLists) {
        if (!firstRun.definedInBlock(list))
            writer.topLevelChoiceList(list);
    }
    const QString choiceListText = writer.take();
    for (const WdlTokenScreen *screen : screens)
        writer.screen(screen);
    const QString screenText = writer.take();

    QString texts;
    for (const WdlTokenText *text : itemsOf<WdlTokenText>(m_models[WizardContent::TextsSlot]))
        texts += textLines(text);
    QString choiceListFilters;
    QString arrayFilters;
    for (const WdlTokenFilter *filter : itemsOf<WdlTokenFilter>(m_models[WizardContent::FiltersSlot]))
        (filter->isClf() ? choiceListFilters : arrayFilters) += filterLine(filter);
    QString localParameters;
    for (const WdlToken *local : m_models[WizardContent::LocalParametersSlot]->items())
        localParameters += local->toString(false);

    return WdlWriter::headerBlock(*m_header) + WdlWriter::region(WdlWriter::TextRegion, texts)
           + WdlWriter::region(WdlWriter::ChoiceListFilterRegion, choiceListFilters)
           + WdlWriter::region(WdlWriter::ArrayFilterRegion, arrayFilters)
           + WdlWriter::region(WdlWriter::LocalParameterRegion, localParameters)
           + WdlWriter::region(WdlWriter::ScriptRegion, scriptText)
           + WdlWriter::region(WdlWriter::ParameterRegion, parameterText)
           + WdlWriter::region(WdlWriter::ChoiceListRegion, choiceListText)
           + WdlWriter::region(WdlWriter::ScreenRegion, screenText);
}
