#include "host/process_status.h"

#include <dirent.h>

#include <cstdio>
#include <string>

VxProcessStatus VxReadProcessStatus(int pid) {
  VxProcessStatus status;
  std::string folder = pid ? "/proc/" + std::to_string(pid) : std::string("/proc/self");
  if (FILE* file = fopen((folder + "/status").c_str(), "r")) {
    char line[256];
    long long kib = 0;
    while (fgets(line, sizeof line, file)) {
      if (sscanf(line, "VmRSS: %lld kB", &kib) == 1) status.residentBytes = kib * 1024;
      if (sscanf(line, "VmHWM: %lld kB", &kib) == 1) status.peakResidentBytes = kib * 1024;
    }
    fclose(file);
  }
  if (DIR* fds = opendir((folder + "/fd").c_str())) {
    // Less ".", ".." and, for this process, the descriptor reading the folder.
    status.openFiles = pid ? -2 : -3;
    while (readdir(fds)) ++status.openFiles;
    closedir(fds);
  }
  return status;
}
