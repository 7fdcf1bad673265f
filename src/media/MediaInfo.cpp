#include "media/MediaInfo.h"

#include <algorithm>

#include "common/Cp949.h"
#include "resources/MediaTexts.h"

namespace linkora {
namespace {

template <class Info>
std::uint64_t SumOfUsedSlots(const Info& info) {
  std::uint64_t sum = 0;
  for (int slot = 0; slot < kMediaSlotCount; ++slot) {
    if (!info.IsFree(slot)) {
      sum += info.SlotSize(slot);
    }
  }
  return sum;
}

template <class Info>
int LowestFreeSlot(const Info& info) {
  for (int slot = 0; slot < kMediaSlotCount; ++slot) {
    if (info.IsFree(slot)) {
      return slot;
    }
  }
  return -1;
}

// The fields every new item gets in either layout.
template <class Info>
void RecordCommonFields(Info& info, int slot, std::uint32_t size, std::uint16_t typeWord,
                        std::uint8_t subtype, std::span<const std::uint8_t> name) {
  info.SetTotal(info.Total() + size);
  info.SetSlotSize(slot, size);
  info.SetTypeWord(slot, typeWord);
  info.SetSubtype(slot, subtype);
  info.SetField598(slot, 0);
  info.SetField796(slot, 1);
  info.SetField3073(slot, 0);
  // The new item is the newest: every used slot moves one rank down.
  for (int other = 0; other < kMediaSlotCount; ++other) {
    if (!info.IsFree(other)) {
      info.SetOrder(other, static_cast<std::uint8_t>(info.Order(other) + 1));
    }
  }
  info.SetOrder(slot, 0);
  auto field = info.NameField(slot);
  std::fill(field.begin(), field.end(), std::uint8_t{0});
  std::copy_n(name.begin(), std::min(name.size(), field.size()), field.begin());
  field.back() = 0;
}

}  // namespace

bool IsShownMediaSlot(std::uint16_t typeWord, std::uint8_t subtype) {
  const auto subtypeIn = [subtype](std::initializer_list<std::uint8_t> values) {
    return std::find(values.begin(), values.end(), subtype) != values.end();
  };
  switch (typeWord) {
    case 0x001:
    case 0x201:
    case 0x301:
      return subtypeIn({0x13, 0x14, 0x15, 0x93, 0x94, 0x95});
    case 0x002:
    case 0x202:
    case 0x302:
      return subtypeIn({0x23, 0x27, 0xA3, 0xA7});
    case 0x008:
    case 0x208:
    case 0x308:
      return true;
    case 0x040:
    case 0x240:
    case 0x340:
      return subtypeIn({0x16, 0x96});
    default:
      return false;
  }
}

std::string ShownMediaItem::DisplayName() const {
  return cp949::ToUtf8(name);
}

void LargeMediaInfo::SetExtras(int slot, const MediaHeader& header) {
  const auto put = [this](std::size_t offset, std::span<const std::uint8_t> value) {
    auto field = Field(offset, value.size());
    std::copy(value.begin(), value.end(), field.begin());
  };
  put(kExtra1 + MediaHeader::kExtra1Size * Index(slot), header.Extra1());
  put(kExtra2 + MediaHeader::kExtra2Size * Index(slot), header.Extra2());
  put(kExtra3 + MediaHeader::kExtra3Size * Index(slot), header.Extra3());
}

bool MediaLists::Load(std::span<const std::uint8_t> received, int resultLength, int modelIndex,
                      std::string& message) {
  const std::size_t expected = modelIndex == 1 ? kLargeMediaInfoSize : kSmallMediaInfoSize;
  if (resultLength < 0 || static_cast<std::size_t>(resultLength) != expected ||
      received.size() < expected) {
    message = texts::kMediaListInvalid;
    return false;
  }
  modelIndex_ = modelIndex;
  if (modelIndex == 1) {
    std::copy_n(received.begin(), kLargeMediaInfoSize, large_.Bytes().begin());
  } else {
    std::copy_n(received.begin(), kSmallMediaInfoSize, small_.Bytes().begin());
    CopySmallToLarge();
  }
  return true;
}

void MediaLists::CopySmallToLarge() {
  large_.Clear();
  large_.SetTotal(small_.Total());
  for (int slot = 0; slot < kMediaSlotCount; ++slot) {
    large_.SetSlotSize(slot, small_.SlotSize(slot));
    large_.SetTypeWord(slot, small_.TypeWord(slot));
    large_.SetField598(slot, small_.Field598(slot));
    large_.SetField796(slot, small_.Field796(slot));
    large_.SetOrder(slot, small_.Order(slot));
    const auto name = small_.NameField(slot);
    std::copy(name.begin(), name.end(), large_.NameField(slot).begin());
    large_.SetSubtype(slot, small_.Subtype(slot));
    large_.SetField3073(slot, small_.Field3073(slot));
  }
}

std::vector<ShownMediaItem> MediaLists::ShownItems() const {
  std::vector<ShownMediaItem> items;
  for (int slot = 0; slot < kMediaSlotCount; ++slot) {
    if (!IsShownMediaSlot(large_.TypeWord(slot), large_.Subtype(slot))) {
      continue;
    }
    const auto field = large_.NameField(slot);
    const auto end = std::find(field.begin(), field.end(), std::uint8_t{0});
    items.push_back({slot, std::vector<std::uint8_t>(field.begin(), end)});
  }
  return items;
}

RecordedMediaItem MediaLists::RecordNewItem(std::uint32_t size, std::uint16_t typeWord,
                                            std::uint8_t subtype,
                                            std::span<const std::uint8_t> name,
                                            const MediaHeader& header) {
  RecordedMediaItem result;
  const bool large = modelIndex_ == 1;
  const std::uint64_t used = large ? SumOfUsedSlots(large_) : SumOfUsedSlots(small_);
  const auto total = static_cast<std::uint32_t>(std::min<std::uint64_t>(used, UINT32_MAX));
  const int slot = large ? LowestFreeSlot(large_) : LowestFreeSlot(small_);
  if (large) {
    large_.SetTotal(total);
  } else {
    small_.SetTotal(total);
    large_.SetTotal(total);
  }
  if (slot < 0) {
    result.message = texts::kTooManyMediaFiles;
    return result;
  }
  if (std::uint64_t{total} + size > kHandsetMediaCapacity) {
    result.message = texts::kHandsetStorageFull;
    return result;
  }
  if (large) {
    RecordCommonFields(large_, slot, size, typeWord, subtype, name);
    large_.SetExtras(slot, header);
    large_.SetField8023(slot, 0xFF);
    large_.SetField8122(slot, 0xFF);
  } else {
    RecordCommonFields(small_, slot, size, typeWord, subtype, name);
    small_.SetField3271(slot, 0xFF);
    small_.SetField3370(slot, 0xFF);
    CopySmallToLarge();
  }
  result.recorded = true;
  result.slot = slot;
  return result;
}

std::span<const std::uint8_t> MediaLists::ListToWrite() const {
  if (modelIndex_ == 1) {
    return large_.Bytes();
  }
  return small_.Bytes();
}

}  // namespace linkora
