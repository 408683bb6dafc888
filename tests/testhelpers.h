#ifndef WDLC_TESTHELPERS_H
#define WDLC_TESTHELPERS_H

// Until every test includes support/testsupport.h itself.
#include "support/testsupport.h"

inline std::string hexBytes(const QByteArray &bytes)
{
    return hex(bytes);
}

#endif
