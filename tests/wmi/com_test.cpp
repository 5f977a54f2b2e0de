// COM basics: per-thread initialisation counting and models, process security,
// class creation, proxy blankets, calls on uninitialised threads and the variant
// conversion rules.
#include <thread>
#include <utility>

#include "platform/wmi/sim/apartment.h"
#include "tests/wmi/fixture.h"

namespace orv::wmi::test {
namespace {

TEST(Com, InitialisationIsCountedPerThreadWithOneModel) {
  std::thread([] {
    EXPECT_EQ(com::ComInitDepth(), 0);
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);  // not counted
    EXPECT_EQ(com::ComInitDepth(), 2);
    std::thread([] { EXPECT_EQ(com::ComInitDepth(), 0); }).join();  // another thread has its own
    CoUninitialize();
    CoUninitialize();
    CoUninitialize();  // one too many does nothing
    EXPECT_EQ(com::ComInitDepth(), 0);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);  // free to choose again once left
    CoUninitialize();
    int reserved = 0;
    EXPECT_EQ(CoInitializeEx(&reserved, COINIT_APARTMENTTHREADED), E_INVALIDARG);
    EXPECT_EQ(CoInitializeEx(nullptr, 0x100), E_INVALIDARG);  // no such model
    EXPECT_EQ(com::ComInitDepth(), 0);
  }).join();
}

TEST(Com, CallsOnAThreadWithoutComFail) {
  std::thread([] {
    void* p = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, &p), CO_E_NOTINITIALIZED);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                   RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr),
              CO_E_NOTINITIALIZED);
  }).join();
}

TEST(Com, CreationHonoursServerKindAndInterface) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  com_ptr<IWbemLocator> locator;
  EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator, locator.put_void()), S_OK);
  EXPECT_TRUE(locator);
  com_ptr<IWbemContext> context;
  EXPECT_EQ(CoCreateInstance(CLSID_WbemContext, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IWbemContext,
                             context.put_void()),
            S_OK);
  com_ptr<IUnknown> any;
  EXPECT_EQ(CoCreateInstance(CLSID_UnsecuredApartment, nullptr, CLSCTX_INPROC_SERVER, IID_IUnsecuredApartment,
                             any.put_void()),
            REGDB_E_CLASSNOTREG);  // it lives in a local server only
  EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_LOCAL_SERVER, IID_IWbemLocator, any.put_void()),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemServices, any.put_void()),
            E_NOINTERFACE);
  EXPECT_FALSE(any);
  // A local object is no proxy.
  EXPECT_EQ(CoSetProxyBlanket(context.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE),
            E_NOINTERFACE);
  EXPECT_EQ(CoSetProxyBlanket(nullptr, RPC_C_AUTHN_WINNT, 0, nullptr, 0, 0, nullptr, 0), E_INVALIDARG);
  // An outer object cannot aggregate the platform's classes.
  EXPECT_EQ(CoCreateInstance(CLSID_WbemLocator, locator.get(), CLSCTX_INPROC_SERVER, IID_IUnknown, any.put_void()),
            CLASS_E_NOAGGREGATION);
  CoUninitialize();
}

TEST(Com, VariantChangeTypeRules) {
  auto toText = [](Var in, VARTYPE vt = VT_BSTR, USHORT flags = 0) {
    Var out;
    HRESULT hr = VariantChangeType(out.get(), in.get(), flags, vt);
    return std::make_pair(hr, orv::test::TextOf(*out.get()));
  };
  EXPECT_EQ(toText(Var::Int(VT_UI1, 139)), std::make_pair(S_OK, std::u16string(u"139")));
  EXPECT_EQ(toText(Var::Int(VT_UI8, -1)), std::make_pair(S_OK, std::u16string(u"18446744073709551615")));
  EXPECT_EQ(toText(Var::Int(VT_I4, -5)), std::make_pair(S_OK, std::u16string(u"-5")));
  EXPECT_EQ(toText(Var::Int(VT_BOOL, 1)), std::make_pair(S_OK, std::u16string(u"-1")));
  EXPECT_EQ(toText(Var::Int(VT_BOOL, 1), VT_BSTR, VARIANT_ALPHABOOL), std::make_pair(S_OK, std::u16string(u"True")));
  EXPECT_EQ(toText(Var()), std::make_pair(S_OK, std::u16string()));
  EXPECT_EQ(toText(Var::Null()).first, DISP_E_TYPEMISMATCH);

  Var text = Var::Text(u"300"), out;
  EXPECT_EQ(VariantChangeType(out.get(), text.get(), 0, VT_I4), S_OK);
  EXPECT_EQ(out->vt, VT_I4);
  EXPECT_EQ(out->lVal, 300);
  EXPECT_EQ(VariantChangeType(out.get(), text.get(), 0, VT_UI1), DISP_E_OVERFLOW);
  EXPECT_EQ(out->lVal, 300);  // a failed conversion leaves the destination as it was
  Var word = Var::Text(u"abc");
  EXPECT_EQ(VariantChangeType(out.get(), word.get(), 0, VT_I4), DISP_E_TYPEMISMATCH);
  // In place, as callers often convert: the old text is freed, the new one owned.
  Var inPlace = Var::Int(VT_I2, 42);
  EXPECT_EQ(VariantChangeType(inPlace.get(), inPlace.get(), 0, VT_BSTR), S_OK);
  EXPECT_EQ(orv::test::TextOf(*inPlace.get()), u"42");
  EXPECT_EQ(VariantChangeType(inPlace.get(), inPlace.get(), 0, VT_UI2), S_OK);
  EXPECT_EQ(inPlace->uiVal, 42);
  VariantClear(inPlace.get());
  EXPECT_EQ(inPlace->vt, VT_EMPTY);
  // A VT_BSTR must hold a BSTR: a plain string is refused, never read as one.
  VARIANT plain;
  VariantInit(&plain);
  plain.vt = VT_BSTR;
  plain.bstrVal = const_cast<OLECHAR*>(u"5");
  EXPECT_EQ(VariantChangeType(out.get(), &plain, 0, VT_I4), DISP_E_TYPEMISMATCH);
  // A copy owns its own string.
  Var copy;
  EXPECT_EQ(VariantCopy(copy.get(), text.get()), S_OK);
  EXPECT_NE(copy->bstrVal, text->bstrVal);
  EXPECT_EQ(orv::test::TextOf(*copy.get()), u"300");
}

