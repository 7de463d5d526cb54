#include "tests/support/subprocess.h"

std::string BuildPath(const std::string& relative) { return std::string(VX_BUILD_DIR) + "/" + relative; }
