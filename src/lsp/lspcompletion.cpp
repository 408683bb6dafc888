#include "lsp/lspcompletion.h"

#include "items/scriptcommandtable.h"
#include "items/wdltokenoverlay.h"
#include "items/wdltokenscript.h"
#include "lsp/wizardindex.h"
#include "reader/wdlline.h"
#include "reader/wdlparser.h"

#include <QJsonObject>
#include <QMetaEnum>

namespace {

using Kind = SourceSymbols::Kind;
using Operand = ScriptCommandTable::Operand;
using P = WdlParser;

// The protocol's CompletionItemKind values.
enum ItemKind {
    TextItem = 1,
    FunctionItem = 3,
    VariableItem = 6,
    ClassItem = 7,
    InterfaceItem = 8,
    PropertyItem = 10,
    EnumItem = 13,
    KeywordItem = 14,
    EnumMemberItem = 20,
    StructItem = 22
};

int itemKindOf(Kind kind)
{
    switch (kind) {
    case SourceSymbols::Text:
        return TextItem;
    case SourceSymbols::ChoiceList:
        return EnumItem;
    case SourceSymbols::Filter:
        return StructItem;
    case SourceSymbols::LocalParameter:
        return VariableItem;
    case SourceSymbols::Screen:
        return ClassItem;
    case SourceSymbols::Overlay:
        return InterfaceItem;
    case SourceSymbols::Script:
        return FunctionItem;
    default:
        return PropertyItem;
    }
}

QString keyOf(int keyword)
{
    return QLatin1String(QMetaEnum::fromType<WdlParser::Commands>().valueToKey(keyword));
}

QString operandName(Operand operand)
{
    switch (operand) {
    case Operand::Number:
        return QStringLiteral("number");
    case Operand::Label:
        return QStringLiteral("label");
    case Operand::Screen:
        return QStringLiteral("screen");
    case Operand::Script:
        return QStringLiteral("script");
    case Operand::Filter:
    case Operand::ChoiceFilter:
        return QStringLiteral("filter");
    case Operand::CsivName:
        return QStringLiteral("flash name text");
    case Operand::CsivPath:
        return QStringLiteral("[path text]");
    case Operand::LocalParameter:
        return QStringLiteral("local parameter");
    case Operand::CopySource:
        return QStringLiteral("source[setup]");
    case Operand::CopyTarget:
        return QStringLiteral("target[setups]");
    case Operand::None:
        return QString();
    default:
        return QStringLiteral("parameter");
    }
}

QJsonObject item(const QString &label, int kind, const QString &detail, const QString &insert, int line, int start,
                 int end)
{
    QJsonObject out{{QStringLiteral("label"), label}, {QStringLiteral("kind"), kind}};
    if (!detail.isEmpty())
        out.insert(QStringLiteral("detail"), detail);
    out.insert(QStringLiteral("textEdit"),
               QJsonObject{{QStringLiteral("range"),
                            QJsonObject{{QStringLiteral("start"), QJsonObject{{QStringLiteral("line"), line},
                                                                              {QStringLiteral("character"), start}}},
                                        {QStringLiteral("end"), QJsonObject{{QStringLiteral("line"), line},
                                                                            {QStringLiteral("character"), end}}}}},
                           {QStringLiteral("newText"), insert}});
    return out;
}

bool matches(const WizardIndex::Symbol &symbol, Kind wanted)
{
    if (!symbol.defined)
        return false;
    if (wanted == SourceSymbols::AnyParameter || wanted == SourceSymbols::LocalFirstParameter)
        return symbol.kind == SourceSymbols::Parameter || symbol.kind == SourceSymbols::LocalParameter;
    return symbol.kind == wanted;
}

} // namespace

QVector<int> LspCompletion::tagsOf(SourceSymbols::Context context)
{
    switch (context) {
    case SourceSymbols::TopLevel:
        return {P::FILE_FORMAT_VERSION,
                P::FILE_VERSION,
                P::RUN_MODE,
                P::PRODUCT_TYPE,
                P::PRODUCT_NAME,
                P::DATABASE_VERSION,
                P::FILE_NAME,
                P::INCLUDE,
                P::T,
                P::H,
                P::P,
                P::LP,
                P::CL,
                P::CLF,
                P::APF,
                P::VP,
                P::VCP,
                P::WS,
                P::NSS,
                P::PSS,
                P::PRE_SCREEN_SCRIPT,
                P::SUBROUTINE,
                P::FIRST_SCREEN_SCRIPT,
                P::SCREEN_OVERLAY,
                P::SCREEN_SINGLE_PARAM,
                P::SCREEN_DUAL_PARAM};
    case SourceSymbols::ScreenBlock:
        return {P::P, P::VP, P::VCP, P::OVERLAY, P::NS, P::NSS, P::PSS, P::PRE_SCREEN_SCRIPT, P::WS};
    case SourceSymbols::DriveParameterBlock:
        return {P::TO, P::CLF, P::APF, P::WS};
    case SourceSymbols::VirtualParameterBlock:
        return {P::T, P::H, P::UT, P::MIN, P::MAX, P::VAL, P::SCALE, P::WS};
    case SourceSymbols::ChoiceParameterBlock:
        return {P::T, P::H, P::CL, P::WS};
    case SourceSymbols::OverlayBlock:
        return {P::T,           P::H,         P::OK_ACTION,   P::CANCEL_ACTION, P::BACK_ACTION,
                P::INFO_ACTION, P::UP_ACTION, P::DOWN_ACTION, P::LEFT_ACTION,   P::RIGHT_ACTION};
    default:
        return {};
    }
}

