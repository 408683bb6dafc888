#include "tool/wdltool.h"

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return WdlTool::run(argc, argv);
}
