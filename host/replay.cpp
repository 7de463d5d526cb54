#include "host/replay.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "framework/app.h"
#include "framework/game_event.h"
#include "graphics/gl_calls.h"
#include "graphics/headless_gl.h"
#include "host/command_line.h"
#include "host/glfw2.h"
#include "host/vx_game.h"

namespace {

// ---- Tunables ------------------------------------------------------------------------
constexpr const char* MAGIC = "kalvexa-replay";
constexpr size_t MAX_STATE = 1 << 20;       // units of a saved state
constexpr double PACE_POLL_SECONDS = 0.01;  // a paced replay looks at its window this often while it waits
constexpr int WINDOW_COLOUR_BITS = 8;
constexpr int PAD_STICKS = 2;

// ---- The format ------------------------------------------------------------------------
struct Range {
  double lo, hi;
};
constexpr Range CLOCK = {INT_MIN, INT_MAX};
constexpr Range SIDE = {0, 65535};
constexpr Range PLACE = {-1e6, 1e6};  // pointer positions and accelerations
constexpr Range AXIS = {-1, 1};
constexpr Range FLAG = {0, 1};

int Int(double v) { return static_cast<int>(v); }
float Float(double v) { return static_cast<float>(v); }

using Event = c_VxGameEvent;

struct LineFormat {
  const char* word;
  const char* types;               // a letter a field: i an integer, f a number, h 32 bits in hex, s text
  Range ranges[VX_REPLAY_FIELDS];  // of the i and f fields
  void (*feed)(VxGame& host, const double* fields);  // a call's: makes it through the wrappers
};

// In the order of VxLine.
constexpr LineFormat kLines[] = {
    {"start", "i", {CLOCK}, [](VxGame& host, const double*) { host.StartGame(); }},
    {"suspend", "i", {CLOCK}, [](VxGame& host, const double*) { host.SuspendGame(); }},
    {"resume", "i", {CLOCK}, [](VxGame& host, const double*) { host.ResumeGame(); }},
    {"update", "i", {CLOCK}, [](VxGame& host, const double*) { host.UpdateGame(); }},
    {"render", "i", {CLOCK}, [](VxGame& host, const double*) { host.RenderGame(); }},
    {"discard", "i", {CLOCK}, [](VxGame& host, const double*) { host.DiscardGraphics(); }},
    {"key",
     "iii",
     {CLOCK, {Event::KeyDown, Event::KeyChar}, {0, 0x10FFFF}},
     [](VxGame& host, const double* f) { host.KeyEvent(Int(f[1]), Int(f[2])); }},
    {"mouse",
     "iiiff",
     {CLOCK, {Event::MouseDown, Event::MouseMove}, {-1, MOUSE_BUTTONS - 1}, PLACE, PLACE},
     [](VxGame& host, const double* f) { host.MouseEvent(Int(f[1]), Int(f[2]), Float(f[3]), Float(f[4])); }},
    {"touch",
     "iiiff",
     {CLOCK, {Event::TouchDown, Event::TouchMove}, {0, TOUCHES - 1}, PLACE, PLACE},
     [](VxGame& host, const double* f) { host.TouchEvent(Int(f[1]), Int(f[2]), Float(f[3]), Float(f[4])); }},
    {"motion",
     "iiifff",
     {CLOCK, {Event::MotionAccel, Event::MotionAccel}, {0, 0}, PLACE, PLACE, PLACE},
     [](VxGame& host, const double* f) {
       host.MotionEvent(Int(f[1]), Int(f[2]), Float(f[3]), Float(f[4]), Float(f[5]));
     }},
    {"size", "iiii", {SIDE, SIDE, SIDE, SIDE}, nullptr},
    {"pad", "iiffffffh", {{0, JOYSTICKS - 1}, FLAG, AXIS, AXIS, AXIS, AXIS, AXIS, AXIS}, nullptr},
    {"state", "s", {}, nullptr},
};

const LineFormat& Format(VxLine line) { return kLines[static_cast<int>(line)]; }
bool IsCall(VxLine line) { return Format(line).feed != nullptr; }

std::string Escape(const std::u16string& text) {
  std::string out;
  for (char16_t unit : text) {
    if (unit > ' ' && unit < 0x7F && unit != '\\') {
      out += static_cast<char>(unit);
    } else {
      char escaped[8];
      snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(unit));
      out += escaped;
    }
  }
  return out;
}

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); }

