// What every fuzz target runs on: the program's runtime and its headless
// host, on which the case's input is the content of one file.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "host/headless_game.h"

class FuzzHost : public VxHeadlessGame {
 public:
  String file;  // how the one path that holds the input ends
  const uint8_t* input = nullptr;
  size_t size = 0;
  String state;  // the saved state: what LoadState gives and SaveState replaces

  // The input for `file`, read-only; no other file exists.
  FILE* OpenFile(String path, String mode) override;
  String LoadState() override { return state; }
  int SaveState(String saved) override;
};

// The host for one case, its input the file `file`. The first call starts the
// runtime on it, with the headless GL table behind an open window, a
// graphics device and standard output on /dev/null; each later one collects
// what the case before left, as the host's loop does between its calls.
FuzzHost& vx_fuzz_case(const char* file, const uint8_t* data, size_t size);

// Reads every byte of a block, so that the sanitizer sees a block shorter
// than its owner claims.
void vx_fuzz_read(const unsigned char* bytes, size_t count);

// A sound reader of host/audio_data.h on the case's input, opened as the file
// `file`: a sound it decodes must have a shape OpenAL can play and hold every
// byte it claims; anything else ends the process.
using VxSoundReader = unsigned char* (*)(FILE*, int* length, int* channels, int* format, int* hertz);
void vx_fuzz_sound(const char* file, VxSoundReader read, const uint8_t* data, size_t size);
