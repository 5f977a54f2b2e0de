// Window classes: the modules' own, by name or atom, and the system's dialog and
// control classes, registered when first looked for.
#include <windows.h>

#include <cstring>
#include <mutex>

#include "platform/ui/sim/internal.h"

namespace orv::ui::detail {
namespace {

struct Classes {
  std::mutex mutex;
  ATOM nextAtom = 0xC000;
  std::vector<std::shared_ptr<WindowClass>> all;
};

Classes& TheClasses() {
  static Classes* classes = new Classes;  // never destroyed: windows may end during exit
  return *classes;
}

bool Matches(const WindowClass& c, LPCSTR name) {
  if (IS_INTRESOURCE(name)) return c.atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
  return FoldCase(c.name) == FoldCase(name);
}

// The class of the name registered by the module (or a system class); caller holds the lock.
std::shared_ptr<WindowClass> Lookup(Classes& classes, LPCSTR name, HINSTANCE instance, bool systemToo) {
  for (auto& c : classes.all)
    if (!c->system && c->info.hInstance == instance && Matches(*c, name)) return c;
  if (systemToo)
    for (auto& c : classes.all)
      if (c->system && Matches(*c, name)) return c;
  return nullptr;
}

void AddSystemClasses(Classes& classes) {
  struct System {
    const char* name;
    WNDPROC proc;
  };
  for (const System& s : {System{"#32770", DialogClassProc}, System{"BUTTON", ButtonProc},
                          System{"EDIT", EditProc}, System{"STATIC", StaticProc},
                          System{"LISTBOX", ListBoxProc}}) {
    auto c = std::make_shared<WindowClass>();
    c->name = s.name;
    c->atom = classes.nextAtom++;
    c->system = true;
    c->info.cbSize = sizeof c->info;
    c->info.lpfnWndProc = s.proc;
    c->info.lpszClassName = c->name.c_str();
    classes.all.push_back(c);
  }
}

Classes& Ready() {
  static std::once_flag once;
  Classes& classes = TheClasses();
  std::call_once(once, [&] {
    std::lock_guard<std::mutex> lock(classes.mutex);
    AddSystemClasses(classes);
  });
  return classes;
}

}  // namespace

std::shared_ptr<const WindowClass> FindClass(LPCSTR name, HINSTANCE instance) {
  if (!name) return nullptr;
  Classes& classes = Ready();
  std::lock_guard<std::mutex> lock(classes.mutex);
  return Lookup(classes, name, instance, true);
}

}  // namespace orv::ui::detail

using namespace orv::ui::detail;

extern "C" {

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* lpwcx) {
  if (!lpwcx || lpwcx->cbSize != sizeof(WNDCLASSEXA) || !lpwcx->lpfnWndProc || !lpwcx->lpszClassName ||
      IS_INTRESOURCE(lpwcx->lpszClassName) || !*lpwcx->lpszClassName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Classes& classes = Ready();
  std::lock_guard<std::mutex> lock(classes.mutex);
  if (Lookup(classes, lpwcx->lpszClassName, lpwcx->hInstance, false)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_shared<WindowClass>();
  c->name = lpwcx->lpszClassName;
  c->atom = classes.nextAtom++;
  c->info = *lpwcx;
  c->info.lpszClassName = c->name.c_str();
  c->info.lpszMenuName = nullptr;  // menus are not simulated
  classes.all.push_back(c);
  return c->atom;
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE hInstance) {
  if (!lpClassName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Classes& classes = Ready();
  std::shared_ptr<WindowClass> c;
  {
    std::lock_guard<std::mutex> lock(classes.mutex);
    c = Lookup(classes, lpClassName, hInstance, false);
  }
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  if (!SelectWindows([&](const Window& w) { return w.cls == c; }).empty()) {
    SetLastError(ERROR_CLASS_HAS_WINDOWS);
    return FALSE;
  }
  std::lock_guard<std::mutex> lock(classes.mutex);
  for (auto it = classes.all.begin(); it != classes.all.end(); ++it)
    if (*it == c) {
      classes.all.erase(it);
      break;
    }
  return TRUE;
}

BOOL WINAPI GetClassInfoExA(HINSTANCE hInstance, LPCSTR lpszClass, LPWNDCLASSEXA lpwcx) {
  auto c = FindClass(lpszClass, hInstance);
  if (!c || !lpwcx) {
    SetLastError(c ? ERROR_INVALID_PARAMETER : ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  const UINT size = lpwcx->cbSize;
  *lpwcx = c->info;
  lpwcx->cbSize = size;
  if (!IS_INTRESOURCE(lpszClass)) lpwcx->lpszClassName = lpszClass;
  return c->atom;
}

int WINAPI GetClassNameA(HWND hWnd, LPSTR lpClassName, int nMaxCount) {
  std::string name;
  if (!WithWindow(hWnd, [&](Window& w) { name = w.cls ? w.cls->name : std::string(); }) || !lpClassName ||
      nMaxCount <= 0)
    return 0;
  std::size_t n = std::min(name.size(), static_cast<std::size_t>(nMaxCount - 1));
  std::memcpy(lpClassName, name.data(), n);
  lpClassName[n] = '\0';
  return static_cast<int>(n);
}

}  // extern "C"
