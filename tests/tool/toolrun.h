#ifndef WDLC_TESTS_TOOLRUN_H
#define WDLC_TESTS_TOOLRUN_H

#include "tool/wdltool.h"

#include <QDir>
#include <QString>
#include <QStringList>
#include <QTextStream>

// One in-process run of wdltool: its exit status and both streams.
struct ToolRun
{
    int status;
    QString out;
    QString err;
};

inline ToolRun runTool(const QStringList &arguments)
{
    ToolRun run{0, QString(), QString()};
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = WdlTool::run(arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

// Runs with the working directory set to dir, so that the paths the tool
// prints are as short and stable as a user's relative arguments.
inline ToolRun runToolIn(const QString &dir, const QStringList &arguments)
{
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir);
    const ToolRun run = runTool(arguments);
    QDir::setCurrent(previous);
    return run;
}

#endif
