#pragma once

#include <string_view>

// Why a serial port did not open, where the user can do something about it.
// Shown after the connect step's own message. UTF-8; filled with fmt::sprintf
// (port name, device, then the holder or the group).
namespace linkora::texts {

inline constexpr std::string_view kPortBusyBy =
    "%s 포트(%s)를 다른 프로그램(%s, pid %d)이 사용하고 있습니다. 그 프로그램을 닫은 뒤 다시 "
    "시도하세요.";
inline constexpr std::string_view kPortBusy =
    "%s 포트(%s)를 다른 프로그램이 사용하고 있습니다. 그 프로그램을 닫은 뒤 다시 시도하세요.";
inline constexpr std::string_view kPortDeniedGroup =
    "%s 포트(%s)를 열 권한이 없습니다. 사용자를 '%s' 그룹에 넣고(sudo usermod -aG %s $USER) 다시 "
    "로그인하세요.";
inline constexpr std::string_view kPortDenied =
    "%s 포트(%s)를 열 권한이 없습니다. 장치의 접근 권한을 확인하세요.";

}  // namespace linkora::texts
