// Test fixture and recording sink for the WMI layer tests.
#include "tests/wmi/fixture.h"

#include "platform/wmi/sim/apartment.h"
#include "sim/launcher.h"

namespace orv::wmi::test {

void WmiTest::SetUp() {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  StartProvider();
}

void WmiTest::TearDown() {
  provider_.Stop();
  CoUninitialize();
  EXPECT_EQ(com::ComInitDepth(), 0);
}

void WmiTest::StartProvider() {
  std::string error;
  ASSERT_TRUE(provider_.Start(&error)) << error;
}

HRESULT WmiTest::TryConnect(const OLECHAR* ns, com_ptr<IWbemServices>* out) {
  com_ptr<IWbemLocator> locator;
  HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                IID_IWbemLocator, locator.put_void());
  if (FAILED(hr)) return hr;
  hr = locator->ConnectServer(Bstr(ns), nullptr, nullptr, nullptr, 0, nullptr, nullptr, out->put());
  if (FAILED(hr)) return hr;
  return CoSetProxyBlanket(out->get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                           RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

com_ptr<IWbemServices> WmiTest::Connect(const OLECHAR* ns) {
  com_ptr<IWbemServices> s;
  HRESULT hr = TryConnect(ns, &s);
  EXPECT_EQ(hr, S_OK);
  return s;
}

Objects WmiTest::Query(IWbemServices* s, const std::u16string& cls) {
  Objects out;
  com_ptr<IEnumWbemClassObject> e;
  HRESULT hr = s->ExecQuery(Bstr(u"WQL"), Bstr(u"Select * from " + cls), WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                            e.put());
  EXPECT_EQ(hr, S_OK);
  if (FAILED(hr)) return out;
  for (;;) {
    IWbemClassObject* o = nullptr;
    ULONG got = 0;
    hr = e->Next(WBEM_INFINITE, 1, &o, &got);
    if (got == 0) break;
    out.push_back(com_ptr<IWbemClassObject>::attach(o));
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

std::int64_t Int(IWbemClassObject* o, const OLECHAR* name) {
  Var v;
  EXPECT_EQ(o->Get(name, 0, v.get(), nullptr, nullptr), S_OK);
  LONGLONG n = 0;
  EXPECT_TRUE(orv::test::IntOf(*v.get(), &n));
  return n;
}

std::u16string Str(IWbemClassObject* o, const OLECHAR* name) {
  Var v;
  EXPECT_EQ(o->Get(name, 0, v.get(), nullptr, nullptr), S_OK);
  EXPECT_EQ(v->vt, VT_BSTR);
  return orv::test::TextOf(*v.get());
}

HRESULT RecordingSink::Indicate(LONG count, IWbemClassObject** objects) {
  std::lock_guard<std::mutex> lock(lock_);
  for (LONG i = 0; i < count; ++i) {
    Var v;
    HRESULT hr = objects[i]->Get(property, 0, v.get(), nullptr, nullptr);
    LONGLONG n = 0;
    values_.push_back(SUCCEEDED(hr) && orv::test::IntOf(*v.get(), &n) ? n : -1);
  }
  changed_.notify_all();
  return WBEM_S_NO_ERROR;
}

HRESULT RecordingSink::SetStatus(LONG flags, HRESULT result, BSTR, IWbemClassObject*) {
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
