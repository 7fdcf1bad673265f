#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace linkora {

// The handset's 30 built-in ringtones are named by a one-byte code: 84 plus
// the position in the list. Codes above 113 are ringtones downloaded into the
// handset, which the PC can neither name nor choose; codes below 84 name nothing.
inline constexpr std::uint8_t kFirstRingtoneCode = 84;
inline constexpr std::uint8_t kLastRingtoneCode = 113;
inline constexpr int kRingtoneCount = 30;

using RingtoneList = std::array<std::string_view, kRingtoneCount>;

// The list of the scheduler window, the add-schedule dialog and the phonebook.
extern const RingtoneList RingtoneNames;
// The list of the add-D-day dialog; it reads four codes differently.
extern const RingtoneList DdayRingtoneNames;

// The code of a list position (0..29).
constexpr std::uint8_t RingtoneCode(int position) {
  return static_cast<std::uint8_t>(kFirstRingtoneCode + position);
}

// The name of a code in the given list; empty outside 84..113.
std::string_view RingtoneName(const RingtoneList& names, std::uint8_t code);

// The list position of a code, or -1 outside 84..113.
int RingtonePosition(std::uint8_t code);

}  // namespace linkora
