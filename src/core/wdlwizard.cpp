#include "core/wdlwizard.h"

#include "base/diagnostics.h"

#include "core/fileurl.h"
#include "core/outputfile.h"
#include "core/warning.h"
#include "output/savewdl.h"
#include "output/translationimporter.h"
#include "output/translationtemplate.h"
#include "reader/wdlparser.h"
#include "validation/consistencychecks.h"
#include "validation/scriptvalidator.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

WdlWizard *WdlWizard::s_instance = nullptr;

WdlWizard *WdlWizard::instance()
{
    if (!s_instance)
        s_instance = new WdlWizard();
    return s_instance;
}

WdlWizard::WdlWizard()
{
    // The editor asks for the CSIV file list by its spelt-out type.
    qRegisterMetaType<IncludedFileMap>("QMap<quint16,IncludedFile>");
}

WdlWizard::~WdlWizard()
{
    if (s_instance == this)
        s_instance = nullptr;
}

void WdlWizard::clearAllModels()
{
    // Texts first: every other item may point at texts, and nothing is
    // destroyed before the event loop runs again.
    static const WizardContent::Slot order[] = {WizardContent::TextsSlot,      WizardContent::LocalParametersSlot,
                                                WizardContent::ParametersSlot, WizardContent::ChoiceListsSlot,
                                                WizardContent::ScriptsSlot,    WizardContent::ScreensSlot,
                                                WizardContent::OverlaysSlot,   WizardContent::FiltersSlot};
    for (WizardContent::Slot slot : order) {
        WizardItemsModel &model = m_models[slot];
        for (WdlToken *item : model.items())
            item->deleteLater();
        model.clear();
    }
    for (int i = 0; i < m_warnings.count(); ++i)
        m_warnings.itemAt(i)->deleteLater();
    m_warnings.clear();
    for (WdlToken *item : qAsConst(m_unlistedItems))
        item->deleteLater();
    m_unlistedItems.clear();
    m_sourcePositions.clear();
    emit isValidForSavingChanged();

    m_loadedItems.clear();
    m_registeredScreens.clear();
    m_includedFiles.clear();
    m_inputs.clear();
    m_header.reset();
    m_parameterTotal = 1;
    m_isEmpty = true;
    emit isEmptyChanged();
}

void WdlWizard::openWDLFile(const QString &path)
{
    clearAllModels();
    const WizardContent view = content();
    WdlParser reader(view);
    reader.setSourceOverlay(m_sourceOverlay);
    m_virtualParameterCount = 0;
    m_currentFile = FileUrl::toLocalPath(path);
    if (reader.parseFile(path, true)) {
        ConsistencyChecks checks(view);
        checks.checkMetaInformation();
        validateScripts();
        checks.checkMissingItems();
        checks.checkUnusedItems();
        if (screenModel()->count() > 0)
            emit isValidForSavingChanged();
        m_isEmpty = false;
        emit isEmptyChanged();
        if (m_warnings.count() > 0)
            emit isValidForSavingChanged();
        checkVirtualParameterLimit(reader.virtualParameterCount());
    } else {
        m_currentFile.clear();
        qDebug() << "OPEN failed";
    }
    m_parameterTotal = localParameterModel()->count() + parametersModel()->count();
}

void WdlWizard::validateScripts()
{
    ScriptValidator(content()).validateScripts();
}

WizardContent WdlWizard::content()
{
    WizardContent view;
    for (int slot = 0; slot < WizardContent::SlotCount; ++slot)
        view.models[slot] = &m_models[slot];
    view.header = &m_header;
    view.includedFiles = &m_includedFiles;
    view.warnings = this;
    view.unlistedItems = &m_unlistedItems;
    view.positions = m_keepSourcePositions ? &m_sourcePositions : nullptr;
    view.inputs = &m_inputs;
    return view;
}

void WdlWizard::saveWdlFile(const QString &path)
{
    SaveWdl save;
    for (int slot = 0; slot < WizardContent::SlotCount; ++slot)
        save.setModel(slot, model(slot));
    save.setHeader(header());
    // The readiness test and its text are those of the image.
    if (!save.isReady())
        addWarning(Diagnostics::text(Diagnostics::NotLoaded), 0);
    else if (!save.writeWdl(path))
        addWarning(Diagnostics::text(Diagnostics::SavingWdlFailed), 0);
}

