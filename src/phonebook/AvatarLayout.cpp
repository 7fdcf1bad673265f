#include "phonebook/AvatarLayout.h"

#include <fmt/printf.h>

#include "resources/PhonebookTexts.h"

namespace linkora {

const AvatarPartLayout& AvatarPartLayoutOf(int part) {
  return kAvatarPartLayouts.at(static_cast<std::size_t>(part - 1));
}

int AvatarPartOfList(int listId) {
  for (const AvatarPartLayout& layout : kAvatarPartLayouts) {
    if (layout.listId == listId) {
      return layout.part;
    }
  }
  return 0;
}

int AvatarPicture(int part, int value) {
  const AvatarPartLayout& layout = AvatarPartLayoutOf(part);
  return value >= 0 && value <= layout.count ? layout.base + value : 0;
}

std::vector<std::string> AvatarItemLabels(int part) {
  std::vector<std::string> labels;
  for (int i = 1; i <= AvatarPartLayoutOf(part).count; ++i) {
    labels.push_back(fmt::sprintf(std::string(texts::kAvatarItemFormat), i));
  }
  return labels;
}

}  // namespace linkora
