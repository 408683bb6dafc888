// Times the reading of generated wizards at two sizes and prints the ratio:
// reading must stay linear in the size of the file.
//
//   wdlc_readbench [K1 K2 [runs]]     (defaults 1 8 5)

#include "core/fileurl.h"
#include "core/wdlwizard.h"
#include "reader/wdlparser.h"
#include "wizardgenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double medianReadMs(const QString &path, int runs, int *lines, int *warnings)
{
    WdlWizard *wizard = WdlWizard::instance();
    std::vector<double> times;
    for (int r = 0; r < runs; ++r) {
        wizard->clearAllModels();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        wizard->setCurrentFile(path);
        QElapsedTimer timer;
        timer.start();
        WdlParser reader(wizard->content());
        reader.parseFile(FileUrl::fromLocalPath(path), true);
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    *warnings = wizard->warningsModel()->count();
    *lines = 0;
    for (int slot = 0; slot < WizardContent::SlotCount; ++slot)
        *lines += wizard->model(slot)->count();
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int k1 = args.size() > 2 ? args.at(1).toInt() : 1;
    const int k2 = args.size() > 2 ? args.at(2).toInt() : 8;
    const int runs = args.size() > 3 ? args.at(3).toInt() : 5;
    QTemporaryDir dir;
    double ms[2] = {0, 0};
    const int ks[2] = {k1, k2};
    std::printf("| K | file size (bytes) | items | reader warnings | median read time (ms) |\n|---|---|---|---|---|\n");
    for (int i = 0; i < 2; ++i) {
        const QString path = WizardGenerator::write(dir.path() + QStringLiteral("/k") + QString::number(ks[i]), ks[i],
                                                    0);
        int items = 0;
        int warnings = 0;
        ms[i] = medianReadMs(path, runs, &items, &warnings);
        std::printf("| %d | %lld | %d | %d | %.2f |\n", ks[i], QFileInfo(path).size(), items, warnings, ms[i]);
    }
    std::printf("\nratio of read times K=%d / K=%d: %.2f (size ratio %.1f)\n", k2, k1, ms[1] / ms[0], double(k2) / k1);
    return 0;
}
