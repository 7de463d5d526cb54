#include "tools/assetgen/wav_file.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace {
void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xffff);
  Put16(out, v >> 16);
}
void PutTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }
}  // namespace

bool WriteWav(const std::string& path, const std::vector<float>& samples, int channels, int hertz) {
  uint32_t dataBytes = uint32_t(samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  PutTag(out, "RIFF");
  Put32(out, 36 + dataBytes);
  PutTag(out, "WAVE");
  PutTag(out, "fmt ");
  Put32(out, 16);
  Put16(out, 1);  // uncompressed PCM
  Put16(out, uint32_t(channels));
  Put32(out, uint32_t(hertz));
  Put32(out, uint32_t(hertz * channels * 2));
  Put16(out, uint32_t(channels * 2));
  Put16(out, 16);
  PutTag(out, "data");
  Put32(out, dataBytes);
  for (float s : samples) Put16(out, uint16_t(int16_t(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767))));
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(out.data(), 1, out.size(), f) == out.size();
  return std::fclose(f) == 0 && ok;
}
