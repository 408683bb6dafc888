#include "base/diagnostics.h"

#include <QMetaEnum>
#include <QRegularExpression>
#include <QVector>

namespace {

using D = Diagnostics;

struct Row
{
    D::Id id;
    D::Origin origin;
    // The rule's name for a warning; null for an error.
    const char *rule;
    // The inserted pieces' names, separated by "|".
    const char *arguments;
    const char *text;
};

// The texts are wdlc's own, to the character: misspellings, doubled and
// trailing blanks included, as the warnings files of existing builds hold them.
const Row kRows[] = {
    {D::OpeningFailed, D::Reader, nullptr, "url", "Opening of %1 failed"},
    {D::TooFewArguments, D::Reader, nullptr, "minimum|count",
     "Too few arguments. There should be at least %1 arguments, but there are %2 arguments"},
    {D::ProductTypeNotANumber, D::Reader, nullptr, "value", "Failed to parse string %1 into a number."},
    {D::ProductNameLength, D::Reader, nullptr, "", "PRODUCT_NAME must be 6 characters long."},
    {D::UnknownTag, D::Reader, nullptr, "tag", "Unknown tag %1"},
    {D::VersionWithoutDot, D::Reader, nullptr, "",
     "Metadata FILE_FORMAT_VERSION, FILE_VERSION, DATABASE_VERSION must contain \".\" that separates major and "
     "minor versions."},
    {D::VersionNotANumber, D::Reader, nullptr, "value",
     "Failed to parse string %1 into major and minor version number."},
    {D::NestedInclude, D::Reader, nullptr, "file",
     "It is not possible to include a file from an already included file (recursion is not allowed). File \"%1\" "
     "will be ignored."},
    {D::MissingBrace, D::Reader, nullptr, "", "ERROR with parenthesis!"},
    {D::UnclosedBlock, D::Reader, nullptr, "id", "Block of %1 is not closed before the end of the file."},
    {D::IncompleteText, D::Reader, nullptr, "line|next line", "ERROR in wdl texts from line %1 to line %2"},
    {D::TextNotDefined, D::Reader, nullptr, "text", "Text %1 is not defined."},
    {D::ParameterNumberNotANumber, D::Reader, nullptr, "number", "Parameter number %1 was not a number."},
    {D::ParameterNotAccessible, D::Reader, nullptr, "parameter|number",
     "Parameter \"%1\" with number %2 is not accessible inside wizard."},
    {D::ChoiceNotDefined, D::Reader, nullptr, "text", "Choicelist selection %1 is not defined."},
    {D::FilterWithoutData, D::Reader, nullptr, "filter", "There is no filter data for filter \"%1\"."},
    {D::FilterDataInvalid, D::Reader, nullptr, "filter|piece", "Failed to parse filter \"%1\". Problem with string %2"},
    {D::TextOverrideNotDefined, D::Reader, nullptr, "text", "Text override %1 is not defined."},
    {D::ArrayFilterNotDefined, D::Reader, nullptr, "filter", "Array filter %1 is not defined."},
    {D::ChoiceFilterNotDefined, D::Reader, nullptr, "filter", "Choicelist filter %1 is not defined."},
    {D::UnknownDriveParameterTag, D::Reader, nullptr, "tag", "Unknown tag in drive parameter %1"},
    {D::VpValueNotANumber, D::Reader, nullptr, "tag", "Value of attribute %1 is not a number. Please check text %1"},
    {D::UnknownVpTag, D::Reader, nullptr, "tag", "Unknown tag in VP %1"},
    {D::UnknownVcpTag, D::Reader, nullptr, "tag", "Unknown tag in VCP %1"},
    {D::ScreenDefinedTwice, D::Reader, nullptr, "screen", "Screen %1 is defined more than once."},
    {D::UnknownScreenTag, D::Reader, nullptr, "tag|screen", "Unknown tag \"%1\" in screen %2"},
    {D::TooManyScreenParameters, D::Reader, nullptr, "screen", "Screen %1 can't have more than two parameters."},
    {D::UnknownOverlayTag, D::Reader, nullptr, "tag", "Unknown tag in overlay %1"},
    {D::SecondFirstScreenScript, D::Reader, nullptr, "",
     "Multiple scripts of type FIRST_SCREEN_SCRIPT found. There can be only one FIRST_SCREEN_SCRIPT."},
    {D::TooManyTokens, D::Reader, nullptr, "", "There were too many tokens on one script line."},

    {D::MetaTagMissing, D::Checks, nullptr, "tag", "Meta info tag \"%1\" is missing."},
    {D::ParameterMissingText, D::Checks, nullptr, "parameter", "Parameter %1 is missing text."},
    {D::VcpMissingChoiceList, D::Checks, nullptr, "parameter", "VCP %1 is missing choicelist or choicelist is empty."},
    {D::EmptyChoiceList, D::Checks, nullptr, "list", "Choicelist %1 doesn't have any choices."},
    {D::EmptyScript, D::Checks, nullptr, "script", "Script %1 is empty."},
    {D::EmptyScreen, D::Checks, nullptr, "screen", "Screen %1 must have either an overlay or a parameter."},
    {D::OverlayAndParameters, D::Checks, nullptr, "screen", "Screen %1 can't have boht overlay and parameter(s)."},
    {D::OverlayMissingText, D::Checks, nullptr, "overlay", "Overlay %1 is missing text."},
    {D::UnusedText, D::Checks, nullptr, "text", "Text \"%1\" is not used."},
    {D::UnusedLocalParameter, D::Checks, nullptr, "parameter", "Local Parameter  \"%1\" is not used."},
    {D::UnusedParameter, D::Checks, nullptr, "parameter", "Parameter  \"%1\" is not used."},
    {D::UnusedChoiceList, D::Checks, nullptr, "list", "Choicelist \"%1\" is not used."},
    {D::UnusedScript, D::Checks, nullptr, "script", "Script \"%1\" is not used."},
    {D::UnusedScreen, D::Checks, nullptr, "screen", "Screen \"%1\" is not used."},
    {D::UnusedOverlay, D::Checks, nullptr, "overlay", "Overlay \"%1\" is not used."},
    {D::UnusedFilter, D::Checks, nullptr, "filter", "Filter \"%1\" is not used."},
    {D::TooManyVirtualParameters, D::Checks, nullptr, "",
     "There are more than 40 virtual parameters (tags VP and VCP). Drive supports maximum 40 virtual parameters. "
     "Please remove some virtual parameters."},

    {D::NssTooDeep, D::Scripts, nullptr, "script",
     "Next Screen Scripts (NSS) call each other too deeply to fit into the wizard data of 65kB. Script %1 was not "
     "resolved completely."},
    {D::NssCallsOtherScript, D::Scripts, nullptr, "script|called script",
     "Next Screen Scripts (NSS) can only call other NSS scripts. Script %1 calls script %2"},
    {D::UnknownCommand, D::Scripts, nullptr, "script|command", "Error validating script %1. Error with command %2."},
    {D::CommandObsolete, D::Scripts, nullptr, "command|script", "Command %1 is obsolete. See script %2"},
    {D::ExtraArgument, D::Scripts, nullptr, "command|position|script",
     "Command %1 does not have %2 argument(s). See script %3"},
    {D::MissingArgument, D::Scripts, nullptr, "command|position|script",
     "Command %1 is missing argument number %2. See script %3"},
    {D::ArgumentNotANumber, D::Scripts, nullptr, "command|position", "Command's %1 argument number %2 must a number."},
    {D::ParameterNotFound, D::Scripts, nullptr, "parameter|script", "Parameter %1 was not found. See script %2"},
    {D::LocalParameterNotFound, D::Scripts, nullptr, "parameter|script",
     "Local parameter %1 was not found. See script %2"},
    {D::ScreenNotFound, D::Scripts, nullptr, "screen|script", "Screen name %1 was not found. See script %2"},
    {D::ScriptNotFound, D::Scripts, nullptr, "called script|script", "Script %1 was not found. See script %2"},
    {D::FilterNotFound, D::Scripts, nullptr, "filter|script", "Filter %1 was not found. See script %2"},
    {D::ChoiceFilterNotFound, D::Scripts, nullptr, "filter|script",
     "Choiselist filter %1 was not found. See script %2"},
    {D::CsivNameNotFound, D::Scripts, nullptr, "text|script", "Name for CSIV file %1 was not found. See script %2"},
    {D::BadSetup, D::Scripts, nullptr, "argument|script",
     "Setup to copy data from is not a number or is larger than 4. Problem exists with command argument %1. See "
     "script %2"},
    {D::CopySourceNotFound, D::Scripts, nullptr, "parameter|command index|script",
     "Parameter %1 was not found. See script line %2 in script %3"},
    {D::CsivPathNotFound, D::Scripts, nullptr, "text|script",
     "CSIV command has 2nd argument, but the file name %1 was not found. See script %2"},

    {D::NotLoaded, D::Build, nullptr, "", "WDL file has not been loaded or is invalid. SAS file can't be saved."},
    {D::WizardDataTooLong, D::Build, nullptr, "",
     "Wizard data is longer than maximum wizard data length of 65kB. Make your script simpler."},
    {D::TextDataTooLong, D::Build, nullptr, "",
     "Text data is longer than maximum of 65kB. Reduce the number of texts."},
    {D::TooManyTranslations, D::Build, nullptr, "count|maximum",
     "Too many translation files: %1. An image holds at most %2 translations."},
    {D::WouldOverwriteInput, D::Build, nullptr, "path",
     "The image or its translation template would overwrite %1, which the build reads. SAS file can't be saved."},
    {D::SavingSasFailed, D::Build, nullptr, "", "Saving of .sas file failed"},

    {D::TranslationUnreadable, D::Translations, "translation", "path", "Unable to open file %1"},
    {D::TranslationsElementMissing, D::Translations, "translation", "file",
     "XML tag \"translations\" was not found or did not contain any data. Error was in file %1"},
    {D::TranslationXmlError, D::Translations, "translation", "XML error|file", "%1Error was detected in file %2"},
    {D::TranslationWithoutData, D::Translations, "translation", "file",
     "Did not find any meaningful data in file %1 . Perhaps it isn't a translation file."},
    {D::TranslationLanguageAttribute, D::Translations, "translation", "file",
     "XML file %1 did not contain attribute \"language\" or contained extra attributes. This file is not a "
     "translation file."},
    {D::TranslationCrowdedElement, D::Translations, "translation", "file|maximum|line",
     "XML file %1 has an element with more than %2 attributes on line %3. This file is not a translation file."},
    {D::TranslationCrowdedNamespaces, D::Translations, "translation", "file|maximum|line",
     "XML file %1 has more than %2 namespace declarations in scope on line %3. This file is not a translation "
     "file."},
    {D::TranslationCrowdedDeclarations, D::Translations, "translation", "file|maximum|line",
     "XML file %1 declares more than %2 attributes on line %3. This file is not a translation file."},
    {D::UnknownLanguage, D::Translations, "translation", "language|file|languages",
     "Unknown translation language \"%1\" found in file %2. The following languages are supported:\n%3"},
    {D::TranslationWithoutId, D::Translations, "translation", "file|line",
     "XML file %1 does not have attribute \"id\" on line %2 was empty. It is not known which text was translated."},
    {D::TranslationWithoutType, D::Translations, "translation", "file|line",
     "XML file %1 does not have attribute \"type\" on line %2 was empty. It is not known whether text or help was "
     "translated."},
    {D::TranslationUnknownText, D::Translations, "translation", "text|languages",
     "Text identificator %1 was not found in wdl file. Found translation for unknown text.%2"},

    {D::CsivFileNotFound, D::Csiv, nullptr, "path", "FILE %1 NOT FOUND!"},
    {D::CsivNameMismatch, D::Csiv, nullptr, "path|flash name|actual name",
     "FILE: %1 does not contain CSIV file with name \"%2\". \nFlash file name is actually \"%3\"."},

    {D::CannotOpen, D::Tool, nullptr, "file|reason", "cannot open %1: %2"},

    {D::SavingWdlFailed, D::Editor, nullptr, "", "Saving of .wdl file failed"},
    {D::ScreenDoesNotExist, D::Editor, nullptr, "screen", "Screen %1 does not exist."},

    {D::NextScreenNamesItself, D::Lint, "undefined-screen", "screen",
     "Screen %1 names itself as its next screen inside its own block, where it is not yet defined: the image "
     "stores screen 0, a dead end on the panel."},
    {D::NextScreenNotDefined, D::Lint, "undefined-screen", "screen|suggestion",
     "Next screen %1 is not defined: the image stores screen 0, a dead end on the panel.%2"},
    {D::LabelMarkedTwice, D::Lint, "label", "label|script|place",
     "Label %1 is marked again in script %2; it is marked at %3."},
    {D::LabelNotMarked, D::Lint, "label", "label|script",
     "Label %1 is not marked by an LBL in script %2: the branch has nowhere to go."},
    {D::UnknownAction, D::Lint, "unknown-action", "key|overlay|action|suggestion",
     "%1 of overlay %2: %3 is not an action; the image stores NO_ACTION, so the key does nothing.%4"},
    {D::TruncatedProductType, D::Lint, "truncated", "value|stored", "PRODUCT_TYPE %1 is stored in 16 bits, as %2."},
    {D::TruncatedVersion, D::Lint, "truncated", "tag|version|number|stored", "%1 %2: %3 is stored in 16 bits, as %4."},
    {D::TruncatedParameterNumber, D::Lint, "truncated", "parameter|number|stored",
     "Parameter %1 has number %2, which the image stores in 16 bits, as %3."},
    {D::TruncatedChoiceCount, D::Lint, "truncated", "list|count|stored",
     "Choice list %1 has %2 choices; the image stores the count in 8 bits, as %3."},
    {D::TruncatedDefaultChoice, D::Lint, "truncated", "list|choice|stored",
     "The default of choice list %1 is choice %2, which the image stores in 8 bits, as %3."},
    {D::TruncatedCommandCount, D::Lint, "truncated", "script|count|stored",
     "Script %1 has %2 commands; the image stores the count in 8 bits, as %3."},
    {D::TruncatedNumber, D::Lint, "truncated", "number|command|stored",
     "The number %1 of %2 is stored in 16 bits, as %3."},
    {D::TruncatedSetupOperand, D::Lint, "truncated", "parameter|number|command|stored",
     "Parameter %1 has number %2: beside the setup word of %3 a number keeps only 9 bits, so the image names %4."},
    {D::MinAboveMax, D::Lint, "range", "minimum|parameter|maximum", "MIN %1 of VP %2 is above its MAX %3."},
    {D::DefaultOutsideLimits, D::Lint, "range", "default|parameter|minimum|maximum",
     "The default %1 of VP %2 is outside its limits, MIN %3 and MAX %4."},
    {D::RedefinedHeaderTag, D::Lint, "redefined", "tag|place", "%1 is given again; this value replaces the one at %2."},
    {D::RedefinedText, D::Lint, "redefined", "text|place", "Text %1 is given again; this text replaces the one at %2."},
    {D::RedefinedHelp, D::Lint, "redefined", "text|place",
     "The help of text %1 is given again; this help replaces the one at %2."},
    {D::RedefinedVpField, D::Lint, "redefined", "tag|parameter|place",
     "%1 of VP %2 is given again; this value replaces the one at %3."},
    {D::RedefinedOverlayKey, D::Lint, "redefined", "key|overlay|place",
     "%1 of overlay %2 is given again; this action replaces the one at %3."},
    {D::RedefinedId, D::Lint, "redefined", "kind|id|place",
     "%1 %2 is defined again; everything that names it finds the one at %3."},
    {D::NsAndNss, D::Lint, "ns-nss", "screen|next screen|script",
     "Screen %1 has both NS %2 and the next-screen script %3; only one of them can choose the next screen."},
    {D::SecondDefaultChoice, D::Lint, "default-choice", "list|place",
     "Choice list %1 has more than one default; this one replaces the one at %2."},
    {D::UnreachableScreen, D::Lint, "unreachable", "screen|first screen",
     "Screen %1 cannot be reached from the first screen %2."},
    {D::TranslatedFileName, D::Lint, "translated-file-name", "text|flash name or path|English|translation",
     "Text %1 holds the %2 of a CSIV file, \"%3\", which the drive looks up as written; its translation \"%4\" "
     "names no file."},
    {D::EmptyTranslatedText, D::Lint, "empty-translation", "text",
     "The translated text %1 is empty: the panel shows nothing in its place."},
    {D::EmptyTranslatedHelp, D::Lint, "empty-translation", "text",
     "The translated help of text %1 is empty: the panel shows nothing in its place."},
};
static_assert(sizeof kRows / sizeof kRows[0] == D::kCount, "one row per diagnostic");

// The -W names are stable across releases: scripts and editors name them.
const struct
{
    const char *name;
    const char *summary;
} kRules[] = {
    {"undefined-screen", "NS names a screen that no block defines"},
    {"label", "a branch to no LBL of its script, or a label marked twice"},
    {"unknown-action", "an overlay key bound to a name that is no action"},
    {"truncated", "a number cut to fewer bits in the image"},
    {"range", "a VP's MIN above its MAX, or its default outside them"},
    {"redefined", "a text, tag or field given again, or an id defined twice"},
    {"ns-nss", "a screen with both NS and a next-screen script"},
    {"default-choice", "a choice list with more than one starred default"},
    {"unreachable", "a screen that cannot be reached from the first one"},
    {"translation", "a translation file or entry that wdlc leaves out of the image"},
    {"translated-file-name", "a translation that changes a CSIV file's flash name or path"},
    {"empty-translation", "an empty translated text or help"},
};

struct Catalogue
{
    QVector<D::Entry> entries;
    QList<D::Rule> rules;
    // Per entry: its text as a pattern that takes any pieces, and how many
    // of its characters are fixed.
    QVector<QRegularExpression> patterns;
    QVector<int> fixedLength;
};

// A fixed piece of a text as a pattern in which each run of white space is
// any run of white space, so that a message wrapped or pasted across lines
// still reads; adds the characters it fixes, a run counting one, to *fixed.
QString fixedPattern(const QString &literal, int *fixed)
{
    QString out;
    bool blank = false;
    for (const QChar c : literal) {
        if (c.isSpace()) {
            if (!blank)
                out += QStringLiteral("\\s+");
            *fixed += !blank;
            blank = true;
        } else {
            out += QRegularExpression::escape(QString(c));
            ++*fixed;
            blank = false;
        }
    }
    return out;
}

const Catalogue &catalogue()
{
    static const Catalogue c = [] {
        Catalogue out;
        for (const Row &row : kRows) {
            Q_ASSERT(row.id == out.entries.size());
            const QString text = QString::fromUtf8(row.text);
            out.entries.append({row.id, row.origin, row.rule ? D::Warning : D::Error,
                                row.rule ? QString::fromLatin1(row.rule) : QString(),
                                QString::fromLatin1(row.arguments).split(QLatin1Char('|'), Qt::SkipEmptyParts), text});
            // Fixed pieces as they are, each inserted piece as anything, the
            // whole message matched from end to end.
            static const QRegularExpression piece(QStringLiteral("%\\d"));
            QString pattern;
            int fixed = 0;
            int at = 0;
            for (QRegularExpressionMatchIterator it = piece.globalMatch(text); it.hasNext();) {
                const QRegularExpressionMatch m = it.next();
                pattern += fixedPattern(text.mid(at, m.capturedStart() - at), &fixed) + QStringLiteral("(.*?)");
                at = m.capturedEnd();
            }
            pattern += fixedPattern(text.mid(at), &fixed);
            out.patterns.append(QRegularExpression(QStringLiteral("\\A\\s*") + pattern + QStringLiteral("\\s*\\z"),
                                                   QRegularExpression::DotMatchesEverythingOption));
            out.fixedLength.append(fixed);
        }
        for (const auto &rule : kRules)
            out.rules.append({QString::fromLatin1(rule.name), QString::fromLatin1(rule.summary)});
        return out;
    }();
    return c;
}

} // namespace

