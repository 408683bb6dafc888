#ifndef WDLC_FUZZ_FUZZSUPPORT_H
#define WDLC_FUZZ_FUZZSUPPORT_H

#include "core/fileurl.h"
#include "core/wdlwizard.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdint>

// What every fuzz target needs: an application object for deferred deletion,
// silence instead of the compiler's debug lines, and a way to drop files.
namespace fuzzsupport {

inline void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

inline void init(int *argc, char ***argv)
{
    static QCoreApplication app(*argc, *argv);
    qInstallMessageHandler(quiet);
}

inline void writeFile(const QString &path, const uint8_t *data, size_t size)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char *>(data), qint64(size));
}

// Items released by clearAllModels go only when posted deletions are processed.
// The second call lets Qt compact its list of posted events, which a call
// filtered by event type leaves growing by one slot per deletion.
inline void releaseDeferred()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents();
}

// Opens the wizard as wdlc does, compiles it beside itself when it is valid,
// then releases everything, so that memory stays flat from run to run.
inline void compile(const QString &wdl)
{
    WdlWizard *wizard = WdlWizard::instance();
    wizard->openWDLFile(FileUrl::fromLocalPath(wdl));
    if (wizard->isValidForSaving())
        wizard->createSasByteArray(FileUrl::fromLocalPath(wdl + QStringLiteral(".sas")));
    wizard->clearAllModels();
    releaseDeferred();
}

} // namespace fuzzsupport

#endif