void WdlWizard::setUpBuilder(SaveWdl &builder)
{
    for (int slot = 0; slot < WizardContent::SlotCount; ++slot)
        builder.setModel(slot, model(slot));
    builder.setHeader(&m_header);
    builder.setIncludedFiles(getCSIVfileList());
    builder.setInputs(m_inputs);
}

QString WdlWizard::refusalOf(const SaveWdl *builder, const QString &sasUrl)
{
    if (!builder || !builder->isReady())
        return Diagnostics::text(Diagnostics::NotLoaded);
    const SaveWdl::Limits limits = builder->checkLimits();
    if (!limits.wizardData)
        return Diagnostics::text(Diagnostics::WizardDataTooLong);
    if (!limits.textData)
        return Diagnostics::text(Diagnostics::TextDataTooLong);
    // The image counts its dictionaries in one byte, the English one among them.
    const int translations = sasUrl.isEmpty() ? 0 : TranslationImporter::translationFileCount(sasUrl);
    if (translations > TranslationImporter::kMaxTranslations)
        return Diagnostics::text(
            Diagnostics::TooManyTranslations,
            {QString::number(translations), QString::number(TranslationImporter::kMaxTranslations)});
    return QString();
}

QString WdlWizard::imageRefusal(const QString &sasUrl)
{
    // Without screens the command line goes no further than the open.
    if (screenModel()->count() == 0)
        return refusalOf(nullptr);
    SaveWdl builder;
    setUpBuilder(builder);
    return refusalOf(&builder, sasUrl);
}

BuildProducts WdlWizard::buildInMemory(const QString &sasUrl)
{
    BuildProducts products;
    if (screenModel()->count() == 0) {
        products.refusal = refusalOf(nullptr);
        return products;
    }
    SaveWdl builder;
    setUpBuilder(builder);
    builder.setNoteTranslatedTexts(true);
    products.refusal = refusalOf(&builder, sasUrl);
    if (!products.refusal.isEmpty())
        return products;
    // The template first, as a real build renders it before it empties the
    // texts that hold CSIV paths.
    products.translationTemplate = TranslationTemplate::renderUtf8(textModel());
    if (builder.buildImage(sasUrl))
        products.image = builder.image();
    products.problems = builder.problems();
    products.translatedTexts = builder.translatedTexts();
    products.csivPathTexts = builder.csivPathTexts();
    return products;
}

void WdlWizard::createSasByteArray(const QString &path)
{
    SaveWdl builder;
    connect(&builder, &SaveWdl::newWarning, this, &WdlWizard::onNewWarningAdded, Qt::DirectConnection);
    setUpBuilder(builder);
    // Every refusal comes before any file is written, so that a refused
    // wizard leaves the image of an earlier build as it was.
    const QString refusal = refusalOf(&builder, path);
    QString targetRefusal;
    if (!refusal.isEmpty())
        addWarning(refusal, 0);
    else if (!builder.writeSas(path, &targetRefusal))
        addWarning(targetRefusal.isEmpty() ? Diagnostics::text(Diagnostics::SavingSasFailed) : targetRefusal, 0);
    disconnect(&builder, nullptr, this, nullptr);
}

void WdlWizard::createTempSas()
{
    createSasByteArray(
        FileUrl::fromLocalPath(QDir::toNativeSeparators(QDir::tempPath() + QStringLiteral("/temp.sas"))));
}

void WdlWizard::writeWarningsFile(const QString &path) const
{
    QByteArray list;
    for (int i = 0; i < m_warnings.count(); ++i) {
        const Warning *w = m_warnings.itemAt(i);
        list += w->fileName().toUtf8() + '\t' + QByteArray::number(w->lineNumber()) + '\n';
        list += '\t' + w->text().toUtf8() + '\n';
    }
    // Written whole or not at all: a half-written list would hide problems.
    // Where no file can be made beside it, an existing list is rewritten in
    // place rather than left stale. A list that cannot be written is left
    // out, as there is nowhere to say so.
    QString error;
    OutputFile::write(path, list, &error, &m_inputs, OutputFile::RewriteInPlaceAsLastResort);
}

void WdlWizard::addWarning(const QString &text, int line)
{
    m_warnings.appendWarning(new Warning(text, currentFileName(), line));
    if (m_warnings.count() == 1)
        emit isValidForSavingChanged();
}

QString WdlWizard::currentFileName() const
{
    // One string for all the warnings of a file: a wizard may have millions.
    if (m_namedFile != m_currentFile || m_currentFileName.isNull()) {
        m_namedFile = m_currentFile;
        m_currentFileName = QFileInfo(m_currentFile).fileName();
    }
    return m_currentFileName;
}

