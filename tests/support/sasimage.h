#ifndef WDLC_TESTS_SASIMAGE_H
#define WDLC_TESTS_SASIMAGE_H

#include <QByteArray>
#include <QList>
#include <QString>

class SaveWdl;
class WdlWizard;

// Gives the wizard's header all seven tags, with distinct values per field so
// that a field written to the wrong offset shows.
void setCompleteHeader(WdlWizard *wizard, const QString &fileName);

// Hands the builder the wizard's collections, header and CSIV files, as
// createSasByteArray does.
void configure(SaveWdl &builder, WdlWizard *wizard);

// Adds scripts (and chooses a FILE_NAME length) so that header and script data
// hold exactly wizardDataBytes, and adds textCount texts. The wizard must be
// empty; bytes must be at least 49.
void fillWizardData(WdlWizard *wizard, int wizardDataBytes, int textCount);

QByteArray readFile(const QString &path);

// The image offsets written into the CSIV commands of the image's script
// records, in record order.
QList<quint32> csivOperands(const QByteArray &image);

#endif
