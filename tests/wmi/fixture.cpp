// Test fixture and recording sink for the WMI layer tests.
#include "tests/wmi/fixture.h"

#include "sim/launcher.h"

namespace orv::wmi::test {

void WmiTest::SetUp() {
  ASSERT_EQ(CoInitialize(), S_OK);
  StartProvider();
}

void WmiTest::TearDown() {
  provider_.Stop();
  CoUninitialize();
  EXPECT_EQ(ComInitDepth(), 0);
}

void WmiTest::StartProvider() {
  std::string error;
  ASSERT_TRUE(provider_.Start(&error)) << error;
}

HRESULT WmiTest::TryConnect(const char16_t* ns, ComPtr<IWbemServices>* out) {
  ComPtr<IWbemLocator> locator;
  HRESULT hr = CoCreateInstance(Clsid::WbemLocator, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, Iid::WbemLocator,
                                locator.PutVoid());
  if (Failed(hr)) return hr;
  hr = locator->ConnectServer(ns, nullptr, nullptr, nullptr, 0, nullptr, nullptr, out->Put());
  if (Failed(hr)) return hr;
  return CoSetProxyBlanket(out->Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, RPC_C_AUTHN_LEVEL_CALL,
                           RPC_C_IMP_LEVEL_IMPERSONATE, EOAC_NONE);
}

ComPtr<IWbemServices> WmiTest::Connect(const char16_t* ns) {
  ComPtr<IWbemServices> s;
  HRESULT hr = TryConnect(ns, &s);
  EXPECT_EQ(hr, S_OK);
  return s;
}

Objects WmiTest::Query(IWbemServices* s, const std::u16string& cls) {
  Objects out;
  ComPtr<IEnumWbemClassObject> e;
  HRESULT hr = s->ExecQuery(u"WQL", (u"Select * from " + cls).c_str(), WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, e.Put());
  EXPECT_EQ(hr, S_OK);
  if (Failed(hr)) return out;
  for (;;) {
    IWbemClassObject* o = nullptr;
    ULONG got = 0;
    hr = e->Next(WBEM_INFINITE, 1, &o, &got);
    if (got == 0) break;
    out.push_back(ComPtr<IWbemClassObject>::Attach(o));
  }
  EXPECT_EQ(hr, WBEM_S_FALSE);
  return out;
}

std::string WmiTest::Control(const std::vector<std::string>& words) {
  int code = -1;
  std::string text;
  EXPECT_TRUE(sim::SendControl(words, &code, &text));
  EXPECT_EQ(code, 0) << text;
  return text;
}

std::int64_t Int(IWbemClassObject* o, const char16_t* name) {
  Variant v;
  EXPECT_EQ(o->Get(name, 0, &v, nullptr, nullptr), S_OK);
  Variant n;
  EXPECT_EQ(VariantChangeType(&n, &v, 0, VT_I8), S_OK);
  return n.num;
}

std::u16string Str(IWbemClassObject* o, const char16_t* name) {
  Variant v;
  EXPECT_EQ(o->Get(name, 0, &v, nullptr, nullptr), S_OK);
  EXPECT_EQ(v.vt, VT_BSTR);
  return v.str;
}

HRESULT RecordingSink::Indicate(long count, IWbemClassObject** objects) {
  std::lock_guard<std::mutex> lock(lock_);
  for (long i = 0; i < count; ++i) {
    Variant v;
    HRESULT hr = objects[i]->Get(property, 0, &v, nullptr, nullptr);
    Variant n;
    values_.push_back(Succeeded(hr) && Succeeded(VariantChangeType(&n, &v, 0, VT_I8)) ? n.num : -1);
  }
  changed_.notify_all();
  return WBEM_S_NO_ERROR;
}

HRESULT RecordingSink::SetStatus(long flags, HRESULT result, const char16_t*, IWbemClassObject*) {
  std::lock_guard<std::mutex> lock(lock_);
  if (flags == WBEM_STATUS_COMPLETE) statuses_.push_back(result);
  changed_.notify_all();
  return WBEM_S_NO_ERROR;
}

bool RecordingSink::WaitValues(std::size_t n, int ms) {
  std::unique_lock<std::mutex> lock(lock_);
  return changed_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return values_.size() >= n; });
}

bool RecordingSink::WaitStatus(int ms) {
  std::unique_lock<std::mutex> lock(lock_);
  return changed_.wait_for(lock, std::chrono::milliseconds(ms), [&] { return !statuses_.empty(); });
}

std::vector<std::int64_t> RecordingSink::Values() {
  std::lock_guard<std::mutex> lock(lock_);
  return values_;
}

std::vector<HRESULT> RecordingSink::Statuses() {
  std::lock_guard<std::mutex> lock(lock_);
  return statuses_;
}

}  // namespace orv::wmi::test
