#ifndef WDLC_TESTS_SASIMAGE_H
#define WDLC_TESTS_SASIMAGE_H

#include "core/wdlwizard.h"
#include "output/savewdl.h"

// Gives the wizard's header all seven tags, with distinct values per field so
// that a field written to the wrong offset shows.
inline void setCompleteHeader(WdlWizard *wizard, const QString &fileName)
{
    WdlHeader *header = wizard->header();
    header->setFileFormatVersion(0x0102, 0x0304);
    header->setFileVersion(0x0506, 0x0708);
    header->setRunMode(1);
    header->setProductType(0x0A0B);
    header->setProductName(QStringLiteral("QX-417"));
    header->setDatabaseVersion(0x0C0D, 0x0E0F);
    header->setFileName(fileName);
}

// Hands the builder the wizard's collections, header and CSIV files, as
// createSasByteArray does.
inline void configure(SaveWdl &builder, WdlWizard *wizard)
{
    for (int slot = 0; slot < WizardContent::SlotCount; ++slot)
        builder.setModel(slot, wizard->model(slot));
    builder.setHeader(wizard->header());
    builder.setIncludedFiles(wizard->getCSIVfileList());
}

// Adds scripts (and chooses a FILE_NAME length) so that header and script data
// hold exactly wizardDataBytes, at least 49, and adds textCount texts to the
// empty wizard. A script record takes 7 bytes plus 7 per command, so the
// scripts fill a multiple of 7 and the FILE_NAME (header: 49 + its length) the rest.
inline void fillWizardData(WdlWizard *wizard, int wizardDataBytes, int textCount)
{
    const int nameLength = (wizardDataBytes - 49) % 7;
    setCompleteHeader(wizard, QString(nameLength, QLatin1Char('n')));
    for (int s = 0, units = (wizardDataBytes - 49) / 7; units > 0; ++s) {
        auto *script = new WdlTokenScript(QStringLiteral("s%1").arg(s), WdlTokenScript::ScriptType_WS);
        const int commands = qMin(units, 101) - 1;
        for (int c = 0; c < commands; ++c)
            script->addCommand(QStringLiteral("EXIT"), c + 1);
        wizard->scriptModel()->addItem(script);
        units -= commands + 1;
    }
    for (int t = 0; t < textCount; ++t)
        wizard->textModel()->addItem(new WdlTokenText(QStringLiteral("t%1").arg(t), QString(), QString()));
}

#endif
