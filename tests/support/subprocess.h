// Programs run from a test: RunProcess and its options come from the driver
// library shared with make demo.
#pragma once
#include <string>

#include "tools/xdrive/process.h"

// A path under the build folder the tests were built in.
std::string BuildPath(const std::string& relative);
