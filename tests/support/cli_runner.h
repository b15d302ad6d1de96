// Runs the trestlar program as a user does, capturing its output and exit status.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace testing_support {

// What one run of the command line gave.
struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs trestlar with args, the built add-on and configDir as the user's application-data
// folder; in workDir when one is given.
inline CliRun runTrestlar(const std::string& args, const std::string& configDir = ::testing::TempDir(),
                          const std::string& workDir = std::string()) {
  // Test programs run in parallel: each call gets a standard-error file of its own.
  static int calls = 0;
  const std::string errFile = ::testing::TempDir() + "trestlar-stderr-" + std::to_string(::getpid()) + "-" +
                              std::to_string(++calls) + ".txt";
  const std::string command = (workDir.empty() ? std::string() : "cd '" + workDir + "' && ") + TRESTLAR_CLI_PATH +
                              " --addon " + TRESTLAR_MODULE_PATH + " --config " + configDir + " " + args + " 2>" +
                              errFile;
  CliRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) run.out.append(buffer, n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream in(errFile);
  std::stringstream ss;
  ss << in.rdbuf();
  run.err = ss.str();
  std::remove(errFile.c_str());
  return run;
}

// The bytes of a file ("" when it cannot be read).
inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace testing_support
