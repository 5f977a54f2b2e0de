// The wine prefix, the program copy and the X display of one run of the proofs.
#include "tests/windows/wine_session.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace orv::test {
namespace {

namespace fs = std::filesystem;

constexpr char kWine[] = "/usr/bin/wine";
constexpr char kWineServer[] = "/usr/bin/wineserver";

std::uint32_t BigEndian(const unsigned char* p) {
  return (std::uint32_t(p[0]) << 24) | (std::uint32_t(p[1]) << 16) | (std::uint32_t(p[2]) << 8) | p[3];
}

}  // namespace

WineSession::WineSession(std::string windowsBin) : windowsBin_(std::move(windowsBin)) {}

WineSession::~WineSession() {
  if (!prefix_.empty()) Run(kWineServer, {"-k"}, std::chrono::seconds(30));
  if (xvfb_) xvfb_->Signal(SIGTERM), xvfb_->Wait(std::chrono::seconds(10));
  std::error_code ec;
  if (!root_.empty()) fs::remove_all(root_, ec);
}

bool WineSession::Start(bool withDisplay) {
  char templ[] = "/tmp/orv-wine-XXXXXX";
  if (!mkdtemp(templ)) return error_ = "no temporary folder", false;
  root_ = templ;
  prefix_ = root_ + "/prefix";
  setenv("WINEPREFIX", prefix_.c_str(), 1);
  // The prefix links the user's Documents to the home folder: one of this run's own.
  const std::string home = root_ + "/home";
  fs::create_directory(home);
  setenv("HOME", home.c_str(), 1);
  setenv("WINEDEBUG", "-all", 1);
  // No first-run installers of .NET and the HTML engine, no desktop menu entries.
  setenv("WINEDLLOVERRIDES", "mscoree,mshtml=;winemenubuilder.exe=d", 1);
  unsetenv("DISPLAY");

  if (withDisplay) {
    fbDir_ = root_ + "/fb";
    fs::create_directory(fbDir_);
    // A display number of this run's own; Xvfb refuses one that is taken.
    for (int n = 100 + getpid() % 400, tries = 0; tries < 50 && !xvfb_; ++n, ++tries) {
      if (fs::exists("/tmp/.X11-unix/X" + std::to_string(n)) || fs::exists("/tmp/.X" + std::to_string(n) + "-lock"))
        continue;
      auto x = std::make_unique<Child>(std::vector<std::string>{"/usr/bin/Xvfb", ":" + std::to_string(n), "-screen",
                                                                "0", "1280x800x24", "-fbdir", fbDir_, "-nolisten",
                                                                "tcp"});
      bool up = WaitFor([&] { return fs::exists("/tmp/.X11-unix/X" + std::to_string(n)) || !x->Running(); },
                        std::chrono::seconds(30));
      if (up && x->Running()) {
        xvfb_ = std::move(x);
        setenv("DISPLAY", (":" + std::to_string(n)).c_str(), 1);
      }
    }
    if (!xvfb_) return error_ = "Xvfb did not start", false;
  }

  RunResult boot = Run("wineboot", {"--init"}, std::chrono::seconds(300));
  if (boot.exitCode != 0) return error_ = "wineboot failed: " + boot.err, false;
  // A new prefix's first boot goes on in the background (its service manager holds
  // the service database locked meanwhile): let it finish, so the proofs start from
  // a prefix that boots as an installed one does.
  Run(kWineServer, {"-w"}, std::chrono::seconds(300));
  // A crashing program must end, not wait for someone to close a dialog.
  Run("reg", {"add", "HKCU\\Software\\Wine\\WineDbg", "/v", "ShowCrashDialog", "/t", "REG_DWORD", "/d", "0", "/f"});
  // One wine server for the whole session: a server that ended between two
  // programs would boot the prefix again with the next, and the boot starts
  // every automatic service, a stopped one included.
  Run(kWineServer, {"-w"}, std::chrono::seconds(300));
  if (Run(kWineServer, {"-p"}, std::chrono::seconds(60)).exitCode != 0)
    return error_ = "the wine server did not start", false;

  std::error_code ec;
  fs::copy(windowsBin_, ProgramFolder(), fs::copy_options::recursive, ec);
  if (ec) return error_ = "cannot copy " + windowsBin_ + ": " + ec.message(), false;
  // The proofs' own small programs, kept apart from the delivered ones.
  const fs::path probes = fs::path(windowsBin_).parent_path() / "probes";
  if (fs::exists(probes)) fs::copy(probes, ProbeFolder(), fs::copy_options::recursive, ec);
  if (ec) return error_ = "cannot copy " + probes.string() + ": " + ec.message(), false;
  return true;
}

