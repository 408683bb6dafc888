#include "validation/lintrules.h"

#include "base/diagnostics.h"
#include "base/enumkeys.h"
#include "base/saslayout.h"
#include "core/buildproducts.h"
#include "core/warningsink.h"
#include "core/wdlheader.h"
#include "core/wizardcontent.h"
#include "core/wizarditemsmodel.h"
#include "items/scriptcommandtable.h"
#include "items/wdltokenchoicelist.h"
#include "items/wdltokenoverlay.h"
#include "items/wdltokenparam.h"
#include "items/wdltokenscreen.h"
#include "items/wdltokenscript.h"
#include "items/wdltokentext.h"
#include "reader/wdlparser.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMetaEnum>
#include <QVector>

#include <limits>

namespace {

using Finding = LintRules::Finding;
using Operand = ScriptCommandTable::Operand;

// An item number that shares its field with a copy command's setup word
// keeps the bits below the word's.
constexpr int kSetupWordUnit = 1 << SasLayout::kSourceSetupShift;

// What a rule sees, and where it reports.
struct Context
{
    const WizardContent &content;
    const SourcePositions &positions;
    const BuildProducts *build;
    QString rule;
    QList<Finding> *out;

    void report(const SourcePosition &where, Diagnostics::Id id, const QStringList &arguments = {}) const
    {
        Q_ASSERT(Diagnostics::entry(id).rule == rule);
        out->append({rule, where, Diagnostics::text(id, arguments)});
    }
    // A message that another layer wrote, reported under this rule.
    void report(const SourcePosition &where, const QString &message) const { out->append({rule, where, message}); }

    // The line that last set subject's field (the one that counts), else
    // the subject's head.
    SourcePosition last(const void *subject, int field) const
    {
        const QList<SourcePosition> all = positions.all(subject, field);
        return all.isEmpty() ? positions.at(subject) : all.last();
    }
    SourcePosition command(const WdlTokenScript *script, int i) const
    {
        return positions.at(script, SourcePositions::Command + i);
    }
};

using Check = void (*)(const Context &);

struct RuleRow
{
    const char *name;
    Check check;
};

template<class T> QList<T *> itemsOf(const WizardItemsModel *model)
{
    QList<T *> out;
    for (WdlToken *item : model->items())
        out.append(static_cast<T *>(item));
    return out;
}

// "main.wdl:12", to point from one finding at the line it conflicts with.
QString place(const SourcePosition &p)
{
    return p.file + QLatin1Char(':') + QString::number(p.line);
}

QString keyName(int key)
{
    return QString::fromLatin1(QMetaEnum::fromType<WdlTokenOverlay::OverlayCommands>().valueToKey(key));
}

QString headerTagName(int tag)
{
    return QString::fromLatin1(
        QMetaEnum::fromType<WdlParser::Commands>().valueToKey(WdlParser::FILE_FORMAT_VERSION + tag));
}

bool fitsSixteenBits(qint64 value)
{
    return value >= std::numeric_limits<qint16>::min() && value <= std::numeric_limits<quint16>::max();
}

QString asStored16(qint64 value)
{
    return QString::number(quint16(value));
}

// How many single-letter slips (a letter added, dropped, changed, or two
// swapped) turn a into b, letter case ignored; stops at limit + 1.
int slips(const QString &a, const QString &b, int limit)
{
    if (qAbs(a.size() - b.size()) > limit)
        return limit + 1;
    const QString x = a.toLower();
    const QString y = b.toLower();
    QVector<QVector<int>> d(x.size() + 1, QVector<int>(y.size() + 1));
    for (int i = 0; i <= x.size(); ++i)
        d[i][0] = i;
    for (int j = 0; j <= y.size(); ++j)
        d[0][j] = j;
    for (int i = 1; i <= x.size(); ++i) {
        for (int j = 1; j <= y.size(); ++j) {
            const int change = x.at(i - 1) == y.at(j - 1) ? 0 : 1;
            d[i][j] = qMin(qMin(d[i - 1][j] + 1, d[i][j - 1] + 1), d[i - 1][j - 1] + change);
            if (i > 1 && j > 1 && x.at(i - 1) == y.at(j - 2) && x.at(i - 2) == y.at(j - 1))
                d[i][j] = qMin(d[i][j], d[i - 2][j - 2] + 1);
        }
    }
    return d[x.size()][y.size()];
}

// " Did you mean start?" for the candidate a slip of the keyboard away from
// word (one slip per three letters, at most three), the first of the closest;
// empty when none is.
class Suggestion
{
public:
    // Each rule run compares at most this many words, so that a wizard full
    // of typos costs no more than a few.
    static constexpr int kWords = 64;