TEST(Com, BstrsCarryTheirLength) {
  const OLECHAR withNul[] = {u'a', 0, u'b'};
  orv::unique_bstr b(SysAllocStringLen(withNul, 3));
  ASSERT_TRUE(b);
  EXPECT_EQ(SysStringLen(b.get()), 3u);
  EXPECT_EQ(SysStringByteLen(b.get()), 6u);
  EXPECT_EQ(b.get()[3], 0);  // terminated behind the length
  orv::unique_bstr empty(SysAllocString(u""));
  ASSERT_TRUE(empty);
  EXPECT_EQ(SysStringLen(empty.get()), 0u);
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  SysFreeString(nullptr);
  EXPECT_DEATH(SysFreeString(const_cast<OLECHAR*>(u"not allocated")), "no BSTR");
}

TEST_F(WmiTest, SecurityIsSetOnceAndProxiesTakeBlankets) {
  // The first connection of the process has settled security already.
  auto s = Connect();
  EXPECT_EQ(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE,
                                 nullptr, EOAC_NONE, nullptr),
            RPC_E_TOO_LATE);
  EXPECT_EQ(CoSetProxyBlanket(s.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_PKT,
                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE),
            S_OK);
}

TEST_F(WmiTest, ProxiesRefuseThreadsWithoutCom) {
  auto s = Connect();
  com_ptr<IEnumWbemClassObject> e;
  ASSERT_EQ(s->ExecQuery(Bstr(u"WQL"), Bstr(u"Select * from Orv_Device"), 0, nullptr, e.put()), S_OK);
  std::thread([&] {
    com_ptr<IEnumWbemClassObject> other;
    EXPECT_EQ(s->ExecQuery(Bstr(u"WQL"), Bstr(u"Select * from Orv_Device"), 0, nullptr, other.put()), CO_E_NOTINITIALIZED);
    IWbemClassObject* o = nullptr;
    ULONG got = 0;
    EXPECT_EQ(e->Next(WBEM_INFINITE, 1, &o, &got), CO_E_NOTINITIALIZED);
    // The same thread once initialised works.
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(e->Next(WBEM_INFINITE, 1, &o, &got), S_OK);
    if (got) o->Release();
    CoUninitialize();
  }).join();
}

TEST_F(WmiTest, TwoClientsAtOnce) {
  // Each thread is its own client: its own COM, connection, reads and writes;
  // a third watches the events both cause.
  auto watcher = Connect();
  auto sink = RecordingSink::Make();
  ASSERT_EQ(watcher->ExecNotificationQueryAsync(Bstr(u"WQL"), Bstr(u"Select * from Orv_Event"), 0, nullptr, sink.get()), S_OK);
  auto client = [this](int instance, int rounds) {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    {
      auto s = Connect();
      for (int i = 0; i < rounds; ++i) {
        auto system = Query(s.get(), u"Orv_System");
        ASSERT_EQ(system.size(), 2u);
        Var v = Var::Int(VT_I4, i % 4);
        ASSERT_EQ(system[instance]->Put(u"System", 0, v.get(), CIM_EMPTY), S_OK);
        ASSERT_EQ(s->PutInstance(system[instance].get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr), S_OK);
        EXPECT_EQ(Int(Query(s.get(), u"Orv_System")[instance].get(), u"System"), i % 4);
        Control({"press", "userdefine"});
      }
    }
    CoUninitialize();
  };
  std::thread a(client, 0, 40), b(client, 1, 40);
  a.join();
  b.join();
  ASSERT_TRUE(sink->WaitValues(80));
  EXPECT_EQ(sink->Values(), std::vector<std::int64_t>(80, 0x6F));
  EXPECT_EQ(watcher->CancelAsyncCall(sink.get()), S_OK);
}

}  // namespace
}  // namespace orv::wmi::test
