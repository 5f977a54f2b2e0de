// The screen set-up: read from the environment and the state folder, or set.
#include "platform/desktop/sim/screen.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <optional>

#include "platform/desktop/sim/taskbar.h"
#include "platform/home/sim/home.h"

namespace orv::desktop {
namespace {

std::mutex& Lock() {
  static std::mutex m;
  return m;
}
std::optional<Config>& Current() {
  static std::optional<Config> config;
  return config;
}

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(" \t\r\n"), e = s.find_last_not_of(" \t\r\n");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

Config Read() {
  Config config;
  std::ifstream ini(orv::home::Path("desktop.ini"));
  std::string line;
  while (std::getline(ini, line)) {
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string key = Trim(line.substr(0, eq)), value = Trim(line.substr(eq + 1));
    if (key == "screen") ParseScreen(value, &config);
    else if (key == "taskbar") ParseTaskbar(value, &config);
  }
  if (const char* env = std::getenv("ORV_SCREEN")) ParseScreen(env, &config);
  if (const char* env = std::getenv("ORV_TASKBAR")) ParseTaskbar(env, &config);
  return config;
}

}  // namespace

bool ParseScreen(const std::string& text, Config* config) {
  int w = 0, h = 0;
  char tail = 0;
  if (std::sscanf(text.c_str(), "%dx%d%c", &w, &h, &tail) != 2) return false;
  if (w < 320 || h < 320 || w > 16384 || h > 16384) return false;
  config->width = w;
  config->height = h;
  if (config->taskbarThickness > std::min(w, h) / 2) config->taskbarThickness = std::min(w, h) / 2;
  return true;
}

bool ParseTaskbar(const std::string& text, Config* config) {
  if (text == "none") {
    config->taskbarEdge = Edge::None;
    return true;
  }
  std::size_t colon = text.find(':');
  std::string edge = text.substr(0, colon);
  int thickness = config->taskbarThickness;
  if (colon != std::string::npos) {
    char tail = 0;
    if (std::sscanf(text.c_str() + colon + 1, "%d%c", &thickness, &tail) != 1) return false;
  }
  if (thickness < 1 || thickness > std::min(config->width, config->height) / 2) return false;
  Edge e;
  if (edge == "left") e = Edge::Left;
  else if (edge == "top") e = Edge::Top;
  else if (edge == "right") e = Edge::Right;
  else if (edge == "bottom") e = Edge::Bottom;
  else return false;
  config->taskbarEdge = e;
  config->taskbarThickness = thickness;
  return true;
}

Config CurrentConfig() {
  std::lock_guard<std::mutex> lock(Lock());
  if (!Current()) Current() = Read();
  return *Current();
}

void SetConfig(const Config& config) {
  {
    std::lock_guard<std::mutex> lock(Lock());
    Current() = config;
  }
  PlaceTaskbar(config);
}

void ReloadConfig() {
  std::lock_guard<std::mutex> lock(Lock());
  Current().reset();
}

RECT TaskbarRect(const Config& c) {
  int t = c.taskbarThickness;
  switch (c.taskbarEdge) {
    case Edge::Left: return {0, 0, t, c.height};
    case Edge::Top: return {0, 0, c.width, t};
    case Edge::Right: return {c.width - t, 0, c.width, c.height};
    case Edge::Bottom: return {0, c.height - t, c.width, c.height};
    default: return {0, 0, 0, 0};
  }
}

RECT WorkArea(const Config& c) {
  RECT work{0, 0, c.width, c.height};
  int t = c.taskbarThickness;
  switch (c.taskbarEdge) {
    case Edge::Left: work.left = t; break;
    case Edge::Top: work.top = t; break;
    case Edge::Right: work.right -= t; break;
    case Edge::Bottom: work.bottom -= t; break;
    default: break;
  }
  return work;
}

}  // namespace orv::desktop
