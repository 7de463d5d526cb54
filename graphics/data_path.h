// The data-path rule shared by the graphics and audio modules: a bare asset
// name lives in the data folder.
#pragma once
#include "runtime/string.h"

String vx_data_FixDataPath(const String& path);
