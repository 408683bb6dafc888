#include "core/commandline.h"

#include "core/fileurl.h"
#include "core/wdlwizard.h"

#include <csignal>

int CommandLine::run(const QStringList &arguments)
{
    if (arguments.size() != 1 && arguments.size() != 2)
        return 0;
    WdlWizard *wizard = WdlWizard::instance();
    const QString wdl = arguments.at(0);
    const bool keptPositions = wizard->keepsSourcePositions();
    wizard->setKeepSourcePositions(false);
    wizard->openWDLFile(FileUrl::fromLocalPath(wdl));
    wizard->setKeepSourcePositions(keptPositions);
    if (wizard->isValidForSaving())
        wizard->createSasByteArray(imageUrl(arguments));
    else
        wizard->writeWarningsFile(wdl + QStringLiteral("_errors.txt"));
    return 0;
}

QString CommandLine::imageUrl(const QStringList &arguments)
{
    // The whole argument keeps its own extension: pump.wdl gives pump.wdl.sas.
    QString sas = FileUrl::fromLocalPath(arguments.size() == 2 ? arguments.at(1)
                                                               : arguments.value(0) + QStringLiteral(".sas"));
    if (!sas.endsWith(QLatin1String(".sas")))
        sas += QLatin1String(".sas");
    return sas;
}

int CommandLine::run(int argc, char **argv)
{
    // Past a file-size limit a write fails and is cancelled, and the build
    // ends as always with status 0, where the signal would end it in the
    // middle of the write.
    std::signal(SIGXFSZ, SIG_IGN);
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromUtf8(argv[i]));
    return run(arguments);
}
