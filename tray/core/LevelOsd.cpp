// The level OSD's decisions: the volume and brightness keys' scan codes, volume
// and mute changes and brightness changes, with the repeat, range-end and
// post-resume rules, and every line they log.
#include <cstdio>

#include "tray/core/CalvexDlg.h"
#include "tray/core/brightness_step.h"
#include "tray/core/message_pump.h"
#include "tray/osd/osd_kind.h"

namespace {

constexpr UINT kQuietPeriod = 200;  // ms of the post-resume quiet timers

}  // namespace

void CCalvexDlg::ShowVolumeOsd(int volume, bool mute) {
  ShowOsd(static_cast<int>(OsdKind::Level), volume, mute ? kPictureSetMutedVolume : kPictureSetVolume, 0);
}

void CCalvexDlg::ShowBrightnessOsd(int step) {
  ShowOsd(static_cast<int>(OsdKind::Level), step, kPictureSetBrightness, 0);
}

LRESULT CCalvexDlg::OnKbHookMessage(WPARAM, LPARAM lParam) {
  const unsigned scan = (static_cast<unsigned>(lParam) >> 16) & 0xFF;
  char text[96];
  if (scan == 0x2E || scan == 0x30) {
    WriteLog(5, "Got Volume Up/Down ScanCode");
    // At an end of the range the key changes nothing, so no change will show it.
    const int volume = m_nVolume;
    const bool mute = m_bMute;
    if (volume == 0 || volume == 100) {
      std::snprintf(text, sizeof text, "\t Show Audio's OSD, Value : %d, Mute : %d", volume, mute ? 1 : 0);
      WriteLog(5, text);
      ShowVolumeOsd(volume, mute);
    }
  } else if (scan == 0x77 || scan == 0x78) {
    WriteLog(5, "Got Brightness Up/Down ScanCode");
    // The keys' range here is 20..100.
    if (m_nBrightness == 20 || m_nBrightness == 100) {
      std::snprintf(text, sizeof text, "\t Show Brightness's OSD, Value : %d", m_nBrightness);
      WriteLog(5, text);
      ShowBrightnessOsd(BrightnessStep(m_nBrightness));
    }
  }
  PumpPendingMessages();
  return 1;
}

LRESULT CCalvexDlg::OnAudioChanged(WPARAM wParam, LPARAM lParam) {
  const int volume = static_cast<int>(lParam);
  const bool mute = wParam != 0;
  char text[96];
  std::snprintf(text, sizeof text, "Got Audio's event, Value : %d, Mute : %d", volume, static_cast<int>(wParam));
  WriteLog(5, text);
  const int lastVolume = m_nVolume.exchange(volume);
  const bool lastMute = m_bMute.exchange(mute);
  if (m_bAudioQuiet) {
    if (!m_bAudioQuietTimer) {
      m_bAudioQuietTimer = true;
      m_nAudioQuietTimer = SetTimer(m_hWnd, TIMER_AUDIO_QUIET, kQuietPeriod, nullptr);
    }
    WriteLog(5, "\t Resume from S3/S4, not show Audio's OSD in 0.2 seconds");
    return 0;
  }
  if (volume == lastVolume) {
    WriteLog(5, "\t this Audio's value equal to last audio's value");
    if (mute == lastMute) {
      WriteLog(5, "\t this Audio's Mute equal to last audio's Mute");
      return 0;
    }
    WriteLog(5, "\t this Audio's Mute not equal to last audio's Mute");
  } else {
    WriteLog(5, "\t this Audio's value not equal to last audio's value");
  }
  ShowVolumeOsd(volume, mute);
  WriteLog(5, mute ? "\t Show Mute's Audio" : "\t Show UnMute's Audio");
  return 1;
}

LRESULT CCalvexDlg::OnBrightnessChanged(WPARAM wParam, LPARAM) {
  const int brightness = static_cast<int>(wParam);
  char text[64];
  std::snprintf(text, sizeof text, "Got Brightness's event, Value : %d", brightness);
  WriteLog(5, text);
  if (m_bBrightnessQuiet) {
    if (!m_bBrightnessQuietTimer) {
      m_bBrightnessQuietTimer = true;
      m_nBrightnessQuietTimer = SetTimer(m_hWnd, TIMER_BRIGHTNESS_QUIET, kQuietPeriod, nullptr);
    }
    WriteLog(5, "\t Resume from S3/S4, not show Brightness's OSD in 0.2 seconds");
    return 1;
  }
  DecideBrightnessOsd(brightness);
  return 1;
}

void CCalvexDlg::DecideBrightnessOsd(int brightness) {
  const int last = m_nBrightness;
  m_nBrightness = brightness;
  const int step = BrightnessStep(brightness);
  if (brightness == last) {
    WriteLog(5, "\t this Brightness's value equal to last Brightness's value");
    if (m_bPowerSourceChanged) {
      m_bPowerSourceChanged = false;
      ShowBrightnessOsd(step);
      WriteLog(5, "\t Power change and show Brightness's OSD");
    }
    return;
  }
  WriteLog(5, "\t this Brightness's value not equal to last Brightness's value");
  ShowBrightnessOsd(step);
  WriteLog(5, "\t Brightness's value change and show Brightness's OSD");
}
