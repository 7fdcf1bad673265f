#pragma once

#include <array>
#include <string>
#include <vector>

namespace linkora {

// How the seven avatar parts are pictured. A part's value k selects picture
// `base + k`: 0 is the part's base picture, 1..count the pictures of its
// list in the avatar picker; a value beyond count draws nothing.
struct AvatarPartLayout {
  int part;    // 1..7
  int listId;  // picture list of the avatar picker
  int base;    // picture number of value 0
  int count;   // pictures offered in the picker, values 1..count
  int width;   // picture size in pixels
  int height;
  int pickerX;  // where the picker's preview draws it
  int pickerY;
  int windowX;  // where the phonebook window's preview draws it
  int windowY;
};

inline constexpr std::array<AvatarPartLayout, 7> kAvatarPartLayouts = {{
    {1, 1104, 271, 16, 53, 50, 350, 339, 640, 409},
    {2, 1105, 290, 17, 53, 50, 350, 339, 640, 409},
    {3, 1106, 211, 7, 53, 53, 350, 291, 640, 361},
    {4, 1107, 190, 20, 29, 15, 362, 315, 652, 385},
    {5, 1109, 250, 20, 29, 11, 362, 330, 652, 400},
    {6, 1108, 220, 22, 53, 53, 350, 291, 640, 361},
    {7, 1110, 170, 17, 53, 53, 350, 291, 640, 361},
}};

// The frame drawn under the parts.
struct AvatarFrameLayout {
  int picture = 311;
  int width = 60;
  int height = 110;
  int pickerX = 347;
  int pickerY = 287;
  int windowX = 637;
  int windowY = 357;
};
inline constexpr AvatarFrameLayout kAvatarFrame{};

// Layout of part 1..7.
const AvatarPartLayout& AvatarPartLayoutOf(int part);
// The part whose picker list has this control id, or 0.
int AvatarPartOfList(int listId);
// The picture a part value selects, or 0 when the value draws nothing.
int AvatarPicture(int part, int value);
// Labels of a part's picker list: "01" to the part's count.
std::vector<std::string> AvatarItemLabels(int part);
// The value a double-click on item `index` (from 0) of a part's list chooses.
constexpr int AvatarValueOfItem(int index) {
  return index + 1;
}

}  // namespace linkora
