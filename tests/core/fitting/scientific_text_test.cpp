#include "core/fitting/scientific_text.h"

#include <gtest/gtest.h>


