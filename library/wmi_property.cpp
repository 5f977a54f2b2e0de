// Query and set of one property of one instance through a fresh connection.
#include "library/wmi_property.h"

#include <string>

#include "library/wmi_connection.h"
#include "platform/text/ansi.h"

namespace orv::lib {

using namespace orv::wmi;

namespace {

// Runs the connection and picks the object; Done with it in chosen, or the outcome.
Outcome Choose(WmiConnection& conn, const WmiTarget& t, bool forSet, std::int64_t index,
               ComPtr<IWbemClassObject>* chosen, HRESULT* status) {
  HRESULT hr = conn.Open(t.nameSpace, t.language, t.query, forSet, WBEM_FLAG_RETURN_IMMEDIATELY);
  if (Failed(hr)) { *status = hr; return Outcome::Failed; }
  hr = conn.Seek(index, chosen);
  if (hr == WBEM_S_FALSE) return Outcome::NoInstance;
  if (Failed(hr)) { *status = hr; return Outcome::Failed; }
  return Outcome::Done;
}

}  // namespace

Outcome QueryInstanceProperty(const WmiTarget& t, std::int64_t index, char* slot, std::size_t slotSize,
                              HRESULT* status) {
  WmiConnection conn;
  ComPtr<IWbemClassObject> object;
  Outcome outcome = Choose(conn, t, false, index, &object, status);
  if (outcome != Outcome::Done) return outcome;

  Variant value;
  HRESULT hr = object->Get(t.property, 0, &value, nullptr, nullptr);
  if (Failed(hr)) { *status = hr; return Outcome::Failed; }
  if (value.vt != VT_BSTR) {
    hr = VariantChangeType(&value, &value, 0, VT_BSTR);
    if (Failed(hr)) { *status = hr; return Outcome::Failed; }
  }
  std::string narrow = text::WideToAnsi(value.str);
  text::CopyBounded(slot, slotSize, narrow.c_str());
  return Outcome::Done;
}

Outcome SetInstanceProperty(const WmiTarget& t, std::int64_t index, const char16_t* value, HRESULT* status) {
  WmiConnection conn;
  ComPtr<IWbemClassObject> object;
  Outcome outcome = Choose(conn, t, true, index, &object, status);
  if (outcome != Outcome::Done) return outcome;
  if (!value || !*value) return Outcome::Done;

  Variant text = Variant::Str(value);
  HRESULT hr = object->Put(t.property, 0, &text, CIM_EMPTY);
  if (Failed(hr)) { *status = hr; return Outcome::Failed; }
  hr = conn.services()->PutInstance(object.Get(), WBEM_FLAG_UPDATE_ONLY, conn.context(), nullptr);
  if (Failed(hr)) { *status = hr; return Outcome::Failed; }
  return Outcome::Done;
}

}  // namespace orv::lib