bool Unescape(const std::string& token, std::u16string* text) {
  for (size_t i = 0; i < token.size(); ++i) {
    char c = token[i];
    if (text->size() == MAX_STATE) return false;
    if (c == '\\') {
      if (token.compare(i, 2, "\\u") != 0 || i + 6 > token.size() ||
          !std::all_of(token.begin() + i + 2, token.begin() + i + 6, IsHex)) {
        return false;
      }
      text->push_back(static_cast<char16_t>(strtoul(token.substr(i + 2, 4).c_str(), nullptr, 16)));
      i += 5;
    } else if (c > ' ' && c < 0x7F) {
      text->push_back(static_cast<char16_t>(c));
    } else {
      return false;
    }
  }
  return true;
}

// Only the characters of the field's kind: strtoll and strtof would take
// leading blanks, hex, "inf" and "nan" as well.
bool Made(const std::string& token, const char* characters) {
  return !token.empty() && token.find_first_not_of(characters) == std::string::npos;
}

bool ParseField(char type, const std::string& token, Range range, double* value, std::u16string* text) {
  char* end = nullptr;
  errno = 0;
  switch (type) {
    case 'i':
      if (!Made(token, "-0123456789") || token.size() > 11) return false;
      *value = static_cast<double>(strtoll(token.c_str(), &end, 10));
      break;
    case 'f':
      if (!Made(token, "-+.0123456789e")) return false;
      *value = static_cast<double>(strtof(token.c_str(), &end));
      break;
    case 'h':
      if (token.size() != 8 || !std::all_of(token.begin(), token.end(), IsHex)) return false;
      *value = static_cast<double>(strtoul(token.c_str(), &end, 16));
      return true;
    default:
      return Unescape(token, text);
  }
  return errno == 0 && *end == 0 && std::isfinite(*value) && *value >= range.lo && *value <= range.hi;
}

// Field i of a line: a text field takes `text`, the others fields[i].
std::string FormatField(char type, const double* fields, int i, const std::u16string& text) {
  char field[24];
  switch (type) {
    case 'i':
      snprintf(field, sizeof field, "%d", Int(fields[i]));
      break;
    case 'f':
      snprintf(field, sizeof field, "%.9g", fields[i]);  // digits enough to read back the same float
      break;
    case 'h':
      snprintf(field, sizeof field, "%08x", static_cast<unsigned>(fields[i]));
      break;
    default:
      return Escape(text);
  }
  return field;
}

std::vector<std::string> Split(const std::string& line) {
  std::vector<std::string> tokens;
  size_t start = 0;
  for (size_t space; (space = line.find(' ', start)) != std::string::npos; start = space + 1) {
    tokens.push_back(line.substr(start, space - start));
  }
  tokens.push_back(line.substr(start));
  return tokens;
}

// Reads the text line by line; each failure names its line.
class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}

  // The next line's tokens; false at the end of the text.
  bool Next(std::vector<std::string>* tokens) {
    ++number_;
    if (at_ >= text_.size()) return false;
    size_t end = text_.find('\n', at_);
    if (end == std::string::npos) end = text_.size();  // only a cut-short last line has no end
    *tokens = Split(text_.substr(at_, end - at_));
    at_ = end + 1;
    return true;
  }
  bool Fail(const std::string& why, std::string* error) const {
    *error = "line " + std::to_string(number_) + ": " + why;
    return false;
  }
  bool AtEnd() const { return at_ >= text_.size(); }

 private:
  const std::string& text_;
  size_t at_ = 0;
  int number_ = 0;
};

bool ReadEntry(const std::vector<std::string>& tokens, VxReplayEntry* entry) {
  for (const LineFormat& format : kLines) {
    if (tokens[0] != format.word) continue;
    size_t count = strlen(format.types);
    if (tokens.size() != count + 1) return false;
    entry->line = static_cast<VxLine>(&format - kLines);
    for (size_t i = 0; i < count; ++i) {
      if (!ParseField(format.types[i], tokens[i + 1], format.ranges[i], &entry->fields[i], &entry->text)) {
        return false;
      }
    }
    return true;
  }
  return false;
}

}  // namespace

