// The messages between the WMI client layer and the provider that serves the
// classes: framing, the request kinds and the encoding of objects and values.
// Both ends link this file, so a change here changes both together.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <wbemidl.h>

#include "platform/wmi/sim/value.h"

namespace orv::wmi::wire {

// Largest frame either end accepts; anything bigger is a broken peer.
constexpr std::uint32_t kMaxFrame = 4u << 20;

enum class Op : std::uint8_t {
  Hello = 1,        // ns -> status, canonical ns
  Query = 2,        // ns, class -> status, objects, trailing status
  GetObject = 3,    // ns, path -> status, object
  PutInstance = 4,  // ns, path, flags, changed properties -> status
  ExecMethod = 5,   // ns, path, method, [in object] -> status, [out object]
  Subscribe = 6,    // ns, class -> status; then one Event frame per event
  Control = 7,      // words -> exit code, text (the simulator's own commands)
  Event = 8,        // provider -> subscriber: object
};

struct Property {
  std::string name;
  CIMTYPE type = CIM_EMPTY;
  com::Value value;       // VT_NULL when the property has no value
  bool readOnly = false;  // the provider refuses changes
  bool key = false;       // part of the instance's relative path
};

struct Method {
  std::string name;
  std::vector<Property> in;   // argument definitions (values VT_NULL)
  std::vector<Property> out;
};

// One class, instance, event or argument object as it travels.
struct Object {
  std::string server;     // machine name in "__PATH"
  std::string ns;         // canonical namespace, e.g. "root\WMI"
  std::string cls;        // class name
  bool isClass = false;   // class definition rather than an instance
  std::vector<Property> props;
  std::vector<Method> methods;

  const Property* Find(const std::string& name) const;
  Property* Find(const std::string& name);
  // "__RELPATH": Class.Key="value"[,Key2=...] for instances with keys, the class
  // name for a class, empty for an instance without keys (no path).
  std::string RelPath() const;
  // "__PATH": \\server\ns:relpath, empty when there is no relative path.
  std::string Path() const;
};

// The 4-byte little-endian length in front of every frame.
std::string LengthPrefix(std::size_t n);
std::uint32_t DecodeLength(const char* p);

// Case-insensitive ASCII comparison, as WMI compares names.
bool SameName(const std::string& a, const std::string& b);

// Builds a message body.
class Writer {
 public:
  void U8(std::uint8_t v) { buf_.push_back(static_cast<char>(v)); }
  void U32(std::uint32_t v);
  void I64(std::int64_t v);
  void Str(const std::string& s);
  void Val(const com::Value& v);
  void Prop(const Property& p);
  void Obj(const Object& o);
  // The body with its 4-byte length prefix, ready to send.
  std::string Frame() const;
  const std::string& Body() const { return buf_; }

 private:
  std::string buf_;
};

// Reads a message body; every read checks the bounds, and after the first
// failure every later read fails too, so callers check ok() once at the end.
class Reader {
 public:
  explicit Reader(const std::string& body) : data_(body) {}
  std::uint8_t U8();
  std::uint32_t U32();
  std::int64_t I64();
  std::string Str();
  com::Value Val();
  Property Prop();
  Object Obj();
  bool ok() const { return ok_; }
  bool AtEnd() const { return pos_ == data_.size(); }

 private:
  bool Need(std::size_t n);
  const std::string& data_;
  std::size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace orv::wmi::wire
