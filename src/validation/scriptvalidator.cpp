#include "validation/scriptvalidator.h"

#include "base/diagnostics.h"
#include "base/saslayout.h"
#include "core/warningsink.h"
#include "core/wizardcontent.h"
#include "core/wizarditemsmodel.h"
#include "items/scriptcommandtable.h"
#include "items/wdltokenscript.h"
#include "items/wdltokentext.h"

#include <QDir>
#include <QFileInfo>

namespace {

using Operand = ScriptCommandTable::Operand;

// Which collection an operand is looked up in first when both hold its id.
enum class Prefer { Parameter, LocalParameter };

using SasLayout::kAllTargetSetups;
using SasLayout::kSourceSetupShift;
using SasLayout::kTargetSetupShift;
// Setups a copy command may name in brackets: 0 to 4. A negative one has no
// meaning and would make the shift below undefined.
constexpr int kMaxSetup = SasLayout::kSetupCount;

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
    CommandCheck(const WizardContent &content, const WdlTokenScript *script, int position, ScriptCommand *command)
        : m_content(content), m_script(script), m_position(position), m_command(command)
    {
    }

    // Checks and resolves the command as the row of its code says.
    void resolve(int type);

private:
    const QString &arg(int i) const { return m_command->arguments[i]; }
    void warn(Diagnostics::Id id, const QStringList &arguments)
    {
        m_content.warnings->addWarning(Diagnostics::text(id, arguments), m_command->lineNumber);
    }

    // Counts the arguments against the kinds and reads the numbers.
    void checkArguments(const Operand (&kinds)[3]);
    void resolveOperand(int i, Operand kind);
    // Stores the item an argument names and counts the reference.
    void keep(int i, WdlToken *item);
    // Keeps the item of items that argument i names, or reports that none
    // was found with notFound.
    void keepOrWarn(int i, const WizardItemsModel *items, Diagnostics::Id notFound);
    void warnNotFound(Diagnostics::Id notFound, const QString &name);
    WdlToken *findParameter(const QString &name, Prefer prefer) const;
    // False when name is neither a parameter nor a local parameter.
    bool resolveParameter(int i, const QString &name, Prefer prefer = Prefer::Parameter);
    void resolveCopy();
    void resolveCsiv();

    const WizardContent &m_content;
    const WdlTokenScript *m_script;
    int m_position;
    ScriptCommand *m_command;
};

void CommandCheck::resolve(int type)
{
    m_command->cmdType = type;
    for (int i = 0; i < 3; ++i) {
        m_command->operandItems[i] = nullptr;
        m_command->operandValues[i] = 0;
    }

    const ScriptCommandTable::Row row = ScriptCommandTable::row(type);
    if (row.check == ScriptCommandTable::Check::Nothing)
        return;
    if (row.check == ScriptCommandTable::Check::Obsolete) {
        warn(Diagnostics::CommandObsolete, {m_command->mnemonic, m_script->id()});
        return;
    }
    // The lookups run whatever the argument count check found, so that a
    // missing argument also shows up as the item it fails to name.
    checkArguments(row.operands);
    for (int i = 0; i < 3; ++i)
        resolveOperand(i, row.operands[i]);
}

void CommandCheck::checkArguments(const Operand (&kinds)[3])
{
    for (int i = 0; i < 3; ++i) {
        const QString position = QString::number(i + 1);
        if (kinds[i] == Operand::None) {
            if (!arg(i).isEmpty())
                warn(Diagnostics::ExtraArgument, {m_command->mnemonic, position, m_script->id()});
            return;
        }
        if (arg(i).isEmpty() && !ScriptCommandTable::isOptional(kinds[i]))
            warn(Diagnostics::MissingArgument, {m_command->mnemonic, position, m_script->id()});
        if (ScriptCommandTable::isNumber(kinds[i])) {
            bool ok = false;
            const int value = arg(i).toInt(&ok, 10);
            if (ok)
                m_command->operandValues[i] = value;
            else
                warn(Diagnostics::ArgumentNotANumber, {m_command->mnemonic, position});
        }
    }
}

void CommandCheck::resolveOperand(int i, Operand kind)
{
    switch (kind) {
    case Operand::None:
    case Operand::Number:
    case Operand::Label:
    case Operand::LabelMark:
    case Operand::CsivPath:
    case Operand::CopyTarget:
        // Numbers were read with the counts; a path or a copy target goes
        // with the argument before it.
        break;
    case Operand::Parameter:
        if (!resolveParameter(i, arg(i)))
            warnNotFound(Diagnostics::ParameterNotFound, arg(i));
        break;
    case Operand::QuietParameter:
        resolveParameter(i, arg(i));
        break;
    case Operand::DriveOrVirtualParameter:
        keepOrWarn(i, m_content.parameters(), Diagnostics::ParameterNotFound);
        break;
    case Operand::LocalFirstParameter:
        if (!resolveParameter(i, arg(i), Prefer::LocalParameter))
            warnNotFound(Diagnostics::ParameterNotFound, arg(i));
        break;
    case Operand::LocalParameter:
        keepOrWarn(i, m_content.localParameters(), Diagnostics::LocalParameterNotFound);
        break;
    case Operand::Screen:
        // Stored without counting: the NSS resolution has already counted the
        // screens that next-screen scripts lead to.
        if (WdlToken *screen = m_content.screens()->itemById(arg(i)))
            m_command->operandItems[i] = screen;
        else
            warnNotFound(Diagnostics::ScreenNotFound, arg(i));
        break;
    case Operand::Script:
        keepOrWarn(i, m_content.scripts(), Diagnostics::ScriptNotFound);
        break;
    case Operand::Filter:
        keepOrWarn(i, m_content.filters(), Diagnostics::FilterNotFound);
        break;
    case Operand::ChoiceFilter:
        keepOrWarn(i, m_content.filters(), Diagnostics::ChoiceFilterNotFound);
        break;
    case Operand::CsivName:
        resolveCsiv();
        break;
    case Operand::CopySource:
        resolveCopy();
        break;
    }
}

