// The window's icon, in every size the host offers the window system.
#pragma once
#include "tools/assetgen/canvas.h"

constexpr int kIconSizes[] = {32, 64, 128, 256};

// The icon at `size` x `size` pixels, one of kIconSizes.
Canvas RenderIcon(int size);
