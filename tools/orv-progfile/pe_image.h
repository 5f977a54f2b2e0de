// A minimal Windows program file (a PE32 image with only a resource section)
// holding one icon group: what the simulated notebook's tools and tests put on
// its C: drive as a program with an icon.
#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace orv::progfile {

// One icon image of a group: its resource id and its bytes (RT_ICON data).
using IconImage = std::pair<std::uint16_t, std::string>;

// The bytes of a program file whose first icon group is `group` (RT_GROUP_ICON
// data, its entries naming the ids of `icons`) under resource id `groupId`.
std::string ProgramImage(int groupId, const std::string& group, const std::vector<IconImage>& icons);

// An icon file's images as a group and its images (ids 1, 2, ...); false when
// the bytes are not an icon file whose images lie within it.
bool IconFileAsGroup(const std::string& ico, std::string* group, std::vector<IconImage>* icons);

}  // namespace orv::progfile
