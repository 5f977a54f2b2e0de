// Class table and the mapping of instances, writes and methods onto the EC state.
#include "sim/catalog.h"

#include "platform/wmi/sim/cim.h"
#include "sim/audio_catalog.h"
#include "sim/catalog_objects.h"

namespace orv::sim {

using namespace orv::wmi;
using com::Value;
using wire::Method;
using wire::Object;
using wire::Property;
using wire::SameName;

namespace {

const char kWmi[] = "root\\WMI", kCimv2[] = "root\\CIMV2", kSimNs[] = "root\\Sim";
const char kFirmwareDevice[] = "ACPI\\ORV0001\\0_";

struct ClassDef {
  const char* ns;
  const char* name;
  bool event;
};

const ClassDef kClasses[] = {
    {kWmi, "Orv_Device", false},
    {kWmi, "Orv_System", false},
    {kWmi, "Orv_Software", false},
    {kWmi, "Orv_AP", false},
    {kWmi, "Orv_Event", true},
    {kWmi, "WmiMonitorBrightness", false},
    {kWmi, "WmiMonitorBrightnessMethods", false},
    {kWmi, "WmiMonitorBrightnessEvent", true},
    {kCimv2, "Win32_BIOS", false},
    {kSimNs, "Sim_PowerStatus", false},
    {kSimNs, "Sim_PowerEvent", true},
    {kSimNs, "Sim_SystemPowerEvent", true},
    {kSimNs, kAudioEndpointClass, false},
    {kSimNs, kAudioEventClass, true},
};

const ClassDef* FindClass(const std::string& ns, const std::string& cls) {
  for (auto& c : kClasses)
    if (ns == c.ns && SameName(cls, c.name)) return &c;
  return nullptr;
}

Object Make(const ClassDef& c) { return MakeObject(c.ns, c.name); }

// An ACPI-mapped instance: key InstanceName and the Active flag first.
Object Acpi(const ClassDef& c, const std::string& instanceName, bool key = true) {
  Object o = Make(c);
  o.props.push_back(Text("InstanceName", instanceName, key));
  o.props.push_back(Number("Active", CIM_BOOLEAN, 1));
  return o;
}

std::string MonitorName(std::size_t i) { return "DISPLAY\\ORVPANEL\\" + std::to_string(i) + "_0"; }

Method SetBrightnessMethod() {
  Method m;
  m.name = "WmiSetBrightness";
  Property timeout = Prop("Timeout", CIM_UINT32, Value::Null(), false);
  Property level = Prop("Brightness", CIM_UINT8, Value::Null(), false);
  m.in = {timeout, level};
  return m;
}

std::vector<Object> Instances(const ClassDef& c, const EcState& s) {
  std::vector<Object> out;
  std::string name = c.name;
  auto firmware = [&](int count, const char* prop, auto value, auto writable, CIMTYPE type) {
    for (int i = 0; i < count; ++i) {
      Object o = Acpi(c, kFirmwareDevice + std::to_string(i));
      o.props.push_back(Number(prop, type, value(i), !writable(i)));
      out.push_back(std::move(o));
    }
  };
  if (name == "Orv_Device")
    firmware(2, "Device", [&](int i) { return s.device[i]; }, [](int i) { return i == 0; }, CIM_UINT8);
  else if (name == "Orv_System")
    firmware(2, "System", [&](int i) { return s.system[i]; }, [](int) { return true; }, CIM_UINT8);
  else if (name == "Orv_Software")
    firmware(1, "Software", [&](int) { return s.software; }, [](int) { return true; }, CIM_UINT8);
  else if (name == "Orv_AP")
    firmware(2, "AP", [&](int i) { return i ? s.aslVersion : s.apRevision; }, [](int) { return false; },
             CIM_UINT32);
  else if (name == "WmiMonitorBrightness" || name == "WmiMonitorBrightnessMethods") {
    for (std::size_t i = 0; i < s.brightness.size(); ++i) {
      Object o = Acpi(c, MonitorName(i));
      if (name == "WmiMonitorBrightness") {
        o.props.push_back(Number("CurrentBrightness", CIM_UINT8, s.brightness[i]));
        o.props.push_back(Number("Levels", CIM_UINT32, 101));
      } else {
        o.methods.push_back(SetBrightnessMethod());
      }
      out.push_back(std::move(o));
    }
  } else if (name == "Win32_BIOS") {
    Object o = Make(c);
    o.props.push_back(Text("Name", "Default System BIOS", true));
    o.props.push_back(Text("Manufacturer", s.biosMaker));
    o.props.push_back(Text("SMBIOSBIOSVersion", s.biosVersion));
    o.props.push_back(Text("Version", s.biosMaker + " - " + s.biosVersion));
    // The notebook's firmware reports no serial number: a property without a value.
    o.props.push_back(Prop("SerialNumber", CIM_STRING, Value::Null()));
    out.push_back(std::move(o));
  } else if (name == "Sim_PowerStatus") {
    Object o = Make(c);
    o.props.push_back(Text("Name", "Power", true));
    o.props.push_back(Number("ACLineStatus", CIM_UINT8, s.acLine));
    o.props.push_back(Number("BatteryLifePercent", CIM_UINT8, s.batteryPercent));
    // 0 running, 1 asleep, 2 hibernated; the system writes 1 or 2 to go there.
    o.props.push_back(Number("SystemState", CIM_UINT8, static_cast<std::uint8_t>(s.power), false));
    out.push_back(std::move(o));
  } else if (name == kAudioEndpointClass) {
    out = AudioEndpoints(c.ns, s.audio);
  }
  return out;
}

// The part of a path after "\\server\namespace:" or "namespace:".
std::string Relative(const std::string& path) {
  auto colon = path.find(':');
  auto dot = path.find_first_of(".=");
  if (colon != std::string::npos && (dot == std::string::npos || colon < dot)) return path.substr(colon + 1);
  return path;
}

Object Definition(const ClassDef& c) {
  Object def;
  if (c.event) {
    def = Make(c);
  } else {
    EcState defaults;
    auto list = Instances(c, defaults);
    def = list.empty() ? Make(c) : list.front();
  }
  def.isClass = true;
  for (auto& p : def.props) p.value = Value::Null();
  return def;
}

}  // namespace

std::string CanonicalNamespace(const std::string& requested) {
  std::string s = requested;
  for (char& c : s)
    if (c == '/') c = '\\';
  for (const char* prefix : {"\\\\.\\", "\\\\localhost\\"}) {
    std::string p = prefix;
    if (s.size() > p.size() && SameName(s.substr(0, p.size()), p)) s = s.substr(p.size());
  }
  for (const char* ns : {kWmi, kCimv2, kSimNs})
    if (SameName(s, ns)) return ns;
  return {};
}

HRESULT Catalog::Query(const std::string& ns, const std::string& cls, std::vector<Object>* out) const {
  const ClassDef* c = FindClass(ns, cls);
  if (!c) return WBEM_E_INVALID_CLASS;
  *out = Instances(*c, fw_.State());
  return WBEM_S_NO_ERROR;
}

HRESULT Catalog::Resolve(const std::string& ns, const std::string& path, Found* out) const {
  std::string rel = Relative(path);
  if (rel.empty()) return WBEM_E_INVALID_OBJECT_PATH;
  std::string cls = rel.substr(0, rel.find('.'));
  const ClassDef* c = FindClass(ns, cls);
  if (!c) return WBEM_E_NOT_FOUND;
  out->cls = c->name;
  if (cls.size() == rel.size()) {
    out->index = -1;
    out->object = Definition(*c);
    return WBEM_S_NO_ERROR;
  }
  auto list = Instances(*c, fw_.State());
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (SameName(list[i].RelPath(), rel)) {
      out->index = static_cast<int>(i);
      out->object = std::move(list[i]);
      return WBEM_S_NO_ERROR;
    }
  }
  return WBEM_E_NOT_FOUND;
}

