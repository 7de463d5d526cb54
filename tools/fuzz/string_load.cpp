// Text files: any bytes read the way the game reads a text file. Read in
// blocks, the text is the one decoded whole; written out as UTF-8 and decoded
// again it comes back unchanged, unless it begins with U+FEFF, which then
// reads as a byte-order mark.
#include <cstdlib>
#include <string>

#include "tools/fuzz/fuzz_host.h"

namespace {

constexpr Char BYTE_ORDER_MARK = 0xFEFF;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzHost& host = vx_fuzz_case("fuzz.txt", data, size);
  String text = host.LoadString(String("fuzz.txt"));
  if (text != String::Decode(data, size)) abort();
  if (!text.Empty() && text[0] == BYTE_ORDER_MARK) return 0;
  std::string utf8 = text.ToUtf8();
  if (String::Decode(reinterpret_cast<const unsigned char*>(utf8.data()), utf8.size()) != text) abort();
  return 0;
}
