// Framing of the provider's input and the requests it serves.
#include "sim/requests.h"

#include "sim/control.h"

namespace orv::sim {

using namespace orv::wmi;

namespace {

// The answer to a request that cannot be read.
constexpr HRESULT kBadRequest = WBEM_E_INVALID_PARAMETER;

// Keeps a change the request made; false, with the reason, when it could not be
// kept and was undone.
bool Kept(Firmware& firmware, const EcState& before, const Keep& keep, std::string* reason) {
  if (!keep || firmware.State() == before || keep(firmware.State(), reason)) return true;
  firmware.Restore(before);
  return false;
}

// The simulator's own commands: "stop", or one that acts on the firmware.
void Control(Firmware& firmware, const EcState& before, const Keep& keep, wire::Reader& r, wire::Writer& reply,
             Answer* out) {
  auto answer = [&](std::uint32_t code) { reply.U32(code); };
  std::vector<std::string> words;
  std::uint32_t n = r.U32();
  for (std::uint32_t i = 0; i < n && r.ok(); ++i) words.push_back(r.Str());
  Action action;
  std::string error;
  if (r.ok() && words.size() == 1 && words[0] == "stop") {
    answer(0);
    reply.Str("stopping\n");
    out->stop = true;
  } else if (!r.ok() || !ParseControl(words, &action, &error)) {
    answer(2);
    reply.Str(error + "\n");
  } else {
    ControlReply done = action(firmware);
    std::string reason;
    if (!Kept(firmware, before, keep, &reason)) {
      answer(1);
      reply.Str("the firmware's state cannot be saved (" + reason + "); nothing was changed\n");
      return;
    }
    answer(done.done ? 0 : 1);
    reply.Str(done.text);
  }
}

}  // namespace

Answer HandleRequest(Firmware& firmware, Catalog& catalog, const std::string& body, const Keep& keep) {
  Answer out;
  const EcState before = firmware.State();
  // A change's success is reported only once the change is kept.
  auto kept = [&](HRESULT hr) {
    std::string reason;
    return Kept(firmware, before, keep, &reason) || FAILED(hr) ? hr : static_cast<HRESULT>(WBEM_E_FAILED);
  };
  wire::Reader r(body);
  auto op = static_cast<wire::Op>(r.U8());
  std::string ns = r.Str();
  wire::Writer reply;
  auto answer = [&](HRESULT hr) { reply.U32(static_cast<std::uint32_t>(hr)); };
  std::string canonical = CanonicalNamespace(ns);
  if (!r.ok()) {
    answer(kBadRequest);
  } else if (op == wire::Op::Control) {
    Control(firmware, before, keep, r, reply, &out);
  } else if (canonical.empty()) {
    answer(WBEM_E_INVALID_NAMESPACE);
  } else if (op == wire::Op::Hello) {
    answer(WBEM_S_NO_ERROR);
    reply.Str(canonical);
  } else if (op == wire::Op::Query) {
    std::vector<wire::Object> objects;
    HRESULT hr = catalog.Query(canonical, r.Str(), &objects);
    answer(r.ok() ? hr : kBadRequest);
    reply.U32(static_cast<std::uint32_t>(objects.size()));
    for (auto& o : objects) reply.Obj(o);
    reply.U32(WBEM_S_NO_ERROR);
  } else if (op == wire::Op::GetObject) {
    wire::Object o;
    HRESULT hr = catalog.GetObject(canonical, r.Str(), &o);
    answer(hr);
    if (SUCCEEDED(hr)) reply.Obj(o);
  } else if (op == wire::Op::PutInstance) {
    std::string path = r.Str();
    long flags = static_cast<long>(r.U32());
    std::uint32_t n = r.U32();
    std::vector<wire::Property> changed;
    for (std::uint32_t i = 0; i < n && r.ok(); ++i) changed.push_back(r.Prop());
    answer(r.ok() ? kept(catalog.Put(canonical, path, flags, changed)) : kBadRequest);
  } else if (op == wire::Op::ExecMethod) {
    std::string path = r.Str(), method = r.Str();
    bool hasIn = r.U8() != 0;
    wire::Object in;
    if (hasIn) in = r.Obj();
    answer(r.ok() ? kept(catalog.ExecMethod(canonical, path, method, hasIn ? &in : nullptr)) : kBadRequest);
    reply.U8(0);  // the method has no output arguments
  } else if (op == wire::Op::Subscribe) {
    std::string cls = r.Str();
    HRESULT hr = r.ok() ? catalog.CheckEventClass(canonical, cls) : kBadRequest;
    answer(hr);
    if (SUCCEEDED(hr)) out.subscription = EventTarget{canonical, cls};
  } else {
    answer(WBEM_E_NOT_SUPPORTED);
  }
  out.frame = reply.Frame();
  return out;
}

bool TakeFrames(std::string* input, const std::function<bool(const std::string&)>& handle) {
  std::size_t pos = 0;
  while (input->size() - pos >= 4) {
    std::uint32_t length = wire::DecodeLength(input->data() + pos);
    if (length > wire::kMaxFrame) return false;
    if (input->size() - pos - 4 < length) break;
    const std::string body = input->substr(pos + 4, length);
    pos += 4 + length;
    if (!handle(body)) return true;
  }
  input->erase(0, pos);
  return true;
}

}  // namespace orv::sim
