#include "phonebook/AvatarArt.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <cstdlib>
#include <set>
#include <string>

namespace linkora {
namespace {

bool AllWhite(const QImage& image) {
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFFu) != 0xFFFFFFu) {
        return false;
      }
    }
  }
  return true;
}

struct PictureRange {
  int part;
  int first;
  int last;
  int width;
  int height;
};

// Picture numbers and sizes of each part, as the picker and the window use them.
constexpr PictureRange kRanges[] = {
    {1, 271, 287, 53, 50}, {2, 290, 307, 53, 50}, {3, 211, 218, 53, 53}, {4, 190, 210, 29, 15},
    {5, 250, 270, 29, 11}, {6, 220, 242, 53, 53}, {7, 170, 187, 53, 53},
};

TEST(AvatarArtTest, EveryPictureHasItsPartsSize) {
  for (const PictureRange& range : kRanges) {
    for (int number = range.first; number <= range.last; ++number) {
      SCOPED_TRACE(number);
      const QImage picture = AvatarArtPicture(number);
      ASSERT_FALSE(picture.isNull());
      EXPECT_EQ(picture.width(), range.width);
      EXPECT_EQ(picture.height(), range.height);
    }
  }
  const QImage frame = AvatarArtPicture(311);
  EXPECT_EQ(frame.width(), 60);
  EXPECT_EQ(frame.height(), 110);
}

TEST(AvatarArtTest, NumbersBetweenTheListsNameNoPicture) {
  for (const int number : {169, 188, 189, 219, 243, 249, 288, 289, 308, 310, 312}) {
    SCOPED_TRACE(number);
    EXPECT_TRUE(AvatarArtPicture(number).isNull());
  }
}

TEST(AvatarArtTest, EveryChoosablePictureShowsSomethingOfItsOwn) {
  for (const PictureRange& range : kRanges) {
    std::set<std::string> seen;
    for (int number = range.first + 1; number <= range.last; ++number) {
      SCOPED_TRACE(number);
      const QImage picture = AvatarArtPicture(number);
      EXPECT_FALSE(AllWhite(picture));
      const std::string bytes(reinterpret_cast<const char*>(picture.constBits()),
                              static_cast<std::size_t>(picture.sizeInBytes()));
      EXPECT_TRUE(seen.insert(bytes).second) << "same as an earlier picture";
    }
  }
}

TEST(AvatarArtTest, PicturesNeverUseTheKeyColour) {
  for (const PictureRange& range : kRanges) {
    for (int number = range.first; number <= range.last; ++number) {
      const QImage picture = AvatarArtPicture(number);
      for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
          ASSERT_NE(picture.pixel(x, y) & 0xFFFFFFu, 0xED008Cu) << number;
        }
      }
    }
  }
}

struct AndCase {
  QRgb below;
  QRgb above;
  QRgb result;
};

TEST(AvatarArtTest, AndKeepsWhiteTransparentAndDarkensWithColour) {
  const AndCase cases[] = {
      {0xFF123456, 0xFFFFFFFF, 0xFF123456},  // white leaves what is below
      {0xFF123456, 0xFF000000, 0xFF000000},  // black stays black
      {0xFFC0A080, 0xFF90F0F0, 0xFF80A080},
      {0xFFFF0000, 0xFF0000FF, 0xFF000000},
  };
  for (const AndCase& c : cases) {
    QImage target(4, 3, QImage::Format_RGB32);
    target.fill(c.below);
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(c.above);
    AndCompose(target, picture, QPoint(3, 2));  // partly outside: clipped
    EXPECT_EQ(target.pixel(3, 2), c.result);
    EXPECT_EQ(target.pixel(2, 2), c.below);
    EXPECT_EQ(target.pixel(3, 1), c.below);
  }
}

TEST(AvatarArtTest, ComposedAvatarIsTheFrameWithEachLayerAndedAtItsPlace) {
  const AvatarParts parts = {2, 3, 1, 4, 5, 6, 7};
  QImage expected = AvatarArtPicture(311);
  // Offsets from the frame: (3,52) for parts 1 and 2, (3,4) for 3, 6 and 7,
  // (15,28) for the eyes and (15,43) for the mouth.
  AndCompose(expected, AvatarArtPicture(273), QPoint(3, 52));
  AndCompose(expected, AvatarArtPicture(293), QPoint(3, 52));
  AndCompose(expected, AvatarArtPicture(212), QPoint(3, 4));
  AndCompose(expected, AvatarArtPicture(194), QPoint(15, 28));
  AndCompose(expected, AvatarArtPicture(255), QPoint(15, 43));
  AndCompose(expected, AvatarArtPicture(226), QPoint(3, 4));
  AndCompose(expected, AvatarArtPicture(177), QPoint(3, 4));
  EXPECT_EQ(ComposeAvatar(parts), expected);
}

TEST(AvatarArtTest, ValueBeyondItsListLeavesTheLayerOut) {
  const QImage full = ComposeAvatar({17, 18, 8, 21, 21, 23, 18});
  EXPECT_EQ(full, AvatarArtPicture(311));
}

// Writes a sheet of every picture and some composed faces when
// LINKORA_AVATAR_SHEET names a PNG file (for looking at the artwork).
TEST(AvatarArtTest, SheetForLookingAtTheArtwork) {
  const char* path = std::getenv("LINKORA_AVATAR_SHEET");
  if (path == nullptr) {
    GTEST_SKIP() << "set LINKORA_AVATAR_SHEET to write the sheet";
  }
  constexpr int kCell = 58;
  QImage sheet(24 * kCell, 9 * kCell + 2 * 116, QImage::Format_RGB32);
  sheet.fill(QColor(0xF4, 0xF4, 0xF4));
  QPainter painter(&sheet);
  for (std::size_t row = 0; row < std::size(kRanges); ++row) {
    const PictureRange& range = kRanges[row];
    for (int number = range.first; number <= range.last; ++number) {
      painter.drawImage(
          QPoint((number - range.first) * kCell + 2, static_cast<int>(row) * kCell + 2),
          AvatarArtPicture(number));
    }
  }
  painter.drawImage(QPoint(2, 7 * kCell + 2), AvatarArtPicture(311));
  for (int i = 0; i < 40; ++i) {
    const AvatarParts parts = {
        static_cast<std::uint8_t>(i % 17),        static_cast<std::uint8_t>((i * 7) % 18),
        static_cast<std::uint8_t>((i * 3) % 8),   static_cast<std::uint8_t>((i * 5) % 21),
        static_cast<std::uint8_t>((i * 11) % 21), static_cast<std::uint8_t>((i * 13) % 23),
        static_cast<std::uint8_t>((i * 5) % 18)};
    painter.drawImage(QPoint((i % 20) * 64 + 2, 8 * kCell + (i / 20) * 116 + 4),
                      ComposeAvatar(parts));
  }
  painter.end();
  EXPECT_TRUE(sheet.save(QString::fromLocal8Bit(path)));
  // The first faces three times as large, to see the details.
  const QImage faces = sheet.copy(0, 8 * kCell, 8 * 64, 116);
  EXPECT_TRUE(faces.scaled(faces.size() * 3).save(QString::fromLocal8Bit(path) + ".faces.png"));
}

}  // namespace
}  // namespace linkora
