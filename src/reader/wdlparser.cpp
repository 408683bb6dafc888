#include "reader/wdlparser.h"

#include "base/enumkeys.h"
#include "core/fileurl.h"
#include "core/sourcepositions.h"
#include "core/warningsink.h"
#include "core/wdlheader.h"
#include "core/wizardcontent.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltokenchoicelist.h"
#include "items/wdltokenfilter.h"
#include "items/wdltokenlocalparam.h"
#include "items/wdltokenoverlay.h"
#include "items/wdltokenparam.h"
#include "items/wdltokenscreen.h"
#include "items/wdltokenscript.h"
#include "items/wdltokentext.h"
#include "reader/linesource.h"
#include "reader/nssresolver.h"
#include "reader/wdlline.h"

#include <QDir>
#include <QFileInfo>

namespace {

static_assert(WdlParser::FIRST_SCREEN_SCRIPT - 14 == WdlTokenScript::ScriptType_FIRST
                  && WdlParser::WS - 14 == WdlTokenScript::ScriptType_WS,
              "a script's type is its keyword's value minus 14");
static_assert(WdlParser::RIGHT_ACTION - WdlParser::OK_ACTION == WdlTokenOverlay::RIGHT_ACTION,
              "an overlay key's index is its keyword's value minus OK_ACTION");
static_assert(WdlParser::FILE_NAME - WdlParser::FILE_FORMAT_VERSION == WdlHeader::FileNameTag,
              "a header flag's index is its keyword's value minus FILE_FORMAT_VERSION");

// Every filter's bitmap goes into the wizard data, which holds at most 65535
// bytes: more bits in all could never reach the drive, and would only let a
// typo like "0-2000000000", or many filters, eat the memory.
constexpr qint64 kMaxFilterBits = 65535 * 8;

// Drive parameters that a wizard may not show or change.
bool isAccessible(int number)
{
    if (number == 1423 || number == 1429 || number == 1598 || number == 1599)
        return false;
    return number < 9900 || number > 9999 || number == 9940 || number == 9990;
}

QString msgNotANumber(const QString &numberText)
{
    return QStringLiteral("Parameter number ") + numberText + QStringLiteral(" was not a number.");
}

QString msgNotAccessible(const QString &id, const QString &numberText)
{
    return QStringLiteral("Parameter \"") + id + QStringLiteral("\" with number ") + numberText
           + QStringLiteral(" is not accessible inside wizard.");
}

} // namespace

WdlParser::WdlParser(const WizardContent &content)
    : m_content(content),
      m_parameters(content.parameters()),
      m_screens(content.screens()),
      m_overlays(content.overlays()),
      m_scripts(content.scripts()),
      m_localParameters(content.localParameters()),
      m_choiceLists(content.choiceLists()),
      m_texts(content.texts()),
      m_filters(content.filters()),
      m_header(content.header)
{
}

WdlParser::~WdlParser() = default;

int WdlParser::commandValue(const char *enumName, const QString &key)
{
    if (qstrcmp(enumName, "Commands") == 0)
        return EnumKeys::of<Commands>().value(key);
    const int index = staticMetaObject.indexOfEnumerator(enumName);
    return index < 0 ? -1 : EnumKeys(staticMetaObject.enumerator(index)).value(key);
}

void WdlParser::addWarning(const QString &message, int line)
{
    addWarningAbout(message, line, QString());
}

void WdlParser::addWarningAbout(const QString &message, int line, const QString &subject)
{
    if (m_inInclude)
        m_content.warnings->addWarningIn(m_includeFileName, message, m_includeLineNumber, subject);
    else
        m_content.warnings->addWarningIn(topLevelFileName(), message, line, subject);
}

// One string for every warning and position of the file: a wizard may have
// millions.
QString WdlParser::topLevelFileName()
{
    const QString current = m_content.warnings->currentFile();
    if (current != m_namedFile || m_topLevelFileName.isNull()) {
        m_namedFile = current;
        m_topLevelFileName = QFileInfo(current).fileName();
    }
    return m_topLevelFileName;
}

