// The framework's random numbers: one global linear congruential sequence, so
// a run is reproducible from its seed.
#pragma once

extern int vx_random_Seed;  // the generator state; 1234 at start-up

float vx_random_Rnd();                       // next value in [0, 1)
float vx_random_Rnd2(float low, float high); // low + (high - low) * Rnd()
float vx_random_Rnd3(float range);           // Rnd() * range
