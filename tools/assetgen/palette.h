// The one palette every coloured picture draws from: bright sprites with a
// near-black outline so they read on the dark arena. Tinted pictures use
// white and greys only (Grey in canvas.h).
#pragma once
#include "tools/assetgen/canvas.h"

namespace pal {
constexpr Rgba kInk{0.07f, 0.05f, 0.11f, 1};  // every outline
constexpr Rgba kNight{0.15f, 0.12f, 0.24f, 1};
constexpr Rgba kSteelDark{0.27f, 0.29f, 0.40f, 1};
constexpr Rgba kSteel{0.46f, 0.50f, 0.62f, 1};
constexpr Rgba kSteelLight{0.72f, 0.76f, 0.84f, 1};
constexpr Rgba kWhite{1, 1, 1, 1};
constexpr Rgba kRedDark{0.52f, 0.11f, 0.20f, 1};
constexpr Rgba kRed{0.88f, 0.23f, 0.27f, 1};
constexpr Rgba kRedLight{1.0f, 0.55f, 0.50f, 1};
constexpr Rgba kOrange{0.97f, 0.56f, 0.17f, 1};
constexpr Rgba kGoldDark{0.70f, 0.46f, 0.09f, 1};
constexpr Rgba kGold{1.0f, 0.80f, 0.20f, 1};
constexpr Rgba kGoldLight{1.0f, 0.96f, 0.62f, 1};
constexpr Rgba kGreenDark{0.10f, 0.38f, 0.26f, 1};
constexpr Rgba kGreen{0.30f, 0.74f, 0.32f, 1};
constexpr Rgba kGreenLight{0.68f, 0.94f, 0.42f, 1};
constexpr Rgba kTealDark{0.07f, 0.30f, 0.42f, 1};
constexpr Rgba kTeal{0.16f, 0.62f, 0.72f, 1};
constexpr Rgba kTealLight{0.52f, 0.92f, 0.92f, 1};
constexpr Rgba kBlueDark{0.15f, 0.19f, 0.52f, 1};
constexpr Rgba kBlue{0.27f, 0.44f, 0.88f, 1};
constexpr Rgba kBlueLight{0.56f, 0.73f, 1.0f, 1};
constexpr Rgba kPurpleDark{0.30f, 0.15f, 0.45f, 1};
constexpr Rgba kPurple{0.53f, 0.31f, 0.80f, 1};
constexpr Rgba kPink{1.0f, 0.46f, 0.68f, 1};
constexpr Rgba kSkin{0.98f, 0.77f, 0.60f, 1};
constexpr Rgba kBrownDark{0.28f, 0.18f, 0.15f, 1};
constexpr Rgba kBrown{0.50f, 0.36f, 0.28f, 1};
constexpr Rgba kStone{0.62f, 0.56f, 0.52f, 1};
constexpr Rgba kStoneLight{0.80f, 0.75f, 0.68f, 1};
}  // namespace pal
