// The language server on generated stress wizards: the time from an edit
// arriving to its diagnostics going out, with the server's own debounce timer
// and event loop, at two sizes; then the memory over a long run of edits.
//
//   wdlc_lspbench [edits [memory-edits]]     (defaults 41 and 5000)

#include "core/wdlwizard.h"
#include "lsp/lspframing.h"
#include "lsp/lspserver.h"
#include "wizardgenerator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

// Resident memory of the process, in MB, as the kernel counts it.
double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

QByteArray message(const QJsonObject &object)
{
    QJsonObject out = object;
    out.insert(QStringLiteral("jsonrpc"), QStringLiteral("2.0"));
    return LspFraming::frame(QJsonDocument(out).toJson(QJsonDocument::Compact));
}

// One server with one wizard open, and edits that alternately misspell and
// restore a text named in an overlay, so that every other edit brings a
// problem and the next takes it away.
class Session
{
public:
    explicit Session(const QString &path) : m_path(path), m_uri(LspServer::uriOfPath(path))
    {
        m_server = new LspServer(WdlWizard::instance(), [this](const QByteArray &framed) {
            if (framed.contains("publishDiagnostics") && framed.contains(m_uri.toUtf8())) {
                // Timed when written: the release of the items comes after.
                m_publishedMs = m_timer.nsecsElapsed() / 1e6;
                m_cpuMs = cpuMs() - m_cpuStartMs;
                ++m_published;
                m_lastDiagnostics = framed;
                m_loop.quit();
            }
        });
        m_server->receive(message(QJsonObject{{QStringLiteral("id"), 1},
                                              {QStringLiteral("method"), QStringLiteral("initialize")},
                                              {QStringLiteral("params"), QJsonObject()}}));
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QString text = QString::fromUtf8(file.readAll());
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (int i = 0; i < lines.size() && m_line < 0; ++i) {
            // The first text named on a line of its own in a block.
            if (lines.at(i).startsWith(QLatin1String("      T: ")) && !lines.at(i).contains(QLatin1Char('"'))) {
                m_line = i;
                m_id = lines.at(i).mid(9).trimmed();
            }
        }
        m_server->receive(message(QJsonObject{
            {QStringLiteral("method"), QStringLiteral("textDocument/didOpen")},
            {QStringLiteral("params"), QJsonObject{{QStringLiteral("textDocument"),
                                                    QJsonObject{{QStringLiteral("uri"), m_uri},
                                                                {QStringLiteral("languageId"), QStringLiteral("wdl")},
                                                                {QStringLiteral("version"), 1},
                                                                {QStringLiteral("text"), text}}}}}}));
        m_server->flush();
    }
    ~Session() { delete m_server; }

    // Sends one edit and runs the event loop until its diagnostics are out;
    // returns the milliseconds between.
    double edit()
    {
        const bool misspell = m_version % 2 == 1;
        const QString id = misspell ? m_id + QStringLiteral("_x") : m_id;
        const int oldLength = misspell ? m_id.size() : m_id.size() + 2;
        ++m_version;
        const QByteArray change = message(QJsonObject{
            {QStringLiteral("method"), QStringLiteral("textDocument/didChange")},
            {QStringLiteral("params"),
             QJsonObject{
                 {QStringLiteral("textDocument"),
                  QJsonObject{{QStringLiteral("uri"), m_uri}, {QStringLiteral("version"), m_version}}},
                 {QStringLiteral("contentChanges"),
                  QJsonArray{QJsonObject{
                      {QStringLiteral("range"),
                       QJsonObject{{QStringLiteral("start"),
                                    QJsonObject{{QStringLiteral("line"), m_line}, {QStringLiteral("character"), 9}}},
                                   {QStringLiteral("end"), QJsonObject{{QStringLiteral("line"), m_line},
                                                                       {QStringLiteral("character"), 9 + oldLength}}}}},
                      {QStringLiteral("text"), id}}}}}}});
        const int before = m_published;
        m_timer.start();
        m_cpuStartMs = cpuMs();
        m_server->receive(change);
        QTimer::singleShot(10000, &m_loop, &QEventLoop::quit);
        while (m_published == before && m_timer.elapsed() < 10000)
            m_loop.exec();
        return m_publishedMs;
    }
    // The wizard has findings of its own (check's rules find unreachable
    // screens and the like in it): what follows the edits is the misspelt id.
    bool lastNamesTheMisspeltId() const { return m_lastDiagnostics.contains((m_id + QStringLiteral("_x")).toUtf8()); }
    // The processor time the last edit took, in ms: the whole process, so
    // that what other programs on the machine take is left out.
    double lastCpuMs() const { return m_cpuMs; }
    LspServer *server() { return m_server; }

private:
    QString m_path;
    QString m_uri;
    LspServer *m_server = nullptr;
    QEventLoop m_loop;
    QElapsedTimer m_timer;
    double m_publishedMs = 0;
    double m_cpuStartMs = 0;
    double m_cpuMs = 0;
    int m_published = 0;
    QByteArray m_lastDiagnostics;
    int m_line = -1;
    QString m_id;
    int m_version = 1;
};

double percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(p * (values.size() - 1) + 0.5))];
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int edits = args.size() > 1 ? args.at(1).toInt() : 41;
    const int memoryEdits = args.size() > 2 ? args.at(2).toInt() : 5000;
    QTemporaryDir dir;

    std::printf("### From an edit to its diagnostics\n\n");
    std::printf("| K | file size (bytes) | debounce (ms) | median (ms) | 90th percentile (ms) | slowest (ms) | "
                "processor time, median (ms) |\n"
                "|---|---|---|---|---|---|---|\n");
    for (int k : {1, 8}) {
        const QString path = WizardGenerator::write(dir.path() + QStringLiteral("/k") + QString::number(k), k, 0);
        Session session(path);
        std::vector<double> times;
        std::vector<double> cpu;
        bool problems = true;
        for (int i = 0; i < edits; ++i) {
            times.push_back(session.edit());
            cpu.push_back(session.lastCpuMs());
            // Every other edit misspells the text, the next restores it.
            problems = problems && session.lastNamesTheMisspeltId() == (i % 2 == 0);
        }
        if (!problems)
            std::fprintf(stderr, "K=%d: the diagnostics did not follow the edits\n", k);
        std::printf("| %d | %lld | %d | %.1f | %.1f | %.1f | %.1f |\n", k, QFileInfo(path).size(),
                    session.server()->diagnosticsDelay(), percentile(times, 0.5), percentile(times, 0.9),
                    *std::max_element(times.begin(), times.end()), percentile(cpu, 0.5));
    }

    std::printf("\n### Memory over %d edits (K = 1)\n\n| edits | resident memory (MB) |\n|---|---|\n", memoryEdits);
    const QString path = WizardGenerator::write(dir.path() + QStringLiteral("/memory"), 1, 0);
    Session session(path);
    std::printf("| 0 | %.1f |\n", residentMb());
    for (int i = 1; i <= memoryEdits; ++i) {
        session.edit();
        if (i % (memoryEdits / 5 > 0 ? memoryEdits / 5 : 1) == 0)
            std::printf("| %d | %.1f |\n", i, residentMb());
    }
    return 0;
}
