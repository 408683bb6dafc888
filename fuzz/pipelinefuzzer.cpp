// The whole pipeline: the input is main.wdl in a temporary directory, opened,
// checked and, when valid, compiled into an image beside it.

#include "fuzzsupport.h"

#include <QTemporaryDir>

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzsupport::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    const QString wdl = dir.filePath(QStringLiteral("main.wdl"));
    fuzzsupport::writeFile(wdl, data, size);
    fuzzsupport::compile(wdl);
    return 0;
}
