#include "validation/scriptvalidator.h"

#include "core/wdlwizard.h"

#include <QDir>
#include <QFileInfo>

namespace {

// What one argument position of a command takes.
enum class Arg {
    Required,
    // Present and a decimal integer, kept in operandValues.
    Number,
    // Nothing from this position on.
    None,
    Optional
};

// Which collection an operand is looked up in first when both hold its id.
enum class Prefer { Parameter, LocalParameter };

// Setups a copy command may name in brackets: 0 to 4. A negative one has no
// meaning and would make the shift below undefined.
constexpr int kMaxSetup = 4;
constexpr int kSourceSetupShift = 9;
constexpr int kTargetSetupShift = 11;
constexpr qint32 kAllTargetSetups = 0xF000;

QString msgParameterNotFound(const QString &name, const QString &scriptId)
{
    return QStringLiteral("Parameter ") + name + QStringLiteral(" was not found. See script ") + scriptId;
}

QString msgBadSetup(const QString &argument, const QString &scriptId)
{
    return QStringLiteral("Setup to copy data from is not a number or is larger than 4. Problem exists with "
                          "command argument ")
           + argument + QStringLiteral(". See script ") + scriptId;
}

bool readSetup(const QString &text, int *setup)
{
    bool ok = false;
    *setup = text.toInt(&ok, 10);
    return ok && *setup >= 0 && *setup <= kMaxSetup;
}

// A copy command's argument: <name>[<setups>], the bracket part optional.
struct CopyArgument
{
    QString name;
    bool hasSetups = false;
    QString setups;
};

CopyArgument splitCopyArgument(const QString &argument)
{
    CopyArgument out;
    if (!argument.contains(QLatin1Char('['))) {
        out.name = argument;
        return out;
    }
    const QStringList pieces = argument.split(QLatin1Char('['), Qt::SkipEmptyParts);
    out.name = pieces.value(0);
    out.hasSetups = true;
    out.setups = pieces.value(1).remove(QLatin1Char(']'));
    return out;
}

// Checks one command of a script and resolves its arguments into the copy it
// was given; every problem is a warning at the command's line.
class CommandCheck
{
public:
    CommandCheck(WdlWizard *wizard, const WdlTokenScript *script, int position, ScriptCommand *command)
        : m_wizard(wizard), m_script(script), m_position(position), m_command(command)
    {
    }

    void resolve(WdlTokenScript::CmdTypes type);

private:
    const QString &arg(int i) const { return m_command->arguments[i]; }
    void warn(const QString &text) { m_wizard->addWarning(text, m_command->lineNumber); }

    void checkArguments(Arg first, Arg second, Arg third);
    // Stores the item an argument names and counts the reference.
    void keep(int i, WdlToken *item);
    WdlToken *findOperand(const QString &name, Prefer prefer) const;
    // False when name is neither a parameter nor a local parameter.
    bool resolveOperand(int i, const QString &name, Prefer prefer = Prefer::Parameter);
    void resolveOperandOrWarn(int i);
    void resolveCopy(bool hasThirdOperand);
    void resolveCsiv();

