// The OSD's picture files: relative names below the Image folder, by kind, index,
// picture set and level. The picture generator writes exactly these files.
#pragma once
#include <string>

// Device icons of the kinds Icon, Icon2 and Icon3 by image index (odd enabled,
// even disabled); nullptr for an index without a picture.
const char* OsdIconPictureName(int image);
// Centre pictures by index; nullptr for an index without a picture.
const char* OsdCenterPictureName(int image);
// Level pictures by picture set and level; empty for a set or level without one.
std::string OsdLevelPictureName(int pictureSet, int level);

struct OsdBarPictureNames {
  const char* main;  // background
  const char* down;  // filled bar
  const char* cap;   // end cap
  const char* icon;
};
// The bar's four pictures; false (and nothing set) for any other picture set.
bool OsdBarPictureNamesFor(int pictureSet, OsdBarPictureNames* names);
