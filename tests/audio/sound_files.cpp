#include "tests/audio/sound_files.h"

#include <stdlib.h>

#include <cmath>

#include "tools/assetgen/ogg_file.h"

namespace {

// The low `size` bytes of `value`, little-endian.
void Put(Bytes& out, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

}  // namespace

std::vector<int16_t> Tone(double hertz, double seconds, int rate, int channels) {
  std::vector<int16_t> out;
  for (int i = 0; i < static_cast<int>(seconds * rate); ++i) {
    auto v = static_cast<int16_t>(std::lround(16383 * std::sin(2 * M_PI * hertz * i / rate)));
    out.insert(out.end(), static_cast<size_t>(channels), v);
  }
  return out;
}

Bytes Ramp(size_t n) {
  Bytes b(n);
  for (size_t i = 0; i < n; ++i) b[i] = static_cast<unsigned char>(i * 7);
  return b;
}

Bytes FormatBody(unsigned channels, uint32_t hertz, unsigned bits, int extra) {
  Bytes b;
  Put(b, 1, 2);  // PCM
  Put(b, channels, 2);
  Put(b, hertz, 4);
  Put(b, hertz * channels * bits / 8, 4);
  Put(b, channels * bits / 8, 2);
  Put(b, bits, 2);
  b.resize(b.size() + static_cast<size_t>(extra));
  return b;
}

Bytes Riff(const std::vector<std::pair<const char*, Bytes>>& chunks) {
  Bytes out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  for (const auto& [tag, chunk] : chunks) {
    out.insert(out.end(), tag, tag + 4);
    Put(out, static_cast<uint32_t>(chunk.size()), 4);
    out.insert(out.end(), chunk.begin(), chunk.end());
    if (chunk.size() & 1) out.push_back(0);
  }
  for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<unsigned char>((out.size() - 8) >> (8 * i));
  return out;
}

Bytes Wav(unsigned channels, uint32_t hertz, unsigned bits, const Bytes& data) {
  return Riff({{"fmt ", FormatBody(channels, hertz, bits)}, {"data", data}});
}

Bytes EncodeOgg(const std::vector<int16_t>& samples, int channels, int rate) {
  std::vector<std::vector<float>> planar(static_cast<size_t>(channels));
  for (size_t i = 0; i < samples.size(); ++i) planar[i % channels].push_back(samples[i] / 32768.0f);
  return EncodeOgg(planar, rate, 0.4f);
}

FILE* MemoryFile(const Bytes& bytes) {
  // fmemopen refuses a zero size.
  if (bytes.empty()) return tmpfile();
  return fmemopen(const_cast<unsigned char*>(bytes.data()), bytes.size(), "rb");
}

ALuint ToneBuffer(double hertz, double seconds, int rate) {
  std::vector<int16_t> pcm = Tone(hertz, seconds, rate);
  ALuint name = 0;
  alGenBuffers(1, &name);
  alBufferData(name, AL_FORMAT_MONO16, pcm.data(), static_cast<ALsizei>(pcm.size() * 2), rate);
  return name;
}