HRESULT Catalog::GetObject(const std::string& ns, const std::string& path, Object* out) const {
  Found f;
  HRESULT hr = Resolve(ns, path, &f);
  if (SUCCEEDED(hr)) *out = std::move(f.object);
  return hr;
}

HRESULT Catalog::Put(const std::string& ns, const std::string& path, long flags,
                     const std::vector<Property>& changed) {
  Found f;
  HRESULT hr = Resolve(ns, path, &f);
  if (hr == static_cast<HRESULT>(WBEM_E_NOT_FOUND) && !(flags & WBEM_FLAG_UPDATE_ONLY)) return WBEM_E_NOT_SUPPORTED;  // no creation
  if (FAILED(hr)) return hr;
  if (f.index < 0) return WBEM_E_INVALID_OBJECT_PATH;
  if (flags & WBEM_FLAG_CREATE_ONLY) return WBEM_E_ALREADY_EXISTS;
  std::vector<std::pair<std::string, std::uint8_t>> writes;
  for (auto& c : changed) {
    const Property* p = f.object.Find(c.name);
    if (!p) return WBEM_E_NOT_FOUND;
    Value v;
    if (FAILED(detail::ToCim(c.value, p->type, &v))) return WBEM_E_TYPE_MISMATCH;
    bool same = v.vt == p->value.vt && v.num == p->value.num && v.str == p->value.str;
    if (p->readOnly) {
      if (!same) return WBEM_E_READ_ONLY;
      continue;
    }
    // Every writable property is an 8-bit register; a null cannot be stored.
    if (v.vt != VT_UI1) return WBEM_E_TYPE_MISMATCH;
    writes.emplace_back(p->name, static_cast<std::uint8_t>(v.num));
  }
  for (auto& [name, value] : writes) {
    if (f.cls == "Orv_Device") fw_.WriteDevice(value);
    else if (f.cls == "Orv_System") fw_.WriteSystem(f.index, value);
    else if (f.cls == "Orv_Software") fw_.WriteSoftware(value);
    else if (f.cls == "Sim_PowerStatus" && (value == 1 || value == 2)) fw_.Suspend(value == 2);
  }
  return WBEM_S_NO_ERROR;
}

