// A program beside the test: ChildProcess from the driver library.
#pragma once
#include "tools/xdrive/process.h"