const Diagnostics::Entry &Diagnostics::entry(Id id)
{
    return catalogue().entries.at(id);
}

QString Diagnostics::key(Id id)
{
    return QString::fromLatin1(QMetaEnum::fromType<Id>().valueToKey(id));
}

int Diagnostics::fromKey(const QString &key)
{
    const QMetaEnum ids = QMetaEnum::fromType<Id>();
    for (int i = 0; i < ids.keyCount(); ++i) {
        if (key == QLatin1String(ids.key(i)))
            return ids.value(i);
    }
    return -1;
}

QString Diagnostics::text(Id id, const QStringList &arguments)
{
    // Every warning of a build passes here: the fixed runs are copied whole.
    const QString &text = entry(id).text;
    QString out;
    out.reserve(text.size() + 16 * arguments.size());
    int from = 0;
    for (int at = text.indexOf(QLatin1Char('%')); at >= 0 && at + 1 < text.size();
         at = text.indexOf(QLatin1Char('%'), at + 1)) {
        const int n = text.at(at + 1).digitValue();
        if (n < 1 || n > arguments.size())
            continue;
        out.append(text.constData() + from, at - from);
        out += arguments.at(n - 1);
        from = at + 2;
        ++at;
    }
    out.append(text.constData() + from, text.size() - from);
    return out;
}

