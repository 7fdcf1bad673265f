#pragma once

#include <string_view>

#include "resources/Texts.h"  // the texts shared by every function

// Texts of the text-message read, the message window and the text export.
// UTF-8; formats are filled with fmt::sprintf.
namespace linkora::texts {

// Reading the messages: the progress window's own title, then the one it
// takes when it is first shown.
inline constexpr std::string_view kMessageSyncWindowTitle = "문자메시지 싱크 진행상황";
inline constexpr std::string_view kMessageSyncTitle = "문자메시지 내려받기중..";
inline constexpr std::string_view kReceivedReadTitleFormat = "받은 메시지 데이터 수신중.. [%03d]";
inline constexpr std::string_view kSentReadTitleFormat = "보낸 메시지 데이터 수신중.. [%03d]";
inline constexpr std::string_view kReceivedListFailed =
    "받은문자메시지 목록 가져오기중 오류가 발생했습니다. 다시 시도해주십시요.";
inline constexpr std::string_view kSentListFailed =
    "보낸문자메시지 목록 가져오기중 오류가 발생했습니다. 다시 시도해주십시요.";
inline constexpr std::string_view kReceivedRecordFailedFormat =
    "받은메시지 데이터 수신중 오류가 발생했습니다. 다시 시도해주십시요. (%03d)";
inline constexpr std::string_view kSentRecordFailedFormat =
    "보낸메시지 데이터 수신중 오류가 발생했습니다. 다시 시도해주십시요. (%03d)";
inline constexpr std::string_view kNoMessages = "메시지가 없습니다.";

// Decoding
inline constexpr std::string_view kMultimediaMessage = "멀티미디어 메시지 입니다.";
inline constexpr std::string_view kMagicnMessage = "Magicn 으로부터 도착한 메시지입니다.";
inline constexpr std::string_view kTeleserviceFormat = "Teleservice = 0x%04x";
inline constexpr std::string_view kMessageTimeFormat = "%d월 %d일 %s %d시 %d분";
inline constexpr std::string_view kMorning = "오전";
inline constexpr std::string_view kAfternoon = "오후";

// Message window
inline constexpr std::string_view kMessageWindowTitle = "Linkora 문자메시지 관리";
inline constexpr std::string_view kLoadMessagesButton = "(&O)메시지 목록 불러오기";
inline constexpr std::string_view kSaveMessageButton = "(&S)파일에 저장하기";
inline constexpr std::string_view kReceivedListLabel = "받은 메시지 목록";
inline constexpr std::string_view kSentListLabel = "보낸 메시지 목록";
inline constexpr std::string_view kMessageListGroup = "메시지 목록";
inline constexpr std::string_view kMessageContentGroup = "메시지 내용";
inline constexpr std::string_view kMessageLineFormat = "%02d:%s";
inline constexpr std::string_view kReceivedHeaderFormat =
    "받은시간: %s%c%c연락번호: %s%c%c%c%c<<메시지 내용>>%c%c";
inline constexpr std::string_view kSentHeaderFormat =
    "보낸시간: %s%c%c수신번호: %s%c%c%c%c<<메시지 내용>>%c%c";

// Text export
inline constexpr std::string_view kReceivedExportNameFormat = "RX%02d%02d%02d%02d.txt";
inline constexpr std::string_view kSentExportNameFormat = "TX%02d%02d%02d%02d.txt";
inline constexpr std::string_view kExportExtension = "txt";
inline constexpr std::string_view kExportFilter = "Txt Files (*.txt)|*.txt||";
inline constexpr std::string_view kNoMessageSelected = "선택된 메시지가 없습니다.";

// Every message in one UTF-8 file (text or CSV)
inline constexpr std::string_view kExportReceivedBox = "받은 메시지";
inline constexpr std::string_view kExportSentBox = "보낸 메시지";
inline constexpr std::string_view kTextExportSummaryFormat = "받은 메시지 %d개, 보낸 메시지 %d개";
inline constexpr std::string_view kTextExportHeadingFormat = "==== %s %d ====";
inline constexpr std::string_view kTextExportReceivedTimeFormat = "받은시간: %s";
inline constexpr std::string_view kTextExportCallbackFormat = "연락번호: %s";
inline constexpr std::string_view kTextExportSentTimeFormat = "보낸시간: %s";
inline constexpr std::string_view kTextExportRecipientFormat = "수신번호: %s";
inline constexpr std::string_view kTextExportNone = "없음";
inline constexpr std::string_view kCsvExportHeader = "메시지함,시간,번호,내용";
inline constexpr std::string_view kSaveAllAsTextAction = "모든 메시지를 텍스트로 저장...";
inline constexpr std::string_view kSaveAllAsCsvAction = "모든 메시지를 CSV로 저장...";
inline constexpr std::string_view kSaveAllAsTextCaption = "모든 메시지를 텍스트로 저장";
inline constexpr std::string_view kSaveAllAsCsvCaption = "모든 메시지를 CSV로 저장";
inline constexpr std::string_view kTextExportFilter = "텍스트 파일 (*.txt)|*.txt||";
inline constexpr std::string_view kCsvExportFilter = "CSV 파일 (*.csv)|*.csv||";

}  // namespace linkora::texts