void WdlParser::warn(const QString &message, const QString &subject)
{
    addWarningAbout(message, m_mainLineNumber, subject);
}

void WdlParser::notePosition(const void *subject, int field, const QString &word)
{
    if (!m_content.positions)
        return;
    const QString file = m_inInclude ? m_includeFileName : topLevelFileName();
    m_content.positions->note(subject, field, {file, currentLine(), word});
}

void WdlParser::placeItem(WdlToken *item)
{
    item->setSourceLine(m_mainLineNumber);
    notePosition(item, SourcePositions::Head, item->id());
}

bool WdlParser::checkArgumentCount(int min, int count)
{
    const quint8 atLeast = quint8(min);
    const quint8 given = quint8(count);
    if (atLeast <= given)
        return true;
    warn(QStringLiteral("Too few arguments. There should be at least ") + QString::number(atLeast)
         + QStringLiteral(" arguments, but there are ") + QString::number(given) + QStringLiteral(" arguments"));
    return false;
}

QString WdlParser::readNextLine()
{
    QString line;
    while (line.isEmpty() && m_currentStream && !m_currentStream->atEnd()) {
        line = WdlLine::significant(m_currentStream->readLine());
        if (m_inInclude)
            ++m_includeLineNumber;
        else
            ++m_mainLineNumber;
    }
    return line;
}

bool WdlParser::parseFile(const QString &location, bool isTopLevel)
{
    if (isTopLevel) {
        m_parameterCounter = 1;
        m_virtualParameterCount = 0;
        m_mainLineNumber = 0;
        m_firstScreenScriptSeen = false;
        m_currentStream = nullptr;
    }
    const QString path = FileUrl::toLocalPath(location);
    LineSource source;
    if (!source.open(path, m_sourceOverlay, m_content.inputs)) {
        addWarning(QStringLiteral("Opening of ") + location + QStringLiteral(" failed"), 0);
        return false;
    }
    m_currentStream = &source;
    if (isTopLevel) {
        m_mainStream = &source;
        m_topLevelDirectory = QFileInfo(path).absolutePath();
    }

    while (!source.atEnd()) {
        const QString line = readNextLine();
        if (!line.isEmpty())
            parseLine(line);
    }

    if (isTopLevel) {
        NssResolver::resolve([this](const QString &text, int line) { addWarning(text, line); }, m_scripts, m_screens,
                             m_nssCalls, m_nssOrder);
        m_nssCalls.clear();
        m_nssOrder.clear();
        // A screen named by NS whose block never came belongs to no collection;
        // the wizard keeps it so that it is released with the rest.
        for (WdlTokenScreen *screen : qAsConst(m_pendingScreens))
            m_content.unlistedItems->append(screen);
        m_pendingScreens.clear();
        m_currentStream = nullptr;
        m_mainStream = nullptr;
    } else {
        m_currentStream = m_mainStream;
        m_includeFileName.clear();
        m_inInclude = false;
    }
    return true;
}

