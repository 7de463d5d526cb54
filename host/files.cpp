// The host's file access: program paths mapped to the file system, whole
// text and data files, the saved-state file, the standard streams and the
// local date.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "host/replay.h"
#include "host/vx_game.h"
#include "host/wfopen.h"
#include "runtime/print.h"

namespace {

// ---- Tunables ------------------------------------------------------------------------
constexpr const char* STATE_FOLDER = "./";
constexpr const char* STATE_NAME = ".vorlixstate";
constexpr const char* STATE_FILE = "./.vorlixstate";
constexpr const char* TEMP_SUFFIX = ".tmp";  // a save in progress: STATE_NAME.<pid>.tmp
constexpr size_t LOAD_BLOCK = 4096;          // bytes read per call by LoadData
constexpr int NEW_FILE_MODE = 0666;          // before the umask, as fopen creates files
constexpr size_t STATE_MAX_BYTES = 1 << 20;  // a real state is about 400 bytes
constexpr const char* NULL_DEVICE = "/dev/null";

// Program path prefixes and the folders they stand for.
struct Scheme {
  const char* prefix;
  const char* folder;
};
constexpr const char* SCHEME = "vorlix:";
constexpr Scheme kSchemes[] = {
    {"vorlix://data/", "./data/"},
    {"vorlix://internal/", "./internal/"},
    {"vorlix://external/", "./external/"},
};

std::vector<Char> ZeroTerminated(const String& text) {
  std::vector<Char> units(text.Data(), text.Data() + text.Length());
  units.push_back(0);
  return units;
}

// The process id in the name of a save's temporary file; 0 for any other name.
pid_t SavingProcess(const std::string& name) {
  std::string prefix = std::string(STATE_NAME) + ".", suffix = TEMP_SUFFIX;
  if (name.size() <= prefix.size() + suffix.size() || name.compare(0, prefix.size(), prefix) != 0 ||
      name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
    return 0;
  }
  std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
  if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) return 0;
  return static_cast<pid_t>(std::stol(digits));
}

bool ProcessExists(pid_t pid) { return kill(pid, 0) == 0 || errno == EPERM; }

// The state file opened for reading, or -1 with errno ENOENT when there is
// none. Anything else there that cannot be read as a file (another user's,
// left by a run as root; a FIFO, a device, a folder) gives -1 with another
// errno: it is neither read nor ever replaced. O_NONBLOCK keeps the open of a
// FIFO from waiting for a writer.
int OpenState() {
  int fd = open(STATE_FILE, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info;
  if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) return fd;
  close(fd);
  errno = EINVAL;
  return -1;
}

// Makes a finished rename survive a crash of the whole machine.
void SyncCurrentFolder() {
  int folder = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return;
  fsync(folder);
  close(folder);
}

}  // namespace

String VxGame::PathToFilePath(String path) { return path; }

String VxGlfwGame::PathToFilePath(String path) {
  if (!path.StartsWith(String(SCHEME))) return path;
  for (const Scheme& scheme : kSchemes) {
    String prefix(scheme.prefix);
    if (path.StartsWith(prefix)) return String(scheme.folder) + path.Slice(prefix.Length());
  }
  return String();
}

FILE* VxGame::OpenFile(String path, String mode) {
  String filePath = PathToFilePath(path);
  if (filePath.Empty()) return nullptr;
  return _wfopen(ZeroTerminated(filePath).data(), ZeroTerminated(mode).data());
}

String VxGame::LoadString(String path) {
  FILE* file = OpenFile(path, String("rb"));
  if (!file) return String();
  String text = String::Load(file);
  fclose(file);
  return text;
}

