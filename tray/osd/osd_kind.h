// The OSD's display kinds and picture sets, as the owner of the OSD windows and
// the dispatcher name them.
#pragma once

enum class OsdKind : int { Icon = 1, Level = 2, Center = 3, Icon2 = 4, Bar = 5, Icon3 = 6 };

// Picture sets of the Level and Bar kinds (DrawOSD's image argument).
constexpr int kPictureSetBrightness = 6;
constexpr int kPictureSetMutedVolume = 8;
constexpr int kPictureSetVolume = 9;

// Level steps of a Bar display (DrawOSD's range argument).
constexpr int kBarRangeVolume = 100;
constexpr int kBarRangeBrightness = 8;
