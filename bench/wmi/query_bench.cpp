// One full WMI query through the provider (locator, connect, query, next, get)
// against a bare connect plus one round trip on the same kind of socket; prints
// the ratio of the two, measured in the same run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/wmi/channel.h"
#include "platform/wmi/wbem.h"
#include "platform/wmi/wire.h"
#include "sim/provider.h"
#include "tests/support/process.h"

namespace {

using namespace orv::wmi;

bool FullQuery() {
  ComPtr<IWbemLocator> locator;
  ComPtr<IWbemServices> services;
  ComPtr<IEnumWbemClassObject> e;
  if (Failed(CoCreateInstance(Clsid::WbemLocator, CLSCTX_INPROC_SERVER, Iid::WbemLocator, locator.PutVoid())) ||
      Failed(locator->ConnectServer(u"root\\WMI", nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.Put())) ||
      Failed(services->ExecQuery(u"WQL", u"Select * from Orv_Device", WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, e.Put())))
    return false;
  IWbemClassObject* o = nullptr;
  ULONG got = 0;
  if (e->Next(WBEM_INFINITE, 1, &o, &got) != S_OK) return false;
  Variant v;
  HRESULT hr = o->Get(u"Device", 0, &v, nullptr, nullptr);
  o->Release();
  return Succeeded(hr);
}

bool BareRoundTrip() {
  Channel ch;
  if (!ch.Connect(ProviderSocketPath())) return false;
  wire::Writer w;
  w.U8(static_cast<std::uint8_t>(wire::Op::Hello));
  w.Str("root\\WMI");
  std::string reply;
  return ch.Call(w.Body(), &reply, 5000);
}

void BM_FullQuery(benchmark::State& state) {
  for (auto _ : state)
    if (!FullQuery()) state.SkipWithError("query failed");
}

void BM_BareRoundTrip(benchmark::State& state) {
  for (auto _ : state)
    if (!BareRoundTrip()) state.SkipWithError("round trip failed");
}

}  // namespace

BENCHMARK(BM_BareRoundTrip)->MinTime(0.5)->UseRealTime();
BENCHMARK(BM_FullQuery)->MinTime(0.5)->UseRealTime();

int main(int argc, char** argv) {
  orv::test::TempHome home;
  orv::sim::ProviderThread provider;
  std::string error;
  if (!provider.Start(&error)) {
    std::fprintf(stderr, "cannot start the provider: %s\n", error.c_str());
    return 1;
  }
  CoInitialize();
  benchmark::Initialize(&argc, argv);
  // The ratio is what matters on a shared, noisy machine.
  class Ratio : public benchmark::ConsoleReporter {
   public:
    void ReportRuns(const std::vector<Run>& runs) override {
      for (auto& r : runs) {
        double ns = r.GetAdjustedRealTime();
        if (r.benchmark_name().find("Full") != std::string::npos) full = ns;
        else bare = ns;
      }
      ConsoleReporter::ReportRuns(runs);
    }
    double full = 0, bare = 0;
  } reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (reporter.bare > 0)
    std::printf("full query / bare round trip: %.2f (target: at most 3)\n", reporter.full / reporter.bare);
  CoUninitialize();
  benchmark::Shutdown();
  return 0;
}