void WdlParser::parseLine(const QString &line)
{
    const QStringList words = WdlLine::words(line);
    if (!checkArgumentCount(2, words.size()))
        return;
    const QString tag = WdlLine::tag(words.at(0));
    const QString &word1 = words.at(1);
    const int value = commandValue("Commands", tag);
    switch (value) {
    case T:
    case H:
        parseText(word1, line, value);
        break;
    case P:
        if (checkArgumentCount(3, words.size()))
            parseParameterDeclaration(word1, words.at(2), P);
        break;
    case LP:
        if (checkArgumentCount(4, words.size()))
            parseParameterDeclaration(word1, words.at(3), LP);
        break;
    case CL:
        parseChoiceList(word1);
        break;
    case APF:
    case CLF:
        parseFilter(word1, line, value == CLF);
        break;
    case VP:
        parseVirtualParameter(word1);
        break;
    case VCP:
        parseVirtualChoiceParameter(word1);
        break;
    case WS:
    case NSS:
    case PSS:
    case PRE_SCREEN_SCRIPT:
    case SUBROUTINE:
    case FIRST_SCREEN_SCRIPT:
        parseScript(word1, value);
        break;
    case SCREEN_OVERLAY:
    case SCREEN_SINGLE_PARAM:
    case SCREEN_DUAL_PARAM:
        parseScreen(word1);
        break;
    case FILE_FORMAT_VERSION:
    case FILE_VERSION:
    case DATABASE_VERSION:
        parseVersion(value, word1);
        break;
    case RUN_MODE:
        m_header->setRunMode(word1 == QLatin1String("1") ? 1 : 0);
        notePosition(m_header, SourcePositions::HeaderTag + value - FILE_FORMAT_VERSION, word1);
        break;
    case PRODUCT_TYPE: {
        bool ok = false;
        const int type = word1.toInt(&ok, 10);
        if (ok) {
            m_header->setProductType(quint16(type));
            notePosition(m_header, SourcePositions::HeaderTag + value - FILE_FORMAT_VERSION, word1);
        } else {
            warn(QStringLiteral("Failed to parse string ") + word1 + QStringLiteral(" into a number."), word1);
        }
        break;
    }
    case PRODUCT_NAME: {
        const QString name = QString(word1).remove(QLatin1Char('"'));
        if (name.size() == 6) {
            m_header->setProductName(name);
            notePosition(m_header, SourcePositions::HeaderTag + value - FILE_FORMAT_VERSION, word1);
        } else {
            warn(QStringLiteral("PRODUCT_NAME must be 6 characters long."), word1);
        }
        break;
    }
    case FILE_NAME:
        m_header->setFileName(QString(word1).remove(QLatin1Char('"')));
        notePosition(m_header, SourcePositions::HeaderTag + value - FILE_FORMAT_VERSION, word1);
        break;
    case INCLUDE:
        parseInclude(word1);
        break;
    default:
        warn(QStringLiteral("Unknown tag ") + tag, words.at(0));
        break;
    }
}

// FILE_FORMAT_VERSION | FILE_VERSION | DATABASE_VERSION <major>.<minor>
void WdlParser::parseVersion(int tag, const QString &value)
{
    const QStringList pieces = value.split(QLatin1Char('.'), Qt::SkipEmptyParts);
    if (pieces.size() != 2) {
        warn(QStringLiteral("Metadata FILE_FORMAT_VERSION, FILE_VERSION, DATABASE_VERSION must contain "
                            "\".\" that separates major and minor versions."));
        return;
    }
    bool majorOk = false;
    bool minorOk = false;
    const quint16 major = quint16(pieces.at(0).toInt(&majorOk, 10));
    const quint16 minor = quint16(pieces.at(1).toInt(&minorOk, 10));
    if (!majorOk || !minorOk)
        warn(QStringLiteral("Failed to parse string ") + value
                 + QStringLiteral(" into major and minor version number."),
             value);
    notePosition(m_header, SourcePositions::HeaderTag + tag - FILE_FORMAT_VERSION, value);
    if (tag == FILE_FORMAT_VERSION)
        m_header->setFileFormatVersion(major, minor);
    else if (tag == FILE_VERSION)
        m_header->setFileVersion(major, minor);
    else
        m_header->setDatabaseVersion(major, minor);
}

// INCLUDE <file name>, relative to the top-level file's directory; one level deep.
void WdlParser::parseInclude(const QString &name)
{
    if (m_inInclude) {
        warn(QStringLiteral("It is not possible to include a file from an already included file "
                            "(recursion is not allowed). File \"")
                 + name + QStringLiteral("\" will be ignored."),
             name);
        return;
    }
    m_includeFileName = name;
    m_inInclude = true;
    m_includeLineNumber = 0;
    const QString path = QDir(m_topLevelDirectory).absoluteFilePath(name);
    if (!parseFile(FileUrl::fromLocalPath(path), false)) {
        m_includeFileName.clear();
        m_inInclude = false;
    }
}

