// Ogg Vorbis through libvorbisenc, at a fixed stream serial number so the
// same samples always give the same bytes.
#pragma once
#include <cstdint>
#include <vector>

// One vector of samples in -1..1 per channel, all of one length; no channels
// or no samples give a stream of headers alone.
std::vector<uint8_t> EncodeOgg(const std::vector<std::vector<float>>& channels, int hertz, float quality);
