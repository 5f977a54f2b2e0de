// The process's handle table. Handle values are multiples of 4 from 4 up, as Win32
// hands them out, and are not reused while the process runs, so a stale handle
// cannot reach a newer object.
#include "platform/base/sim/handle_table.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>


namespace orv::win {
namespace {

struct Table {
  std::mutex mutex;
  std::uintptr_t next = 4;
  std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
};

Table& TheTable() {
  static Table* table = new Table;  // never destroyed: handles may be closed during exit
  return *table;
}

}  // namespace

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object) {
  Table& t = TheTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  std::uintptr_t value = t.next;
  t.next += 4;
  t.objects.emplace(value, std::move(object));
  return reinterpret_cast<HANDLE>(value);
}

std::shared_ptr<KernelObject> LookupHandle(HANDLE handle) {
  Table& t = TheTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
  return it == t.objects.end() ? nullptr : it->second;
}

}  // namespace orv::win

extern "C" BOOL WINAPI CloseHandle(HANDLE handle) {
  using namespace orv::win;
  std::shared_ptr<KernelObject> doomed;  // destroyed outside the lock
  {
    Table& t = TheTable();
    std::lock_guard<std::mutex> lock(t.mutex);
    auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == t.objects.end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    doomed = std::move(it->second);
    t.objects.erase(it);
  }
  return TRUE;
}