bool VxReadRecording(const std::string& text, VxRecording* recording, std::string* error) {
  Reader reader(text);
  std::vector<std::string> tokens;
  double number = 0;
  std::u16string none;
  if (!reader.Next(&tokens) || tokens.size() != 2 || tokens[0] != MAGIC ||
      !ParseField('i', tokens[1], {0, INT_MAX}, &number, &none)) {
    return reader.Fail("not a recorded game", error);
  }
  if (number != VX_REPLAY_VERSION) {
    return reader.Fail("recorded in version " + tokens[1] + " of the format; this program reads version " +
                           std::to_string(VX_REPLAY_VERSION),
                       error);
  }
  if (text.back() != '\n') {
    *error = "cut short: the last line is incomplete";
    return false;
  }

  VxRecording read;
  if (!reader.Next(&tokens) || tokens[0] != "args") return reader.Fail("expected the game's switches", error);
  for (size_t i = 1; i < tokens.size(); ++i) {
    if (!vx_Kalvexa_IsGameSwitch(tokens[i])) return reader.Fail("not a switch of the game: " + tokens[i], error);
    read.arguments.push_back(tokens[i]);
  }
  if (!reader.Next(&tokens) || tokens.size() != 2 || tokens[0] != "seed" ||
      !ParseField('i', tokens[1], CLOCK, &number, &none)) {
    return reader.Fail("expected the random seed", error);
  }
  read.seed = Int(number);

  while (reader.Next(&tokens)) {
    if (tokens[0] == "end") {
      double ticks = 0, score = 0;
      if (tokens.size() != 3 || !ParseField('i', tokens[1], {0, INT_MAX}, &ticks, &none) ||
          !ParseField('i', tokens[2], CLOCK, &score, &none)) {
        return reader.Fail("a damaged end", error);
      }
      if (!reader.AtEnd()) return reader.Fail("lines after the end", error);
      if (ticks != std::count_if(read.entries.begin(), read.entries.end(),
                                 [](const VxReplayEntry& e) { return e.line == VxLine::UPDATE; })) {
        return reader.Fail("the end counts other ticks than the recording holds", error);
      }
      read.ended = true;
      read.ticks = Int(ticks);
      read.score = Int(score);
      break;
    }
    VxReplayEntry entry;
    if (!ReadEntry(tokens, &entry)) return reader.Fail("a damaged entry", error);
    // The host starts the game once, before it makes any other call.
    if ((entry.line == VxLine::START) != read.entries.empty()) return reader.Fail("out of order", error);
    read.entries.push_back(std::move(entry));
  }
  *recording = std::move(read);
  return true;
}

VxRecorder::VxRecorder(FILE* file, const std::vector<std::string>& arguments, int seed) : file_(file) {
  std::string head = std::string(MAGIC) + " " + std::to_string(VX_REPLAY_VERSION) + "\nargs";
  for (const std::string& argument : arguments) head += " " + argument;
  head += "\nseed " + std::to_string(seed) + "\n";
  fputs(head.c_str(), file_);
  fflush(file_);
}

VxRecorder::~VxRecorder() {
  if (file_) fclose(file_);
}

// Each line is flushed at once: a run that crashes keeps all it did.
void VxRecorder::Write(VxLine line, const double* fields, const std::u16string& text) {
  if (!file_) return;
  const LineFormat& format = Format(line);
  std::string out = format.word;
  for (int i = 0; format.types[i]; ++i) out += " " + FormatField(format.types[i], fields, i, text);
  out += '\n';
  fputs(out.c_str(), file_);
  fflush(file_);
}

bool VxRecorder::Begin(VxGame& host, const VxCall& call) {
  millis_ = host.ClockMillisecs();
  if (call.line == VxLine::UPDATE) ++ticks_;
  const double fields[] = {static_cast<double>(millis_),
                           static_cast<double>(call.event),
                           static_cast<double>(call.data),
                           call.x,
                           call.y,
                           call.z};
  Write(call.line, fields);
  int width = 0, height = 0, framebufferWidth = 0, framebufferHeight = 0;
  gxtkGL->GetWindowSize(&width, &height);
  gxtkGL->GetFramebufferSize(&framebufferWidth, &framebufferHeight);
  std::array<double, 4> size = {static_cast<double>(width), static_cast<double>(height),
                                static_cast<double>(framebufferWidth), static_cast<double>(framebufferHeight)};
  if (size != size_) {
    size_ = size;
    Write(VxLine::SIZE, size_.data());
  }
  return true;
}

bool VxRecorder::Joystick(VxGame& host, int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                          Array<bool> buttons) {
  Pad pad = {};
  bool present = host.PollJoystick(port, joyx, joyy, joyz, buttons);
  if (present) {
    pad[0] = 1;
    for (int s = 0; s < PAD_STICKS; ++s) {
      pad[1 + 3 * s] = joyx[s];
      pad[2 + 3 * s] = joyy[s];
      pad[3 + 3 * s] = joyz[s];
    }
    uint32_t bits = 0;
    for (int b = 0; b < JOY_BUTTONS; ++b) bits |= static_cast<uint32_t>(buttons[b]) << b;
    pad[7] = bits;
  }
  if (pad != pads_[port]) {
    pads_[port] = pad;
    double fields[VX_REPLAY_FIELDS] = {static_cast<double>(port)};
    std::copy(pad.begin(), pad.end(), fields + 1);
    Write(VxLine::PAD, fields);
  }
  return present;
}

