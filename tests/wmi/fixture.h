// Shared pieces of the WMI layer tests: a provider of their own in a private state
// folder, COM set up on the test thread, and a sink that records what it gets.
#pragma once
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "platform/wmi/wbem.h"
#include "sim/provider.h"
#include "tests/support/process.h"

namespace orv::wmi::test {

using Objects = std::vector<ComPtr<IWbemClassObject>>;

class WmiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void StartProvider();
  void StopProvider() { provider_.Stop(); }

  // Connects with the same steps the library takes; fails the test on error.
  ComPtr<IWbemServices> Connect(const char16_t* ns = u"root\\WMI");
  HRESULT TryConnect(const char16_t* ns, ComPtr<IWbemServices>* out);
  Objects Query(IWbemServices* s, const std::u16string& cls);
  // Runs a simulator command in the provider; the test fails if it is refused.
  std::string Control(const std::vector<std::string>& words);

  orv::test::TempHome home_;
  sim::ProviderThread provider_;
};

// Reads an integer property; the test fails if it cannot.
std::int64_t Int(IWbemClassObject* o, const char16_t* name);
std::u16string Str(IWbemClassObject* o, const char16_t* name);

class RecordingSink : public RefCounted<IWbemObjectSink, Iid::WbemObjectSink> {
 public:
  static ComPtr<RecordingSink> Make() { return ComPtr<RecordingSink>::Attach(new RecordingSink()); }
  HRESULT Indicate(long count, IWbemClassObject** objects) override;
  HRESULT SetStatus(long flags, HRESULT result, const char16_t* param, IWbemClassObject* object) override;
  // Waits until n values (or a final status) arrived.
  bool WaitValues(std::size_t n, int ms = 5000);
  bool WaitStatus(int ms = 5000);
  std::vector<std::int64_t> Values();
  std::vector<HRESULT> Statuses();
  // The property read from each event object.
  const char16_t* property = u"OrvEvt";

 private:
  RecordingSink() = default;
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::int64_t> values_;
  std::vector<HRESULT> statuses_;
};

}  // namespace orv::wmi::test
