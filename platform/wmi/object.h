// The client's copy of a class, instance, event or argument object.
#pragma once
#include <vector>

#include "platform/wmi/wire.h"

namespace orv::wmi::detail {

class WbemObject : public RefCounted<IWbemClassObject, Iid::WbemClassObject> {
 public:
  // A new object carrying one reference.
  static WbemObject* Make(wire::Object data);
  // Our object behind an interface pointer, or nullptr for a foreign one.
  static WbemObject* From(IWbemClassObject* p);

  HRESULT Get(const char16_t* name, long flags, Variant* value, CimType* type, long* flavor) override;
  HRESULT Put(const char16_t* name, long flags, const Variant* value, CimType type) override;
  HRESULT GetMethod(const char16_t* name, long flags, IWbemClassObject** inSignature,
                    IWbemClassObject** outSignature) override;
  HRESULT SpawnInstance(long flags, IWbemClassObject** instance) override;

  const wire::Object& Data() const { return data_; }
  // Properties written with Put since the object was made or last committed.
  std::vector<wire::Property> Changed() const;
  void ClearChanged() { changed_.assign(data_.props.size(), false); }

 private:
  explicit WbemObject(wire::Object data);
  bool SystemProperty(const std::string& name, Variant* value, CimType* type) const;
  wire::Object data_;
  std::vector<bool> changed_;
};

}  // namespace orv::wmi::detail
