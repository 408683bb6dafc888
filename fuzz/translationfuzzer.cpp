// Translation import: the input is translation_German.xml beside a small
// valid wizard, which is then compiled.

#include "fuzzsupport.h"

#include <QTemporaryDir>

namespace {

const char kWizard[] =
    "FILE_FORMAT_VERSION: 1.0\nFILE_VERSION: 1.0\nRUN_MODE: 1\nPRODUCT_TYPE: 1\n"
    "PRODUCT_NAME: \"QX-417\"\nDATABASE_VERSION: 1.0\nFILE_NAME: \"f\"\n"
    "T: hello \"Hello\"\nH: hello \"Help\"\nT: other \"Other\"\n"
    "SCREEN_OVERLAY: s\n{\n   OVERLAY: o\n   {\n      T: hello\n      OK_ACTION: GOTO_NEXT_SCREEN\n   }\n   NS: s2\n}\n"
    "CL: list\n{\n   other\n}\nVCP: v\n{\n   T: other\n   CL: list\n}\n"
    "SCREEN_SINGLE_PARAM: s2\n{\n   VCP: v\n}\n";

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzsupport::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static QTemporaryDir dir;
    static bool written = false;
    const QString wdl = dir.filePath(QStringLiteral("main.wdl"));
    if (!written) {
        fuzzsupport::writeFile(wdl, reinterpret_cast<const uint8_t *>(kWizard), sizeof(kWizard) - 1);
        written = true;
    }
    fuzzsupport::writeFile(dir.filePath(QStringLiteral("translation_German.xml")), data, size);
    fuzzsupport::compile(wdl);
    return 0;
}
