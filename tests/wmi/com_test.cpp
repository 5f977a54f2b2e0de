// COM basics: per-thread initialisation counting and models, process security,
// class creation, proxy blankets, calls on uninitialised threads and the variant
// conversion rules.
#include <thread>

#include "tests/wmi/fixture.h"

namespace orv::wmi::test {
namespace {

TEST(Com, InitialisationIsCountedPerThreadWithOneModel) {
  std::thread([] {
    EXPECT_EQ(ComInitDepth(), 0);
    EXPECT_EQ(CoInitialize(), S_OK);
    EXPECT_EQ(CoInitialize(), S_FALSE);
    EXPECT_EQ(CoInitializeEx(true), RPC_E_CHANGED_MODE);  // not counted
    EXPECT_EQ(ComInitDepth(), 2);
    std::thread([] { EXPECT_EQ(ComInitDepth(), 0); }).join();  // another thread has its own
    CoUninitialize();
    CoUninitialize();
    CoUninitialize();  // one too many does nothing
    EXPECT_EQ(ComInitDepth(), 0);
    EXPECT_EQ(CoInitializeEx(true), S_OK);  // free to choose again once left
    CoUninitialize();
  }).join();
}

TEST(Com, CallsOnAThreadWithoutComFail) {
  std::thread([] {
    void* p = nullptr;
    EXPECT_EQ(CoCreateInstance(Clsid::WbemLocator, CLSCTX_INPROC_SERVER, Iid::WbemLocator, &p), CO_E_NOTINITIALIZED);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(CoInitializeSecurity(RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE), CO_E_NOTINITIALIZED);
  }).join();
}

TEST(Com, CreationHonoursServerKindAndInterface) {
  ASSERT_EQ(CoInitialize(), S_OK);
  ComPtr<IWbemLocator> locator;
  EXPECT_EQ(CoCreateInstance(Clsid::WbemLocator, CLSCTX_INPROC_SERVER, Iid::WbemLocator, locator.PutVoid()), S_OK);
  EXPECT_TRUE(locator);
  ComPtr<IWbemContext> context;
  EXPECT_EQ(CoCreateInstance(Clsid::WbemContext, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, Iid::WbemContext,
                             context.PutVoid()),
            S_OK);
  ComPtr<IUnknown> any;
  EXPECT_EQ(CoCreateInstance(Clsid::UnsecuredApartment, CLSCTX_INPROC_SERVER, Iid::UnsecuredApartment,
                             any.PutVoid()),
            REGDB_E_CLASSNOTREG);  // it lives in a local server only
  EXPECT_EQ(CoCreateInstance(Clsid::WbemLocator, CLSCTX_LOCAL_SERVER, Iid::WbemLocator, any.PutVoid()),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(CoCreateInstance(Clsid::WbemLocator, CLSCTX_INPROC_SERVER, Iid::WbemServices, any.PutVoid()),
            E_NOINTERFACE);
  EXPECT_FALSE(any);
  // A local object is no proxy.
  EXPECT_EQ(CoSetProxyBlanket(context.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, RPC_C_AUTHN_LEVEL_CALL,
                              RPC_C_IMP_LEVEL_IMPERSONATE, EOAC_NONE),
            E_NOINTERFACE);
  EXPECT_EQ(CoSetProxyBlanket(nullptr, RPC_C_AUTHN_WINNT, 0, 0, 0, 0), E_INVALIDARG);
  CoUninitialize();
}

TEST(Com, VariantChangeTypeRules) {
  Variant out;
  EXPECT_EQ(VariantChangeType(&out, &static_cast<const Variant&>(Variant::Int(VT_UI1, 139)), 0, VT_BSTR), S_OK);
  EXPECT_EQ(out.str, u"139");
  Variant big = Variant::Int(VT_UI8, -1);  // all 64 bits set
  EXPECT_EQ(VariantChangeType(&out, &big, 0, VT_BSTR), S_OK);
  EXPECT_EQ(out.str, u"18446744073709551615");
  Variant neg = Variant::Int(VT_I4, -5);
  EXPECT_EQ(VariantChangeType(&out, &neg, 0, VT_BSTR), S_OK);
  EXPECT_EQ(out.str, u"-5");
  Variant empty;
  EXPECT_EQ(VariantChangeType(&out, &empty, 0, VT_BSTR), S_OK);
  EXPECT_EQ(out.vt, VT_BSTR);
  EXPECT_EQ(out.str, u"");
  Variant null = Variant::Null();
  EXPECT_EQ(VariantChangeType(&out, &null, 0, VT_BSTR), DISP_E_TYPEMISMATCH);
  Variant text = Variant::Str(u"300");
  EXPECT_EQ(VariantChangeType(&out, &text, 0, VT_I4), S_OK);
  EXPECT_EQ(out.num, 300);
  EXPECT_EQ(VariantChangeType(&out, &text, 0, VT_UI1), DISP_E_OVERFLOW);
  Variant word = Variant::Str(u"abc");
  EXPECT_EQ(VariantChangeType(&out, &word, 0, VT_I4), DISP_E_TYPEMISMATCH);
  // In place, as callers often convert.
  Variant inPlace = Variant::Int(VT_I2, 42);
  EXPECT_EQ(VariantChangeType(&inPlace, &inPlace, 0, VT_BSTR), S_OK);
  EXPECT_EQ(inPlace.str, u"42");
  VariantClear(&inPlace);
  EXPECT_EQ(inPlace.vt, VT_EMPTY);
}

TEST_F(WmiTest, SecurityIsSetOnceAndProxiesTakeBlankets) {
  // The first connection of the process has settled security already.
  auto s = Connect();
  EXPECT_EQ(CoInitializeSecurity(RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE), RPC_E_TOO_LATE);
  EXPECT_EQ(CoSetProxyBlanket(s.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, RPC_C_AUTHN_LEVEL_PKT,
                              RPC_C_IMP_LEVEL_IMPERSONATE, EOAC_NONE),
            S_OK);
}

TEST_F(WmiTest, ProxiesRefuseThreadsWithoutCom) {
  auto s = Connect();
  ComPtr<IEnumWbemClassObject> e;
  ASSERT_EQ(s->ExecQuery(u"WQL", u"Select * from Orv_Device", 0, nullptr, e.Put()), S_OK);
  std::thread([&] {
    ComPtr<IEnumWbemClassObject> other;
    EXPECT_EQ(s->ExecQuery(u"WQL", u"Select * from Orv_Device", 0, nullptr, other.Put()), CO_E_NOTINITIALIZED);
    IWbemClassObject* o = nullptr;
    ULONG got = 0;
    EXPECT_EQ(e->Next(WBEM_INFINITE, 1, &o, &got), CO_E_NOTINITIALIZED);
    // The same thread once initialised works.
    ASSERT_EQ(CoInitializeEx(true), S_OK);
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
  ASSERT_EQ(watcher->ExecNotificationQueryAsync(u"WQL", u"Select * from Orv_Event", 0, nullptr, sink.Get()), S_OK);
  auto client = [this](int instance, int rounds) {
    ASSERT_EQ(CoInitializeEx(true), S_OK);
    {
      auto s = Connect();
      for (int i = 0; i < rounds; ++i) {
        auto system = Query(s.Get(), u"Orv_System");
        ASSERT_EQ(system.size(), 2u);
        Variant v = Variant::Int(VT_I4, i % 4);
        ASSERT_EQ(system[instance]->Put(u"System", 0, &v, CIM_EMPTY), S_OK);
        ASSERT_EQ(s->PutInstance(system[instance].Get(), WBEM_FLAG_UPDATE_ONLY, nullptr, nullptr), S_OK);
        EXPECT_EQ(Int(Query(s.Get(), u"Orv_System")[instance].Get(), u"System"), i % 4);
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
  EXPECT_EQ(watcher->CancelAsyncCall(sink.Get()), S_OK);
}

}  // namespace
}  // namespace orv::wmi::test
