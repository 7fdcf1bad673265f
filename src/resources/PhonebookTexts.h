#pragma once

#include <string_view>

#include "resources/Texts.h"  // the texts shared by every function

// Texts of the phonebook: its window, its transfers with the handset and its
// files. UTF-8; formats keep their printf-style placeholders for fmt::sprintf.
namespace linkora::texts {

// Lists
inline constexpr std::string_view kNoGroup = "지정안됨";
inline constexpr std::string_view kNoRingtone = "설정안함";
inline constexpr std::string_view kNoSlot = "N/A";
inline constexpr std::string_view kSlotFormat = "%03d";

// Transfer window
inline constexpr std::string_view kPhonebookSyncTitle = "전화번호 싱크 진행상황";
inline constexpr std::string_view kPhonebookReadStartTitle = "전화번호 내려받기중..";
inline constexpr std::string_view kPhonebookWriteStartTitle = "전화번호 저장중..";

// Read from the handset
inline constexpr std::string_view kFlagPartReceiveTitle = "전화번호 목록 수신중.. [%d%c]";
inline constexpr std::string_view kFlagReceiveDoneTitle = "전화번호 목록 수신중.. [100%c]";
inline constexpr std::string_view kFlagPartReceiveFailed =
    "%d 번째 전화번호 목록 수신중 오류가 발생했습니다. 다시 시도해주십시요.";
inline constexpr std::string_view kEntryReceiveTitle = "전화번호 데이터 수신중.. [%03d]";
inline constexpr std::string_view kEntryReceiveFailed =
    "%03d번지의 전화번호 데이터 수신중 오류가 발생했습니다. 다시 시도해주십시요.";
inline constexpr std::string_view kGroupReceiveTitle = "전화번호 그룹 데이터 수신중.. [%d%c]";
inline constexpr std::string_view kGroupReceiveDoneTitle = "전화번호 그룹 데이터 수신중.. [100%c]";
inline constexpr std::string_view kGroupReceiveFailed =
    "%d번째 전화번호 그룹 데이터 수신중 오류가 발생했습니다. 다시 시도해주십시요.";
inline constexpr std::string_view kPhonebookEmpty = "전화번호 데이타가 없습니다.";

// Write to the handset
inline constexpr std::string_view kWriteOverwriteQuestion =
    "현재 화면의 데이타로 단말기에 덮어쓰게 됩니다. 계속하시겠습니까?";
inline constexpr std::string_view kNothingToWrite = "저장할 데이타가 없습니다.";
inline constexpr std::string_view kEntrySendTitle = "전화번호 데이터 전송중.. [%03d]";
inline constexpr std::string_view kPassedInSecondPass = "DEBUG: Passed in 2nd pass";
inline constexpr std::string_view kEntrySendFailed =
    "%03d번지의 전화번호 데이터 송신중 오류가 발생했습니다. 다시 시도해주십시요.";
inline constexpr std::string_view kFlagsSendStartTitle = "목록 저장중..";
inline constexpr std::string_view kFlagPartSendTitle = "전화번호 목록 전송중.. [%d%c]";
inline constexpr std::string_view kFlagSendDoneTitle = "전화번호 목록 전송중.. [100%c]";
inline constexpr std::string_view kFlagPartSendFailed =
    "%d 번째 전화번호 목록 송신중 오류가 발생했습니다. 다시 시도해주십시요.";
inline constexpr std::string_view kGroupSendTitle = "전화번호 그룹 데이터 전송중.. [%d%c]";
inline constexpr std::string_view kGroupSendFailed =
    "%d번째 전화번호 그룹 데이터 송신중 오류가 발생했습니다. 다시 시도해주십시요.";

// Phonebook file
inline constexpr std::string_view kPhonebookFileHeader =
    "Norvane Directory File RX-210/310 QTL REV 0.1";
inline constexpr std::string_view kPhonebookFileExtension = "ndf";
inline constexpr std::string_view kPhonebookFileInitialName = "*.ndf";
inline constexpr std::string_view kPhonebookFileFilter = "Norvane Directory File (*.ndf)";
inline constexpr std::string_view kPhonebookFileSaved = "현재 전화번호부를 파일에 저장하였습니다.";
inline constexpr std::string_view kPhonebookFileLoaded = "전화번호부 파일을 읽었습니다.";
// A save that could not be written; followed by a line with the cause.
// Captions of the file dialogs.
inline constexpr std::string_view kLoadFileCaption = "파일에서 불러오기";
inline constexpr std::string_view kSaveFileCaption = "파일에 저장";

// vCard files (import and export)
inline constexpr std::string_view kVcardFileFilter = "vCard (*.vcf)";
inline constexpr std::string_view kVcardFileExtension = "vcf";
inline constexpr std::string_view kVcardNotVcard = "vCard 파일이 아닙니다.";
inline constexpr std::string_view kVcardTooLarge =
    "파일이 너무 큽니다. vCard 파일은 16MB까지 읽을 수 있습니다.";
inline constexpr std::string_view kVcardCannotRead = "파일을 읽을 수 없습니다.";
inline constexpr std::string_view kVcardSaved = "현재 전화번호부를 vCard 파일에 저장하였습니다.";
// Report notes, one per contact of the file ("item: note").
inline constexpr std::string_view kVcardCardItem = "%d번째 연락처";
inline constexpr std::string_view kVcardGroupNameLabel = "그룹 이름";
inline constexpr std::string_view kVcardTextCut = "%s이 길어 '%s'(으)로 줄였습니다.";
inline constexpr std::string_view kVcardCharactersLost =
    "%s에서 단말기에 없는 글자 '%s'을(를) 뺐습니다.";
inline constexpr std::string_view kVcardNumberCut = "%s 번호 %s을(를) %s(으)로 줄였습니다.";
inline constexpr std::string_view kVcardNumberWithoutDigits =
    "번호 '%s'에 숫자가 없어 넣지 않았습니다.";
inline constexpr std::string_view kVcardNumberLeftOut =
    "번호 칸 네 개가 모두 차서 %s 번호는 넣지 못했습니다.";
inline constexpr std::string_view kVcardNumberMoved = "%s 번호 %s을(를) %s 칸에 넣었습니다.";
inline constexpr std::string_view kVcardForeignNumber = "국제 번호 %s을(를) %s(으)로 넣었습니다.";
inline constexpr std::string_view kVcardEmailLeftOut =
    "EMail은 하나만 넣을 수 있어 %s은(는) 넣지 못했습니다.";
inline constexpr std::string_view kVcardGroupsLeftOut =
    "그룹은 하나만 지정할 수 있어 그룹 '%s'만 지정했습니다.";
inline constexpr std::string_view kVcardNoFreeGroup =
    "빈 그룹이 없어 그룹 '%s'을(를) 지정하지 못했습니다.";
inline constexpr std::string_view kVcardNothingUsable = "이름도 번호도 없어 넣지 않았습니다.";
inline constexpr std::string_view kVcardNameOnly = "번호도 EMail도 없어 넣지 않았습니다.";
inline constexpr std::string_view kVcardNoFreeSlot = "빈 번지가 없어 넣지 못했습니다.";
inline constexpr std::string_view kVcardSlotReplaced = "%03d번지에 있던 항목 대신 넣었습니다.";
inline constexpr std::string_view kVcardSlotTaken =
    "%03d번지는 앞의 연락처가 차지해 %03d번지에 넣었습니다.";

// Window
inline constexpr std::string_view kPhonebookWindowTitle = "Linkora 전화번호부";
inline constexpr std::string_view kPhonebookQuestionTitle = "전화번호부";
inline constexpr std::string_view kReadFromHandsetButton = "(&R)전화번호 불러오기";
inline constexpr std::string_view kWriteToHandsetButton = "(&W)전화번호 저장";
inline constexpr std::string_view kLoadFileButton = "(&O)파일에서 불러오기";
inline constexpr std::string_view kSaveFileButton = "(&S)파일에 저장";
inline constexpr std::string_view kListFrame = "전화번호 목록";
inline constexpr std::string_view kEditorFrame = "편집메뉴";
inline constexpr std::string_view kFileFrame = "파일 관리 기능";
inline constexpr std::string_view kSlotLabel = "번지";
inline constexpr std::string_view kNameLabel = "이름";
inline constexpr std::string_view kMobileLabel = "휴대폰";
inline constexpr std::string_view kHomeLabel = "집";
inline constexpr std::string_view kOfficeLabel = "사무실";
inline constexpr std::string_view kFaxLabel = "팩스";
inline constexpr std::string_view kEmailLabel = "EMail";
inline constexpr std::string_view kRingtoneLabel = "벨";
inline constexpr std::string_view kGroupLabel = "그룹";
inline constexpr std::string_view kLockBox = "잠금";
inline constexpr std::string_view kAvatarUseBox = "아바타 사용";
inline constexpr std::string_view kAvatarEditButton = "편집";
inline constexpr std::string_view kApplyButton = "확인";
inline constexpr std::string_view kDeleteButton = "삭제";
inline constexpr std::string_view kAddEntryQuestion = "이 번지에 전화번호를 추가하시겠습니까?";
inline constexpr std::string_view kFillThenApply = "해당 항목을 채운후 [확인] 버튼을 누르세요.";
inline constexpr std::string_view kDeleteEntryQuestion = "이 번지 데이타를 삭제하시겠습니까?";
inline constexpr std::string_view kNoSlotChosen = "번지를 지정하세요.";
inline constexpr std::string_view kNameMissing = "이름을 입력하세요.";
inline constexpr std::string_view kNoInformation = "정보가 없습니다.";

// Avatar picker
inline constexpr std::string_view kAvatarPickerTitle = "아바타 선택";
inline constexpr std::string_view kAvatarPickerFrame =
    "이미지 선택 (원하는 이미지를 더블클릭 하세요)";
inline constexpr std::string_view kAvatarItemFormat = "%02d";

}  // namespace linkora::texts
