// CoCreateInstance over the registered classes.
#include "platform/wmi/sim/class_table.h"

#include <mutex>
#include <vector>

#include "platform/base/unique_com.h"
#include "platform/wmi/sim/apartment.h"
#include "platform/wmi/sim/faults.h"

namespace orv::com {
namespace {

struct Entry {
  CLSID clsid;
  DWORD clsctx;
  ClassFactory factory;
};

struct Table {
  std::mutex lock;
  std::vector<Entry> entries;
};

Table& Classes() {
  static Table table;
  return table;
}

}  // namespace

bool RegisterClassObject(REFCLSID clsid, DWORD clsctx, ClassFactory factory) {
  Table& t = Classes();
  std::lock_guard<std::mutex> lock(t.lock);
  t.entries.push_back({clsid, clsctx, factory});
  return true;
}

}  // namespace orv::com

extern "C" HRESULT WINAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                                           LPVOID* ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (!orv::com::ComReady()) return CO_E_NOTINITIALIZED;
  if (orv::com::ClassRefused(rclsid)) return REGDB_E_CLASSNOTREG;
  orv::com::ClassFactory factory = nullptr;
  {
    orv::com::Table& t = orv::com::Classes();
    std::lock_guard<std::mutex> lock(t.lock);
    // Each class has servers of some kinds only.
    for (const auto& e : t.entries)
      if (e.clsid == rclsid && (e.clsctx & dwClsContext)) factory = e.factory;
  }
  if (!factory) return REGDB_E_CLASSNOTREG;
  // None of the platform's classes can be aggregated.
  if (pUnkOuter) return CLASS_E_NOAGGREGATION;
  orv::com_ptr<IUnknown> made;
  HRESULT hr = factory(made.put());
  if (FAILED(hr)) return hr;
  return made->QueryInterface(riid, ppv);
}