SourceSymbols::Kind LspCompletion::kindAfterTag(SourceSymbols::Context context, int keyword)
{
    if (!tagsOf(context).contains(keyword))
        return SourceSymbols::NoKind;
    switch (keyword) {
    case P::T:
    case P::H:
    case P::TO:
    case P::UT:
        return SourceSymbols::Text;
    case P::NS:
        return SourceSymbols::Screen;
    case P::P:
    case P::VP:
    case P::VCP:
        return context == SourceSymbols::TopLevel ? SourceSymbols::NoKind : SourceSymbols::Parameter;
    case P::OVERLAY:
        return SourceSymbols::Overlay;
    case P::CL:
        return context == SourceSymbols::TopLevel ? SourceSymbols::NoKind : SourceSymbols::ChoiceList;
    case P::CLF:
    case P::APF:
        return context == SourceSymbols::TopLevel ? SourceSymbols::NoKind : SourceSymbols::Filter;
    case P::WS:
    case P::NSS:
    case P::PSS:
    case P::PRE_SCREEN_SCRIPT:
        return context == SourceSymbols::TopLevel ? SourceSymbols::NoKind : SourceSymbols::Script;
    default:
        return SourceSymbols::NoKind;
    }
}

QJsonArray LspCompletion::items(const WizardIndex &index, WdlWizard *wizard, const SourceSymbols::LineInfo &info,
                                const QString &lineText, int line, int character)
{
    QJsonArray out;
    const SourceSymbols::Context context = info.context;
    const QString before = lineText.left(qMax(0, character));
    // Nothing is completed in a comment, nor in a text between quotes.
    if (before.contains(QLatin1Char('#')) || before.contains(QLatin1String("//"))
        || context == SourceSymbols::OtherBlock)
        return out;
    if (context != SourceSymbols::ScriptBlock && before.contains(QLatin1Char('"')))
        return out;
    const QVector<SourceSymbols::Token> tokens = SourceSymbols::tokens(before, 0, context);
    const bool inWord = !tokens.isEmpty() && tokens.constLast().end == before.size();
    const int position = inWord ? tokens.size() - 1 : tokens.size();
    const int start = inWord ? tokens.constLast().start : before.size();
    // The word under the cursor is replaced whole.
    int end = before.size();
    const QVector<SourceSymbols::Token> rest = SourceSymbols::tokens(lineText, 0, context);
    for (const SourceSymbols::Token &t : rest) {
        if (t.start == start)
            end = qMax(end, t.end);
    }

    const auto addSymbols = [&](Kind wanted) {
        for (const WizardIndex::Symbol &symbol : index.symbols()) {
            if (matches(symbol, wanted))
                out.append(item(symbol.id, itemKindOf(symbol.kind), index.detail(symbol, wizard), symbol.id, line,
                                start, end));
        }
    };

    if (context == SourceSymbols::ScriptBlock) {
        if (position == 0) {
            const QMetaEnum commands = QMetaEnum::fromType<WdlTokenScript::CmdTypes>();
            for (int i = 0; i < commands.keyCount(); ++i) {
                const int code = commands.value(i);
                const ScriptCommandTable::Row row = ScriptCommandTable::row(code);
                if (code == WdlTokenScript::UNDEFINED || row.check == ScriptCommandTable::Check::Obsolete)
                    continue;
                QStringList operands;
                for (Operand operand : row.operands) {
                    if (operand != Operand::None)
                        operands.append(operandName(operand));
                }
                const QString mnemonic = QLatin1String(commands.key(i));
                out.append(item(mnemonic, KeywordItem, operands.join(QLatin1Char(' ')),
                                operands.isEmpty() ? mnemonic : mnemonic + QLatin1Char(' '), line, start, end));
            }
            return out;
        }
        const int code = ScriptCommandTable::code(tokens.first().text);
        if (code < 0 || position > 3)
            return out;
        const Kind kind = SourceSymbols::kindOf(ScriptCommandTable::row(code).operands[position - 1]);
        if (kind != SourceSymbols::NoKind)
            addSymbols(kind);
        return out;
    }
    if (context == SourceSymbols::ChoiceListBlock) {
        if (position == 0)
            addSymbols(SourceSymbols::Text);
        return out;
    }
    if (position == 0) {
        for (int keyword : tagsOf(context)) {
            const QString key = keyOf(keyword);
            out.append(item(key, KeywordItem, QString(), key + QStringLiteral(": "), line, start, end));
        }
        return out;
    }
    if (position != 1)
        return out;
    const int keyword = WdlParser::commandValue(
        "Commands", context == SourceSymbols::TopLevel ? WdlLine::tag(tokens.first().text) : tokens.first().text);
    if (keyword >= P::OK_ACTION && keyword <= P::RIGHT_ACTION && context == SourceSymbols::OverlayBlock) {
        const QMetaEnum actions = QMetaEnum::fromType<WdlTokenOverlay::ActionTypes>();
        for (int i = 0; i < actions.keyCount(); ++i) {
            const QString action = QLatin1String(actions.key(i));
            out.append(item(action, EnumMemberItem, QString(), action, line, start, end));
        }
        return out;
    }
    const Kind kind = kindAfterTag(context, keyword);
    if (kind != SourceSymbols::NoKind)
        addSymbols(kind);
    return out;
}
