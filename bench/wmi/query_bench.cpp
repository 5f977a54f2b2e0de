// The command-string parser alone (a good and a malformed line), one full WMI
// query through the provider (locator, connect, query, next, get), the same query
// as a command string, and a bare connect plus one round trip on the same kind of
// socket; prints the queries' ratios to the bare round trip, measured in one run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "library/OrvWmiAcpi.h"
#include "library/command_string.h"
#include "platform/base/unique_com.h"
#include "platform/wmi/sim/channel.h"
#include "platform/wmi/sim/wire.h"
#include "sim/provider.h"
#include "tests/support/process.h"

namespace {

using namespace orv::wmi;

// The whole of one query as a program makes it, its strings allocated as BSTRs.
bool FullQuery() {
  orv::com_ptr<IWbemLocator> locator;
  orv::com_ptr<IWbemServices> services;
  orv::com_ptr<IEnumWbemClassObject> e;
  orv::unique_bstr ns = orv::make_bstr(OLESTR("root\\WMI")), wql = orv::make_bstr(OLESTR("WQL")),
                   query = orv::make_bstr(OLESTR("Select * from Orv_Device"));
  if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                              locator.put_void())) ||
      FAILED(locator->ConnectServer(ns.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr, services.put())) ||
      FAILED(services->ExecQuery(wql.get(), query.get(), WBEM_FLAG_RETURN_IMMEDIATELY, nullptr, e.put())))
    return false;
  orv::com_ptr<IWbemClassObject> o;
  ULONG got = 0;
  if (e->Next(WBEM_INFINITE, 1, o.put(), &got) != S_OK) return false;
  orv::unique_variant v;
  return SUCCEEDED(o->Get(OLESTR("Device"), 0, v.put(), nullptr, nullptr));
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

void BM_ParseGoodLine(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(orv::lib::ParseCommand("root\\WMI:Q:Orv_Device:Device:0"));
}

void BM_ParserMalformedLine(benchmark::State& state) {
  COrvWmiAcpi wmi;
  char result[180];
  for (auto _ : state) {
    wmi.CallOrvWmiAcpiParser("root\\WMI:q:Orv_Device:Device:0", result, sizeof result);
    benchmark::DoNotOptimize(result);
  }
}

void BM_CommandStringQuery(benchmark::State& state) {
  COrvWmiAcpi wmi;
  char result[180];
  for (auto _ : state) {
    wmi.CallOrvWmiAcpiParser("root\\WMI:Q:Orv_Device:Device:0", result, sizeof result);
    if (result[0] < '0' || result[0] > '9') state.SkipWithError(result);
  }
}

}  // namespace

BENCHMARK(BM_ParseGoodLine);
BENCHMARK(BM_ParserMalformedLine);
BENCHMARK(BM_CommandStringQuery)->MinTime(0.5)->UseRealTime();
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
  CoInitialize(nullptr);
  benchmark::Initialize(&argc, argv);
  // The ratio is what matters on a shared, noisy machine.
  class Ratio : public benchmark::ConsoleReporter {
   public:
    void ReportRuns(const std::vector<Run>& runs) override {
      for (auto& r : runs) {
        double ns = r.GetAdjustedRealTime();
        const std::string& name = r.benchmark_name();
        if (name.find("Full") != std::string::npos) full = ns;
        else if (name.find("CommandString") != std::string::npos) command = ns;
        else if (name.find("Bare") != std::string::npos) bare = ns;
      }
      ConsoleReporter::ReportRuns(runs);
    }
    double full = 0, command = 0, bare = 0;
  } reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  if (reporter.bare > 0) {
    std::printf("full query / bare round trip: %.2f (target: at most 3)\n", reporter.full / reporter.bare);
    std::printf("command-string query / bare round trip: %.2f\n", reporter.command / reporter.bare);
  }
  CoUninitialize();
  benchmark::Shutdown();
  return 0;
}
