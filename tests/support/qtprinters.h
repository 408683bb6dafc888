#ifndef WDLC_TESTS_QTPRINTERS_H
#define WDLC_TESTS_QTPRINTERS_H

// Until every test includes support/testsupport.h itself.
#include "support/testsupport.h"

#endif
