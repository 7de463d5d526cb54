// Ogg Vorbis files made by the tests with libvorbisenc.
#pragma once
#include <cstdint>
#include <vector>

#include "tests/audio/sound_files.h"

// Encodes interleaved 16-bit PCM (possibly none) at quality 0.4.
Bytes EncodeOgg(const std::vector<int16_t>& samples, int channels, int rate);