// Reads the block that follows an item's head line: "{", item lines, "}".
// Brace lines inside change the depth; every other line goes to onItemLine.
// At the end of the file the block is closed there with a warning, so that
// nested blocks report innermost first and reading never loops.
bool WdlParser::readBlock(const QString &id, const std::function<void(const QString &)> &onItemLine)
{
    if (!readNextLine().startsWith(QLatin1Char('{'))) {
        warn(QStringLiteral("ERROR with parenthesis!"));
        return false;
    }
    int depth = 1;
    while (depth > 0) {
        const QString line = readNextLine();
        if (line.isEmpty()) {
            warn(QStringLiteral("Block of ") + id + QStringLiteral(" is not closed before the end of the file."));
            break;
        }
        if (line.startsWith(QLatin1Char('{')))
            ++depth;
        else if (line.startsWith(QLatin1Char('}')))
            --depth;
        else
            onItemLine(line);
    }
    return true;
}

// A block whose item lines are "<tag> <word> ...": each line split at blanks
// and colons, lines of fewer than two words dropped with a warning.
void WdlParser::readItemBlock(const QString &id,
                              const std::function<void(const QStringList &, const QString &)> &onItemLine)
{
    readBlock(id, [&](const QString &line) {
        const QStringList words = WdlLine::itemWords(line);
        if (checkArgumentCount(2, words.size()))
            onItemLine(words, line);
    });
}

// T|H <text id> "<text>" inside a block defines or updates that text; without
// a quoted part the line only names it.
void WdlParser::defineQuotedText(const QStringList &words, const QString &line, int tag)
{
    if (words.size() > 2)
        parseText(words.at(1), line, tag);
}

WdlTokenText *WdlParser::findText(const QString &id)
{
    auto *text = m_texts->byId<WdlTokenText>(id);
    if (!text)
        warn(QStringLiteral("Text ") + id + QStringLiteral(" is not defined."), id);
    return text;
}

bool WdlParser::readNumber(const QString &numberText, int *number)
{
    bool ok = false;
    *number = numberText.toInt(&ok, 10);
    if (!ok) {
        warn(msgNotANumber(numberText), numberText);
        *number = 1;
    }
    return ok;
}

// P, VP, VCP and LP items read from one file share one number sequence.
void WdlParser::numberParameter(WdlToken *item)
{
    item->setItemNumber(quint16(m_parameterCounter));
    ++m_parameterCounter;
}

// T|H <id> "<text>"
void WdlParser::parseText(const QString &id, const QString &line, int tag)
{
    if (!WdlLine::isCompleteText(line)) {
        const int n = currentLine();
        warn(QStringLiteral("ERROR in wdl texts from line ") + QString::number(n) + QStringLiteral(" to line ")
             + QString::number(n + 1));
        return;
    }
    const QString value = WdlLine::quotedText(line);
    const bool isHelp = tag == H;
    const int field = isHelp ? SourcePositions::HelpLine : SourcePositions::TextLine;
    if (auto *text = m_texts->byId<WdlTokenText>(id)) {
        text->setTextOrHelp(value, isHelp);
        notePosition(text, field, id);
        return;
    }
    auto *text = new WdlTokenText(id, value, isHelp);
    placeItem(text);
    notePosition(text, field, id);
    m_texts->addItem(text);
}

