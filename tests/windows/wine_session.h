// A fresh wine prefix for one run of the Windows proofs: the built Windows
// programs copied to C:\Orv, wine's crash dialog and first-run installers off,
// and optionally an X display (Xvfb) whose screen can be read back.
#pragma once
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/process.h"

namespace orv::test {

class WineSession {
 public:
  // windowsBin: the folder of the Windows build (build-windows/bin).
  explicit WineSession(std::string windowsBin);
  ~WineSession();
  WineSession(const WineSession&) = delete;
  WineSession& operator=(const WineSession&) = delete;

  // Creates the prefix and copies the programs; false with a message in error().
  bool Start(bool withDisplay);
  const std::string& error() const { return error_; }

  // The Unix path of the copied program folder (C:\Orv) and of a file in it.
  std::string ProgramFolder() const;
  // The Unix path of the proofs' own programs (C:\Probes).
  std::string ProbeFolder() const;
  // The Unix path of a Windows path on drive C: ("C:\Users\x" -> prefix/drive_c/Users/x).
  std::string DriveC(const std::string& windowsPath) const;

  // Runs a program of C:\Orv or C:\Probes (or any wine program such as "reg") to its end.
  RunResult Run(const std::string& program, const std::vector<std::string>& args,
                std::chrono::milliseconds timeout = std::chrono::seconds(60));
  // Starts a program of C:\Orv in the background.
  std::unique_ptr<Child> Launch(const std::string& program, const std::vector<std::string>& args);

  // The X screen as 0x00RRGGBB pixels (empty without a display or on failure).
  std::vector<std::uint32_t> Screen(int* width, int* height) const;

 private:
  std::vector<std::string> Command(const std::string& program, const std::vector<std::string>& args) const;

  std::string windowsBin_;
  std::string root_;    // temporary folder holding the prefix and the frame buffer
  std::string prefix_;
  std::string fbDir_;
  std::string error_;
  std::unique_ptr<Child> xvfb_;
};

}  // namespace orv::test
