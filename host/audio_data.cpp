// Sound files are untrusted input: every size read from a file is checked
// against what is left of the file (or against the decoded-size ceiling)
// before anything is allocated for it.
#include "host/audio_data.h"

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/vx_game.h"
#include "runtime/memory.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace {

// ---- Tunables ----------------------------------------------------------------
constexpr long MAX_DECODED_BYTES = 512L << 20;  // bytes: larger sounds are refused (about 50 min of CD audio)
constexpr int OGG_STEP_FRAMES = 4096;           // frames: the most one stb_vorbis step returns per channel
constexpr unsigned OGG_MIN_HERTZ = 8000, OGG_MAX_HERTZ = 192000;

// ---- RIFF reading ------------------------------------------------------------------
struct RiffReader {
  FILE* file;
  long end;  // offset of the end of the file

  long Left() const {
    long at = ftell(file);
    return at < 0 || at > end ? 0 : end - at;
  }
  bool Bytes(void* out, size_t count) { return fread(out, 1, count, file) == count; }
  bool Tag(const char* expected) {
    char tag[4];
    return Bytes(tag, 4) && memcmp(tag, expected, 4) == 0;
  }
  bool U16(uint16_t* value) {
    unsigned char b[2];
    if (!Bytes(b, 2)) return false;
    *value = static_cast<uint16_t>(b[0] | b[1] << 8);
    return true;
  }
  bool U32(uint32_t* value) {
    unsigned char b[4];
    if (!Bytes(b, 4)) return false;
    *value = b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
    return true;
  }
  // Skips `count` bytes of a chunk body plus the pad byte that follows an
  // odd-sized chunk.
  bool Skip(uint32_t count) {
    if (count > static_cast<unsigned long>(Left())) return false;
    return fseek(file, static_cast<long>(count) + (count & 1), SEEK_CUR) == 0;
  }
};

bool FileEnd(FILE* file, long* end) {
  long start = ftell(file);
  if (start < 0 || fseek(file, 0, SEEK_END) != 0) return false;
  *end = ftell(file);
  return *end >= 0 && fseek(file, start, SEEK_SET) == 0;
}

// ---- Ogg comment headers --------------------------------------------------------
// stb_vorbis takes the lengths in a comment header on trust: a header that
// ends before the comments it announces has it free pointers it never set,
// and a length past 2^31 has it ask for exabytes. The header is read here
// first, page by page as stb_vorbis reads it, and must hold what it says.
constexpr long OGG_COMMENT_PAGE = 58;       // bytes before it: a page of 27 + 1 header bytes and a 30-byte packet
constexpr size_t OGG_PAGE_HEADER = 27;      // bytes before a page's segment table
constexpr unsigned char OGG_CONTINUED = 1;  // header type bit: the page goes on with the packet before
constexpr size_t OGG_COMMENT_FIELDS = 7;    // packet type and "vorbis", before the vendor's length

// The packet that begins on the comment page, through the pages that go on
// with it; false when it is cut short or one of them is not a page.
bool ReadCommentPacket(FILE* file, long start, std::vector<unsigned char>* packet) {
  if (fseek(file, start + OGG_COMMENT_PAGE, SEEK_SET) != 0) return false;
  for (bool first = true;; first = false) {
    // The capture pattern, version 0, the header type and at 26 the segment count.
    unsigned char header[OGG_PAGE_HEADER], lacing[UCHAR_MAX];
    if (fread(header, 1, OGG_PAGE_HEADER, file) != OGG_PAGE_HEADER || memcmp(header, "OggS", 4) != 0 ||
        header[4] != 0 || (!first && !(header[5] & OGG_CONTINUED))) {
      return false;
    }
    // A page without segments would have stb_vorbis reuse the last page's table.
    size_t segments = header[26];
    if (segments == 0 || fread(lacing, 1, segments, file) != segments) return false;
    for (size_t i = 0; i < segments; ++i) {
      size_t used = packet->size();
      packet->resize(used + lacing[i]);
      if (fread(packet->data() + used, 1, lacing[i], file) != lacing[i]) return false;
      if (lacing[i] < UCHAR_MAX) return true;
    }
  }
}

// The vendor's text and each comment: a 32-bit length and as many bytes, all in the packet.
bool CommentsFit(const std::vector<unsigned char>& packet) {
  size_t at = OGG_COMMENT_FIELDS;
  auto number = [&](uint32_t* value) {
    if (packet.size() < at + 4) return false;
    const unsigned char* b = &packet[at];
    *value = b[0] | b[1] << 8 | b[2] << 16 | static_cast<uint32_t>(b[3]) << 24;
    at += 4;
    return true;
  };
  auto text = [&]() {
    uint32_t length = 0;
    if (!number(&length) || length > packet.size() - at) return false;
    at += length;
    return true;
  };
  uint32_t count = 0;
  if (!text() || !number(&count)) return false;
  for (uint32_t i = 0; i < count; ++i) {
    if (!text()) return false;
  }
  return true;
}

}  // namespace

