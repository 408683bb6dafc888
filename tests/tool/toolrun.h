#ifndef WDLC_TESTS_TOOLRUN_H
#define WDLC_TESTS_TOOLRUN_H

#include "support/wizardfiles.h"
#include "tool/wdltool.h"

#include <QTextStream>

// One in-process run of wdltool: its exit status and both streams.
struct ToolRun
{
    int status;
    QString out;
    QString err;
};

// Runs in dir, so that the paths the tool prints are as short and stable as
// a user's relative arguments.
inline ToolRun runToolIn(const QString &dir, const QStringList &arguments)
{
    WorkingDirectory cd(dir);
    ToolRun run{0, QString(), QString()};
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = WdlTool::run(arguments, out, err);
    out.flush();
    err.flush();
    return run;
}

#endif
