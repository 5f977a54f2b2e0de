// GlobalAlloc and its family on the C heap. A movable block's handle names a
// record in a table, so a freed or foreign handle fails the call instead of
// reaching freed memory; a fixed block's handle is its address, as on Windows.
#include <windows.h>

#include <mutex>
#include <unordered_map>
#include <vector>

namespace {

struct Block {
  std::vector<unsigned char> bytes;
  unsigned locks = 0;
  bool moveable = false;
};

struct Table {
  std::mutex mutex;
  std::unordered_map<const void*, Block*> byHandle;  // movable: the record; fixed: the address
};

Table& TheTable() {
  static Table* table = new Table;  // blocks may be freed during exit
  return *table;
}

Block* Find(Table& t, HGLOBAL h) {
  auto it = t.byHandle.find(h);
  return it == t.byHandle.end() ? nullptr : it->second;
}

// Runs f on the live block under the table's lock; false, with
// ERROR_INVALID_HANDLE, for a handle that is not one.
template <class F>
bool WithBlock(HGLOBAL h, F&& f) {
  Table& t = TheTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  Block* block = Find(t, h);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  f(*block);
  return true;
}

}  // namespace

extern "C" {

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes) {
  auto* block = new Block;
  block->moveable = (uFlags & GMEM_MOVEABLE) != 0;
  block->bytes.assign(dwBytes ? dwBytes : 1, 0);  // zero-filled whether asked or not
  const void* handle = block->moveable ? static_cast<const void*>(block) : block->bytes.data();
  Table& t = TheTable();
  std::lock_guard<std::mutex> lock(t.mutex);
  t.byHandle[handle] = block;
  return const_cast<void*>(handle);
}

HGLOBAL WINAPI GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT) {
  bool moved = false;
  if (!WithBlock(hMem, [&](Block& block) {
        // A fixed or locked block would move: refused, as Windows does without GMEM_MOVEABLE.
        if (!block.moveable || block.locks) return;
        block.bytes.resize(dwBytes ? dwBytes : 1, 0);
        moved = true;
      }))
    return nullptr;
  if (moved) return hMem;
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

LPVOID WINAPI GlobalLock(HGLOBAL hMem) {
  LPVOID at = nullptr;
  WithBlock(hMem, [&](Block& block) {
    if (block.moveable) ++block.locks;
    at = block.bytes.data();
  });
  return at;
}

BOOL WINAPI GlobalUnlock(HGLOBAL hMem) {
  unsigned left = 0;
  if (!WithBlock(hMem, [&](Block& block) {
        if (block.locks) --block.locks;
        left = block.locks;
      }))
    return FALSE;
  if (left) return TRUE;
  SetLastError(NO_ERROR);
  return FALSE;
}

SIZE_T WINAPI GlobalSize(HGLOBAL hMem) {
  SIZE_T size = 0;
  WithBlock(hMem, [&](Block& block) { size = block.bytes.size(); });
  return size;
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) {
  if (!hMem) return nullptr;
  Table& t = TheTable();
  Block* block;
  {
    std::lock_guard<std::mutex> lock(t.mutex);
    block = Find(t, hMem);
    if (!block) {
      SetLastError(ERROR_INVALID_HANDLE);
      return hMem;
    }
    t.byHandle.erase(hMem);
  }
  delete block;
  return nullptr;
}

}  // extern "C"