unsigned char* LoadWAV(FILE* file, int* length, int* channels, int* format, int* hertz) {
  RiffReader riff{file, 0};
  if (!FileEnd(file, &riff.end)) return nullptr;

  uint32_t ignored = 0, fmtSize = 0, rate = 0;
  uint16_t code = 0, count = 0, bits = 0, ignored16 = 0;
  if (!riff.Tag("RIFF") || !riff.U32(&ignored) || !riff.Tag("WAVE")) return nullptr;
  // The format chunk has to come first.
  if (!riff.Tag("fmt ") || !riff.U32(&fmtSize) || fmtSize < 16) return nullptr;
  if (!riff.U16(&code) || !riff.U16(&count) || !riff.U32(&rate) || !riff.U32(&ignored) ||
      !riff.U16(&ignored16) || !riff.U16(&bits) || !riff.Skip(fmtSize - 16)) {
    return nullptr;
  }
  // Only PCM shapes OpenAL has a format for; anything else would also risk a
  // zero block size below.
  if (code != 1 || (count != 1 && count != 2) || (bits != 8 && bits != 16) || rate == 0 ||
      rate > INT32_MAX) {
    return nullptr;
  }
  int bytesPerSample = bits / 8;
  int blockSize = count * bytesPerSample;

  for (;;) {
    char tag[4];
    uint32_t size = 0;
    if (!riff.Bytes(tag, 4) || !riff.U32(&size)) return nullptr;
    if (memcmp(tag, "data", 4) != 0) {
      if (!riff.Skip(size)) return nullptr;
      continue;
    }
    // A size past the end of the file is a lie, not a reason to allocate it;
    // less than one frame is nothing to play.
    if (size > static_cast<unsigned long>(riff.Left()) || size > MAX_DECODED_BYTES ||
        size < static_cast<uint32_t>(blockSize)) {
      return nullptr;
    }
    auto* data = static_cast<unsigned char*>(vx_malloc(size));
    if (!riff.Bytes(data, size)) {
      free(data);
      return nullptr;
    }
    *length = static_cast<int>(size / blockSize);
    *channels = count;
    *format = bytesPerSample;
    *hertz = static_cast<int>(rate);
    return data;
  }
}

unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz) {
  long start = ftell(file);
  std::vector<unsigned char> comments;
  if (start < 0 || !ReadCommentPacket(file, start, &comments) || !CommentsFit(comments) ||
      fseek(file, start, SEEK_SET) != 0) {
    return nullptr;
  }
  int error = 0;
  stb_vorbis* decoder = stb_vorbis_open_file(file, 0, &error, nullptr);
  if (!decoder) return nullptr;
  // What the headers claim is checked before anything is allocated for it;
  // a length the file cannot tell (0) is bounded while decoding instead.
  stb_vorbis_info info = stb_vorbis_get_info(decoder);
  int c = info.channels;
  long long claimed = static_cast<long long>(stb_vorbis_stream_length_in_samples(decoder)) * c * sizeof(short);
  if ((c != 1 && c != 2) || info.sample_rate < OGG_MIN_HERTZ || info.sample_rate > OGG_MAX_HERTZ ||
      claimed > MAX_DECODED_BYTES) {
    stb_vorbis_close(decoder);
    return nullptr;
  }

  // Room for one more step is kept free at all times, so no decoded frame is cut.
  long capacity = static_cast<long>(c) * OGG_STEP_FRAMES;
  long used = 0;
  auto* buffer = static_cast<short*>(vx_malloc(capacity * sizeof(short)));
  int frames = 0;
  bool tooLong = false;
  for (;;) {
    int n = stb_vorbis_get_frame_short_interleaved(decoder, c, buffer + used, static_cast<int>(capacity - used));
    if (n == 0) break;
    frames += n;
    used += static_cast<long>(n) * c;
    if (capacity < used + c * OGG_STEP_FRAMES) {
      if (capacity * 2 * static_cast<long>(sizeof(short)) > MAX_DECODED_BYTES) {
        tooLong = true;
        break;
      }
      capacity *= 2;
      buffer = static_cast<short*>(vx_realloc(buffer, capacity * sizeof(short)));
    }
  }
  stb_vorbis_close(decoder);
  if (frames == 0 || tooLong) {
    free(buffer);
    return nullptr;
  }
  *length = frames;
  *channels = c;
  *format = 2;
  *hertz = static_cast<int>(info.sample_rate);
  return reinterpret_cast<unsigned char*>(buffer);
}

unsigned char* VxGlfwGame::LoadAudioData(String path, int* length, int* channels, int* format, int* hertz) {
  FILE* file = OpenFile(path, String("rb"));
  if (!file) return nullptr;
  String lower = path.ToLower();
  unsigned char* data = nullptr;
  if (lower.EndsWith(String(".wav"))) {
    data = LoadWAV(file, length, channels, format, hertz);
  } else if (lower.EndsWith(String(".ogg"))) {
    data = LoadOGG(file, length, channels, format, hertz);
  }
  fclose(file);
  return data;
}
