#ifndef WDLC_DIAGNOSTICS_H
#define WDLC_DIAGNOSTICS_H

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>

// Every message that wdlc or `wdltool check` can give, written once: its
// text, where it arises, how check reports it, and for a finding of check's
// lint rules the rule's name. Every layer builds its messages from here, so
// that tests and `wdltool explain` can enumerate them; docs/diagnostics.md
// holds what each one means and how to fix it.
//
// A text's pieces inserted at run time are %1, %2, ... and are filled in one
// pass, so that an id from a wizard that itself holds "%1" stays as written.
class Diagnostics
{
    Q_GADGET
public:
    enum Id : int {
        // The reader.
        OpeningFailed,
        TooFewArguments,
        ProductTypeNotANumber,
        ProductNameLength,
        UnknownTag,
        VersionWithoutDot,
        VersionNotANumber,
        NestedInclude,
        MissingBrace,
        UnclosedBlock,
        IncompleteText,
        TextNotDefined,
        ParameterNumberNotANumber,
        ParameterNotAccessible,
        ChoiceNotDefined,
        FilterWithoutData,
        FilterDataInvalid,
        TextOverrideNotDefined,
        ArrayFilterNotDefined,
        ChoiceFilterNotDefined,
        UnknownDriveParameterTag,
        VpValueNotANumber,
        UnknownVpTag,
        UnknownVcpTag,
        ScreenDefinedTwice,
        UnknownScreenTag,
        TooManyScreenParameters,
        UnknownOverlayTag,
        SecondFirstScreenScript,
        TooManyTokens,
        // The checks after reading.
        MetaTagMissing,
        ParameterMissingText,
        VcpMissingChoiceList,
        EmptyChoiceList,
        EmptyScript,
        EmptyScreen,
        OverlayAndParameters,
        OverlayMissingText,
        UnusedText,
        UnusedLocalParameter,
        UnusedParameter,
        UnusedChoiceList,
        UnusedScript,
        UnusedScreen,
        UnusedOverlay,
        UnusedFilter,
        TooManyVirtualParameters,
        // The next-screen scripts and every script command.
        NssTooDeep,
        NssCallsOtherScript,
        UnknownCommand,
        CommandObsolete,
        ExtraArgument,
        MissingArgument,
        ArgumentNotANumber,
        ParameterNotFound,
        LocalParameterNotFound,
        ScreenNotFound,
        ScriptNotFound,
        FilterNotFound,
        ChoiceFilterNotFound,
        CsivNameNotFound,
        BadSetup,
        CopySourceNotFound,
        CsivPathNotFound,
        // Building the image.
        NotLoaded,
        WizardDataTooLong,
        TextDataTooLong,
        TooManyTranslations,
        WouldOverwriteInput,
        SavingSasFailed,
        // The translation files beside the image.
        TranslationUnreadable,
        TranslationsElementMissing,
        TranslationXmlError,
        TranslationWithoutData,
        TranslationLanguageAttribute,
        TranslationCrowdedElement,
        TranslationCrowdedNamespaces,
        TranslationCrowdedDeclarations,
        UnknownLanguage,
        TranslationWithoutId,
        TranslationWithoutType,
        TranslationUnknownText,
        // The CSIV files that scripts name.
        CsivFileNotFound,
        CsivNameMismatch,
        // What check says in place of a wdlc message about a file.
        CannotOpen,
        // The editor's own operations.
        SavingWdlFailed,
        ScreenDoesNotExist,
        // check's lint rules.
        NextScreenNamesItself,
        NextScreenNotDefined,
        LabelMarkedTwice,
        LabelNotMarked,
        UnknownAction,
        TruncatedProductType,
        TruncatedVersion,
        TruncatedParameterNumber,
        TruncatedChoiceCount,
        TruncatedDefaultChoice,
        TruncatedCommandCount,
        TruncatedNumber,
        TruncatedSetupOperand,
        MinAboveMax,
        DefaultOutsideLimits,
        RedefinedHeaderTag,
        RedefinedText,
        RedefinedHelp,
        RedefinedVpField,
        RedefinedOverlayKey,
        RedefinedId,
        NsAndNss,
        SecondDefaultChoice,
        UnreachableScreen,
        TranslatedFileName,
        EmptyTranslatedText,
        EmptyTranslatedHelp,
    };
    Q_ENUM(Id)
    static constexpr int kCount = EmptyTranslatedHelp + 1;

    // How check reports it. Every message of wdlc keeps it from writing an
    // image, except those about translation files, which check reports as
    // the warnings of a rule.
    enum Level { Error, Warning };
    Q_ENUM(Level)

    // Where it arises, in the order a build meets them.
    enum Origin { Reader, Checks, Scripts, Build, Translations, Csiv, Tool, Editor, Lint };
    Q_ENUM(Origin)

    struct Entry
    {
        Id id;
        Origin origin;
        Level level;
        // The -W name of the rule that reports it; empty for an error.
        QString rule;
        // What each inserted piece is, in order: "screen", "tag".
        QStringList arguments;
        // With %1, %2, ... where the pieces go.
        QString text;
    };

    struct Rule
    {
        QString name;
        QString summary;
    };

    static const Entry &entry(Id id);
    // The entry's key in the enumeration: "ScreenDefinedTwice".
    static QString key(Id id);
    // The Id of key, or -1.
    static int fromKey(const QString &key);
    // The message with arguments in place of %1, %2, ... in one pass.
    static QString text(Id id, const QStringList &arguments = {});
    // The text with each piece named: "Screen <screen> is defined more than once.".
    static QString pattern(Id id);

    // check's lint rules, in the order its help lists them.
    static const QList<Rule> &rules();
    // The rule of that name, or null.
    static const Rule *rule(const QString &name);
    static QString originName(Origin origin);

    // The entry whose text a message is, with its pieces; id -1 for none.
    // Runs of white space count as one blank, so that a message wrapped or
    // pasted across lines still reads. When several texts fit, the one with
    // the most fixed text wins, as the most specific.
    struct Match
    {
        int id = -1;
        QStringList arguments;
    };
    static Match match(const QString &message, const QString &rule = QString());
};

#endif