    WdlWizard *m_wizard;
    const WdlTokenScript *m_script;
    int m_position;
    ScriptCommand *m_command;
};

void CommandCheck::resolve(WdlTokenScript::CmdTypes type)
{
    m_command->cmdType = type;
    for (int i = 0; i < 3; ++i) {
        m_command->operandItems[i] = nullptr;
        m_command->operandValues[i] = 0;
    }

    // The lookups run whatever the argument count check found, so that a
    // missing argument also shows up as the item it fails to name.
    switch (type) {
    case WdlTokenScript::UNDEFINED:
        break;
    case WdlTokenScript::BRA:
    case WdlTokenScript::LBL:
    case WdlTokenScript::SEA:
        checkArguments(Arg::Number, Arg::None, Arg::None);
        break;
    case WdlTokenScript::BEQ:
    case WdlTokenScript::BNE:
    case WdlTokenScript::BLT:
    case WdlTokenScript::BLE:
    case WdlTokenScript::BGT:
    case WdlTokenScript::BGE:
        checkArguments(Arg::Required, Arg::Required, Arg::Number);
        resolveOperandOrWarn(0);
        resolveOperandOrWarn(1);
        break;
    case WdlTokenScript::ADD:
    case WdlTokenScript::SUB:
    case WdlTokenScript::MUL:
    case WdlTokenScript::DIV:
    case WdlTokenScript::BAND:
    case WdlTokenScript::BOR:
    case WdlTokenScript::BXOR:
    case WdlTokenScript::BRS:
    case WdlTokenScript::BLS:
        // Only the two inputs must name something; a result naming nothing
        // stays empty.
        checkArguments(Arg::Required, Arg::Required, Arg::Required);
        resolveOperandOrWarn(0);
        resolveOperandOrWarn(1);
        resolveOperand(2, arg(2));
        break;
    case WdlTokenScript::BNOT:
        checkArguments(Arg::Required, Arg::Required, Arg::Required);
        for (int i = 0; i < 3; ++i)
            resolveOperand(i, arg(i));
        break;
    case WdlTokenScript::CPY:
        checkArguments(Arg::Required, Arg::Required, Arg::None);
        resolveCopy(false);
        break;
    case WdlTokenScript::CPTA:
    case WdlTokenScript::CPFA:
        checkArguments(Arg::Required, Arg::Required, Arg::Required);
        resolveCopy(true);
        break;
    case WdlTokenScript::SNS:
        checkArguments(Arg::Required, Arg::None, Arg::None);
        // Stored without counting: the NSS resolution has already counted the
        // screens that next-screen scripts lead to.
        if (WdlToken *screen = m_wizard->screenModel()->itemById(arg(0)))
            m_command->operandItems[0] = screen;
        else
            warn(QStringLiteral("Screen name ") + arg(0)
                 + QStringLiteral(" was not found. See script ") + m_script->id());
        break;
    case WdlTokenScript::EXIT:
    case WdlTokenScript::RET:
    case WdlTokenScript::STOP_LOCK:
        checkArguments(Arg::None, Arg::None, Arg::None);
        break;
    case WdlTokenScript::CVP:
        checkArguments(Arg::Number, Arg::Required, Arg::None);
        resolveOperandOrWarn(1);
        break;
    case WdlTokenScript::SCF:
    case WdlTokenScript::SAF:
        checkArguments(Arg::Required, Arg::Required, Arg::None);
        if (WdlToken *param = m_wizard->parametersModel()->itemById(arg(0)))
            keep(0, param);
        else
            warn(msgParameterNotFound(arg(0), m_script->id()));
        if (WdlToken *filter = m_wizard->filterModel()->itemById(arg(1)))
            keep(1, filter);
        else
            warn(QStringLiteral("Filter ") + arg(1) + QStringLiteral(" was not found. See script ") + m_script->id());
        break;
    case WdlTokenScript::BOE:
        checkArguments(Arg::Number, Arg::Number, Arg::None);
        break;
    case WdlTokenScript::SQB:
        checkArguments(Arg::Number, Arg::Number, Arg::Number);
        break;
    case WdlTokenScript::CPA:
        warn(QStringLiteral("Command CPA is obsolete. See script ") + m_script->id());
        break;
    case WdlTokenScript::CALL:
        checkArguments(Arg::Required, Arg::None, Arg::None);
        if (WdlToken *script = m_wizard->scriptModel()->itemById(arg(0)))
            keep(0, script);
        else
            warn(QStringLiteral("Script ") + arg(0) + QStringLiteral(" was not found. See script ") + m_script->id());
        break;
    case WdlTokenScript::CSIV:
        checkArguments(Arg::Required, Arg::Optional, Arg::None);
        resolveCsiv();
        break;
    case WdlTokenScript::SETUP:
    case WdlTokenScript::SENSORLESSDATA:
        checkArguments(Arg::Required, Arg::None, Arg::None);
        if (WdlToken *local = m_wizard->localParameterModel()->itemById(arg(0)))
            keep(0, local);
        else
            warn(QStringLiteral("Local parameter ") + arg(0)
                 + QStringLiteral(" was not found. See script ") + m_script->id());
        break;
    case WdlTokenScript::ENABLE_CHOICE:
    case WdlTokenScript::DISABLE_CHOICE:
        checkArguments(Arg::Required, Arg::Required, Arg::None);
        if (WdlToken *filter = m_wizard->filterModel()->itemById(arg(0)))
            keep(0, filter);
        else
            warn(QStringLiteral("Choiselist filter ") + arg(0)
                 + QStringLiteral(" was not found. See script ") + m_script->id());
        if (!resolveOperand(1, arg(1), Prefer::LocalParameter))
            warn(msgParameterNotFound(arg(1), m_script->id()));
        break;
    }
}

void CommandCheck::checkArguments(Arg first, Arg second, Arg third)
{
    const Arg kinds[3] = {first, second, third};
    for (int i = 0; i < 3; ++i) {
        const QString position = QString::number(i + 1);
        if (kinds[i] == Arg::None) {
            if (!arg(i).isEmpty())
                warn(QStringLiteral("Command ") + m_command->mnemonic + QStringLiteral(" does not have ") + position
                     + QStringLiteral(" argument(s). See script ") + m_script->id());
            return;
        }
        if (arg(i).isEmpty() && kinds[i] != Arg::Optional)
            warn(QStringLiteral("Command ") + m_command->mnemonic + QStringLiteral(" is missing argument number ")
                 + position + QStringLiteral(". See script ") + m_script->id());
        if (kinds[i] == Arg::Number) {
            bool ok = false;
            const int value = arg(i).toInt(&ok, 10);
            if (ok)
                m_command->operandValues[i] = value;
            else
                warn(QStringLiteral("Command's ") + m_command->mnemonic + QStringLiteral(" argument number ")
                     + position + QStringLiteral(" must a number."));
        }
    }
}

void CommandCheck::keep(int i, WdlToken *item)
{
    m_command->operandItems[i] = item;
    item->addReference();
}

WdlToken *CommandCheck::findOperand(const QString &name, Prefer prefer) const
{
    WizardItemsModel *parameters = m_wizard->parametersModel();
    WizardItemsModel *locals = m_wizard->localParameterModel();
    WizardItemsModel *first = prefer == Prefer::Parameter ? parameters : locals;
    WizardItemsModel *second = prefer == Prefer::Parameter ? locals : parameters;
    if (WdlToken *item = first->itemById(name))
        return item;
    return second->itemById(name);
}

bool CommandCheck::resolveOperand(int i, const QString &name, Prefer prefer)
{
    WdlToken *item = findOperand(name, prefer);
    if (!item)
        return false;
    keep(i, item);
    return true;
}

void CommandCheck::resolveOperandOrWarn(int i)
{
    if (!resolveOperand(i, arg(i)))
        warn(msgParameterNotFound(arg(i), m_script->id()));
}

// CPY|CPTA|CPFA <operand>[<source setup>] <operand>[<target setups>|ALL] [<operand>]
// The setups go into one word, kept in the third operand value: the source
// setup in bits 9 to 11, target setup k in bit 11 + k.
void CommandCheck::resolveCopy(bool hasThirdOperand)
{
    qint32 &setupWord = m_command->operandValues[2];
    int setup = 0;

    const CopyArgument source = splitCopyArgument(arg(0));
    if (source.hasSetups) {
        if (readSetup(source.setups.split(QLatin1Char(',')).constFirst(), &setup))
            setupWord = setup << kSourceSetupShift;
        else
            warn(msgBadSetup(arg(0), m_script->id()));
    }
    if (!resolveOperand(0, source.name))
        warn(QStringLiteral("Parameter ") + source.name + QStringLiteral(" was not found. See script line ")
             + QString::number(m_position) + QStringLiteral(" in script ") + m_script->id());

    const CopyArgument target = splitCopyArgument(arg(1));
    if (target.hasSetups) {
        if (target.setups.compare(QLatin1String("ALL"), Qt::CaseInsensitive) == 0) {
            setupWord |= kAllTargetSetups;
        } else {
            for (const QString &piece : target.setups.split(QLatin1Char(','))) {
                if (readSetup(piece, &setup))
                    setupWord |= 1 << (kTargetSetupShift + setup);
                else
                    warn(msgBadSetup(arg(1), m_script->id()));
            }
        }
    }
    if (!resolveOperand(1, target.name))
        warn(msgParameterNotFound(target.name, m_script->id()));

    if (hasThirdOperand)
        resolveOperandOrWarn(2);
}

// CSIV <text id: flash file name> [<text id: file path>]
// A path names the file to carry in the image; its text's number is the
// file's number, so two commands naming one path text share one file.
void CommandCheck::resolveCsiv()
{
    QString flashName;
    if (auto *name = m_wizard->textModel()->byId<WdlTokenText>(arg(0))) {
        keep(0, name);
        flashName = name->getText();
    } else {
        warn(QStringLiteral("Name for CSIV file ") + arg(0)
             + QStringLiteral(" was not found. See script ") + m_script->id());
    }
    if (arg(1).isEmpty())
        return;
    auto *path = m_wizard->textModel()->byId<WdlTokenText>(arg(1));
    if (!path) {
        warn(QStringLiteral("CSIV command has 2nd argument, but the file name ") + arg(1)
             + QStringLiteral(" was not found. See script ") + m_script->id());
        return;
    }
    // Relative to the opened WDL file, wherever the wizard is compiled from.
    // An empty path text names the directory itself, which is no CSIV file.
    const QString absolute = QFileInfo(m_wizard->currentFile()).absoluteDir().absoluteFilePath(path->getText());
    m_wizard->includedFiles().insert(path->getIndex(), IncludedFile{flashName, absolute});
    keep(1, path);
}

} // namespace

void ScriptValidator::validateScripts()
{
    for (WdlToken *item : m_wizard->scriptModel()->items()) {
        auto *script = static_cast<WdlTokenScript *>(item);
        if (script->validated())
            continue;
        for (int i = 0; i < script->commandCount(); ++i) {
            ScriptCommand command = script->getCommand(i);
            if (command.cmdType != WdlTokenScript::UNDEFINED)
                continue;
            const int type = WdlTokenScript::commandType(command.mnemonic);
            if (type < 0) {
                m_wizard->addWarning(QStringLiteral("Error validating script ") + script->id()
                                         + QStringLiteral(". Error with command ") + command.mnemonic
                                         + QStringLiteral("."),
                                     command.lineNumber);
                continue;
            }
            CommandCheck(m_wizard, script, i, &command).resolve(WdlTokenScript::CmdTypes(type));
            script->updateCommand(command, i);
        }
        script->setValidated(true);
    }
}
