// The floor for a compile's start-up: a Qt program that does nothing.

#include <QCoreApplication>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    return 0;
}
