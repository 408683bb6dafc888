#ifndef WDLC_WDLWIZARD_H
#define WDLC_WDLWIZARD_H

#include "core/buildinputs.h"
#include "core/buildproducts.h"
#include "core/includedfile.h"
#include "core/sourcepositions.h"
#include "core/warningsink.h"
#include "core/warningsmodel.h"
#include "core/wdlheader.h"
#include "core/wizardcontent.h"
#include "core/wizarditemsmodel.h"
#include "items/wdltoken.h"
#include "items/wdltokenchoicelist.h"
#include "items/wdltokenparam.h"
#include "items/wdltokenscreen.h"
#include "items/wdltokenscript.h"
#include "items/wdltokentext.h"

#include <QObject>
#include <QStringList>
#include <QVariantList>

class SaveWdl;
class SourceOverlay;

// The one wizard of the process: it owns every item in eight collections, the
// warnings, the header of the loaded file, two name registries and the CSIV
// file map. The command line and the editor both work through it.
//
// Items are released only by clearAllModels, and only later (deleteLater):
// other items may still point at them while the call runs.
//
// It is the one place that wires the pipeline together: the reader, the
// checks and the builders get its content (collections, header, CSIV map)
// and report to it as their warning sink, but never see it.
class WdlWizard : public QObject, public WarningSink
{
    Q_OBJECT
    Q_PROPERTY(WizardItemsModel *parametersModel READ parametersModel CONSTANT)
    Q_PROPERTY(WizardItemsModel *screenModel READ screenModel CONSTANT)
    Q_PROPERTY(WizardItemsModel *choicelistModel READ choicelistModel CONSTANT)
    Q_PROPERTY(WizardItemsModel *textModel READ textModel CONSTANT)
    Q_PROPERTY(WarningsModel *warningsModel READ warningsModel NOTIFY warningsChanged)
    Q_PROPERTY(bool isEmpty READ isEmpty NOTIFY isEmptyChanged)
    Q_PROPERTY(bool isValidForSaving READ isValidForSaving NOTIFY isValidForSavingChanged)
    Q_PROPERTY(bool screensLoaded READ screensLoaded NOTIFY screensLoadedChanged)
public:
    static constexpr int kMaxVirtualParameters = 40;

    // Creates the wizard on first use.
    static WdlWizard *instance();
    ~WdlWizard() override;

    Q_INVOKABLE void clearAllModels();
    Q_INVOKABLE void openWDLFile(const QString &path);
    Q_INVOKABLE void saveWdlFile(const QString &path);
    Q_INVOKABLE void createSasByteArray(const QString &path);
    Q_INVOKABLE void createTempSas();
    Q_INVOKABLE void registerScreen(const QString &id);
    Q_INVOKABLE void registerLoadedItem(const QString &name);
    Q_INVOKABLE bool isItemAlreadyLoaded(const QString &name) const;
    Q_INVOKABLE WdlToken *createWdlTokenScreen();
    Q_INVOKABLE WdlTokenParam *createWizardParameter(const QString &id, WdlTokenText *paramName, bool isChoicelist);
    Q_INVOKABLE WdlTokenText *createWizardText(const QString &text, const QString &help);
    Q_INVOKABLE WdlTokenChoiceList *createWizardChoicelist(const QString &id);
    Q_INVOKABLE WdlTokenScript *createWizardScript(const QString &screenId, const QString &script, int type);
    Q_INVOKABLE QVariantList getNextScreenScriptItems(const QString &scriptId) const;
    Q_INVOKABLE WdlTokenScreen *getScreen(const QString &screenId);
    Q_INVOKABLE QString getFirstScreenID() const;
    Q_INVOKABLE QMap<quint16, IncludedFile> getCSIVfileList() const { return m_includedFiles; }
    Q_INVOKABLE void validateScripts();

    // Writes every warning as two lines: file TAB line, then TAB message.
    void writeWarningsFile(const QString &path) const;

    // A warning of the wizard itself, carrying the current file's name.
    void addWarning(const QString &text, int line) override;
    void addWarningIn(const QString &fileName, const QString &text, int line, const QString &subject) override;