QString Diagnostics::pattern(Id id)
{
    QStringList named;
    for (const QString &argument : entry(id).arguments)
        named.append(QLatin1Char('<') + argument + QLatin1Char('>'));
    return text(id, named);
}

const QList<Diagnostics::Rule> &Diagnostics::rules()
{
    return catalogue().rules;
}

const Diagnostics::Rule *Diagnostics::rule(const QString &name)
{
    for (const Rule &rule : catalogue().rules) {
        if (rule.name == name)
            return &rule;
    }
    return nullptr;
}

QString Diagnostics::originName(Origin origin)
{
    static const char *const names[] = {"the reader",
                                        "the checks after reading",
                                        "script validation",
                                        "the image build",
                                        "the translation files",
                                        "the CSIV files",
                                        "wdltool",
                                        "the editor",
                                        "check's lint rules"};
    return QString::fromLatin1(names[origin]);
}

Diagnostics::Match Diagnostics::match(const QString &message, const QString &rule)
{
    const Catalogue &c = catalogue();
    Match best;
    int bestFixed = -1;
    for (int i = 0; i < c.entries.size(); ++i) {
        if (!rule.isEmpty() && c.entries.at(i).rule != rule)
            continue;
        const QRegularExpressionMatch m = c.patterns.at(i).match(message);
        if (!m.hasMatch() || c.fixedLength.at(i) <= bestFixed)
            continue;
        best.id = i;
        best.arguments = m.capturedTexts().mid(1);
        bestFixed = c.fixedLength.at(i);
    }
    return best;
}
