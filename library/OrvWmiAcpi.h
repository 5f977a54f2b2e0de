// Public interface of the WMI access library: the firmware access object
// COrvWmiAcpi (command strings, property query, set and count, event subscription)
// and the pipe client Orv_CallNamePipe. Every buffer passed in belongs to the caller.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#define ORVWMIACPI_API __declspec(dllexport)

// The framework's array of untyped pointers, used for the value slots.
using CPtrArray = std::vector<void*>;

// Size of one query value slot, of an error buffer and of a set's rendered value.
constexpr std::size_t ORV_VALUE_SLOT = 260;
constexpr std::size_t ORV_ERROR_BUFFER = 260;

class ORVWMIACPI_API COrvWmiAcpi {
 public:
  COrvWmiAcpi();
  ~COrvWmiAcpi();
  COrvWmiAcpi(const COrvWmiAcpi&) = delete;
  COrvWmiAcpi& operator=(const COrvWmiAcpi& other);

  // Runs one command string and writes its result text. The unbounded form trusts
  // the caller's buffer to hold 260 bytes; the bounded form never writes more
  // than resultSize bytes (the service passes its 180-byte reply).
  void CallOrvWmiAcpiParser(const char* command, char* result);
  void CallOrvWmiAcpiParser(const char* command, char* result, std::size_t resultSize);

  // Reads property *property of the values.size()-th object the query returns into
  // that element (a 260-byte narrow buffer). False with the status text in error.
  bool QueryWMIProperty(const WCHAR* query, const WCHAR* const* property, CPtrArray& values, char* error,
                        const WCHAR* nameSpace, const WCHAR* language);
  // Writes the last element, a BSTR, into that object's property (nothing when empty).
  bool SetWMIProperty(const WCHAR* query, const WCHAR* const* property, CPtrArray& values, char* error,
                      const WCHAR* nameSpace, const WCHAR* language);
  // Number of objects the query returns; -1 (or 0 when the proxy security fails) with the status text.
  std::int32_t GetPropertyInstanceNumber(const WCHAR* query, char* error, const WCHAR* nameSpace,
                                         const WCHAR* language);

  // Firmware events: AddHWND names the window that every event is posted to, and
  // OrvWMIEvent subscribes (true when the subscription is in place).
  void AddHWND(HWND window);
  bool OrvWMIEvent(const WCHAR* query, char* error, const WCHAR* nameSpace, const WCHAR* language);

 protected:
  void InitialCOM();
  void UnInitialCOM();
  void GetOSVer();
  void GetWMIErrMsg(std::int32_t status, char* text);

 private:
  HWND m_hWnd = nullptr;
  std::int32_t m_nOSVer = 0;
};

// One whole exchange with the service's pipe "\\.\pipe\simple": connect (waiting up
// to 1000 ms for a busy pipe), write the request, read one reply. Nonzero on success.
extern "C" ORVWMIACPI_API std::int32_t Orv_CallNamePipe(const void* request, std::uint32_t requestSize,
                                                        void* reply, std::uint32_t replySize);
