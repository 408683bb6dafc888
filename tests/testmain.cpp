#include <gtest/gtest.h>

#include <QCoreApplication>

namespace {

// The compiler writes a few diagnostic lines to the debug output; tests keep
// quiet about them and show only warnings of Qt itself.
void quietMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(quietMessages);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