String VxRecorder::LoadState(const String& stored) {
  Write(VxLine::STATE, nullptr, std::u16string(reinterpret_cast<const char16_t*>(stored.Data()), stored.Length()));
  return stored;
}

bool VxRecorder::SaveState(const String&) { return true; }

void VxRecorder::End(int score) {
  if (!file_) return;
  fprintf(file_, "end %d %d\n", ticks_, score);
  fclose(std::exchange(file_, nullptr));
}

VxPlayer::VxPlayer(VxRecording recording) : recording_(std::move(recording)) {
  for (const VxReplayEntry& entry : recording_.entries) {
    if (entry.line != VxLine::SIZE) continue;
    std::copy(entry.fields, entry.fields + size_.size(), size_.begin());
    break;
  }
}

size_t VxPlayer::Feed(VxGame& host, size_t at) {
  const std::vector<VxReplayEntry>& entries = recording_.entries;
  size_t next = at + 1;
  for (; next < entries.size() && !IsCall(entries[next].line); ++next) {
    const VxReplayEntry& entry = entries[next];
    if (entry.line == VxLine::SIZE) std::copy(entry.fields, entry.fields + size_.size(), size_.begin());
    if (entry.line == VxLine::PAD) {
      std::copy(entry.fields + 1, entry.fields + VX_REPLAY_FIELDS, pads_[Int(entry.fields[0])].begin());
    }
    if (entry.line == VxLine::STATE) state_ = entry.text;
  }
  gxtkHeadless.windowWidth = Int(size_[0]);
  gxtkHeadless.windowHeight = Int(size_[1]);
  gxtkHeadless.framebufferWidth = Int(size_[2]);
  gxtkHeadless.framebufferHeight = Int(size_[3]);

  const VxReplayEntry& call = entries[at];
  millis_ = Int(call.fields[0]);
  feeding_ = true;
  Format(call.line).feed(host, call.fields);
  feeding_ = false;
  return next;
}

bool VxPlayer::Begin(VxGame&, const VxCall& call) {
  if (!std::exchange(feeding_, false)) {
    closing_ = closing_ || (call.line == VxLine::KEY && call.event == Event::KeyDown && call.data == KEY_CLOSE);
    return false;
  }
  if (call.line == VxLine::UPDATE) ++ticks_;
  return true;
}

bool VxPlayer::Joystick(VxGame&, int port, Array<float> joyx, Array<float> joyy, Array<float> joyz,
                        Array<bool> buttons) {
  const Pad& pad = pads_[port];
  if (pad[0] == 0) return false;
  for (int s = 0; s < PAD_STICKS; ++s) {
    joyx[s] = Float(pad[1 + 3 * s]);
    joyy[s] = Float(pad[2 + 3 * s]);
    joyz[s] = Float(pad[3 + 3 * s]);
  }
  uint32_t bits = static_cast<uint32_t>(pad[7]);
  for (int b = 0; b < JOY_BUTTONS; ++b) buttons[b] = (bits >> b & 1) != 0;
  return true;
}

String VxPlayer::LoadState(const String&) {
  return String(reinterpret_cast<const Char*>(state_.data()), static_cast<int>(state_.size()));
}

bool VxPlayer::SaveState(const String& state) {
  saved_ = state;
  return false;
}

void VxGlfwGame::Replay(VxPlayer& player, bool paced) {
  SetGlfwWindow(player.FirstWidth(), player.FirstHeight(), WINDOW_COLOUR_BITS, WINDOW_COLOUR_BITS, WINDOW_COLOUR_BITS,
                0, 0, 0, false);
  const std::vector<VxReplayEntry>& entries = player.Recording().entries;
  double start = Time(), due = 0;  // seconds from the start to the next call
  int last = entries.empty() ? 0 : Int(entries[0].fields[0]);
  // Waits for the call's time while the window stays open.
  auto waitFor = [&](int millis) {
    due += vx_app_MillisecsBetween(last, millis) / 1000.0;
    last = millis;
    for (;;) {
      PollEvents();
      if (player.Closing() || !WindowParam(GLFW_OPENED)) return false;
      double wait = start + due - Time();
      if (wait <= 0) return true;
      Sleep(std::min(wait, PACE_POLL_SECONDS));
    }
  };
  for (size_t at = 0; at < entries.size();) {
    if (paced && !waitFor(Int(entries[at].fields[0]))) return;
    at = player.Feed(*this, at);
  }
}
