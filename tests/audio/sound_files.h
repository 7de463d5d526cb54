// Sound material the audio tests make themselves: tones, RIFF/WAVE files with
// chosen chunk layouts, and OpenAL buffers straight from PCM.
#pragma once
#include <AL/al.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// A sine tone as interleaved 16-bit samples, the same in every channel.
std::vector<int16_t> Tone(double hertz, double seconds, int rate, int channels = 1, double amplitude = 0.5);

// Little-endian appends.
void PutTag(Bytes& out, const char* tag);
void PutU16(Bytes& out, unsigned value);
void PutU32(Bytes& out, uint32_t value);
// A chunk with its pad byte after an odd-sized body.
void PutChunk(Bytes& out, const char* tag, const Bytes& body);

// The body of a PCM format chunk; `extra` bytes of zeros follow the 16 standard ones.
Bytes FormatBody(unsigned channels, uint32_t hertz, unsigned bits, int extra = 0);
// "RIFF" size "WAVE" followed by the given chunks (already laid out).
Bytes Riff(const Bytes& chunks);
// A plain PCM file: format chunk, then data.
Bytes Wav(unsigned channels, uint32_t hertz, unsigned bits, const Bytes& data);
Bytes PcmBytes(const std::vector<int16_t>& samples);

// A read-only in-memory file over `bytes` (which must outlive it).
FILE* MemoryFile(const Bytes& bytes);
void WriteFile(const std::string& path, const Bytes& bytes);
// A fresh directory for the test's files.
std::string TempDir();

// A mono 16-bit OpenAL buffer of a tone (needs a current context).
ALuint ToneBuffer(double hertz, double seconds, int rate = 44100);