unsigned char* VxGame::LoadData(String path, int* length) {
  FILE* file = OpenFile(path, String("rb"));
  if (!file) return nullptr;
  std::vector<unsigned char> bytes;
  for (;;) {
    size_t used = bytes.size();
    bytes.resize(used + LOAD_BLOCK);
    size_t n = fread(bytes.data() + used, 1, LOAD_BLOCK, file);
    bytes.resize(used + n);
    if (n < LOAD_BLOCK) break;
  }
  fclose(file);
  // An empty file still gives a block, so that null keeps meaning "not opened".
  auto* data = static_cast<unsigned char*>(malloc(bytes.empty() ? 1 : bytes.size()));
  if (!data) return nullptr;
  if (!bytes.empty()) memcpy(data, bytes.data(), bytes.size());
  *length = static_cast<int>(bytes.size());
  return data;
}

// The new state goes to a file of its own beside the old one and replaces it
// only once it is whole on disk, so a failed or interrupted save leaves the
// previous state (the player's scores) untouched. A replayed game saves
// nothing: the scores it posts are the recorded run's.
int VxGame::SaveState(String state) {
  if (_replay && !_replay->SaveState(state)) return 0;
  int stored = OpenState();
  if (stored < 0 && errno != ENOENT) return -1;
  if (stored >= 0) close(stored);
  std::string bytes;
  vx_utf8_append(state, bytes);

  // Whatever has the temporary file's name already (a link planted to
  // redirect the save) goes, and the new file is ours alone.
  std::string temp = std::string(STATE_FILE) + "." + std::to_string(getpid()) + TEMP_SUFFIX;
  unlink(temp.c_str());
  int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, NEW_FILE_MODE);
  if (fd < 0) return -1;
  FILE* file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlink(temp.c_str());
    return -1;
  }

  bool whole = bytes.empty() || WriteBytes(file, bytes.data(), bytes.size()) == bytes.size();
  whole = whole && fflush(file) == 0 && fsync(fileno(file)) == 0;
  whole = fclose(file) == 0 && whole;
  if (!whole || ReplaceFile(temp.c_str(), STATE_FILE) != 0) {
    unlink(temp.c_str());
    return -2;
  }
  SyncCurrentFolder();
  return 0;
}

// A state larger than the bound is damaged, not read whole: the game starts
// from its defaults and its first save replaces it.
String VxGame::LoadState() {
  String stored;
  int fd = OpenState();
  if (fd < 0 && errno != ENOENT) vxPrint(String("State not readable"));
  if (fd >= 0) {
    std::vector<unsigned char> bytes(STATE_MAX_BYTES + 1);
    size_t used = 0;
    for (ssize_t n; used < bytes.size() && (n = read(fd, bytes.data() + used, bytes.size() - used)) > 0;) {
      used += static_cast<size_t>(n);
    }
    close(fd);
    if (used <= STATE_MAX_BYTES) stored = String::Decode(bytes.data(), used);
  }
  return _replay ? _replay->LoadState(stored) : stored;
}

// A closed standard descriptor would go to the next file opened (the X
// connection), and the game's messages into it; a reader that went away
// must not end the game either, so failed writes are just dropped.
void VxGame::GuardStandardStreams() {
  for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
    // The lowest free descriptor, so `fd` itself.
    if (fcntl(fd, F_GETFD) < 0) open(NULL_DEVICE, O_RDWR);
  }
  signal(SIGPIPE, SIG_IGN);
}

void VxGame::RemoveStaleSaves() {
  DIR* folder = opendir(STATE_FOLDER);
  if (!folder) return;
  while (dirent* entry = readdir(folder)) {
    pid_t saver = SavingProcess(entry->d_name);
    if (saver > 0 && !ProcessExists(saver)) unlink((std::string(STATE_FOLDER) + entry->d_name).c_str());
  }
  closedir(folder);
}

size_t VxGame::WriteBytes(FILE* file, const void* bytes, size_t count) { return fwrite(bytes, 1, count, file); }

int VxGame::ReplaceFile(const char* from, const char* to) { return rename(from, to); }

void VxGame::GetDate(Array<int> date) {
  time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  const int fields[] = {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min,         local.tm_sec,     0};
  int n = date.Length() < 7 ? date.Length() : 7;
  for (int i = 0; i < n; ++i) date[i] = fields[i];
}
