#include "tests/audio/sound_files.h"

#include <stdlib.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

std::vector<int16_t> Tone(double hertz, double seconds, int rate, int channels, double amplitude) {
  int frames = static_cast<int>(seconds * rate);
  std::vector<int16_t> out;
  out.reserve(static_cast<size_t>(frames) * channels);
  for (int i = 0; i < frames; ++i) {
    auto v = static_cast<int16_t>(std::lround(amplitude * 32767 * std::sin(2 * M_PI * hertz * i / rate)));
    for (int c = 0; c < channels; ++c) out.push_back(v);
  }
  return out;
}

void PutTag(Bytes& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

void PutU16(Bytes& out, unsigned value) {
  out.push_back(static_cast<unsigned char>(value));
  out.push_back(static_cast<unsigned char>(value >> 8));
}

void PutU32(Bytes& out, uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

void PutChunk(Bytes& out, const char* tag, const Bytes& body) {
  PutTag(out, tag);
  PutU32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() & 1) out.push_back(0);
}

Bytes FormatBody(unsigned channels, uint32_t hertz, unsigned bits, int extra) {
  Bytes b;
  PutU16(b, 1);
  PutU16(b, channels);
  PutU32(b, hertz);
  PutU32(b, hertz * channels * bits / 8);
  PutU16(b, channels * bits / 8);
  PutU16(b, bits);
  b.insert(b.end(), static_cast<size_t>(extra), 0);
  return b;
}

Bytes Riff(const Bytes& chunks) {
  Bytes out;
  PutTag(out, "RIFF");
  PutU32(out, static_cast<uint32_t>(chunks.size() + 4));
  PutTag(out, "WAVE");
  out.insert(out.end(), chunks.begin(), chunks.end());
  return out;
}

Bytes Wav(unsigned channels, uint32_t hertz, unsigned bits, const Bytes& data) {
  Bytes chunks;
  PutChunk(chunks, "fmt ", FormatBody(channels, hertz, bits));
  PutChunk(chunks, "data", data);
  return Riff(chunks);
}

Bytes PcmBytes(const std::vector<int16_t>& samples) {
  Bytes out;
  for (int16_t s : samples) PutU16(out, static_cast<uint16_t>(s));
  return out;
}

FILE* MemoryFile(const Bytes& bytes) {
  // fmemopen refuses a zero size.
  if (bytes.empty()) return tmpfile();
  return fmemopen(const_cast<unsigned char*>(bytes.data()), bytes.size(), "rb");
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  FILE* f = fopen(path.c_str(), "wb");
  if (!f) throw std::runtime_error("cannot write " + path);
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
}

std::string TempDir() {
  char pattern[] = "/tmp/vx_audio_test_XXXXXX";
  const char* dir = mkdtemp(pattern);
  if (!dir) throw std::runtime_error("mkdtemp failed");
  return dir;
}

ALuint ToneBuffer(double hertz, double seconds, int rate) {
  std::vector<int16_t> pcm = Tone(hertz, seconds, rate);
  ALuint name = 0;
  alGenBuffers(1, &name);
  alBufferData(name, AL_FORMAT_MONO16, pcm.data(), static_cast<ALsizei>(pcm.size() * 2), rate);
  return name;
}
