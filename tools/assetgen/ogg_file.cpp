#include "tools/assetgen/ogg_file.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>

namespace {
constexpr int kSerial = 0x4b4c5658;  // any fixed number; a random one would change the file
constexpr int kBlock = 1024;         // frames handed to the encoder at a time
}  // namespace

std::vector<uint8_t> EncodeOgg(const std::vector<std::vector<float>>& channels, int hertz, float quality) {
  int count = std::max(1, static_cast<int>(channels.size()));
  size_t frames = channels.empty() ? 0 : channels[0].size();
  vorbis_info info;
  vorbis_info_init(&info);
  vorbis_encode_init_vbr(&info, count, hertz, quality);
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, kSerial);

  std::vector<uint8_t> out;
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

  for (size_t done = 0;;) {
    size_t n = std::min(static_cast<size_t>(kBlock), frames - done);
    if (n == 0) {
      vorbis_analysis_wrote(&dsp, 0);  // the end of the stream
    } else {
      float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
      for (size_t c = 0; c < channels.size(); ++c) std::copy_n(channels[c].begin() + done, n, buffer[c]);
      vorbis_analysis_wrote(&dsp, static_cast<int>(n));
      done += n;
    }
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
        ogg_stream_packetin(&stream, &packet);
        pages(ogg_stream_pageout);
      }
    }
    if (n == 0) break;
  }
  pages(ogg_stream_flush);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}