// P <id> <number>  |  LP <id> = <value>
void WdlParser::parseParameterDeclaration(const QString &id, const QString &numberText, int tag)
{
    int number = 0;
    readNumber(numberText, &number);
    if (tag == LP) {
        auto *local = new WdlTokenLocalParam(id, number);
        placeItem(local);
        m_localParameters->addItem(local);
        numberParameter(local);
        return;
    }
    if (!isAccessible(number)) {
        warn(msgNotAccessible(id, numberText), numberText);
        return;
    }
    auto *param = new WdlTokenParam(id, number);
    placeItem(param);
    m_parameters->addItem(param);
    numberParameter(param);
}

// CL <id> { <text id>[*] ... }
void WdlParser::parseChoiceList(const QString &id)
{
    auto *list = new WdlTokenChoiceList(id);
    placeItem(list);
    int position = 0;
    readBlock(id, [&](const QString &line) {
        const QString written = WdlLine::itemWords(line).value(0);
        QString textId = written;
        if (textId.endsWith(QLatin1Char('*'))) {
            notePosition(list, SourcePositions::DefaultChoice, textId);
            textId.chop(1);
            list->setDefaultChoice(position);
        }
        if (auto *text = m_texts->byId<WdlTokenText>(textId))
            list->addChoice(text);
        else
            warn(QStringLiteral("Choicelist selection ") + textId + QStringLiteral(" is not defined."), written);
        ++position;
    });
    m_choiceLists->addItem(list);
}

// APF|CLF <id> "<index>,<first>-<last>,..."
void WdlParser::parseFilter(const QString &id, const QString &line, bool isClf)
{
    if (line.count(QLatin1Char('"')) != 2) {
        warn(QStringLiteral("There is no filter data for filter \"") + id + QStringLiteral("\"."), id);
        return;
    }
    const QBitArray bits = parseFilterData(WdlLine::lastQuotedSection(line), id);
    auto *filter = new WdlTokenFilter(id, bits, isClf);
    placeItem(filter);
    m_filters->addItem(filter);
}

QBitArray WdlParser::parseFilterData(const QString &data, const QString &filterId)
{
    QBitArray bits;
    const auto isIndex = [this](const QString &text, int *value) {
        bool ok = false;
        *value = text.toInt(&ok, 10);
        return ok && *value >= 0 && m_filterBits + *value + 1 <= kMaxFilterBits;
    };
    // Sets bits first to last, growing the array to hold them.
    const auto setBits = [&bits](int first, int last) {
        if (first > last)
            return;
        if (bits.size() < last + 1)
            bits.resize(last + 1);
        bits.fill(true, first, last + 1);
    };
    for (const QString &piece : data.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool valid = false;
        if (piece.contains(QLatin1Char('-'))) {
            const QStringList ends = piece.split(QLatin1Char('-'));
            int first = 0;
            int last = 0;
            valid = ends.size() == 2 && isIndex(ends.at(0), &first) && isIndex(ends.at(1), &last);
            if (valid)
                setBits(first, last);
        } else {
            int index = 0;
            valid = isIndex(piece, &index);
            if (valid)
                setBits(index, index);
        }
        if (!valid) {
            warn(QStringLiteral("Failed to parse filter \"") + filterId + QStringLiteral("\". Problem with string ")
                     + piece,
                 piece);
            break;
        }
    }
    m_filterBits += bits.size();
    return bits;
}

// WS <script id> [{ ... }] inside a P, VP or VCP block.
void WdlParser::parseWriteScriptLine(WdlTokenParam *param, const QString &scriptId)
{
    if (!m_scripts->containsId(scriptId))
        parseScript(scriptId, WS);
    param->setWriteScript(m_scripts->byId<WdlTokenScript>(scriptId));
}