std::string WineSession::ProgramFolder() const { return prefix_ + "/drive_c/Orv"; }

std::string WineSession::ProbeFolder() const { return prefix_ + "/drive_c/Probes"; }

std::string WineSession::DriveC(const std::string& windowsPath) const {
  std::string rest = windowsPath.size() > 2 && windowsPath[1] == ':' ? windowsPath.substr(2) : windowsPath;
  for (char& c : rest)
    if (c == '\\') c = '/';
  return prefix_ + "/drive_c" + rest;
}

std::vector<std::string> WineSession::Command(const std::string& program,
                                              const std::vector<std::string>& args) const {
  std::vector<std::string> argv;
  if (program == kWineServer) {
    argv.push_back(program);
  } else {
    argv.push_back(kWine);
    if (fs::exists(ProgramFolder() + "/" + program))
      argv.push_back("C:\\Orv\\" + program);
    else if (fs::exists(ProbeFolder() + "/" + program))
      argv.push_back("C:\\Probes\\" + program);
    else
      argv.push_back(program);
  }
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

RunResult WineSession::Run(const std::string& program, const std::vector<std::string>& args,
                           std::chrono::milliseconds timeout) {
  return orv::test::Run(Command(program, args), {}, timeout);
}

std::unique_ptr<Child> WineSession::Launch(const std::string& program, const std::vector<std::string>& args) {
  return std::make_unique<Child>(Command(program, args));
}

std::vector<std::uint32_t> WineSession::Screen(int* width, int* height) const {
  *width = *height = 0;
  std::ifstream f(fbDir_ + "/Xvfb_screen0", std::ios::binary);
  std::vector<unsigned char> data((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  // An XWD image: a big-endian header, the colour map, then the rows.
  if (data.size() < 100) return {};
  const unsigned char* h = data.data();
  std::uint32_t headerSize = BigEndian(h), w = BigEndian(h + 16), ht = BigEndian(h + 20);
  std::uint32_t byteOrder = BigEndian(h + 28), bpp = BigEndian(h + 44), stride = BigEndian(h + 48);
  std::uint32_t colours = BigEndian(h + 76);
  std::size_t offset = headerSize + std::size_t(colours) * 12;
  if (bpp != 32 || w == 0 || ht == 0 || data.size() < offset + std::size_t(stride) * ht) return {};
  std::vector<std::uint32_t> pixels(std::size_t(w) * ht);
  for (std::uint32_t y = 0; y < ht; ++y)
    for (std::uint32_t x = 0; x < w; ++x) {
      const unsigned char* p = data.data() + offset + std::size_t(y) * stride + x * 4;
      std::uint32_t v = byteOrder ? BigEndian(p) : (std::uint32_t(p[3]) << 24 | std::uint32_t(p[2]) << 16 |
                                                     std::uint32_t(p[1]) << 8 | p[0]);
      pixels[std::size_t(y) * w + x] = v & 0xFFFFFF;
    }
  *width = static_cast<int>(w);
  *height = static_cast<int>(ht);
  return pixels;
}

}  // namespace orv::test
