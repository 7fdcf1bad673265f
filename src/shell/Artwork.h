#pragma once

#include <QIcon>
#include <QImage>

namespace linkora {

// The program's pictures, drawn in code so they scale and need no files.
enum class FunctionPicture { Phonebook, Scheduler, Messages, Media };

inline constexpr int kMainPictureWidth = 268;
inline constexpr int kMainPictureHeight = 384;
inline constexpr int kButtonPictureWidth = 67;
inline constexpr int kButtonPictureHeight = 67;

// The main window's picture: the handset linked to the PC.
QImage MainPicture();
// The picture of one function button, with its name under the symbol.
QImage ButtonPicture(FunctionPicture picture);
// The program icon at one size (square).
QImage ProgramIconImage(int size);
// The program icon at the usual sizes.
QIcon ProgramIcon();

}  // namespace linkora
