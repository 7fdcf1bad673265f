#include "shell/FileFilter.h"

#include <gtest/gtest.h>

namespace linkora {
namespace {

TEST(FileFilterTest, PipeSeparatedPairsInTheFormOfTheFileDialogs) {
  struct Case {
    const char* given;
    const char* shown;
  };
  const Case cases[] = {
      {"All Media Files (*.sis;*.mmf;*.jpg;*.nmf)|*.sis;*.mmf;*.jpg;*.nmf|Sis Files "
       "(*.sis)|*.sis|Jpeg Files (*.jpg)|*.jpg|Mmf Files (*.mmf)|*.mmf|Norvane Media Files "
       "(*.nmf)|*.nmf||",
       "All Media Files (*.sis *.mmf *.jpg *.nmf);;Sis Files (*.sis);;Jpeg Files (*.jpg);;Mmf "
       "Files (*.mmf);;Norvane Media Files (*.nmf)"},
      {"GIF Files (*.gif)|*.gif||", "GIF Files (*.gif)"},
      {"그림|*.jpg;*.gif||", "그림 (*.jpg *.gif)"},
      {"Odd (*.x)|*.y||", "Odd (*.y)"},
      {"Txt Files (*.txt)|*.txt||", "Txt Files (*.txt)"},
      {"A (*.a)|*.a|B (*.b)|*.b||", "A (*.a);;B (*.b)"},
      {"Half|", ""},
      {"Plain (*.p)", ""},
      {"", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DialogFilter(c.given), c.shown) << c.given;
  }
}

}  // namespace
}  // namespace linkora
