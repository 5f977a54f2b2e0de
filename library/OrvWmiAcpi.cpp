// COrvWmiAcpi: construction with its COM set-up, and the slot-array property
// operations and instance count.
#include "library/OrvWmiAcpi.h"

#include <objbase.h>
#include <wbemidl.h>

#include "library/wbem_status_names.h"
#include "library/wmi_connection.h"
#include "library/wmi_property.h"

COrvWmiAcpi::COrvWmiAcpi() {
  m_nOSVer = 0;
  GetOSVer();
  InitialCOM();
  m_hWnd = nullptr;
}

COrvWmiAcpi::~COrvWmiAcpi() { UnInitialCOM(); }

COrvWmiAcpi& COrvWmiAcpi::operator=(const COrvWmiAcpi& other) {
  m_hWnd = other.m_hWnd;
  m_nOSVer = other.m_nOSVer;
  return *this;
}

void COrvWmiAcpi::InitialCOM() {
  // Both results are ignored: process-wide security can be set only once, and a
  // thread already in an apartment stays in it.
  CoInitialize(nullptr);
  CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr,
                       EOAC_NONE, nullptr);
}

void COrvWmiAcpi::UnInitialCOM() { CoUninitialize(); }

void COrvWmiAcpi::GetOSVer() {
  OSVERSIONINFOEXA v{};
  v.dwOSVersionInfoSize = sizeof v;
  if (!GetVersionExA(reinterpret_cast<LPOSVERSIONINFOA>(&v))) return;
  if (v.dwMajorVersion == 5 && v.dwMinorVersion == 1) m_nOSVer = 1;
  else if (v.dwMajorVersion == 6 && v.dwMinorVersion == 0) m_nOSVer = 2;
  else m_nOSVer = 0;
}

void COrvWmiAcpi::GetWMIErrMsg(std::int32_t status, char* text) {
  orv::lib::FormatWbemStatus(status, text, ORV_ERROR_BUFFER);
}

void COrvWmiAcpi::AddHWND(HWND window) { m_hWnd = window; }

bool COrvWmiAcpi::QueryWMIProperty(const WCHAR* query, const WCHAR* const* property, CPtrArray& values, char* error,
                                   const WCHAR* nameSpace, const WCHAR* language) {
  // The element count picks the instance; only the last element receives the text.
  auto index = static_cast<std::int64_t>(values.size()) - 1;
  char* slot = values.empty() ? nullptr : static_cast<char*>(values.back());
  char scratch[ORV_VALUE_SLOT];
  HRESULT status = S_OK;
  auto outcome = orv::lib::QueryInstanceProperty({nameSpace, language, query, property ? *property : nullptr},
                                                 index, slot ? slot : scratch, ORV_VALUE_SLOT, &status);
  if (outcome == orv::lib::Outcome::Failed) {
    GetWMIErrMsg(status, error);
    return false;
  }
  return true;
}

bool COrvWmiAcpi::SetWMIProperty(const WCHAR* query, const WCHAR* const* property, CPtrArray& values, char* error,
                                 const WCHAR* nameSpace, const WCHAR* language) {
  auto index = static_cast<std::int64_t>(values.size()) - 1;
  auto value = values.empty() ? nullptr : static_cast<BSTR>(values.back());
  HRESULT status = S_OK;
  auto outcome = orv::lib::SetInstanceProperty({nameSpace, language, query, property ? *property : nullptr},
                                               index, value, &status);
  if (outcome == orv::lib::Outcome::Failed) {
    GetWMIErrMsg(status, error);
    return false;
  }
  return true;
}

std::int32_t COrvWmiAcpi::GetPropertyInstanceNumber(const WCHAR* query, char* error, const WCHAR* nameSpace,
                                                    const WCHAR* language) {
  orv::lib::WmiConnection conn;
  HRESULT hr = conn.Open(nameSpace, language, query, false,
                         WBEM_FLAG_RETURN_IMMEDIATELY | WBEM_FLAG_FORWARD_ONLY);
  if (FAILED(hr)) {
    GetWMIErrMsg(hr, error);
    return conn.failedStep() == orv::lib::WmiConnection::Step::Security ? 0 : -1;
  }
  std::int32_t count = 0;
  hr = conn.Count(&count);
  if (FAILED(hr)) {
    GetWMIErrMsg(hr, error);
    return -1;
  }
  return count;
}
