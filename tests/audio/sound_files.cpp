#include "tests/audio/sound_files.h"

#include <stdlib.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <fstream>
#include <stdexcept>

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
  vorbis_info info;
  vorbis_info_init(&info);
  vorbis_encode_init_vbr(&info, channels, rate, 0.4f);
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, 1);

  Bytes out;
  ogg_page page;
  auto pages = [&](int (*next)(ogg_stream_state*, ogg_page*)) {
    while (next(&stream, &page)) {
      out.insert(out.end(), page.header, page.header + page.header_len);
      out.insert(out.end(), page.body, page.body + page.body_len);
    }
  };
  ogg_packet headers[3];
  vorbis_analysis_headerout(&dsp, &comment, &headers[0], &headers[1], &headers[2]);
  for (ogg_packet& header : headers) ogg_stream_packetin(&stream, &header);
  pages(ogg_stream_flush);

  int frames = static_cast<int>(samples.size()) / channels;
  if (frames > 0) {
    float** buffer = vorbis_analysis_buffer(&dsp, frames);
    for (size_t i = 0; i < samples.size(); ++i) buffer[i % channels][i / channels] = samples[i] / 32768.0f;
    vorbis_analysis_wrote(&dsp, frames);
  }
  // Zero frames marks the end of the stream.
  vorbis_analysis_wrote(&dsp, 0);
  while (vorbis_analysis_blockout(&dsp, &block) == 1) {
    vorbis_analysis(&block, nullptr);
    vorbis_bitrate_addblock(&block);
    ogg_packet packet;
    while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
      ogg_stream_packetin(&stream, &packet);
      pages(ogg_stream_pageout);
    }
  }
  pages(ogg_stream_flush);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

Decoded Decode(Decoder decoder, const Bytes& file) {
  Decoded d;
  FILE* f = MemoryFile(file);
  unsigned char* data = decoder(f, &d.length, &d.channels, &d.format, &d.hertz);
  fclose(f);
  if (data) {
    d.ok = true;
    d.data.assign(data, data + static_cast<size_t>(d.length) * d.channels * d.format);
    free(data);
  }
  return d;
}

FILE* MemoryFile(const Bytes& bytes) {
  // fmemopen refuses a zero size.
  if (bytes.empty()) return tmpfile();
  return fmemopen(const_cast<unsigned char*>(bytes.data()), bytes.size(), "rb");
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
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
