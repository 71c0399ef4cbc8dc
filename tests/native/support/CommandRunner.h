// Runs a command line of the native build's tools and collects what it prints.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct TRun {
  int Code = -1;       // exit code, -1 when the command could not run or was killed
  std::string Output;  // standard output and standard error together
};

inline TRun RunCommand(const std::string& command) {
  TRun run;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.Output.append(buffer, n);
  const int status = ::pclose(pipe);
  run.Code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}
