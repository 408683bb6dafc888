#ifndef WDLC_SCRIPTCOMMANDTABLE_H
#define WDLC_SCRIPTCOMMANDTABLE_H

#include <QString>

// The script command set as one table. Each row says what a command's three
// arguments name and how its record fields A, B and C hold them; the
// validator checks and resolves the arguments by it, the script item encodes
// the fields by it, and the image reader spells the fields back by it. A new
// command is one more WdlTokenScript::CmdTypes value and one more row.
class ScriptCommandTable
{
public:
    // What one argument names. The kind decides how the argument is counted
    // (a number, a word, or nothing from here on), what it is looked up in,
    // what is reported when it names nothing, and how its field is stored.
    enum class Operand {
        // No argument here, nor after it; the field holds 0xFFFF.
        None,
        // A decimal number; the field keeps its low 16 bits.
        Number,
        // A label number that a branch goes to, stored like a number.
        Label,
        // The label number that LBL marks, stored like a number.
        LabelMark,
        // A drive, virtual or local parameter (drive and virtual first).
        Parameter,
        // The same, but one that names nothing is not reported: the result
        // of arithmetic, every operand of BNOT.
        QuietParameter,
        // A drive or virtual parameter only.
        DriveOrVirtualParameter,
        // A local, drive or virtual parameter (local first).
        LocalFirstParameter,
        // A local parameter only.
        LocalParameter,
        // A screen; not counted as a use, the next-screen resolution has
        // counted it already.
        Screen,
        Script,
        Filter,
        // A filter, reported as a choice-list filter when missing.
        ChoiceFilter,
        // The text that holds a CSIV file's flash name.
        CsivName,
        // The text that holds a CSIV file's path; may be left out.
        CsivPath,
        // A parameter with an optional source setup in brackets: p[2].
        CopySource,
        // A parameter with optional target setups in brackets: p[1,3], p[ALL].
        CopyTarget
    };

    // How the fields A, B, C are filled from the arguments.
    enum class Encoding {
        // Each field from its own argument: an item's number (0xFFFF when it
        // names none), a number's low 16 bits, or 0xFFFF for no argument.
        Fields,
        // As Fields, and the setup word of the brackets shares a field: it is
        // the whole of C for CPY, is OR-ed into C for CPTA and into B for CPFA.
        CopyWithSetups,
        // As Fields until the CSIV files are embedded; then B and C together
        // hold the file's offset in the image.
        CsivFile
    };

    // What the validator does with a command before its operands.
    enum class Check {
        Arguments,
        // Nothing at all: the command names no argument kinds to check.
        Nothing,
        // Reported as obsolete; its arguments are not looked at.
        Obsolete
    };

    struct Row
    {
        int code;
        Encoding encoding;
        Operand operands[3];
        Check check;
        // CopyWithSetups: the field (0 A, 1 B, 2 C) that the setup word
        // shares; it replaces a field that names no argument and is OR-ed
        // into an item's number, which must then stay below 512.
        int setupField = -1;
    };

    // The row of a command code; for a code that is no command, a row of no
    // arguments whose code is that code.
    static Row row(int code);
    // The command's mnemonic, as the enumeration spells it; empty for a code
    // that is no command.
    static QString mnemonic(int code);
    // The code of a mnemonic (exact key), or -1.
    static int code(const QString &mnemonic);

    // How an argument of this kind is counted by the validator.
    static bool isNumber(Operand kind)
    {
        return kind == Operand::Number || kind == Operand::Label || kind == Operand::LabelMark;
    }
    static bool isOptional(Operand kind) { return kind == Operand::CsivPath; }
    // Its field holds an item's number.
    static bool namesItem(Operand kind) { return kind != Operand::None && !isNumber(kind); }
};

#endif