    QString operator()(const QString &word, const QStringList &candidates)
    {
        if (m_words >= kWords)
            return QString();
        ++m_words;
        const int limit = qBound(1, word.size() / 3, 3);
        QString best;
        int bestSlips = limit + 1;
        for (const QString &candidate : candidates) {
            const int n = slips(word, candidate, limit);
            if (n < bestSlips && candidate != word) {
                best = candidate;
                bestSlips = n;
            }
        }
        return best.isEmpty() ? QString() : QStringLiteral(" Did you mean ") + best + QLatin1Char('?');
    }

private:
    int m_words = 0;
};

// A number argument as the validator read it; false when it is none.
bool numberArgument(const ScriptCommand &command, int k, int *value)
{
    bool ok = false;
    *value = command.arguments[k].toInt(&ok, 10);
    return ok;
}

// Each command the validator recognised, with its row of the command table
// and its place in the script.
template<class Visit> void forEachCommand(const WdlTokenScript *script, Visit visit)
{
    for (int i = 0; i < script->commandCount(); ++i) {
        const ScriptCommand command = script->getCommand(i);
        if (command.cmdType != WdlTokenScript::UNDEFINED)
            visit(i, command, ScriptCommandTable::row(command.cmdType));
    }
}

void undefinedScreen(const Context &c)
{
    const QList<WdlTokenScreen *> screens = itemsOf<WdlTokenScreen>(c.content.screens());
    QStringList ids;
    for (const WdlTokenScreen *screen : screens)
        ids.append(screen->id());
    Suggestion suggest;
    for (const WdlTokenScreen *screen : screens) {
        const WdlTokenScreen *next = screen->nextScreen();
        if (!next || c.content.screens()->itemById(next->id()) == next)
            continue;
        const SourcePosition where = c.last(screen, SourcePositions::NextScreen).about(next->id());
        // A screen is defined once its block has been read: named inside
        // that block, it is a screen of its own that no block defines.
        if (next->id() == screen->id())
            c.report(where, Diagnostics::NextScreenNamesItself, {screen->id()});
        else
            c.report(where, Diagnostics::NextScreenNotDefined, {next->id(), suggest(next->id(), ids)});
    }
}

// Labels belong to the script that marks them: a branch never leaves its script.
void labels(const Context &c)
{
    for (const WdlTokenScript *script : itemsOf<WdlTokenScript>(c.content.scripts())) {
        QHash<int, int> markedAt;
        struct Branch
        {
            int command;
            QString argument;
            int label;
        };
        QList<Branch> branches;
        forEachCommand(script, [&](int i, const ScriptCommand &command, const ScriptCommandTable::Row &row) {
            for (int k = 0; k < 3; ++k) {
                int label = 0;
                if ((row.operands[k] != Operand::Label && row.operands[k] != Operand::LabelMark)
                    || !numberArgument(command, k, &label))
                    continue;
                if (row.operands[k] == Operand::Label) {
                    branches.append({i, command.arguments[k], label});
                } else if (markedAt.contains(label)) {
                    c.report(c.command(script, i).about(command.arguments[k]), Diagnostics::LabelMarkedTwice,
                             {command.arguments[k], script->id(), place(c.command(script, markedAt.value(label)))});
                } else {
                    markedAt.insert(label, i);
                }
            }
        });
        for (const Branch &b : qAsConst(branches)) {
            if (!markedAt.contains(b.label))
                c.report(c.command(script, b.command).about(b.argument), Diagnostics::LabelNotMarked,
                         {b.argument, script->id()});
        }
    }
}

void unknownAction(const Context &c)
{
    const QMetaEnum actionTypes = QMetaEnum::fromType<WdlTokenOverlay::ActionTypes>();
    QStringList actions;
    for (int i = 0; i < actionTypes.keyCount(); ++i)
        actions.append(QString::fromLatin1(actionTypes.key(i)));
    Suggestion suggest;
    for (const WdlTokenOverlay *overlay : itemsOf<WdlTokenOverlay>(c.content.overlays())) {
        for (int k = 0; k < WdlTokenOverlay::kKeyCount; ++k) {
            const QString action = overlay->action(k);
            if (action.isEmpty() || EnumKeys::of<WdlTokenOverlay::ActionTypes>().value(action) >= 0)
                continue;
            c.report(c.last(overlay, SourcePositions::OverlayKey + k).about(action), Diagnostics::UnknownAction,
                     {keyName(k), overlay->id(), action, suggest(action, actions)});
        }
    }
}

void truncatedHeader(const Context &c)
{
    const SourcePosition type = c.last(c.content.header, SourcePositions::HeaderTag + WdlHeader::ProductTypeTag);
    bool ok = false;
    const int productType = type.word.toInt(&ok, 10);
    if (type.isKnown() && ok && (productType < 0 || productType > std::numeric_limits<quint16>::max()))
        c.report(type, Diagnostics::TruncatedProductType, {type.word, asStored16(productType)});
    for (int tag : {WdlHeader::FileFormatVersionTag, WdlHeader::FileVersionTag, WdlHeader::DatabaseVersionTag}) {
        const SourcePosition version = c.last(c.content.header, SourcePositions::HeaderTag + tag);
        if (!version.isKnown())
            continue;
        for (const QString &piece : version.word.split(QLatin1Char('.'), Qt::SkipEmptyParts)) {
            const int number = piece.toInt(&ok, 10);
            if (ok && (number < 0 || number > std::numeric_limits<quint16>::max()))
                c.report(version, Diagnostics::TruncatedVersion,
                         {headerTagName(tag), version.word, piece, asStored16(number)});
        }
    }
}

void truncatedScript(const Context &c, const WdlTokenScript *script)
{
    if (script->commandCount() > std::numeric_limits<quint8>::max())
        c.report(
            c.positions.at(script), Diagnostics::TruncatedCommandCount,
            {script->id(), QString::number(script->commandCount()), QString::number(quint8(script->commandCount()))});
    forEachCommand(script, [&](int i, const ScriptCommand &command, const ScriptCommandTable::Row &row) {
        for (int k = 0; k < 3; ++k) {
            int number = 0;
            if (!ScriptCommandTable::isNumber(row.operands[k]) || !numberArgument(command, k, &number)
                || fitsSixteenBits(number))
                continue;
            c.report(c.command(script, i).about(command.arguments[k]), Diagnostics::TruncatedNumber,
                     {command.arguments[k], command.mnemonic, asStored16(number)});
        }
        if (row.encoding != ScriptCommandTable::Encoding::CopyWithSetups || command.operandValues[2] <= 0)
            return;
        const WdlToken *shared = command.operandItems[row.setupField];
        if (shared && shared->getIndex() >= kSetupWordUnit) {
            c.report(c.command(script, i).about(command.arguments[row.setupField]), Diagnostics::TruncatedSetupOperand,
                     {shared->id(), QString::number(shared->getIndex()), command.mnemonic,
                      QString::number(shared->getIndex() % kSetupWordUnit)});
        }
    });
}

void truncated(const Context &c)
{
    truncatedHeader(c);
    for (const WdlTokenParam *param : itemsOf<WdlTokenParam>(c.content.parameters())) {
        const int number = param->parameterNumber();
        if (param->kind() != WdlTokenParam::KindP || (number >= 0 && number <= std::numeric_limits<quint16>::max()))
            continue;
        c.report(c.positions.at(param).about(QString::number(number)), Diagnostics::TruncatedParameterNumber,
                 {param->id(), QString::number(number), asStored16(number)});
    }
    for (const WdlTokenChoiceList *list : itemsOf<WdlTokenChoiceList>(c.content.choiceLists())) {
        if (list->choiceCount() > std::numeric_limits<quint8>::max())
            c.report(c.positions.at(list), Diagnostics::TruncatedChoiceCount,
                     {list->id(), QString::number(list->choiceCount()), QString::number(quint8(list->choiceCount()))});
        if (list->defaultChoice() > std::numeric_limits<quint8>::max())
            c.report(
                c.last(list, SourcePositions::DefaultChoice), Diagnostics::TruncatedDefaultChoice,
                {list->id(), QString::number(list->defaultChoice()), QString::number(quint8(list->defaultChoice()))});
    }
    for (const WdlTokenScript *script : itemsOf<WdlTokenScript>(c.content.scripts()))
        truncatedScript(c, script);
}

void range(const Context &c)
{
    for (const WdlTokenParam *param : itemsOf<WdlTokenParam>(c.content.parameters())) {
        if (param->kind() != WdlTokenParam::KindVP)
            continue;
        const int min = param->minValue();
        const int max = param->maxValue();
        const int val = param->defaultValue();
        if (min > max) {
            c.report(c.last(param, SourcePositions::Min), Diagnostics::MinAboveMax,
                     {QString::number(min), param->id(), QString::number(max)});
        } else if (val < min || val > max) {
            c.report(c.last(param, SourcePositions::Val), Diagnostics::DefaultOutsideLimits,
                     {QString::number(val), param->id(), QString::number(min), QString::number(max)});
        }
    }
}

// Every line after the first that sets the same field: the message's pieces
// are what names the field, then the line before.
void repeated(const Context &c, const void *subject, int field, Diagnostics::Id id, const QStringList &what)
{
    const QList<SourcePosition> lines = c.positions.all(subject, field);
    for (int i = 1; i < lines.size(); ++i)
        c.report(lines.at(i), id, QStringList(what) << place(lines.at(i - 1)));
}

// Items of one kind that share an id: everything that names the id finds the first.
void sharedIds(const Context &c, const WizardItemsModel *model, const QString &kind)
{
    QHash<QString, const WdlToken *> first;
    for (const WdlToken *item : model->items()) {
        const auto it = first.constFind(item->id());
        if (it == first.cend()) {
            first.insert(item->id(), item);
            continue;
        }
        c.report(c.positions.at(item), Diagnostics::RedefinedId, {kind, item->id(), place(c.positions.at(*it))});
    }
}

void redefined(const Context &c)
{
    for (int tag = 0; tag < WdlHeader::TagCount; ++tag)
        repeated(c, c.content.header, SourcePositions::HeaderTag + tag, Diagnostics::RedefinedHeaderTag,
                 {headerTagName(tag)});
    for (const WdlTokenText *text : itemsOf<WdlTokenText>(c.content.texts())) {
        repeated(c, text, SourcePositions::TextLine, Diagnostics::RedefinedText, {text->id()});
        repeated(c, text, SourcePositions::HelpLine, Diagnostics::RedefinedHelp, {text->id()});
    }
    static const struct
    {
        int field;
        const char *tag;
    } kVpFields[] = {{SourcePositions::Min, "MIN"},
                     {SourcePositions::Max, "MAX"},
                     {SourcePositions::Val, "VAL"},
                     {SourcePositions::Scale, "SCALE"},
                     {SourcePositions::UnitText, "UT"}};
    for (const WdlTokenParam *param : itemsOf<WdlTokenParam>(c.content.parameters())) {
        for (const auto &f : kVpFields)
            repeated(c, param, f.field, Diagnostics::RedefinedVpField, {QLatin1String(f.tag), param->id()});
    }
    for (const WdlTokenOverlay *overlay : itemsOf<WdlTokenOverlay>(c.content.overlays())) {
        for (int k = 0; k < WdlTokenOverlay::kKeyCount; ++k)
            repeated(c, overlay, SourcePositions::OverlayKey + k, Diagnostics::RedefinedOverlayKey,
                     {keyName(k), overlay->id()});
    }
    sharedIds(c, c.content.localParameters(), QStringLiteral("Local parameter"));
    sharedIds(c, c.content.parameters(), QStringLiteral("Parameter"));
    sharedIds(c, c.content.choiceLists(), QStringLiteral("Choice list"));
    sharedIds(c, c.content.filters(), QStringLiteral("Filter"));
    sharedIds(c, c.content.scripts(), QStringLiteral("Script"));
}

void nsAndNss(const Context &c)
{
    for (const WdlTokenScreen *screen : itemsOf<WdlTokenScreen>(c.content.screens())) {
        const WdlTokenScript *script = screen->nextScreenScript();
        if (!screen->nextScreen() || !script)
            continue;
        c.report(c.last(screen, SourcePositions::NextScreenScript).about(script->id()), Diagnostics::NsAndNss,
                 {screen->id(), screen->nextScreen()->id(), script->id()});
    }
}

void defaultChoice(const Context &c)
{
    for (const WdlTokenChoiceList *list : itemsOf<WdlTokenChoiceList>(c.content.choiceLists())) {
        const QList<SourcePosition> stars = c.positions.all(list, SourcePositions::DefaultChoice);
        for (int i = 1; i < stars.size(); ++i)
            c.report(stars.at(i), Diagnostics::SecondDefaultChoice, {list->id(), place(stars.at(i - 1))});
    }
}

// What the panel can show, walked from the first screen and the first-screen
// script: next screens, the scripts a screen runs, and the screens and
// scripts those name with SNS and CALL. Every script a screen runs counts, so
// that no screen a script may lead to is called unreachable.
void unreachable(const Context &c)
{
    const QList<WdlTokenScreen *> screens = itemsOf<WdlTokenScreen>(c.content.screens());
    if (screens.isEmpty())
        return;
    QSet<const WdlToken *> seen;
    QList<const WdlToken *> queue;
    const auto visit = [&](const WdlToken *item) {
        if (item && !seen.contains(item)) {
            seen.insert(item);
            queue.append(item);
        }
    };
    visit(screens.first());
    for (const WdlTokenScript *script : itemsOf<WdlTokenScript>(c.content.scripts())) {
        if (script->scriptType() == WdlTokenScript::ScriptType_FIRST)
            visit(script);
    }
    for (int i = 0; i < queue.size(); ++i) {
        if (const auto *screen = qobject_cast<const WdlTokenScreen *>(queue.at(i))) {
            visit(screen->nextScreen());
            visit(screen->preScreenScript());
            visit(screen->pss());
            visit(screen->nextScreenScript());
            for (const WdlTokenParam *param : screen->parameters())
                visit(param->writeScript());
        } else if (const auto *script = qobject_cast<const WdlTokenScript *>(queue.at(i))) {
            for (int k = 0; k < script->commandCount(); ++k) {
                const ScriptCommand command = script->getCommand(k);
                const ScriptCommandTable::Row row = ScriptCommandTable::row(command.cmdType);
                for (int a = 0; a < 3; ++a) {
                    if (row.operands[a] == Operand::Screen || row.operands[a] == Operand::Script)
                        visit(command.operandItems[a]);
                }
            }
        }
    }
    for (const WdlTokenScreen *screen : screens) {
        // A screen nothing names is reported as not used already.
        if (seen.contains(screen) || screen->referenceCount() == 0)
            continue;
        c.report(c.positions.at(screen), Diagnostics::UnreachableScreen, {screen->id(), screens.first()->id()});
    }
}

// A file the build read, named relative to the top-level file's directory as
// the files a wizard includes are.
SourcePosition inBuildFile(const Context &c, const QString &path, int line)
{
    const QDir wizardDirectory = QFileInfo(c.content.warnings->currentFile()).absoluteDir();
    return {wizardDirectory.relativeFilePath(QFileInfo(path).absoluteFilePath()), line, QString()};
}

void translation(const Context &c)
{
    if (!c.build)
        return;
    for (const BuildProducts::Problem &problem : c.build->problems) {
        if (problem.source == BuildProducts::Problem::TranslationFile)
            c.report(inBuildFile(c, problem.file, problem.line), problem.text);
    }
}

// The flash name and the path of a CSIV file are looked up as written: a
// translation that changes them names a file the drive does not have. A copy
// of the English text, as the template hands it to translators, is fine.
void translatedFileName(const Context &c)
{
    if (!c.build)
        return;
    QHash<QString, QString> fileTexts;
    for (const WdlTokenScript *script : itemsOf<WdlTokenScript>(c.content.scripts())) {
        forEachCommand(script, [&](int, const ScriptCommand &command, const ScriptCommandTable::Row &row) {
            for (int k = 0; k < 3; ++k) {
                const bool isName = row.operands[k] == Operand::CsivName;
                if ((!isName && row.operands[k] != Operand::CsivPath) || !command.operandItems[k])
                    continue;
                const auto *text = static_cast<const WdlTokenText *>(command.operandItems[k]);
                fileTexts.insert(text->id(), isName ? QStringLiteral("flash name") : QStringLiteral("path"));
            }
        });
    }
    for (const BuildProducts::TranslatedText &entry : c.build->translatedTexts) {
        const auto it = fileTexts.constFind(entry.textId);
        if (entry.isHelp || it == fileTexts.cend())
            continue;
        const auto *text = c.content.texts()->byId<WdlTokenText>(entry.textId);
        const QString english = c.build->csivPathTexts.value(entry.textId, text ? text->getText() : QString());
        if (entry.content == english)
            continue;
        c.report(inBuildFile(c, entry.file, entry.line), Diagnostics::TranslatedFileName,
                 {entry.textId, *it, english, entry.content});
    }
}

void emptyTranslation(const Context &c)
{
    if (!c.build)
        return;
    for (const BuildProducts::TranslatedText &entry : c.build->translatedTexts) {
        const auto *text = c.content.texts()->byId<WdlTokenText>(entry.textId);
        const QString english = !text ? QString() : entry.isHelp ? text->getHelp() : text->getText();
        if (!entry.content.isEmpty() || english.isEmpty())
            continue;
        c.report(inBuildFile(c, entry.file, entry.line),
                 entry.isHelp ? Diagnostics::EmptyTranslatedHelp : Diagnostics::EmptyTranslatedText, {entry.textId});
    }
}

// One row per rule: its -W name and the check. The rules' summaries and
// messages are in the diagnostics catalogue, in this order.
const RuleRow kRules[] = {
    {"undefined-screen", undefinedScreen},
    {"label", labels},
    {"unknown-action", unknownAction},
    {"truncated", truncated},
    {"range", range},
    {"redefined", redefined},
    {"ns-nss", nsAndNss},
    {"default-choice", defaultChoice},
    {"unreachable", unreachable},
    {"translation", translation},
    {"translated-file-name", translatedFileName},
    {"empty-translation", emptyTranslation},
};

} // namespace

const QList<LintRules::Rule> &LintRules::rules()
{
    static const QList<Rule> all = [] {
        QList<Rule> out;
        for (const RuleRow &row : kRules) {
            const QString name = QString::fromLatin1(row.name);
            const Diagnostics::Rule *rule = Diagnostics::rule(name);
            out.append({name, rule ? rule->summary : QString()});
        }
        return out;
    }();
    return all;
}

bool LintRules::isRule(const QString &name)
{
    for (const RuleRow &row : kRules) {
        if (name == QLatin1String(row.name))
            return true;
    }
    return false;
}

LintRules::LintRules(const WizardContent &content, const SourcePositions &positions, const BuildProducts *build)
    : m_content(content), m_positions(positions), m_build(build)
{
}

QList<LintRules::Finding> LintRules::run(const QSet<QString> &enabled) const
{
    QList<Finding> findings;
    for (const RuleRow &row : kRules) {
        const QString name = QString::fromLatin1(row.name);
        if (enabled.contains(name))
            row.check(Context{m_content, m_positions, m_build, name, &findings});
    }
    return findings;
}
