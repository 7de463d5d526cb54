#include "tools/assetgen/ogg_file.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>

namespace {
constexpr int kSerial = 0x4b4c5658;  // any fixed number; a random one would change the file
constexpr int kBlock = 1024;         // frames handed to the encoder at a time

bool WritePage(FILE* f, const ogg_page& page) {
  return std::fwrite(page.header, 1, size_t(page.header_len), f) == size_t(page.header_len) &&
         std::fwrite(page.body, 1, size_t(page.body_len), f) == size_t(page.body_len);
}
}  // namespace

bool WriteOggStereo(const std::string& path, const std::vector<float>& left, const std::vector<float>& right,
                    int hertz, float quality) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  vorbis_info info;
  vorbis_info_init(&info);
  bool ok = vorbis_encode_init_vbr(&info, 2, hertz, quality) == 0;
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_comment_add_tag(&comment, "TITLE", "adventurous");
  vorbis_comment_add_tag(&comment, "ARTIST", "Kalvexa assetgen");
  vorbis_dsp_state dsp;
  vorbis_block block;
  ogg_stream_state stream;
  ogg_page page;
  ogg_packet packet;
  if (ok) {
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_init(&stream, kSerial);
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    while (ok && ogg_stream_flush(&stream, &page)) ok = WritePage(f, page);

    size_t done = 0;
    bool ended = false;
    while (ok && !ended) {
      size_t n = std::min(size_t(kBlock), left.size() - done);
      if (n == 0) {
        vorbis_analysis_wrote(&dsp, 0);  // end of stream
      } else {
        float** buffer = vorbis_analysis_buffer(&dsp, int(n));
        for (size_t i = 0; i < n; ++i) {
          buffer[0][i] = left[done + i];
          buffer[1][i] = right[done + i];
        }
        vorbis_analysis_wrote(&dsp, int(n));
        done += n;
      }
      while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
          ogg_stream_packetin(&stream, &packet);
          while (ok && ogg_stream_pageout(&stream, &page)) {
            ok = WritePage(f, page);
            if (ogg_page_eos(&page)) ended = true;
          }
        }
      }
    }
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
  }
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return std::fclose(f) == 0 && ok;
}
