#pragma once

#include <QImage>
#include <QPoint>

#include "phonebook/AvatarLayout.h"
#include "phonebook/PhonebookEntry.h"

// The avatar pictures, drawn by the program itself: the frame and every part
// picture by its number (see AvatarLayout.h). Pictures are opaque RGB images
// on white, because they are combined by a bitwise AND of colours: white
// leaves what is below, darker colours darken it.
namespace linkora {

// Colour key of the picker's image lists: a pixel of this colour is shown
// transparent. The pictures never use it.
inline constexpr unsigned kAvatarKeyColour = 0xED008C;  // red 237, green 0, blue 140

// The picture with this number (170..187, 190..210, 211..218, 220..242,
// 250..270, 271..287, 290..307, and 311 for the frame), or a null image for a
// number that names none.
QImage AvatarArtPicture(int number);

// ANDs `picture` into `target` with its top left at `at`; the parts that fall
// outside `target` are left out.
void AndCompose(QImage& target, const QImage& picture, QPoint at);

// The whole avatar as the previews show it: the frame, then parts 1 to 7
// ANDed at their places. The result is frame-sized, so a window draws it with
// the frame's top left at the frame's position. A value beyond its part's
// pictures leaves that layer out.
QImage ComposeAvatar(const AvatarParts& parts);

}  // namespace linkora
