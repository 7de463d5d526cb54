// Tones, WAV files of chosen chunk layouts, Ogg files and OpenAL buffers, made here.
#pragma once
#include <AL/al.h>

#include <cstdint>
#include <cstdio>
#include <utility>
#include <vector>

#include "tests/support/temp_folder.h"

using Bytes = std::vector<unsigned char>;

// A sine tone at half scale as interleaved 16-bit samples, the same in every channel.
std::vector<int16_t> Tone(double hertz, double seconds, int rate, int channels = 1);
// n bytes that differ from their neighbours.
Bytes Ramp(size_t n);
// The body of a PCM format chunk; `extra` bytes of zeros follow the 16 standard ones.
Bytes FormatBody(unsigned channels, uint32_t hertz, unsigned bits, int extra = 0);
// "RIFF" size "WAVE" and the chunks in order, each padded to an even size.
Bytes Riff(const std::vector<std::pair<const char*, Bytes>>& chunks);
// A plain PCM file: format chunk, then data.
Bytes Wav(unsigned channels, uint32_t hertz, unsigned bits, const Bytes& data);
// Interleaved 16-bit PCM (possibly none) at quality 0.4.
Bytes EncodeOgg(const std::vector<int16_t>& samples, int channels, int rate);

// One of the host's decoders, and a read-only in-memory file over `bytes` for it.
using Decoder = unsigned char* (*)(FILE*, int*, int*, int*, int*);
FILE* MemoryFile(const Bytes& bytes);
// A mono 16-bit OpenAL buffer of a tone (needs a current context).
ALuint ToneBuffer(double hertz, double seconds, int rate = 44100);
