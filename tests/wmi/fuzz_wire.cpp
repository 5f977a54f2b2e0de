// Fuzz target for the WMI wire protocol as the provider reads it: any bytes of
// a client's stream, cut into frames and run as requests against the firmware.
// Every reply is one whole frame that the client's reader takes apart exactly as
// it was written, and every event a request raised travels the same way.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/wmi/sim/wire.h"
#include "sim/requests.h"

namespace {

using namespace orv::wmi;

void Require(bool holds) {
  if (!holds) std::abort();
}

// The reply body read as the client reads the reply to op: when it reports
// success, its fields must be all there is.
void ReadsBack(wire::Op op, const std::string& body) {
  wire::Reader r(body);
  const auto status = static_cast<HRESULT>(r.U32());
  Require(r.ok());
  // A request that cannot be read gets the status alone, whatever it asked.
  if (status == static_cast<HRESULT>(WBEM_E_INVALID_PARAMETER)) return;
  if (op == wire::Op::Control) {
    r.Str();
    Require(r.ok() && r.AtEnd());
    return;
  }
  if (FAILED(status)) return;
  switch (op) {
    case wire::Op::Hello: r.Str(); break;
    case wire::Op::Query:
      for (std::uint32_t n = r.U32(), i = 0; i < n && r.ok(); ++i) r.Obj();
      r.U32();
      break;
    case wire::Op::GetObject: r.Obj(); break;
    case wire::Op::ExecMethod: r.U8(); break;
    default: break;
  }
  Require(r.ok() && r.AtEnd());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  orv::sim::Firmware firmware;
  orv::sim::Catalog catalog(firmware);
  std::string input(reinterpret_cast<const char*>(data), size);
  orv::sim::TakeFrames(&input, [&](const std::string& body) {
    const orv::sim::Answer answer = orv::sim::HandleRequest(firmware, catalog, body);
    Require(answer.frame.size() >= 8 && wire::DecodeLength(answer.frame.data()) == answer.frame.size() - 4);
    ReadsBack(body.empty() ? wire::Op{} : static_cast<wire::Op>(static_cast<std::uint8_t>(body[0])),
              answer.frame.substr(4));
    for (const orv::sim::Event& e : firmware.TakeEvents()) {
      catalog.TargetOf(e);
      wire::Writer w;
      w.Obj(catalog.EventObject(e));
      wire::Reader r(w.Body());
      r.Obj();
      Require(r.ok() && r.AtEnd());
    }
    return !answer.stop;
  });
  return 0;
}
