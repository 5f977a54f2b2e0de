// The machines a test has asked for, kept for the calls that consult them.
#include "platform/wmi/sim/faults.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <mutex>
#include <vector>

namespace {

struct Faults {
  std::mutex lock;
  std::vector<CLSID> classes;
  std::vector<std::string> eventClasses;  // in lower case: WMI names ignore case
  std::atomic<bool> blanket{false};
};

Faults& TheFaults() {
  static Faults faults;
  return faults;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

template <class T>
void Mark(std::vector<T>& list, const T& item, bool on) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
  if (on) list.push_back(item);
}

}  // namespace

namespace orv::com {

void RefuseClass(REFCLSID clsid, bool refused) {
  Faults& f = TheFaults();
  std::lock_guard<std::mutex> hold(f.lock);
  Mark(f.classes, CLSID(clsid), refused);
}

bool ClassRefused(REFCLSID clsid) {
  Faults& f = TheFaults();
  std::lock_guard<std::mutex> hold(f.lock);
  return std::find(f.classes.begin(), f.classes.end(), clsid) != f.classes.end();
}

void RefuseProxyBlanket(bool refused) { TheFaults().blanket = refused; }
bool ProxyBlanketRefused() { return TheFaults().blanket; }

}  // namespace orv::com

namespace orv::wmi {

void RefuseEventClass(const std::string& className, bool refused) {
  Faults& f = TheFaults();
  std::lock_guard<std::mutex> hold(f.lock);
  Mark(f.eventClasses, Lower(className), refused);
}

bool EventClassRefused(const std::string& className) {
  Faults& f = TheFaults();
  std::lock_guard<std::mutex> hold(f.lock);
  return std::find(f.eventClasses.begin(), f.eventClasses.end(), Lower(className)) != f.eventClasses.end();
}

}  // namespace orv::wmi