void CommandCheck::keepOrWarn(int i, const WizardItemsModel *items, Diagnostics::Id notFound)
{
    if (WdlToken *item = items->itemById(arg(i)))
        keep(i, item);
    else
        warnNotFound(notFound, arg(i));
}

void CommandCheck::warnNotFound(Diagnostics::Id notFound, const QString &name)
{
    warn(notFound, {name, m_script->id()});
}

void CommandCheck::keep(int i, WdlToken *item)
{
    m_command->operandItems[i] = item;
    item->addReference();
}

WdlToken *CommandCheck::findParameter(const QString &name, Prefer prefer) const
{
    WizardItemsModel *parameters = m_content.parameters();
    WizardItemsModel *locals = m_content.localParameters();
    WizardItemsModel *first = prefer == Prefer::Parameter ? parameters : locals;
    WizardItemsModel *second = prefer == Prefer::Parameter ? locals : parameters;
    if (WdlToken *item = first->itemById(name))
        return item;
    return second->itemById(name);
}

bool CommandCheck::resolveParameter(int i, const QString &name, Prefer prefer)
{
    WdlToken *item = findParameter(name, prefer);
    if (!item)
        return false;
    keep(i, item);
    return true;
}

// CPY|CPTA|CPFA <operand>[<source setup>] <operand>[<target setups>|ALL] [<operand>]
// The setups go into one word, kept in the third operand value: the source
// setup in bits 9 to 11, target setup k in bit 11 + k. The third operand of
// CPTA and CPFA is a plain parameter, resolved after this.
void CommandCheck::resolveCopy()
{
    qint32 &setupWord = m_command->operandValues[2];
    int setup = 0;

    const CopyArgument source = splitCopyArgument(arg(0));
    if (source.hasSetups) {
        if (readSetup(source.setups.split(QLatin1Char(',')).constFirst(), &setup))
            setupWord = setup << kSourceSetupShift;
        else
            warn(Diagnostics::BadSetup, {arg(0), m_script->id()});
    }
    if (!resolveParameter(0, source.name))
        warn(Diagnostics::CopySourceNotFound, {source.name, QString::number(m_position), m_script->id()});

    const CopyArgument target = splitCopyArgument(arg(1));
    if (target.hasSetups) {
        if (target.setups.compare(QLatin1String("ALL"), Qt::CaseInsensitive) == 0) {
            setupWord |= kAllTargetSetups;
        } else {
            for (const QString &piece : target.setups.split(QLatin1Char(','))) {
                if (readSetup(piece, &setup))
                    setupWord |= 1 << (kTargetSetupShift + setup);
                else
                    warn(Diagnostics::BadSetup, {arg(1), m_script->id()});
            }
        }
    }
    if (!resolveParameter(1, target.name))
        warnNotFound(Diagnostics::ParameterNotFound, target.name);
}

// CSIV <text id: flash file name> [<text id: file path>]
// A path names the file to carry in the image; its text's number is the
// file's number, so two commands naming one path text share one file.
void CommandCheck::resolveCsiv()
{
    QString flashName;
    if (auto *name = m_content.texts()->byId<WdlTokenText>(arg(0))) {
        keep(0, name);
        flashName = name->getText();
    } else {
        warnNotFound(Diagnostics::CsivNameNotFound, arg(0));
    }
    if (arg(1).isEmpty())
        return;
    auto *path = m_content.texts()->byId<WdlTokenText>(arg(1));
    if (!path) {
        warn(Diagnostics::CsivPathNotFound, {arg(1), m_script->id()});
        return;
    }
    // Relative to the opened WDL file, wherever the wizard is compiled from.
    // An empty path text names the directory itself, which is no CSIV file.
    const QString absolute =
        QFileInfo(m_content.warnings->currentFile()).absoluteDir().absoluteFilePath(path->getText());
    m_content.includedFiles->insert(path->getIndex(), IncludedFile{flashName, absolute});
    keep(1, path);
}

} // namespace

void ScriptValidator::validateScripts()
{
    for (WdlToken *item : m_content.scripts()->items()) {
        auto *script = static_cast<WdlTokenScript *>(item);
        if (script->validated())
            continue;
        for (int i = 0; i < script->commandCount(); ++i) {
            ScriptCommand command = script->getCommand(i);
            if (command.cmdType != WdlTokenScript::UNDEFINED)
                continue;
            const int type = ScriptCommandTable::code(command.mnemonic);
            if (type < 0) {
                m_content.warnings->addWarning(
                    Diagnostics::text(Diagnostics::UnknownCommand, {script->id(), command.mnemonic}),
                    command.lineNumber);
                continue;
            }
            CommandCheck(m_content, script, i, &command).resolve(type);
            script->updateCommand(command, i);
        }
        script->setValidated(true);
    }
}