// P <id> <number> { TO|APF|CLF|WS <id> ... }   (inside a screen block)
void WdlParser::parseDriveParameter(const QString &id, const QString &numberText)
{
    int number = 0;
    readNumber(numberText, &number);
    if (!isAccessible(number)) {
        warn(msgNotAccessible(id, numberText), numberText);
        return;
    }
    auto *param = new WdlTokenParam(id, number);
    placeItem(param);
    readItemBlock(id, [&](const QStringList &words, const QString &) {
        const QString &tag = words.at(0);
        const QString &word1 = words.at(1);
        switch (commandValue("Commands", tag)) {
        case TO:
            if (auto *text = m_texts->byId<WdlTokenText>(word1))
                param->setText(text);
            else
                warn(QStringLiteral("Text override ") + word1 + QStringLiteral(" is not defined."), word1);
            break;
        case APF:
            if (auto *filter = m_filters->byId<WdlTokenFilter>(word1))
                param->setApf(filter);
            else
                warn(QStringLiteral("Array filter ") + word1 + QStringLiteral(" is not defined."), word1);
            break;
        case CLF:
            if (auto *filter = m_filters->byId<WdlTokenFilter>(word1))
                param->setClf(filter);
            else
                warn(QStringLiteral("Choicelist filter ") + word1 + QStringLiteral(" is not defined."), word1);
            break;
        case WS:
            parseWriteScriptLine(param, word1);
            break;
        default:
            warn(QStringLiteral("Unknown tag in drive parameter ") + tag, tag);
            break;
        }
    });
    m_parameters->addItem(param);
    numberParameter(param);
}

// VP <id> { T|H <text id> ["<text>"], UT <text id>, MIN|MAX|VAL|SCALE <n>, WS <script id> }
void WdlParser::parseVirtualParameter(const QString &id)
{
    auto *param = new WdlTokenParam(id, false);
    placeItem(param);
    readItemBlock(id, [&](const QStringList &words, const QString &line) {
        const QString &tag = words.at(0);
        const QString &word1 = words.at(1);
        const int value = commandValue("Commands", tag);
        switch (value) {
        case T:
        case H:
            defineQuotedText(words, line, value);
            // Once the name is set, further T and H lines only update the text.
            if (!param->text())
                param->setText(findText(word1));
            break;
        case UT:
            param->setUnitText(findText(word1));
            notePosition(param, SourcePositions::UnitText, word1);
            break;
        case MIN:
        case MAX:
        case VAL:
        case SCALE: {
            bool ok = false;
            const int number = word1.toInt(&ok, 10);
            if (!ok) {
                warn(QStringLiteral("Value of attribute ") + tag
                         + QStringLiteral(" is not a number. Please check text ") + tag,
                     word1);
            } else if (value == MIN) {
                param->setMinValue(number);
                notePosition(param, SourcePositions::Min, word1);
            } else if (value == MAX) {
                param->setMaxValue(number);
                notePosition(param, SourcePositions::Max, word1);
            } else if (value == VAL) {
                param->setDefaultValue(number);
                notePosition(param, SourcePositions::Val, word1);
            } else {
                param->setScaleValue(number);
                notePosition(param, SourcePositions::Scale, word1);
            }
            break;
        }
        case WS:
            parseWriteScriptLine(param, word1);
            break;
        default:
            warn(QStringLiteral("Unknown tag in VP ") + tag, tag);
            break;
        }
    });
    m_parameters->addItem(param);
    numberParameter(param);
    ++m_virtualParameterCount;
}

// VCP <id> { T|H <text id> ["<text>"], CL <list id> [{ ... }], WS <script id> }
void WdlParser::parseVirtualChoiceParameter(const QString &id)
{
    auto *param = new WdlTokenParam(id, true);
    placeItem(param);
    readItemBlock(id, [&](const QStringList &words, const QString &line) {
        const QString &tag = words.at(0);
        const QString &word1 = words.at(1);
        const int value = commandValue("Commands", tag);
        switch (value) {
        case T:
        case H:
            defineQuotedText(words, line, value);
            param->setText(findText(word1));
            break;
        case CL:
            if (!m_choiceLists->containsId(word1))
                parseChoiceList(word1);
            param->setChoiceList(m_choiceLists->byId<WdlTokenChoiceList>(word1));
            break;
        case WS:
            parseWriteScriptLine(param, word1);
            break;
        default:
            warn(QStringLiteral("Unknown tag in VCP ") + tag, tag);
            break;
        }
    });
    m_parameters->addItem(param);
    numberParameter(param);
    ++m_virtualParameterCount;
}

