// Shared pieces of the WMI layer tests: a provider of their own in a private state
// folder, COM set up on the test thread, and a sink that records what it gets.
#pragma once
#include <gtest/gtest.h>
#include <objbase.h>
#include <wbemidl.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "platform/base/unique_com.h"
#include "platform/wmi/sim/com_object.h"
#include "sim/provider.h"
#include "tests/support/com.h"
#include "tests/support/process.h"

namespace orv::wmi::test {

using orv::test::Bstr;
using orv::test::Var;
using Objects = std::vector<com_ptr<IWbemClassObject>>;

class WmiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  void StartProvider();
  void StopProvider() { provider_.Stop(); }

  // Connects with the same steps the library takes; fails the test on error.
  com_ptr<IWbemServices> Connect(const OLECHAR* ns = u"root\\WMI");
  HRESULT TryConnect(const OLECHAR* ns, com_ptr<IWbemServices>* out);
  Objects Query(IWbemServices* s, const std::u16string& cls);
  // Runs a simulator command in the provider; the test fails if it is refused.
  std::string Control(const std::vector<std::string>& words);

  orv::test::TempHome home_;
  sim::ProviderThread provider_;
};

// Reads an integer property; the test fails if it cannot.
std::int64_t Int(IWbemClassObject* o, const OLECHAR* name);
std::u16string Str(IWbemClassObject* o, const OLECHAR* name);

class RecordingSink : public com::ComObject<IWbemObjectSink, IID_IWbemObjectSink> {
 public:
  static com_ptr<RecordingSink> Make() { return com_ptr<RecordingSink>::attach(new RecordingSink()); }
  HRESULT STDMETHODCALLTYPE Indicate(LONG count, IWbemClassObject** objects) override;
  HRESULT STDMETHODCALLTYPE SetStatus(LONG flags, HRESULT result, BSTR param, IWbemClassObject* object) override;
  // Waits until n values (or a final status) arrived.
  bool WaitValues(std::size_t n, int ms = 5000);
  bool WaitStatus(int ms = 5000);
  std::vector<std::int64_t> Values();
  std::vector<HRESULT> Statuses();
  // The property read from each event object.
  const OLECHAR* property = u"OrvEvt";

 private:
  RecordingSink() = default;
  std::mutex lock_;
  std::condition_variable changed_;
  std::vector<std::int64_t> values_;
  std::vector<HRESULT> statuses_;
};

}  // namespace orv::wmi::test
