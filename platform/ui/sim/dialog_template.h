// Reading a DIALOGEX template (DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items) as
// the resource compiler lays it out: little-endian, strings in UTF-16, items
// aligned on four bytes.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>
#include <vector>

namespace orv::ui::detail {

// A name or an ordinal, as templates give a class, a title or a menu.
struct NameOrOrdinal {
  std::string name;  // in the ANSI code page
  WORD ordinal = 0;  // when not 0, the name is empty
};

// What a template and each of its items begin with: help id, styles and place.
struct DialogFrame {
  DWORD helpId = 0, exStyle = 0, style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogItem : DialogFrame {
  DWORD id = 0;
  NameOrOrdinal windowClass;  // ordinals 0x80..0x85: Button, Edit, Static, ListBox, ScrollBar, ComboBox
  NameOrOrdinal title;
  std::vector<BYTE> creationData;
};

struct DialogTemplate : DialogFrame {
  NameOrOrdinal menu, windowClass;
  std::string title;
  WORD pointSize = 0, weight = 0;
  BYTE italic = 0, charset = 0;
  std::string typeface;
  std::vector<DialogItem> items;
};

// False for anything but a whole, well-formed DLGTEMPLATEEX.
bool ParseDialogTemplate(const void* data, std::size_t size, DialogTemplate* out);

// The system class name of an item's class ordinal ("" for an unknown one).
const char* ClassOfOrdinal(WORD ordinal);

}  // namespace orv::ui::detail
