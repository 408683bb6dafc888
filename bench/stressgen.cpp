// Writes a stress wizard of scale K with T translation files into DIR:
//   wdlc_stressgen DIR K T
// and prints the path of its WDL file.

#include "wizardgenerator.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4) {
        std::fprintf(stderr, "usage: wdlc_stressgen DIR K T\n");
        return 2;
    }
    const QString path = WizardGenerator::write(args.at(1), args.at(2).toInt(), args.at(3).toInt());
    std::printf("%s\n", qPrintable(path));
    return 0;
}
