#ifndef WDLC_BENCH_WIZARDGENERATOR_H
#define WDLC_BENCH_WIZARDGENERATOR_H

#include <QString>

// Writes a valid stress wizard of scale K into a directory: per K about 300
// texts (a third with helps, non-ASCII characters and line breaks), 60 drive
// parameters, 20 local parameters, 5 choice lists and 5 filters, 40 scripts of
// every type, 60 screens and 20 overlays; 40 virtual parameters in all, since
// the drive takes no more. With translations > 0 it also writes that many
// translation files (one language each, English excluded) for every text.
class WizardGenerator
{
public:
    // Returns the path of the main WDL file.
    static QString write(const QString &directory, int k, int translations);
    static QString wdlText(int k);
    static QString translationText(int k, const QString &language);
    // The same translated strings as a Qt Linguist .ts file, for comparing
    // with lrelease on equal work.
    static QString linguistText(int k, const QString &language);
    // Writes one .ts file per language that write() would translate.
    static void writeLinguistFiles(const QString &directory, int k, int translations);
};

#endif
