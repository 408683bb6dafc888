#ifndef WDLC_WDLPARSER_H
#define WDLC_WDLPARSER_H

#include <QBitArray>
#include <QHash>
#include <QObject>
#include <QStringList>

#include <functional>

class LineSource;
class SourceOverlay;
class WdlHeader;
class WdlToken;
class WdlTokenParam;
class WdlTokenScreen;
class WdlTokenText;
class WizardItemsModel;
struct WizardContent;

// Reads one WDL file and the files it includes into the wizard's collections.
// It lives for one top-level read; every problem becomes a warning and reading
// goes on with the next line.
class WdlParser : public QObject
{
    Q_OBJECT
public:
    // The keywords of the language. Script types, overlay keys and header
    // flags are computed from these values, so their order is fixed.
    enum Commands {
        T = 0,
        H,
        TO,
        UT,
        MIN,
        MAX,
        VAL,
        SCALE,
        P,
        CL,
        VP,
        VCP,
        LP,
        APF,
        CLF,
        WS,
        NSS,
        PSS,
        PRE_SCREEN_SCRIPT,
        SUBROUTINE,
        FIRST_SCREEN_SCRIPT,
        NS,
        OVERLAY,
        SCREEN_OVERLAY,
        SCREEN_SINGLE_PARAM,
        SCREEN_DUAL_PARAM,
        OK_ACTION,
        CANCEL_ACTION,
        BACK_ACTION,
        INFO_ACTION,
        UP_ACTION,
        DOWN_ACTION,
        LEFT_ACTION,
        RIGHT_ACTION,
        FILE_FORMAT_VERSION,
        FILE_VERSION,
        RUN_MODE,
        PRODUCT_TYPE,
        PRODUCT_NAME,
        DATABASE_VERSION,
        FILE_NAME,
        INCLUDE
    };
    Q_ENUM(Commands)

    // The reader fills content's collections and header and reports to its
    // warning sink; it owns none of it.
    explicit WdlParser(const WizardContent &content);
    ~WdlParser() override;

    // Files read from here on are taken from overlay where it holds them.
    void setSourceOverlay(const SourceOverlay *overlay) { m_sourceOverlay = overlay; }

    // Reads the file at location ("file:///" + path). False only when it cannot be opened.
    bool parseFile(const QString &location, bool isTopLevel);
    void parseLine(const QString &line);
    // The next line that holds more than comments and blanks; empty at the end of the file.
    QString readNextLine();

    // The value of key in the enumeration enumName of this class, or -1.
    static int commandValue(const char *enumName, const QString &key);

    // A warning in the file being read: an included file's own name and line,
    // else the top-level file's name and line.
    void addWarning(const QString &message, int line);
    // The same, about one word of the line.
    void addWarningAbout(const QString &message, int line, const QString &subject);
    bool checkArgumentCount(int min, int count);

    quint16 virtualParameterCount() const { return m_virtualParameterCount; }

    void parseText(const QString &id, const QString &line, int tag);
    void parseParameterDeclaration(const QString &id, const QString &numberText, int tag);
    void parseChoiceList(const QString &id);
    void parseFilter(const QString &id, const QString &line, bool isClf);
    QBitArray parseFilterData(const QString &data, const QString &filterId);
    void parseDriveParameter(const QString &id, const QString &numberText);
    void parseVirtualParameter(const QString &id);
    void parseVirtualChoiceParameter(const QString &id);
    void parseScreen(const QString &id);
    void parseOverlay(const QString &id);
    void parseScript(const QString &id, int tag);

private:
    // A warning at the line just read; subject is the word it is about, where one is.
    void warn(const QString &message, const QString &subject = QString());
    bool readBlock(const QString &id, const std::function<void(const QString &)> &onItemLine);
    void readItemBlock(const QString &id,
                       const std::function<void(const QStringList &words, const QString &line)> &onItemLine);
    void defineQuotedText(const QStringList &words, const QString &line, int tag);
    WdlTokenText *findText(const QString &id);
    void parseVersion(int tag, const QString &value);
    void parseInclude(const QString &name);
    void parseScreenLine(WdlTokenScreen *screen, const QString &line);
    void parseScreenParameter(WdlTokenScreen *screen, const QStringList &words);
    void warnIfScreenIsFull(WdlTokenScreen *screen);
    void showOnScreen(WdlTokenScreen *screen, WdlTokenParam *param, bool definedInScreen);
    void parseWriteScriptLine(WdlTokenParam *param, const QString &scriptId);
    void numberParameter(WdlToken *item);
    bool readNumber(const QString &numberText, int *number);
    int currentLine() const { return m_inInclude ? m_includeLineNumber : m_mainLineNumber; }
    // Notes the line just read, in its own file, as where subject's field was set.
    void notePosition(const void *subject, int field, const QString &word);
    // The name of the top-level file without directories.
    QString topLevelFileName();
    // An item defined by the line just read: its head line in the item and in the positions.
    void placeItem(WdlToken *item);

    const WizardContent &m_content;
    WizardItemsModel *m_parameters;
    WizardItemsModel *m_screens;
    WizardItemsModel *m_overlays;
    WizardItemsModel *m_scripts;
    WizardItemsModel *m_localParameters;
    WizardItemsModel *m_choiceLists;
    WizardItemsModel *m_texts;
    WizardItemsModel *m_filters;
    WdlHeader *m_header;

    // NSS script id to the targets of its SNS and CALL lines, in the order the
    // scripts were first read (the NSS resolution warns in that order).
    QHash<QString, QStringList> m_nssCalls;
    QStringList m_nssOrder;
    QHash<QString, WdlTokenScreen *> m_pendingScreens;

    LineSource *m_currentStream = nullptr;
    LineSource *m_mainStream = nullptr;
    int m_mainLineNumber = 0;
    int m_parameterCounter = 1;
    quint16 m_virtualParameterCount = 0;
    // Bits of every filter read so far: together they must fit the wizard data.
    qint64 m_filterBits = 0;
    bool m_firstScreenScriptSeen = false;
    int m_includeLineNumber = 0;
    QString m_includeFileName;
    // topLevelFileName() of m_namedFile.
    QString m_namedFile;
    QString m_topLevelFileName;
    bool m_inInclude = false;
    QString m_topLevelDirectory;
    const SourceOverlay *m_sourceOverlay = nullptr;
};

#endif
