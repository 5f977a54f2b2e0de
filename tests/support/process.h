// Test helpers for running the system's real programs: a private state folder per
// test and child processes with captured output.
#pragma once
#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace orv::test {

// A fresh state folder under /tmp, exported as ORV_HOME for this process and its
// children while the object lives; removed afterwards.
class TempHome {
 public:
  TempHome();
  ~TempHome();
  TempHome(const TempHome&) = delete;
  TempHome& operator=(const TempHome&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string previous_;
  bool hadPrevious_ = false;
};

// A whole file's bytes; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// Folder of the built programs (where the test binary itself lives).
std::string BinDir();
// BinDir() + "/" + name.
std::string Program(const std::string& name);

struct RunResult {
  int exitCode = -1;    // -1 when killed by a signal
  int signal = 0;
  std::string out;      // standard output
  std::string err;      // standard error
};

// Runs a program to completion (killed after the time-out) with optional input.
RunResult Run(const std::vector<std::string>& argv, const std::string& input = {},
              std::chrono::milliseconds timeout = std::chrono::seconds(30));

// A program running in the background; killed (SIGKILL) on destruction if still running.
class Child {
 public:
  explicit Child(const std::vector<std::string>& argv);
  ~Child();
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  int pid() const { return pid_; }
  bool Running();
  void Signal(int sig);
  // Waits for the end; returns the exit code (-1 on time-out or signal).
  int Wait(std::chrono::milliseconds timeout = std::chrono::seconds(30));
  // What the child wrote to standard output so far.
  std::string Output();

 private:
  int pid_ = -1;
  int status_ = 0;
  bool reaped_ = false;
  std::string outFile_;
};

// Polls cond every 5 ms until it holds or the time-out passes. The default bound
// is generous: a wait ends as soon as the state is there, and only a state that
// never comes costs the whole bound, on a loaded machine as on an idle one.
bool WaitFor(const std::function<bool()>& cond,
             std::chrono::milliseconds timeout = std::chrono::seconds(30));

}  // namespace orv::test
