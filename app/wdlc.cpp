#include "core/commandline.h"

#include <QCoreApplication>

#include <vector>

int main(int argc, char **argv)
{
    // Qt takes arguments of its own out of argv; the compiler must count
    // every argument the user typed.
    std::vector<char *> typed(argv, argv + argc);
    int qtArgc = argc;
    QCoreApplication app(qtArgc, argv);
    return CommandLine::run(argc, typed.data());
}
