#pragma once

#include <array>
#include <string_view>

// The properties VcardWriter writes and VcardReader knows as its own.
namespace linkora::vcard {

inline constexpr std::string_view kProductId = "-//Linkora//Phonebook//KO";

// TEL of the mobile, home, office and fax numbers, in record order.
inline constexpr std::array<std::string_view, 4> kTelProperties = {"TEL;TYPE=CELL", "TEL;TYPE=HOME",
                                                                   "TEL;TYPE=WORK", "TEL;TYPE=FAX"};

inline constexpr std::string_view kSlot = "X-LINKORA-SLOT";          // 1..499
inline constexpr std::string_view kGroup = "X-LINKORA-GROUP";        // group byte
inline constexpr std::string_view kRingtone = "X-LINKORA-RINGTONE";  // ringtone code
inline constexpr std::string_view kLock = "X-LINKORA-LOCK";          // lock byte
inline constexpr std::string_view kAvatar = "X-LINKORA-AVATAR";      // avatar flag byte
// The seven part values in part order 1 to 7, separated by spaces (a comma
// would make the text value a list).
inline constexpr std::string_view kAvatarParts = "X-LINKORA-AVATAR-PARTS";
// The slot's flag byte, where it is not the one the other properties give.
inline constexpr std::string_view kFlags = "X-LINKORA-FLAGS";
// The 222 record bytes as hex, where the properties alone would not give
// them back (bytes behind a text's end, reserved bytes, text bytes that are
// not valid CP949). The card's properties still win over it: a text that
// another program changed is taken over.
inline constexpr std::string_view kRecordHex = "X-LINKORA-RECORD-HEX";
// On the first card only: the group table (540 bytes as hex) and the flag
// byte of slot 0, taken over when the file is read into an empty phonebook.
inline constexpr std::string_view kBookGroupsHex = "X-LINKORA-BOOK-GROUPS-HEX";
inline constexpr std::string_view kBookSlot0 = "X-LINKORA-BOOK-SLOT0";

}  // namespace linkora::vcard
