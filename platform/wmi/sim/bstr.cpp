// BSTRs: the byte length in front of the characters and a terminator behind them,
// as on Windows, and a record of the strings handed out, so that a plain string
// used as a BSTR is caught where Windows would read a length that is not there.
#include "platform/wmi/sim/bstr.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <unordered_set>

namespace orv::com {
namespace {

struct LiveStrings {
  std::mutex lock;
  std::unordered_set<const OLECHAR*> strings;
};

// Never destroyed: strings may be freed while the process exits.
LiveStrings& Live() {
  static auto* live = new LiveStrings();
  return *live;
}

unsigned char* Block(BSTR s) { return reinterpret_cast<unsigned char*>(s) - sizeof(UINT); }

// A BSTR the caller hands back must be one of ours.
void CheckOurs(const char* call, BSTR s) {
  if (IsBstr(s)) return;
  std::fprintf(stderr, "%s: %p is no BSTR from SysAllocString\n", call, static_cast<void*>(s));
  std::abort();
}

}  // namespace

bool IsBstr(const OLECHAR* s) {
  LiveStrings& live = Live();
  std::lock_guard<std::mutex> lock(live.lock);
  return live.strings.count(s) != 0;
}

}  // namespace orv::com

extern "C" BSTR WINAPI SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
  if (ui > (UINT_MAX - sizeof(UINT)) / sizeof(OLECHAR) - 1) return nullptr;
  auto* block = static_cast<unsigned char*>(std::malloc(sizeof(UINT) + (ui + 1) * sizeof(OLECHAR)));
  if (!block) return nullptr;
  const UINT bytes = ui * static_cast<UINT>(sizeof(OLECHAR));
  std::memcpy(block, &bytes, sizeof bytes);
  auto* chars = reinterpret_cast<OLECHAR*>(block + sizeof(UINT));
  if (strIn)
    std::memcpy(chars, strIn, bytes);
  else
    std::memset(chars, 0, bytes);
  chars[ui] = 0;
  auto& live = orv::com::Live();
  std::lock_guard<std::mutex> lock(live.lock);
  live.strings.insert(chars);
  return chars;
}

extern "C" BSTR WINAPI SysAllocString(const OLECHAR* psz) {
  if (!psz) return nullptr;
  return SysAllocStringLen(psz, static_cast<UINT>(std::char_traits<OLECHAR>::length(psz)));
}

extern "C" void WINAPI SysFreeString(BSTR bstrString) {
  if (!bstrString) return;
  {
    auto& live = orv::com::Live();
    std::lock_guard<std::mutex> lock(live.lock);
    if (live.strings.erase(bstrString) == 0) {
      std::fprintf(stderr, "SysFreeString: %p is no BSTR from SysAllocString\n", static_cast<void*>(bstrString));
      std::abort();
    }
  }
  std::free(orv::com::Block(bstrString));
}

extern "C" UINT WINAPI SysStringByteLen(BSTR bstr) {
  if (!bstr) return 0;
  orv::com::CheckOurs("SysStringByteLen", bstr);
  UINT bytes;
  std::memcpy(&bytes, orv::com::Block(bstr), sizeof bytes);
  return bytes;
}

extern "C" UINT WINAPI SysStringLen(BSTR pbstr) {
  return SysStringByteLen(pbstr) / static_cast<UINT>(sizeof(OLECHAR));
}
