// The image reader behind `wdltool dump`: any bytes, decoded structurally,
// never read past their end.

#include "fuzzsupport.h"
#include "inspect/sasimagereader.h"

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    fuzzsupport::init(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), int(size));
    const SasImage image = SasImageReader::read(bytes);
    (void)image;
    return 0;
}
