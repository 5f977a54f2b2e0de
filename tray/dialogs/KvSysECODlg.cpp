// The ECO cycle: each step imports the next profile's scheme file, makes it the
// active scheme and deletes the previous profile's scheme, so that at most one
// profile is installed; the sixth step restores the scheme saved at the first.
#include "tray/dialogs/KvSysECODlg.h"

#include <cstdio>
#include <cstring>

#include "tray/dialogs/PowerSchemeCalls.h"
#include "tray/firmware/EcCommands.h"
#include "tray/ui/LanguageTable.h"

namespace {

struct EcoProfile {
  GUID scheme;
  const char* file;  // formatted with the program folder
};

const EcoProfile kProfiles[5] = {
    {{0x98B32AC9, 0x6345, 0x4AB9, {0xA9, 0x81, 0x0F, 0x0E, 0x39, 0xC0, 0x85, 0x78}}, "%sOrvECO\\Gaming.eps"},
    {{0x0BC57CB5, 0x5E55, 0x4DF1, {0xBA, 0x8D, 0x20, 0xF9, 0x0B, 0x9F, 0x21, 0x3B}}, "%sOrvECO\\Movie.eps"},
    {{0xC3407F92, 0xA518, 0x430B, {0x94, 0xBF, 0x98, 0x74, 0x57, 0x5E, 0x93, 0x1E}}, "%sOrvECO\\Presentation.eps"},
    {{0xDF8734A4, 0xF9A5, 0x49CF, {0xA3, 0x36, 0xB8, 0xF6, 0xE6, 0x20, 0x78, 0x07}}, "%sOrvECO\\Office.eps"},
    {{0xDB5648DC, 0xC820, 0x4FD8, {0xB4, 0x13, 0x2C, 0xCC, 0xD4, 0x8C, 0x27, 0x3F}}, "%sOrvECO\\TurboBattery.eps"},
};
constexpr int kEcoOff = 5;

// A power call that reports failure is made again at once, but at most this
// many times in all: a missing or damaged scheme file, or a scheme that cannot
// be deleted, costs the UI thread only these few calls.
constexpr int kPowerAttempts = 3;

template <class Call>
DWORD Retried(Call call) {
  DWORD result = ERROR_SUCCESS;
  for (int attempt = 0; attempt < kPowerAttempts; ++attempt)
    if ((result = call()) == ERROR_SUCCESS) break;
  return result;
}

DWORD DeleteScheme(const GUID& scheme) {
  return Retried([&] { return PowerSchemes().DeleteScheme(nullptr, &scheme); });
}

bool IsProfile(const GUID& scheme) {
  for (const EcoProfile& p : kProfiles)
    if (p.scheme == scheme) return true;
  return false;
}

}  // namespace

CKvSysECODlg::CKvSysECODlg(HWND parent) : CDialog(IDD, parent), m_startScheme(GUID_TYPICAL_POWER_SAVINGS) {
  const int left = FindInstalledProfile();
  if (left >= 0) {
    PowerSchemes().SetActiveScheme(nullptr, &GUID_MAX_POWER_SAVINGS);
    DeleteScheme(kProfiles[left].scheme);
    SetEcoFlag(0);
  }
  GUID* active = nullptr;
  if (PowerSchemes().GetActiveScheme(nullptr, &active) == ERROR_SUCCESS) {
    orv::unique_hlocal owned(active);
    if (!IsProfile(*active)) m_startScheme = *active;
  }
  std::snprintf(m_folder, sizeof m_folder, "%s", GetShortProgramFolder().c_str());
}

CKvSysECODlg::~CKvSysECODlg() {
  const int installed = FindInstalledProfile();
  if (installed < 0) return;
  PowerSchemes().SetActiveScheme(nullptr, &SchemeToRestore());
  DeleteScheme(kProfiles[installed].scheme);
  SetEcoFlag(0);
}

int CKvSysECODlg::FindInstalledProfile() const {
  for (ULONG index = 0;; ++index) {
    GUID scheme{};
    DWORD size = sizeof scheme;
    if (PowerSchemes().Enumerate(nullptr, nullptr, nullptr, ACCESS_SCHEME, index, reinterpret_cast<UCHAR*>(&scheme), &size) !=
        ERROR_SUCCESS)
      return -1;
    for (int i = 0; i < 5; ++i)
      if (kProfiles[i].scheme == scheme) return i;
  }
}

const GUID& CKvSysECODlg::SchemeToRestore() const {
  return m_savedScheme ? *static_cast<const GUID*>(m_savedScheme.get()) : m_startScheme;
}

void CKvSysECODlg::ActivateProfile(int index) {
  char path[sizeof m_folder + 32];
  std::snprintf(path, sizeof path, kProfiles[index].file, m_folder);
  WCHAR widePath[sizeof path];
  if (!MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, static_cast<int>(sizeof path))) widePath[0] = 0;

  orv::unique_hlocal scheme(LocalAlloc(LMEM_FIXED, sizeof(GUID)));
  if (!scheme) return;
  GUID* target = static_cast<GUID*>(scheme.get());
  *target = kProfiles[index].scheme;
  if (index == 0) {
    GUID* active = nullptr;
    if (Retried([&] { return PowerSchemes().GetActiveScheme(nullptr, &active); }) == ERROR_SUCCESS) m_savedScheme.reset(active);
  }
  Retried([&] { return PowerSchemes().ImportPowerScheme(nullptr, widePath, &target); });
  const DWORD activated = Retried([&] { return PowerSchemes().SetActiveScheme(nullptr, &kProfiles[index].scheme); });
  // A profile that could not be made active leaves the previous one active,
  // which could then never be deleted: the user's scheme takes its place, so
  // that no profile is left behind.
  if (activated != ERROR_SUCCESS && index >= 1) PowerSchemes().SetActiveScheme(nullptr, &SchemeToRestore());
  if (index >= 1) DeleteScheme(kProfiles[index - 1].scheme);
}

int CKvSysECODlg::NextEcoMode() {
  if (m_ecoStep == kEcoOff) {
    Retried([&] { return PowerSchemes().SetActiveScheme(nullptr, &SchemeToRestore()); });
    DeleteScheme(kProfiles[4].scheme);
    m_ecoStep = 0;
    return kEcoOff;
  }
  const int step = m_ecoStep;
  ActivateProfile(step);
  m_ecoStep = step + 1;
  return step;
}

void CKvSysECODlg::RestoreScheme() {
  const int installed = FindInstalledProfile();
  if (installed >= 0) {
    PowerSchemes().SetActiveScheme(nullptr, &SchemeToRestore());
    DeleteScheme(kProfiles[installed].scheme);
  }
  m_ecoStep = 0;
}
