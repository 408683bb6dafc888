#ifndef WDLC_TESTS_PROCESS_H
#define WDLC_TESTS_PROCESS_H

#include "support/testsupport.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>

// One run of an external program: its exit status (-1 when it did not start
// or end normally) and both streams.
struct ProcessRun
{
    int status;
    QByteArray out;
    QByteArray err;

    // For failure messages: what went wrong, streams included.
    std::string describe() const
    {
        return "exit status " + std::to_string(status) + "\n--- stdout\n" + out.toStdString() + "\n--- stderr\n"
               + err.toStdString();
    }
};

// Runs program in dir (the current directory when empty) under the C.UTF-8
// locale, with extra "NAME=value" variables; gives up after timeoutMs.
inline ProcessRun runProcess(const QString &program, const QStringList &arguments, const QString &dir = QString(),
                             const QStringList &variables = QStringList(), int timeoutMs = 300000)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const QString &variable : variables)
        environment.insert(variable.section(QLatin1Char('='), 0, 0), variable.section(QLatin1Char('='), 1));
    process.setProcessEnvironment(environment);
    if (!dir.isEmpty())
        process.setWorkingDirectory(dir);
    process.start(program, arguments);
    ProcessRun run{-1, QByteArray(), QByteArray()};
    if (!process.waitForStarted()) {
        run.err = program.toUtf8() + " did not start: " + process.errorString().toUtf8();
        return run;
    }
    process.closeWriteChannel();
    if (!process.waitForFinished(timeoutMs))
        process.kill();
    process.waitForFinished();
    run.out = process.readAllStandardOutput();
    run.err += process.readAllStandardError();
    if (process.exitStatus() == QProcess::NormalExit)
        run.status = process.exitCode();
    return run;
}

// The path of a program on PATH, or empty.
inline QString programOnPath(const char *name)
{
    return QStandardPaths::findExecutable(QString::fromUtf8(name));
}

#endif
