// Encoding of the client/provider messages: little-endian integers, strings with a
// length in front, objects as their properties and methods.
#include "platform/wmi/sim/wire.h"

#include "platform/text/sim/ansi.h"

namespace orv::wmi::wire {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Quoted(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

bool IsTextType(CIMTYPE t) { return t == CIM_STRING; }

}  // namespace

std::string LengthPrefix(std::size_t n) {
  std::string out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
  return out;
}

std::uint32_t DecodeLength(const char* p) {
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(p[i])) << (8 * i);
  return v;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

const Property* Object::Find(const std::string& name) const {
  for (auto& p : props)
    if (SameName(p.name, name)) return &p;
  return nullptr;
}

Property* Object::Find(const std::string& name) {
  return const_cast<Property*>(static_cast<const Object*>(this)->Find(name));
}

std::string Object::RelPath() const {
  if (isClass) return cls;
  std::string keys;
  for (auto& p : props) {
    if (!p.key) continue;
    if (p.value.vt == VT_NULL || p.value.vt == VT_EMPTY) return {};
    if (!keys.empty()) keys += ',';
    keys += p.name + '=';
    if (IsTextType(p.type))
      keys += Quoted(text::WideToAnsi(p.value.str));
    else
      keys += std::to_string(p.value.num);
  }
  return keys.empty() ? std::string() : cls + '.' + keys;
}

std::string Object::Path() const {
  std::string rel = RelPath();
  if (rel.empty()) return rel;
  return "\\\\" + server + '\\' + ns + ':' + rel;
}

void Writer::U32(std::uint32_t v) {
  for (int i = 0; i < 4; ++i) buf_.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void Writer::I64(std::int64_t v) {
  auto u = static_cast<std::uint64_t>(v);
  for (int i = 0; i < 8; ++i) buf_.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

void Writer::Str(const std::string& s) {
  U32(static_cast<std::uint32_t>(s.size()));
  buf_ += s;
}

void Writer::Val(const com::Value& v) {
  U32(v.vt);
  I64(v.num);
  Str(text::WideToAnsi(v.str));
}

void Writer::Prop(const Property& p) {
  Str(p.name);
  U32(static_cast<std::uint32_t>(p.type));
  Val(p.value);
  U8(static_cast<std::uint8_t>((p.readOnly ? 1 : 0) | (p.key ? 2 : 0)));
}

void Writer::Obj(const Object& o) {
  Str(o.server);
  Str(o.ns);
  Str(o.cls);
  U8(o.isClass ? 1 : 0);
  U32(static_cast<std::uint32_t>(o.props.size()));
  for (auto& p : o.props) Prop(p);
  U32(static_cast<std::uint32_t>(o.methods.size()));
  for (auto& m : o.methods) {
    Str(m.name);
    U32(static_cast<std::uint32_t>(m.in.size()));
    for (auto& p : m.in) Prop(p);
    U32(static_cast<std::uint32_t>(m.out.size()));
    for (auto& p : m.out) Prop(p);
  }
}

std::string Writer::Frame() const { return LengthPrefix(buf_.size()) + buf_; }

bool Reader::Need(std::size_t n) {
  if (!ok_ || data_.size() - pos_ < n) ok_ = false;
  return ok_;
}

std::uint8_t Reader::U8() {
  if (!Need(1)) return 0;
  return static_cast<std::uint8_t>(data_[pos_++]);
}

std::uint32_t Reader::U32() {
  if (!Need(4)) return 0;
  std::uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(data_[pos_++])) << (8 * i);
  return v;
}

std::int64_t Reader::I64() {
  if (!Need(8)) return 0;
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(static_cast<std::uint8_t>(data_[pos_++])) << (8 * i);
  return static_cast<std::int64_t>(v);
}

std::string Reader::Str() {
  std::uint32_t n = U32();
  if (!Need(n)) return {};
  std::string s = data_.substr(pos_, n);
  pos_ += n;
  return s;
}

com::Value Reader::Val() {
  com::Value v;
  v.vt = static_cast<VARTYPE>(U32());
  v.num = I64();
  v.str = text::AnsiToWide(Str());
  return v;
}

Property Reader::Prop() {
  Property p;
  p.name = Str();
  p.type = static_cast<CIMTYPE>(U32());
  p.value = Val();
  std::uint8_t f = U8();
  p.readOnly = (f & 1) != 0;
  p.key = (f & 2) != 0;
  return p;
}

Object Reader::Obj() {
  Object o;
  o.server = Str();
  o.ns = Str();
  o.cls = Str();
  o.isClass = U8() != 0;
  // Nothing is reserved from a count: a forged one ends at the first failed read.
  std::uint32_t n = U32();
  for (std::uint32_t i = 0; i < n && ok_; ++i) o.props.push_back(Prop());
  std::uint32_t m = U32();
  for (std::uint32_t i = 0; i < m && ok_; ++i) {
    Method def;
    def.name = Str();
    std::uint32_t in = U32();
    for (std::uint32_t k = 0; k < in && ok_; ++k) def.in.push_back(Prop());
    std::uint32_t out = U32();
    for (std::uint32_t k = 0; k < out && ok_; ++k) def.out.push_back(Prop());
    o.methods.push_back(std::move(def));
  }
  return o;
}

}  // namespace orv::wmi::wire
