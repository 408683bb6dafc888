// Writes a stress wizard of scale K with T translation files into DIR:
//   wdlc_stressgen DIR K T [--ts TSDIR]
// and prints the path of its WDL file. With --ts it also writes the same
// translated strings as Qt Linguist files into TSDIR.

#include "wizardgenerator.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4 && !(args.size() == 6 && args.at(4) == QLatin1String("--ts"))) {
        std::fprintf(stderr, "usage: wdlc_stressgen DIR K T [--ts TSDIR]\n");
        return 2;
    }
    const int k = args.at(2).toInt();
    const int translations = args.at(3).toInt();
    const QString path = WizardGenerator::write(args.at(1), k, translations);
    if (args.size() == 6)
        WizardGenerator::writeLinguistFiles(args.at(5), k, translations);
    std::printf("%s\n", qPrintable(path));
    return 0;
}