    // Why the command line would write no image for the loaded wizard though
    // it opened without warnings (no screens, too much data; with sasUrl
    // also too many translation files beside it), or an empty string.
    // Nothing is written.
    QString imageRefusal(const QString &sasUrl = QString());
    // Everything one build of the loaded wizard into an image at sasUrl
    // makes, written nowhere: the image and the template wdlc would write
    // (none when it would refuse the wizard, and then the reason), and the
    // problems with translation and CSIV files. The warnings list is left
    // as it is. Texts that hold CSIV paths are emptied as by a real build.
    BuildProducts buildInMemory(const QString &sasUrl);
    // Texts that stand in for files on disk while a wizard is opened; null
    // for none. The overlay stays the caller's.
    void setSourceOverlay(const SourceOverlay *overlay) { m_sourceOverlay = overlay; }

    WizardItemsModel *parametersModel() { return &m_models[WizardContent::ParametersSlot]; }
    WizardItemsModel *screenModel() { return &m_models[WizardContent::ScreensSlot]; }
    WizardItemsModel *overlayModel() { return &m_models[WizardContent::OverlaysSlot]; }
    WizardItemsModel *scriptModel() { return &m_models[WizardContent::ScriptsSlot]; }
    WizardItemsModel *localParameterModel() { return &m_models[WizardContent::LocalParametersSlot]; }
    WizardItemsModel *choicelistModel() { return &m_models[WizardContent::ChoiceListsSlot]; }
    WizardItemsModel *textModel() { return &m_models[WizardContent::TextsSlot]; }
    WizardItemsModel *filterModel() { return &m_models[WizardContent::FiltersSlot]; }
    WizardItemsModel *model(int slot) { return &m_models[slot]; }
    WarningsModel *warningsModel() { return &m_warnings; }
    WdlHeader *header() { return &m_header; }
    // What the layers below see of the wizard.
    WizardContent content();
    // The lines that made each item of the loaded wizard, in their own files.
    const SourcePositions &sourcePositions() const { return m_sourcePositions; }
    // Whether the wizards opened from now on note their source positions:
    // the tools point at them, the compiler writes nothing that needs them
    // and spares their memory.
    void setKeepSourcePositions(bool keep) { m_keepSourcePositions = keep; }
    bool keepsSourcePositions() const { return m_keepSourcePositions; }

    bool isEmpty() const { return m_isEmpty; }
    bool isValidForSaving() const;
    bool screensLoaded() const;

    QStringList loadedItems() const { return m_loadedItems; }
    QStringList registeredScreens() const { return m_registeredScreens; }
    IncludedFileMap &includedFiles() { return m_includedFiles; }
    // The files the loaded wizard was read from.
    const BuildInputs &inputs() const { return m_inputs; }
    int parameterTotal() const { return m_parameterTotal; }
    quint16 virtualParameterCount() const { return m_virtualParameterCount; }
    // Adds count to the running number of virtual parameters and warns above the limit.
    void checkVirtualParameterLimit(quint16 count);
    // The top-level WDL file being read; its name goes into wizard warnings.
    QString currentFile() const override { return m_currentFile; }
    // The current file's name without directories, as warnings carry it.
    QString currentFileName() const;
    void setCurrentFile(const QString &path) { m_currentFile = path; }

public slots:
    void onNewWarningAdded(const QString &q, ushort i);

signals:
    void isEmptyChanged();
    void isValidForSavingChanged();
    void warningsChanged();
    void screensLoadedChanged();

private:
    WdlWizard();

    // Gives the builder the collections, the header and the CSIV files.
    void setUpBuilder(SaveWdl &builder);
    // The warning that keeps the builder (none: no screens) from writing an
    // image at sasUrl (none: wherever it goes).
    static QString refusalOf(const SaveWdl *builder, const QString &sasUrl = QString());

    static WdlWizard *s_instance;

    WizardItemsModel m_models[WizardContent::SlotCount];
    WarningsModel m_warnings;
    WdlHeader m_header;
    QStringList m_loadedItems;
    QStringList m_registeredScreens;
    IncludedFileMap m_includedFiles;
    bool m_isEmpty = true;
    qint32 m_parameterTotal = 1;
    quint16 m_virtualParameterCount = 0;
    QString m_currentFile;
    QList<WdlToken *> m_unlistedItems;
    const SourceOverlay *m_sourceOverlay = nullptr;
    SourcePositions m_sourcePositions;
    bool m_keepSourcePositions = true;
    // The files the loaded wizard was read from.
    BuildInputs m_inputs;
    // currentFileName() of m_namedFile.
    mutable QString m_namedFile;
    mutable QString m_currentFileName;
};

#endif
