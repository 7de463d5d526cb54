// A fuzz target without libFuzzer, as a test of the normal and sanitizer
// builds: it runs every input checked in beside the target (seeds/ and
// regressions/ of the folder given), then `cases` more made from them by
// mutation with a fixed seed, so that every run tries the same inputs. The
// input of a failing case is left in fuzz-failure-<program>.
//
//   fuzz_wav_reader tools/fuzz/wav_reader [cases]
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// In the sanitizer builds only: called when a sanitizer ends the process.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

constexpr int DEFAULT_CASES = 3000;
constexpr uint32_t MUTATION_SEED = 0x4b58;
constexpr int MAX_FLIPS = 8;       // bits one mutation flips at most
constexpr size_t MAX_INSERT = 16;  // bytes one mutation inserts at most

Bytes current;  // the case in progress
std::string failure;

void SaveCurrent() {  // async-signal-safe
  int fd = open(failure.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd >= 0 && write(fd, current.data(), current.size()) >= 0) close(fd);
}

void OnAbort(int signal) {
  SaveCurrent();
  ::signal(signal, SIG_DFL);
  raise(signal);
}

void Run(const Bytes& input) {
  current = input;
  // A block of the input's size exactly, so that a read past its end is caught.
  std::unique_ptr<uint8_t[]> copy(new uint8_t[input.size()]);
  std::copy(input.begin(), input.end(), copy.get());
  LLVMFuzzerTestOneInput(copy.get(), input.size());
}

Bytes Mutate(const std::vector<Bytes>& inputs, std::mt19937& random) {
  auto below = [&](size_t n) { return n == 0 ? 0 : random() % n; };
  Bytes bytes = inputs[below(inputs.size())];
  const Bytes& other = inputs[below(inputs.size())];
  Bytes extra(1 + below(MAX_INSERT));
  switch (random() % 4) {
    case 0:  // bit flips
      for (size_t n = 1 + below(MAX_FLIPS); n > 0 && !bytes.empty(); --n) bytes[below(bytes.size())] ^= 1 << below(8);
      break;
    case 1:  // cut short
      bytes.resize(below(bytes.size()));
      break;
    case 2:  // random bytes inserted
      for (uint8_t& b : extra) b = static_cast<uint8_t>(random());
      bytes.insert(bytes.begin() + below(bytes.size() + 1), extra.begin(), extra.end());
      break;
    default:  // the head of one input and the tail of another
      bytes.resize(below(bytes.size() + 1));
      bytes.insert(bytes.end(), other.begin() + below(other.size() + 1), other.end());
  }
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  failure = "fuzz-failure-" + fs::path(argv[0]).filename().string();
  if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(SaveCurrent);
  signal(SIGABRT, OnAbort);
  std::vector<Bytes> inputs;
  for (const char* folder : {"seeds", "regressions"}) {
    fs::path path = fs::path(argc > 1 ? argv[1] : ".") / folder;
    if (!fs::is_directory(path)) continue;
    std::vector<fs::path> files(fs::directory_iterator(path), {});
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
      std::ifstream in(file, std::ios::binary);
      inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
      Run(inputs.back());
    }
  }
  if (inputs.empty()) {
    fprintf(stderr, "%s: no inputs in %s\n", argv[0], argc > 1 ? argv[1] : ".");
    return 1;
  }
  int cases = argc > 2 ? atoi(argv[2]) : DEFAULT_CASES;
  std::mt19937 random(MUTATION_SEED);
  for (int i = 0; i < cases; ++i) Run(Mutate(inputs, random));
  fprintf(stderr, "%zu inputs and %d mutated cases passed\n", inputs.size(), cases);
  // A leak reported at exit is no case's, and `current` is gone by then.
  if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(nullptr);
  return 0;
}
