// The generator's sequence is part of the game's behaviour: the same seed must
// give the same run.
#include "framework/random.h"

#include <gtest/gtest.h>

namespace {

TEST(Random, SequenceFromSeed1234) {
  vx_random_Seed = 1234;
  EXPECT_NEAR(vx_random_Rnd(), 0.7143, 1e-4);
  EXPECT_EQ(static_cast<unsigned>(vx_random_Seed), 3067928073u);
  // Rnd2 with an empty range still advances the state by one step.
  EXPECT_EQ(vx_random_Rnd2(5, 5), 5.0f);
  EXPECT_EQ(static_cast<unsigned>(vx_random_Seed), 889114580u);
}

}  // namespace
