// Query and set of one property of one instance through a fresh connection.
#include "library/wmi_property.h"

#include <oleauto.h>

#include "library/ansi_text.h"
#include "library/wmi_connection.h"

namespace orv::lib {
namespace {

// Runs the connection and picks the object; Done with it in chosen, or the outcome.
Outcome Choose(WmiConnection& conn, const WmiTarget& t, bool forSet, std::int64_t index,
               com_ptr<IWbemClassObject>* chosen, HRESULT* status) {
  HRESULT hr = conn.Open(t.nameSpace, t.language, t.query, forSet, WBEM_FLAG_RETURN_IMMEDIATELY);
  if (FAILED(hr)) { *status = hr; return Outcome::Failed; }
  hr = conn.Seek(index, chosen);
  if (hr == WBEM_S_FALSE) return Outcome::NoInstance;
  if (FAILED(hr)) { *status = hr; return Outcome::Failed; }
  return Outcome::Done;
}

}  // namespace

Outcome QueryInstanceProperty(const WmiTarget& t, std::int64_t index, char* slot, std::size_t slotSize,
                              HRESULT* status) {
  WmiConnection conn;
  com_ptr<IWbemClassObject> object;
  Outcome outcome = Choose(conn, t, false, index, &object, status);
  if (outcome != Outcome::Done) return outcome;

  unique_variant value;
  HRESULT hr = object->Get(t.property, 0, value.put(), nullptr, nullptr);
  if (FAILED(hr)) { *status = hr; return Outcome::Failed; }
  if (value->vt != VT_BSTR) {
    hr = VariantChangeType(value.get(), value.get(), 0, VT_BSTR);
    if (FAILED(hr)) { *status = hr; return Outcome::Failed; }
  }
  WideToAnsiBounded(value->bstrVal, SysStringLen(value->bstrVal), slot, slotSize);
  return Outcome::Done;
}

Outcome SetInstanceProperty(const WmiTarget& t, std::int64_t index, BSTR value, HRESULT* status) {
  WmiConnection conn;
  com_ptr<IWbemClassObject> object;
  Outcome outcome = Choose(conn, t, true, index, &object, status);
  if (outcome != Outcome::Done) return outcome;
  if (!value || !value[0]) return Outcome::Done;

  // Refers to the caller's string, which stays the caller's: never cleared here.
  VARIANT text;
  VariantInit(&text);
  text.vt = VT_BSTR;
  text.bstrVal = value;
  HRESULT hr = object->Put(t.property, 0, &text, 0);
  if (FAILED(hr)) { *status = hr; return Outcome::Failed; }
  hr = conn.services()->PutInstance(object.get(), WBEM_FLAG_UPDATE_ONLY, conn.context(), nullptr);
  if (FAILED(hr)) { *status = hr; return Outcome::Failed; }
  return Outcome::Done;
}

}  // namespace orv::lib
