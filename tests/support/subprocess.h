// Runs a program as a child process with the given standard input and
// captures its standard output, standard error and exit status.
#pragma once
#include <string>
#include <vector>

struct ProcessResult {
  std::string out;
  std::string err;
  int status = -1;  // exit status 0-255, or 128 + signal when killed
};

struct ProcessOptions {
  std::string input;                  // written to standard input, which is then closed
  std::vector<std::string> setEnv;    // "NAME=value" entries added to the environment
  std::vector<std::string> unsetEnv;  // names removed from the environment
  std::string workingDirectory;       // empty: the test's own
  double timeoutSeconds = 60;         // the child is killed after this
};

ProcessResult RunProcess(const std::vector<std::string>& argv, const ProcessOptions& options = {});

// A path under the build folder the tests were built in.
std::string BuildPath(const std::string& relative);
