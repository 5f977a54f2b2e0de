// The binary layouts the compiler writes: a DIALOGEX template (DLGTEMPLATEEX
// with its DLGITEMTEMPLATEEX items) and an .ico file split into its RT_ICON
// images and the RT_GROUP_ICON directory naming them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/orv-rc/rc_resource.h"

namespace orv::rc {

struct DialogControl {
  std::uint32_t helpId = 0, exStyle = 0, style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  std::uint32_t id = 0;
  ResourceId windowClass;  // a number: the system class ordinal (0x80 Button, ...)
  ResourceId title;        // a number: an ordinal (an icon's resource)
  bool titleIsOrdinal = false;
};

struct Dialog {
  std::uint32_t helpId = 0, exStyle = 0, style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  ResourceId menu, windowClass;
  std::string caption;
  int pointSize = 0, weight = 0, italic = 0, charset = 0;
  std::string typeface;
  std::vector<DialogControl> controls;
};

std::vector<unsigned char> DialogTemplateBytes(const Dialog& dialog);

// Splits an .ico file: the images get ids from *nextIconId on (which moves on);
// the group directory is the last element. False for a malformed file.
bool SplitIconFile(const std::vector<unsigned char>& file, unsigned* nextIconId,
                   std::vector<std::vector<unsigned char>>* images, std::vector<unsigned char>* group);

}  // namespace orv::rc
