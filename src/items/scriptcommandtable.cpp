#include "items/scriptcommandtable.h"

#include "base/enumkeys.h"
#include "items/wdltokenscript.h"

#include <QMetaEnum>

namespace {

using Cmd = WdlTokenScript;
using Op = ScriptCommandTable::Operand;
using Enc = ScriptCommandTable::Encoding;
using Check = ScriptCommandTable::Check;
using Row = ScriptCommandTable::Row;

constexpr Row kNoOperands(int code, Check check = Check::Arguments)
{
    return {code, Enc::Fields, {Op::None, Op::None, Op::None}, check};
}

constexpr Row kFields(int code, Op a, Op b = Op::None, Op c = Op::None)
{
    return {code, Enc::Fields, {a, b, c}, Check::Arguments};
}

// One row per command, in code order.
constexpr Row kRows[] = {
    kNoOperands(Cmd::UNDEFINED, Check::Nothing),
    kFields(Cmd::BRA, Op::Label),
    kFields(Cmd::BEQ, Op::Parameter, Op::Parameter, Op::Label),
    kFields(Cmd::BNE, Op::Parameter, Op::Parameter, Op::Label),
    kFields(Cmd::BLT, Op::Parameter, Op::Parameter, Op::Label),
    kFields(Cmd::BLE, Op::Parameter, Op::Parameter, Op::Label),
    kFields(Cmd::BGT, Op::Parameter, Op::Parameter, Op::Label),
    kFields(Cmd::BGE, Op::Parameter, Op::Parameter, Op::Label),
    kFields(Cmd::ADD, Op::Parameter, Op::Parameter, Op::QuietParameter),
    kFields(Cmd::SUB, Op::Parameter, Op::Parameter, Op::QuietParameter),
    kFields(Cmd::MUL, Op::Parameter, Op::Parameter, Op::QuietParameter),
    kFields(Cmd::DIV, Op::Parameter, Op::Parameter, Op::QuietParameter),
    {Cmd::CPY, Enc::CopyWithSetups, {Op::CopySource, Op::CopyTarget, Op::None}, Check::Arguments, 2},
    kFields(Cmd::LBL, Op::LabelMark),
    kFields(Cmd::SNS, Op::Screen),
    kNoOperands(Cmd::EXIT),
    kFields(Cmd::CVP, Op::Number, Op::Parameter),
    kFields(Cmd::SCF, Op::DriveOrVirtualParameter, Op::Filter),
    kFields(Cmd::SAF, Op::DriveOrVirtualParameter, Op::Filter),
    kFields(Cmd::BOE, Op::Number, Op::Number),
    kFields(Cmd::SEA, Op::Number),
    kFields(Cmd::SQB, Op::Number, Op::Number, Op::Number),
    kNoOperands(Cmd::CPA, Check::Obsolete),
    {Cmd::CPTA, Enc::CopyWithSetups, {Op::CopySource, Op::CopyTarget, Op::Parameter}, Check::Arguments, 2},
    {Cmd::CPFA, Enc::CopyWithSetups, {Op::CopySource, Op::CopyTarget, Op::Parameter}, Check::Arguments, 1},
    kFields(Cmd::CALL, Op::Script),
    kNoOperands(Cmd::RET),
    {Cmd::CSIV, Enc::CsivFile, {Op::CsivName, Op::CsivPath, Op::None}, Check::Arguments},
    kFields(Cmd::SETUP, Op::LocalParameter),
    kFields(Cmd::BAND, Op::Parameter, Op::Parameter, Op::QuietParameter),
    kFields(Cmd::BOR, Op::Parameter, Op::Parameter, Op::QuietParameter),
    kFields(Cmd::BXOR, Op::Parameter, Op::Parameter, Op::QuietParameter),
    kFields(Cmd::BRS, Op::Parameter, Op::Parameter, Op::QuietParameter),
    kFields(Cmd::BLS, Op::Parameter, Op::Parameter, Op::QuietParameter),
    kFields(Cmd::BNOT, Op::QuietParameter, Op::QuietParameter, Op::QuietParameter),
    kFields(Cmd::SENSORLESSDATA, Op::LocalParameter),
    kFields(Cmd::ENABLE_CHOICE, Op::ChoiceFilter, Op::LocalFirstParameter),
    kFields(Cmd::DISABLE_CHOICE, Op::ChoiceFilter, Op::LocalFirstParameter),
    kNoOperands(Cmd::STOP_LOCK),
};

constexpr int kRowCount = int(sizeof kRows / sizeof kRows[0]);

constexpr bool rowsInCodeOrder()
{
    for (int i = 0; i < kRowCount; ++i) {
        if (kRows[i].code != i)
            return false;
    }
    return true;
}
static_assert(rowsInCodeOrder(), "the rows follow the command codes, one each");
static_assert(kRowCount == Cmd::STOP_LOCK + 1, "every command has its row");

} // namespace

ScriptCommandTable::Row ScriptCommandTable::row(int code)
{
    if (code >= 0 && code < kRowCount)
        return kRows[code];
    Row none = kNoOperands(code);
    return none;
}

QString ScriptCommandTable::mnemonic(int code)
{
    const char *key = QMetaEnum::fromType<WdlTokenScript::CmdTypes>().valueToKey(code);
    return key ? QString::fromLatin1(key) : QString();
}

int ScriptCommandTable::code(const QString &mnemonic)
{
    return EnumKeys::of<WdlTokenScript::CmdTypes>().value(mnemonic);
}
