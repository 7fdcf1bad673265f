#pragma once

#include <string_view>

// The program's user-visible texts, kept in one table. Texts are UTF-8 here;
// formats keep their printf-style placeholders and are filled with fmt::sprintf.
namespace linkora::texts {

// Application
inline constexpr std::string_view kAppTitle = "Linkora";

// Connecting to the handset
inline constexpr std::string_view kSerialPortOpenFailed =
    "시리얼포트를 열수 없습니다. 포트설정을 확인하세요.";
inline constexpr std::string_view kHandsetPortNotFound =
    "Linkora 포트를 찾을 수 없습니다. 포트설정 및 케이블연결을 확인하세요.";
inline constexpr std::string_view kHandsetPortOpenFailed =
    "Linkora 포트를 열수 없습니다. 포트설정 및 케이블연결을 확인하세요.";
inline constexpr std::string_view kUnsupportedModel = "지원되지 않는 모델입니다.";
inline constexpr std::string_view kNoResponse =
    "단말기로부터 응답이 없습니다. 포트설정 및 케이블연결을 확인하세요.";
inline constexpr std::string_view kPortConnectFailed = "포트 연결에 실패했습니다.";
inline constexpr std::string_view kServiceCodeRefused =
    "SPC값이 올바르지 않습니다. 다시 시도해주십시요.";
inline constexpr std::string_view kCommunicationError =
    "단말기와 통신에 오류가 발생했습니다. 다시 시도해주십시요.";
inline constexpr std::string_view kPhoneNumberMismatch = "입력된 전화번호가 일치하지 않습니다.";
inline constexpr std::string_view kLockCodeMismatch = "입력된 잠금번호가 일치하지 않습니다.";

// Phone-number prompt
inline constexpr std::string_view kPhoneNumberTitle = "전화번호를 입력하세요";
inline constexpr std::string_view kPhoneNumberLine1 =
    "노르반 단말기의 잠금 기능이 설정되어 있습니다.";
inline constexpr std::string_view kPhoneNumberLine2 =
    "Linkora 프로그램을 진행하시려면 전화번호를 입력이 필요합니다.";
inline constexpr std::string_view kPhoneNumberLine3 =
    "연결된 노르반 단말기의 전화번호를 입력하세요.";
inline constexpr std::string_view kPhoneNumberInvalid = "잘못된 번호입니다.";

// Lock-code prompt
inline constexpr std::string_view kLockCodeTitle = "잠금번호를 입력하세요";
inline constexpr std::string_view kLockCodeText =
    "연결된 노르반 단말기의 잠금번호 4자리를 입력하세요.";
inline constexpr std::string_view kLockCodeInvalid = "4자리의 잠금번호를 입력하세요";

// Shared by several functions
inline constexpr std::string_view kInvalidCommand = "잘못된 명령입니다.";
inline constexpr std::string_view kHandsetResets = "단말기가 리셋됩니다.";
inline constexpr std::string_view kResetAfterWriteQuestion =
    "저장후 단말기가 자동으로 리셋 됩니다. 계속하시겠습니까?";
inline constexpr std::string_view kFileBadFormat = "파일 형식이 잘못되었습니다.";
inline constexpr std::string_view kFileWriteFailed = "파일 쓰기도중 오류가 발생하였습니다.";
inline constexpr std::string_view kDownloadedRingtone =
    "다운로드 받은 벨소리가 설정되어 있습니다.\n벨소리를 변경하시려면 노르반폰에서 설정해주시기 "
    "바랍니다.";

// Captions of the file dialogs
inline constexpr std::string_view kOpenCaption = "열기";
inline constexpr std::string_view kSaveAsCaption = "다른 이름으로 저장";

// Common buttons
inline constexpr std::string_view kOk = "확인";
inline constexpr std::string_view kCancel = "취소";

}  // namespace linkora::texts
