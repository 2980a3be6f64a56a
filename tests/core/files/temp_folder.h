#pragma once

// The temporary folder moved to the test support, beside the maker of test
// families; this name stays for the tests that include it from here.
#include "support/temp_folder.h"
