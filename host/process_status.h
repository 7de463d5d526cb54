// What the kernel says of a running process (/proc/PID): its resident memory,
// its peak and its open files, for the tools that watch the game over long
// runs.
#pragma once

struct VxProcessStatus {
  long long residentBytes = -1, peakResidentBytes = -1;  // VmRSS and VmHWM; -1 when unknown
  int openFiles = -1;                                    // descriptors open
};

// Of process `pid`; of this process when it is 0.
VxProcessStatus VxReadProcessStatus(int pid = 0);