// SCREEN_OVERLAY|SCREEN_SINGLE_PARAM|SCREEN_DUAL_PARAM <id> { P|VP|VCP|NS|OVERLAY|<script tag> <id> ... }
void WdlParser::parseScreen(const QString &id)
{
    WdlTokenScreen *screen = m_screens->byId<WdlTokenScreen>(id);
    const bool listed = screen != nullptr;
    if (listed) {
        warn(QStringLiteral("Screen ") + id + QStringLiteral(" is defined more than once."), id);
    } else {
        screen = m_pendingScreens.take(id);
        if (!screen) {
            screen = new WdlTokenScreen(id);
            screen->setSourceLine(m_mainLineNumber);
        }
        // A screen first named by NS keeps that line as its source line; its
        // position is where its block stands.
        notePosition(screen, SourcePositions::Head, id);
    }
    readBlock(id, [&](const QString &line) { parseScreenLine(screen, line); });
    if (!listed)
        m_screens->addItem(screen);
}

void WdlParser::parseScreenLine(WdlTokenScreen *screen, const QString &line)
{
    const QStringList words = WdlLine::itemWords(line);
    const int value = words.isEmpty() ? -1 : commandValue("Commands", words.at(0));
    if (!checkArgumentCount(2, words.size()))
        return;
    const QString &word1 = words.at(1);
    switch (value) {
    case P:
        warnIfScreenIsFull(screen);
        parseScreenParameter(screen, words);
        break;
    case VP:
    case VCP:
        warnIfScreenIsFull(screen);
        if (!m_parameters->containsId(word1)) {
            if (value == VP)
                parseVirtualParameter(word1);
            else
                parseVirtualChoiceParameter(word1);
        }
        showOnScreen(screen, m_parameters->byId<WdlTokenParam>(word1), true);
        break;
    case PRE_SCREEN_SCRIPT:
    case PSS:
    case NSS:
    case WS: {
        // Noted before the script's own block moves the line on.
        if (value == NSS || value == WS)
            notePosition(screen, SourcePositions::NextScreenScript, word1);
        if (!m_scripts->containsId(word1))
            parseScript(word1, value);
        WdlTokenScript *script = m_scripts->byId<WdlTokenScript>(word1);
        if (value == PRE_SCREEN_SCRIPT) {
            screen->setPreScreenScript(script);
        } else if (value == PSS) {
            screen->setPss(script);
        } else {
            screen->setNextScreenScript(script);
        }
        break;
    }
    case NS: {
        WdlTokenScreen *next = m_screens->byId<WdlTokenScreen>(word1);
        if (!next)
            next = m_pendingScreens.value(word1);
        if (!next) {
            next = new WdlTokenScreen(word1);
            next->setSourceLine(m_mainLineNumber);
            m_pendingScreens.insert(word1, next);
        }
        screen->setNextScreen(next);
        notePosition(screen, SourcePositions::NextScreen, word1);
        break;
    }
    case OVERLAY:
        if (!m_overlays->containsId(word1))
            parseOverlay(word1);
        screen->setOverlay(m_overlays->byId<WdlTokenOverlay>(word1));
        break;
    default:
        warn(QStringLiteral("Unknown tag \"") + words.at(0) + QStringLiteral("\" in screen ") + screen->id(),
             words.at(0));
        break;
    }
}