HRESULT Catalog::ExecMethod(const std::string& ns, const std::string& path, const std::string& method,
                            const Object* in) {
  Found f;
  HRESULT hr = Resolve(ns, path, &f);
  if (FAILED(hr)) return hr;
  if (f.index < 0) return WBEM_E_INVALID_METHOD;  // instance methods, not static ones
  if (f.cls == kAudioEndpointClass) return AudioMethod(fw_, f.index, method, in);
  if (f.cls != "WmiMonitorBrightnessMethods" || !SameName(method, "WmiSetBrightness")) return WBEM_E_INVALID_METHOD;
  if (!in) return WBEM_E_INVALID_METHOD_PARAMETERS;
  const Property* timeout = in->Find("Timeout");
  const Property* level = in->Find("Brightness");
  Value t, b;
  if (!timeout || !level || FAILED(detail::ToCim(timeout->value, CIM_UINT32, &t)) ||
      FAILED(detail::ToCim(level->value, CIM_UINT8, &b)) || t.vt == VT_NULL || b.vt == VT_NULL || b.num > 100)
    return WBEM_E_INVALID_METHOD_PARAMETERS;
  // A monitor whose driver refuses the call changes nothing.
  if (fw_.State().brightnessRefused & (1u << f.index)) return WBEM_E_FAILED;
  fw_.SetMonitorBrightness(static_cast<std::size_t>(f.index), static_cast<int>(b.num));
  return WBEM_S_NO_ERROR;
}

HRESULT Catalog::CheckEventClass(const std::string& ns, const std::string& cls) const {
  const ClassDef* c = FindClass(ns, cls);
  if (!c) return WBEM_E_INVALID_CLASS;
  return c->event ? WBEM_S_NO_ERROR : WBEM_E_NOT_EVENT_CLASS;
}

EventTarget Catalog::TargetOf(const Event& e) const {
  switch (e.kind) {
    case Event::Brightness: return {kWmi, "WmiMonitorBrightnessEvent"};
    case Event::Power: return {kSimNs, "Sim_PowerEvent"};
    case Event::SystemState: return {kSimNs, "Sim_SystemPowerEvent"};
    case Event::Audio: return {kSimNs, kAudioEventClass};
    default: return {kWmi, "Orv_Event"};
  }
}

Object Catalog::EventObject(const Event& e) const {
  EventTarget t = TargetOf(e);
  const ClassDef* c = FindClass(t.ns, t.cls);
  Object o;
  switch (e.kind) {
    case Event::Brightness:
      o = Acpi(*c, MonitorName(static_cast<std::size_t>(e.monitor)), false);
      o.props.push_back(Number("Brightness", CIM_UINT8, e.value));
      break;
    case Event::Audio:
      o = AudioEventObject(c->ns, e.audio);
      break;
    case Event::SystemState:
      o = Make(*c);
      o.props.push_back(Number("SystemState", CIM_UINT8, e.value));
      break;
    case Event::Power:
      o = Make(*c);
      o.props.push_back(Number("ACLineStatus", CIM_UINT8, e.value));
      o.props.push_back(Number("BatteryLifePercent", CIM_UINT8, fw_.State().batteryPercent));
      break;
    default:
      o = Acpi(*c, std::string(kFirmwareDevice) + "0", false);
      o.props.push_back(Number("OrvEvt", CIM_UINT32, e.value));
      break;
  }
  return o;
}

}  // namespace orv::sim
