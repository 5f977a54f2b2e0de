// The simulated notebook as WMI sees it: namespaces, classes, instances built from
// the EC state, writes and method calls mapped onto the firmware.
#pragma once
#include <string>
#include <vector>

#include "platform/wmi/sim/wire.h"
#include "sim/firmware.h"

namespace orv::sim {

// "root\WMI", "root\CIMV2" or "root\Sim" for any spelling of them (letter case,
// '/' for '\', a leading "\\.\"); empty for an unknown namespace.
std::string CanonicalNamespace(const std::string& requested);

// The namespace and class an event is delivered to.
struct EventTarget {
  std::string ns, cls;
};

class Catalog {
 public:
  explicit Catalog(Firmware& firmware) : fw_(firmware) {}

  // Instances in a stable order (by instance number).
  HRESULT Query(const std::string& ns, const std::string& cls, std::vector<wmi::wire::Object>* out) const;
  // A class definition by name, or an instance by its (relative or full) path.
  HRESULT GetObject(const std::string& ns, const std::string& path, wmi::wire::Object* out) const;
  // Commits changed properties of an instance; nothing is written unless all are valid.
  HRESULT Put(const std::string& ns, const std::string& path, long flags,
              const std::vector<wmi::wire::Property>& changed);
  HRESULT ExecMethod(const std::string& ns, const std::string& path, const std::string& method,
                     const wmi::wire::Object* in);
  // WBEM_E_INVALID_CLASS or WBEM_E_NOT_EVENT_CLASS unless cls is an event class of ns.
  HRESULT CheckEventClass(const std::string& ns, const std::string& cls) const;

  EventTarget TargetOf(const Event& e) const;
  wmi::wire::Object EventObject(const Event& e) const;

 private:
  struct Found {
    std::string cls;
    int index = -1;  // instance number, -1 for the class itself
    wmi::wire::Object object;
  };
  HRESULT Resolve(const std::string& ns, const std::string& path, Found* out) const;
  Firmware& fw_;
};

}  // namespace orv::sim