// P <id> [<number> [{ ... }]]   (inside a screen block)
void WdlParser::parseScreenParameter(WdlTokenScreen *screen, const QStringList &words)
{
    const QString &id = words.at(1);
    const bool blockFollows = m_currentStream && m_currentStream->nextNonBlankLineStartsWith(QLatin1Char('{'));
    if (!m_parameters->containsId(id)) {
        if (!checkArgumentCount(3, words.size()))
            return;
        if (blockFollows)
            parseDriveParameter(id, words.at(2));
        else
            parseParameterDeclaration(id, words.at(2), P);
    }
    showOnScreen(screen, m_parameters->byId<WdlTokenParam>(id), false);
}

// The record has room for two parameters; a third would make the screen read
// as an overlay screen on the panel. Warned before the parameter's own block is
// read, so that the warning carries the line that names it.
void WdlParser::warnIfScreenIsFull(WdlTokenScreen *screen)
{
    if (screen->parameters().size() >= 2)
        warn(QStringLiteral("Screen ") + screen->id() + QStringLiteral(" can't have more than two parameters."));
}

void WdlParser::showOnScreen(WdlTokenScreen *screen, WdlTokenParam *param, bool definedInScreen)
{
    if (!param || screen->parameters().size() >= 2)
        return;
    screen->addParameter(param);
    if (definedInScreen)
        param->setDefinedInScreen(true);
}

// OVERLAY <id> { T|H <text id> ["<text>"], <key>_ACTION <action> ... }   (inside a screen block)
void WdlParser::parseOverlay(const QString &id)
{
    auto *overlay = new WdlTokenOverlay(id);
    placeItem(overlay);
    readItemBlock(id, [&](const QStringList &words, const QString &line) {
        const QString &tag = words.at(0);
        const QString &word1 = words.at(1);
        const int value = commandValue("Commands", tag);
        switch (value) {
        case T:
        case H:
            defineQuotedText(words, line, value);
            overlay->setText(findText(word1));
            break;
        case OK_ACTION:
        case CANCEL_ACTION:
        case BACK_ACTION:
        case INFO_ACTION:
        case UP_ACTION:
        case DOWN_ACTION:
        case LEFT_ACTION:
        case RIGHT_ACTION:
            overlay->setAction(value - OK_ACTION, word1);
            overlay->bind(tag, word1);
            notePosition(overlay, SourcePositions::OverlayKey + value - OK_ACTION, word1);
            break;
        default:
            warn(QStringLiteral("Unknown tag in overlay ") + tag, tag);
            break;
        }
    });
    m_overlays->addItem(overlay);
}

// WS|NSS|PSS|PRE_SCREEN_SCRIPT|SUBROUTINE|FIRST_SCREEN_SCRIPT <id> { <command line> ... }
void WdlParser::parseScript(const QString &id, int tag)
{
    if (tag == FIRST_SCREEN_SCRIPT) {
        if (m_firstScreenScriptSeen)
            warn(QStringLiteral("Multiple scripts of type FIRST_SCREEN_SCRIPT found. There can be only one "
                                "FIRST_SCREEN_SCRIPT."));
        m_firstScreenScriptSeen = true;
    }
    QStringList calls;
    auto *script = new WdlTokenScript(id, tag - 14);
    placeItem(script);
    readBlock(id, [&](const QString &line) {
        if (script->addCommand(line, m_mainLineNumber))
            notePosition(script, SourcePositions::Command + script->commandCount() - 1, QString());
        else
            warn(QStringLiteral("There were too many tokens on one script line."));
        if (tag == FIRST_SCREEN_SCRIPT)
            return;
        const bool isCall = line.startsWith(QLatin1String("CALL"));
        if (isCall || line.startsWith(QLatin1String("SNS")))
            calls.append(WdlLine::words(line).constLast());
        if (isCall) {
            const QStringList words = WdlLine::itemWords(line);
            if (checkArgumentCount(2, words.size()))
                addReferenceTo(m_scripts->itemById(words.at(1)));
        }
    });
    m_scripts->addItem(script);
    if (tag == NSS) {
        if (!m_nssCalls.contains(id))
            m_nssOrder.append(id);
        m_nssCalls.insert(id, calls);
    }
}
