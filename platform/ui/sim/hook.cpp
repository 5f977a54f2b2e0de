// Low-level keyboard hooks and SendInput: key events go through a queue to the
// input thread, which calls each installed hook on the thread that installed
// it, most recent first, until one answers other than 0.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <thread>

#include "platform/ui/sim/input.h"
#include "platform/ui/sim/internal.h"

namespace orv::ui::detail {
namespace {

struct Hook {
  HHOOK handle;
  HOOKPROC proc;
  std::shared_ptr<ThreadQueue> queue;
  std::atomic<bool> installed{true};
};

struct KeyEvent {
  WPARAM message;
  KBDLLHOOKSTRUCT key;
};

struct Hooks {
  std::mutex mutex;
  std::condition_variable pending;
  std::uintptr_t next = 0x50010;
  std::vector<std::shared_ptr<Hook>> chain;  // most recent first
  std::deque<KeyEvent> events;
  bool inputThread = false;
};

Hooks& TheHooks() {
  static Hooks* hooks = new Hooks;  // never destroyed: the input thread uses it until exit
  return *hooks;
}

void Deliver(const KeyEvent& event) {
  std::vector<std::shared_ptr<Hook>> chain;
  {
    Hooks& h = TheHooks();
    std::lock_guard<std::mutex> lock(h.mutex);
    chain = h.chain;
  }
  for (auto& hook : chain) {
    auto sent = std::make_shared<SentMessage>();
    sent->call = [hook, event]() -> LRESULT {
      // Unhooked while the event was on its way: the procedure may be gone.
      if (!hook->installed) return 0;
      KBDLLHOOKSTRUCT key = event.key;
      return hook->proc(HC_ACTION, event.message, reinterpret_cast<LPARAM>(&key));
    };
    if (RunOnThread(hook->queue, sent) != 0) return;
  }
}

void InputThread() {
  Hooks& h = TheHooks();
  std::unique_lock<std::mutex> lock(h.mutex);
  for (;;) {
    h.pending.wait(lock, [&] { return !h.events.empty(); });
    KeyEvent event = h.events.front();
    h.events.pop_front();
    lock.unlock();
    Deliver(event);
    lock.lock();
  }
}

}  // namespace

void QueueKeyEvent(WPARAM message, const KBDLLHOOKSTRUCT& key) {
  Hooks& h = TheHooks();
  std::lock_guard<std::mutex> lock(h.mutex);
  if (!h.inputThread) {
    std::thread(InputThread).detach();
    h.inputThread = true;
  }
  h.events.push_back(KeyEvent{message, key});
  h.pending.notify_all();
}

}  // namespace orv::ui::detail

using namespace orv::ui::detail;

extern "C" {

HHOOK WINAPI SetWindowsHookExA(int idHook, HOOKPROC lpfn, HINSTANCE /*hmod*/, DWORD dwThreadId) {
  if (idHook != WH_KEYBOARD_LL) {
    SetLastError(ERROR_INVALID_HOOK_FILTER);
    return nullptr;
  }
  if (!lpfn || dwThreadId != 0) {  // low-level hooks are global only
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto hook = std::make_shared<Hook>();
  hook->proc = lpfn;
  hook->queue = CurrentQueue();
  bool first;
  {
    Hooks& h = TheHooks();
    std::lock_guard<std::mutex> lock(h.mutex);
    hook->handle = reinterpret_cast<HHOOK>(h.next);
    h.next += 4;
    first = h.chain.empty();
    h.chain.insert(h.chain.begin(), hook);
  }
  if (first) StartNotebookKeyboard();
  return hook->handle;
}

BOOL WINAPI UnhookWindowsHookEx(HHOOK hhk) {
  bool last;
  {
    Hooks& h = TheHooks();
    std::lock_guard<std::mutex> lock(h.mutex);
    auto it = std::find_if(h.chain.begin(), h.chain.end(), [&](const auto& hook) { return hook->handle == hhk; });
    if (it == h.chain.end()) {
      SetLastError(ERROR_INVALID_HOOK_HANDLE);
      return FALSE;
    }
    (*it)->installed = false;
    h.chain.erase(it);
    last = h.chain.empty();
  }
  if (last) StopNotebookKeyboard();
  return TRUE;
}

LRESULT WINAPI CallNextHookEx(HHOOK, int, WPARAM, LPARAM) { return 0; }

UINT WINAPI SendInput(UINT cInputs, LPINPUT pInputs, int cbSize) {
  if (cbSize != static_cast<int>(sizeof(INPUT)) || (cInputs && !pInputs)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  UINT taken = 0;
  for (UINT i = 0; i < cInputs; ++i) {
    if (pInputs[i].type != INPUT_KEYBOARD) continue;  // the simulation has no pointer
    const KEYBDINPUT& ki = pInputs[i].ki;
    KBDLLHOOKSTRUCT key{};
    key.vkCode = (ki.dwFlags & KEYEVENTF_SCANCODE) ? 0 : ki.wVk;
    key.scanCode = ki.wScan;
    key.flags = LLKHF_INJECTED | ((ki.dwFlags & KEYEVENTF_EXTENDEDKEY) ? LLKHF_EXTENDED : 0) |
                ((ki.dwFlags & KEYEVENTF_KEYUP) ? LLKHF_UP : 0);
    key.time = ki.time ? ki.time : GetTickCount();
    key.dwExtraInfo = ki.dwExtraInfo;
    QueueKeyEvent((ki.dwFlags & KEYEVENTF_KEYUP) ? WM_KEYUP : WM_KEYDOWN, key);
    ++taken;
  }
  return taken;
}

}  // extern "C"
