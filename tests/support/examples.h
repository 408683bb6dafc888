#ifndef WDLC_TESTS_EXAMPLES_H
#define WDLC_TESTS_EXAMPLES_H

// Until every test includes support/wizardfiles.h itself.
#include "support/wizardfiles.h"

#endif
