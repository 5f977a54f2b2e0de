// The firmware event dispatcher: the common frame of every event, the device
// branches with their OSD stacking, and the events that are only logged.
#include <cstdio>

#include "tray/core/CalvexDlg.h"
#include "tray/core/message_pump.h"
#include "tray/firmware/EcCommands.h"
#include "tray/osd/osd_kind.h"

namespace {

struct DeviceBranch {
  int code;
  const char* firstLine;
  const char* name;        // as the detail lines spell it
  unsigned eventBit;       // 0: the event carries no state for it, always ask
  bool (*query)();
  bool bitMeansOff;        // the touchpad's bit reads as disabled
  int onImage, offImage;   // pictures for "Enable" and "Disable"
};

const DeviceBranch kBranches[] = {
    {0x5F, "It's Wirelees's WMIevent", "Wireless", ec::kWireless, IsWirelessOn, false, 1, 2},
    {0x56, "It's BlueTooth's WMIevent", "BlueTooth", ec::kBluetooth, IsBluetoothOn, false, 3, 4},
    {0x57, "It's WebCam's WMIevent", "WebCam", ec::kWebcam, IsWebcamOn, false, 7, 8},
    // Picture 5 is the touchpad's "Enable" picture and 6 its "Disable" one; they go
    // with the state the log line names, as every other device's do.
    {0x08, "It's TouchPad's WMIevent", "TouchPad", ec::kTouchpadDisabled, IsTouchpadDisabled, true, 5, 6},
    {0x84, "It's 3G's WMIevent", "3G", 0, Is3GOn, false, 15, 16},
};

}  // namespace

void CCalvexDlg::DeviceEvent(int code, LPARAM state) {
  const DeviceBranch* b = nullptr;
  for (const auto& candidate : kBranches)
    if (candidate.code == code) b = &candidate;
  WriteLog(1, b->firstLine);
  if (code == 0x5F) m_bWirelessOsdUp = true;

  bool bitSet;
  char text[128];
  if (m_bEventCarriesState && b->eventBit) {
    bitSet = (static_cast<unsigned>(state) & b->eventBit) != 0;
    bool on = bitSet != b->bitMeansOff;
    std::snprintf(text, sizeof text, "Get %s's Flag in EC's rom : %s (value : %d)", b->name, on ? "Enable" : "Disable",
                  static_cast<int>(state));
  } else {
    bitSet = b->query();
    bool on = bitSet != b->bitMeansOff;
    std::snprintf(text, sizeof text, "Get %s's Flag in EC's rom : %s", b->name, on ? "Enable" : "Disable");
  }
  WriteLog(2, text);
  const bool on = bitSet != b->bitMeansOff;

  int kind = static_cast<int>(OsdKind::Icon);
  if (code == 0x56 && m_bWirelessOsdUp) {
    kind = static_cast<int>(OsdKind::Icon2);
    m_bBluetoothOsdUp = true;
  } else if (code == 0x84) {
    kind = m_bBluetoothOsdUp ? static_cast<int>(OsdKind::Icon3)
                             : m_bWirelessOsdUp ? static_cast<int>(OsdKind::Icon2) : static_cast<int>(OsdKind::Icon);
  }
  ShowOsd(kind, -1, on ? b->onImage : b->offImage, 0);
}

LRESULT CCalvexDlg::OnFirmwareEvent(WPARAM wParam, LPARAM lParam) {
  const int code = static_cast<int>(wParam & 0xFF);
  char value[16];
  std::snprintf(value, sizeof value, "%x", static_cast<unsigned>(wParam));
  WriteLog(0, value);
  switch (code) {
    case 0x5F: case 0x56: case 0x57: case 0x08: case 0x84:
      DeviceEvent(code, lParam);
      break;
    case 0x60:
      TurboEvent(lParam);
      break;
    case 0x73:
      TheaterEvent();
      break;
    case 0x6F:
      UserDefineEvent();
      break;
    case 0x21: case 0x23: case 0x32:
      WriteLog(1, "It's Audio's WMIevent");
      WriteLog(2, "<< This WMIevent don't work in XP & Vista. >>");
      break;
    case 0x78:
      HddIconEvent();
      break;
    case 0x7B:
      HddKeyEvent();
      break;
    case 0x79:
      EcoEvent();
      break;
    case 0x09: case 0x01: case 0x0A:
      OverheatEvent(code);
      break;
    case 0x62: case 0x63:
      WriteLog(1, "It's Brightness's WMIevent");
      WriteLog(2, "<< This WMIevent don't work in Vista. >>");
      break;
    default:
      WriteLog(1, "This WMIevent don't work in Calvex.");
      break;
  }
  PumpPendingMessages();
  return 1;
}
