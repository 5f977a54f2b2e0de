// The OSD's picture tables.
#include "tray/osd/osd_pictures.h"

#include <cstdio>

#include "tray/osd/osd_kind.h"

namespace {

const char* const kIcons[] = {
    nullptr,
    "ICON\\Wireless_Enable.png",  "ICON\\Wireless_Disable.png",
    "ICON\\BlueTooth_Enable.png", "ICON\\BlueTooth_Disable.png",
    "ICON\\TouchPad_Enable.png",  "ICON\\TouchPad_Disable.png",
    "ICON\\WebCam_Enable.png",    "ICON\\WebCam_Disable.png",
    "ICON\\Turbo_Enable.png",     "ICON\\Turbo_Disable.png",
    "ICON\\ECO_Enable.png",       "ICON\\ECO_Disable.png",
    nullptr,                      nullptr,
    "ICON\\3G_Enable.png",        "ICON\\3G_Disable.png",
    "ICON\\HDD_Enable.png",       "ICON\\HDD_Disable.png",
};

const char* const kCenters[] = {
    "Center\\ECO_Gaming.png",        "Center\\ECO_Movie.png",
    "Center\\ECO_Presentation.png",  "Center\\ECO_Office.png",
    "Center\\ECO_TurboBattery.png",  "Center\\ECO_Diable.png",
    nullptr,
    "Center\\Turbo_Enable.png",      "Center\\Turbo_Disable.png",
    "Center\\TheaterMode_Enable.png", "Center\\TheaterMode_Disable.png",
};

template <std::size_t N>
const char* Lookup(const char* const (&table)[N], int index) {
  return index >= 0 && static_cast<std::size_t>(index) < N ? table[index] : nullptr;
}

}  // namespace

const char* OsdIconPictureName(int image) { return Lookup(kIcons, image); }

const char* OsdCenterPictureName(int image) { return Lookup(kCenters, image); }

std::string OsdLevelPictureName(int pictureSet, int level) {
  char name[64];
  switch (pictureSet) {
    case kPictureSetVolume:
      if (level < 0 || level > 100) return {};
      std::snprintf(name, sizeof name, "OSD\\Volume\\Volume_%02d.png", level / 2);
      return name;
    case kPictureSetMutedVolume:
      if (level < 0 || level > 100) return {};
      std::snprintf(name, sizeof name, "OSD\\MuVolume\\MuVolume_%02d.png", level / 2);
      return name;
    case kPictureSetBrightness:
      if (level < 0 || level > 8) return {};
      std::snprintf(name, sizeof name, "OSD\\Brightness\\Brightness_%02d.png", level);
      return name;
    default:
      return {};
  }
}

bool OsdBarPictureNamesFor(int pictureSet, OsdBarPictureNames* names) {
  const char* icon = nullptr;
  switch (pictureSet) {
    case kPictureSetBrightness: icon = "OEM\\MI_Bright.png"; break;
    case kPictureSetMutedVolume: icon = "OEM\\MI_VolM.png"; break;
    case kPictureSetVolume: icon = "OEM\\MI_Vol.png"; break;
    default: return false;
  }
  if (names) *names = OsdBarPictureNames{"OEM\\M_Main.png", "OEM\\M_Down.png", "OEM\\Bar-R.png", icon};
  return true;
}
