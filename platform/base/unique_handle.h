// Owning handles: one template that closes a Win32 handle when its owner goes, so
// no path can leak or double-close one. Written on the real Win32 calls only, so
// the same text serves the Windows build and the simulated one. Each kind of
// handle is a traits type (its invalid value and the call that closes it).
#pragma once
#include <windows.h>

#include <utility>

namespace orv {

template <class Traits>
class unique_any {
 public:
  using pointer = typename Traits::type;

  unique_any() = default;
  explicit unique_any(pointer value) : value_(value) {}
  ~unique_any() { reset(); }
  unique_any(const unique_any&) = delete;
  unique_any& operator=(const unique_any&) = delete;
  unique_any(unique_any&& other) noexcept : value_(other.release()) {}
  unique_any& operator=(unique_any&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }

  pointer get() const { return value_; }
  explicit operator bool() const { return value_ != Traits::invalid(); }
  // Gives up ownership without closing.
  pointer release() { return std::exchange(value_, Traits::invalid()); }
  // Closes what is held (if anything) and takes value.
  void reset(pointer value = Traits::invalid()) {
    pointer old = std::exchange(value_, value);
    if (old != Traits::invalid()) Traits::close(old);
  }
  // For out-parameters: closes what is held and hands out the slot.
  pointer* put() {
    reset();
    return &value_;
  }

 private:
  pointer value_ = Traits::invalid();
};

// Traits of a handle whose invalid value is NULL, closed by Close.
template <class T, auto Close>
struct null_handle_traits {
  using type = T;
  static T invalid() { return T{}; }
  static void close(T value) { Close(value); }
};

struct file_handle_traits {
  using type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE value) { CloseHandle(value); }
};

// Kernel objects that give NULL on failure (events, mutexes, processes, threads).
using unique_handle = unique_any<null_handle_traits<HANDLE, &CloseHandle>>;
// Files and pipes, which give INVALID_HANDLE_VALUE on failure.
using unique_file = unique_any<file_handle_traits>;

// ---- The system-service areas' handles.
// Registry keys (RegOpenKeyExA, RegCreateKeyExA).
using unique_hkey = unique_any<null_handle_traits<HKEY, &RegCloseKey>>;
// Service manager and service handles (OpenSCManagerA, OpenServiceA, CreateServiceA).
using unique_schandle = unique_any<null_handle_traits<SC_HANDLE, &CloseServiceHandle>>;
// Memory the system hands out (FormatMessageA, security descriptors from SDDL).
using unique_hlocal = unique_any<null_handle_traits<HLOCAL, &LocalFree>>;
// Blocks of GlobalAlloc.
using unique_hglobal = unique_any<null_handle_traits<HGLOBAL, &GlobalFree>>;
// Event sources (RegisterEventSourceA).
using unique_event_source = unique_any<null_handle_traits<HANDLE, &DeregisterEventSource>>;
// Find searches (FindFirstFileA), which give INVALID_HANDLE_VALUE on failure and end with FindClose.
struct find_handle_traits {
  using type = HANDLE;
  static HANDLE invalid() { return INVALID_HANDLE_VALUE; }
  static void close(HANDLE value) { FindClose(value); }
};
using unique_hfind = unique_any<find_handle_traits>;

// --- Drawing and the desktop: GDI objects and window DCs ---------------------

// Memory DCs (CreateCompatibleDC), and bitmaps and regions (DeleteObject).
using unique_hdc = unique_any<null_handle_traits<HDC, &DeleteDC>>;
using unique_hbitmap = unique_any<null_handle_traits<HBITMAP, &DeleteObject>>;
using unique_hrgn = unique_any<null_handle_traits<HRGN, &DeleteObject>>;

// A window's DC from GetDC (the screen's for NULL), given back with ReleaseDC.
class unique_window_dc {
 public:
  explicit unique_window_dc(HWND hwnd) : hwnd_(hwnd), hdc_(GetDC(hwnd)) {}
  ~unique_window_dc() {
    if (hdc_) ReleaseDC(hwnd_, hdc_);
  }
  unique_window_dc(const unique_window_dc&) = delete;
  unique_window_dc& operator=(const unique_window_dc&) = delete;
  HDC get() const { return hdc_; }
  explicit operator bool() const { return hdc_ != nullptr; }

 private:
  HWND hwnd_;
  HDC hdc_;
};

// --- Windows, modules and icons (ui area) ---
// Libraries loaded with LoadLibrary.
using unique_hmodule = unique_any<null_handle_traits<HMODULE, &FreeLibrary>>;
// Icons of LoadImage (without LR_SHARED) and CreateIconIndirect.
using unique_hicon = unique_any<null_handle_traits<HICON, &DestroyIcon>>;
// Hooks of SetWindowsHookEx.
using unique_hhook = unique_any<null_handle_traits<HHOOK, &UnhookWindowsHookEx>>;
// Power-setting registrations (RegisterPowerSettingNotification).
using unique_hpowernotify = unique_any<null_handle_traits<HPOWERNOTIFY, &UnregisterPowerSettingNotification>>;

}  // namespace orv