void WdlWizard::addWarningIn(const QString &fileName, const QString &text, int line, const QString &subject)
{
    m_warnings.appendWarning(new Warning(text, fileName, line, subject));
}

void WdlWizard::onNewWarningAdded(const QString &q, ushort i)
{
    qDebug() << "SLOT!";
    addWarning(q, int(i));
}

bool WdlWizard::isValidForSaving() const
{
    return m_warnings.count() == 0 && m_models[WizardContent::ScreensSlot].count() > 0;
}

bool WdlWizard::screensLoaded() const
{
    return m_models[WizardContent::ScreensSlot].count() == m_registeredScreens.size();
}

void WdlWizard::registerScreen(const QString &id)
{
    if (m_registeredScreens.contains(id))
        return;
    m_registeredScreens.append(id);
    if (m_registeredScreens.size() == m_models[WizardContent::ScreensSlot].count())
        emit screensLoadedChanged();
}

void WdlWizard::registerLoadedItem(const QString &name)
{
    m_loadedItems.append(name);
}

bool WdlWizard::isItemAlreadyLoaded(const QString &name) const
{
    return m_loadedItems.contains(name);
}

WdlToken *WdlWizard::createWdlTokenScreen()
{
    auto *screen = new WdlTokenScreen(QStringLiteral("screen_") + QString::number(screenModel()->count() + 1));
    qDebug() << screen->id();
    screenModel()->addItem(screen);
    return screen;
}

WdlTokenParam *WdlWizard::createWizardParameter(const QString &id, WdlTokenText *paramName, bool isChoicelist)
{
    auto *param = new WdlTokenParam(QString(id).replace(QLatin1Char(' '), QLatin1Char('_')), isChoicelist);
    param->setText(paramName);
    parametersModel()->addItem(param);
    param->setItemNumber(quint16(m_parameterTotal));
    ++m_parameterTotal;
    checkVirtualParameterLimit(1);
    return param;
}

WdlTokenText *WdlWizard::createWizardText(const QString &text, const QString &help)
{
    auto *item = new WdlTokenText(QString(text).replace(QLatin1Char(' '), QLatin1Char('_')), text, help);
    textModel()->addItem(item);
    return item;
}

WdlTokenChoiceList *WdlWizard::createWizardChoicelist(const QString &id)
{
    auto *list = new WdlTokenChoiceList(id);
    choicelistModel()->addItem(list);
    return list;
}

WdlTokenScript *WdlWizard::createWizardScript(const QString &screenId, const QString &script, int type)
{
    if (type > WdlTokenScript::ScriptType_SUBROUTINE)
        return new WdlTokenScript();
    static const char *const prefixes[] = {"", "ws_", "nss_", "pss_", "pre_", "sr_"};
    const QString id = type <= 0 ? screenId : QLatin1String(prefixes[type]) + screenId;
    auto *item = new WdlTokenScript(id, type);
    if (!item->setScriptText(script))
        addWarning(Diagnostics::text(Diagnostics::TooManyTokens), item->sourceLine());
    scriptModel()->addItem(item);
    return item;
}

QVariantList WdlWizard::getNextScreenScriptItems(const QString &scriptId) const
{
    QVariantList out;
    if (auto *script = m_models[WizardContent::ScriptsSlot].byId<WdlTokenScript>(scriptId)) {
        for (const QString &screen : script->getNextScreensFromScript())
            out.append(screen);
    }
    return out;
}

WdlTokenScreen *WdlWizard::getScreen(const QString &screenId)
{
    if (auto *screen = screenModel()->byId<WdlTokenScreen>(screenId))
        return screen;
    addWarning(Diagnostics::text(Diagnostics::ScreenDoesNotExist, {screenId}), 0);
    return nullptr;
}

QString WdlWizard::getFirstScreenID() const
{
    const WizardItemsModel &screens = m_models[WizardContent::ScreensSlot];
    if (screens.count() == 0)
        return QStringLiteral("There are no screens");
    qDebug() << "first screen is" << screens.itemAt(0)->id();
    return screens.itemAt(0)->id();
}

void WdlWizard::checkVirtualParameterLimit(quint16 count)
{
    m_virtualParameterCount = quint16(m_virtualParameterCount + count);
    if (m_virtualParameterCount > kMaxVirtualParameters)
        addWarning(Diagnostics::text(Diagnostics::TooManyVirtualParameters), 0);
}
