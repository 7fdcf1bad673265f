#pragma once

#include <array>
#include <string_view>

#include "resources/Texts.h"  // the texts shared by every function

// Texts of the scheduler: its transfers with the handset, the schedule file
// and the scheduler window. UTF-8; formats are filled with fmt::sprintf.
namespace linkora::texts {

// Scheduler window
inline constexpr std::string_view kSchedulerTitle = "Linkora 스케줄러";
inline constexpr std::string_view kScheduleLineFormat = "%d-%02d-%02d %02d:%02d";
inline constexpr std::string_view kDdayLineFormat = "%d-%02d-%02d";
inline constexpr std::string_view kCountdownFormat = "D%c%d";
inline constexpr std::array<std::string_view, 4> kAlarmNames = {"사용안함", "10분전", "30분전",
                                                                "1시간전"};
inline constexpr std::string_view kSchedulerReadButton = "(&R)노르반에서 읽기";
inline constexpr std::string_view kSchedulerWriteButton = "(&W)노르반로 저장";
inline constexpr std::string_view kSchedulerLoadButton = "(&O)파일에서 읽기";
inline constexpr std::string_view kSchedulerSaveButton = "(&S)파일에 저장";
inline constexpr std::string_view kScheduleListLabel = "스케줄러 목록";
inline constexpr std::string_view kDdayListLabel = "DDAY 목록";
inline constexpr std::string_view kContentLabel = "내용";
inline constexpr std::string_view kPlaceLabel = "장소";
inline constexpr std::string_view kTitleLabel = "제목";
inline constexpr std::string_view kAlarmLabel = "알람";
inline constexpr std::string_view kSchedulerRingtoneLabel = "벨소리";
inline constexpr std::string_view kStoreButton = "수정";
inline constexpr std::string_view kSchedulerDeleteButton = "삭제";
inline constexpr std::string_view kAddScheduleGroup = "스케줄러 추가";
inline constexpr std::string_view kAddScheduleButton = "스케줄 추가";
inline constexpr std::string_view kAddDdayButton = "DDAY 추가";
inline constexpr std::string_view kCloseButton = "닫기";
// The time pickers: 12-hour clock with the half-day word.
inline constexpr std::string_view kTimePickerFormat = "AP hh:mm";

// Entry dialogs ("스케줄러 추가" and "DDAY 추가" are their titles and groups)
inline constexpr std::string_view kDateLabel = "날짜";
inline constexpr std::string_view kTimeLabel = "시간";
inline constexpr std::string_view kAddButton = "추가";
inline constexpr std::string_view kStoreFull = "저장공간이 부족합니다.";

// Transfers with the handset
inline constexpr std::string_view kScheduleSyncTitle = "스케줄러 싱크 진행상황";
inline constexpr std::string_view kScheduleReadTitle = "스케줄러 데이터 내려받기중..";
inline constexpr std::string_view kScheduleWriteTitle = "스케줄러 데이터 저장중..";
inline constexpr std::string_view kScheduleReadFailed =
    "스케줄러 데이터 가져오기중 오류가 발생했습니다. 다시 시도해주십시요.";
inline constexpr std::string_view kDdayReadFailed =
    "DDAY 데이터 가져오기중 오류가 발생했습니다. 다시 시도해주십시요.";
// A chain of records on the handset that leads back to a position already read.
inline constexpr std::string_view kScheduleChainBroken =
    "단말기의 스케줄러 데이터 연결이 잘못되어 읽기를 중단했습니다.";
inline constexpr std::string_view kDdayChainBroken =
    "단말기의 DDAY 데이터 연결이 잘못되어 읽기를 중단했습니다.";
inline constexpr std::string_view kScheduleWriteFailed =
    "스케줄러 데이터를 전송하는 도중 오류가 발생했습니다. 다시 시도해주십시요.";
inline constexpr std::string_view kDdayWriteFailed =
    "DDAY 데이터를 전송하는 도중 오류가 발생했습니다. 다시 시도해주십시요.";
inline constexpr std::string_view kNoScheduleData = "데이터가 없습니다.";
inline constexpr std::string_view kScheduleReadDoneFormat =
    "%d개의 스케줄러와 %d개의 DDAY 데이터를 받았습니다.";
// The two questions before a write, in Yes/No boxes captioned "Linkora".
inline constexpr std::string_view kOverwriteHandsetQuestion =
    "작업중인 데이터로 단말기에 덮어씁니다. 계속하시겠습니까?";

// Schedule file
inline constexpr std::string_view kScheduleFileMagic =
    "Norvane Schedule File RX-210/310 QTL REV 0.2";
inline constexpr std::string_view kScheduleFileExtension = "nsf";
inline constexpr std::string_view kScheduleFileInitialName = "*.nsf";
inline constexpr std::string_view kScheduleFileFilter = "Norvane Schedule File (*.nsf)|*.nsf||";
inline constexpr std::string_view kScheduleFileSaved =
    "현재 스케줄 데이터를 파일에 저장하였습니다.";
inline constexpr std::string_view kScheduleFileLoadedFormat =
    "%d개의 스케줄러와 %d개의 DDAY 데이터를 읽었습니다.";

// iCalendar files (.ics): the extra type of the file dialogs, and what an
// import tells about the events that did not fit the handset as they were.
inline constexpr std::string_view kIcalFileFilter = "iCalendar (*.ics)|*.ics||";
inline constexpr std::string_view kIcalAlarmDescription = "알람";
inline constexpr std::string_view kIcalNotCalendar = "iCalendar 파일 형식이 잘못되었습니다.";
inline constexpr std::string_view kIcalTooLarge = "iCalendar 파일이 너무 큽니다.";
inline constexpr std::string_view kIcalNotRead = "파일을 읽을 수 없습니다.";
inline constexpr std::string_view kIcalNotWritten = "파일을 저장하지 못했습니다.";
inline constexpr std::string_view kIcalSaved =
    "현재 스케줄 데이터를 iCalendar 파일에 저장하였습니다.";
inline constexpr std::string_view kIcalUntitled = "(제목 없음)";
inline constexpr std::string_view kIcalItemFormat = "%s (%04d-%02d-%02d)";
inline constexpr std::string_view kIcalTodoSkipped =
    "할 일(VTODO)은 단말기에 저장할 수 없어 가져오지 않았습니다.";
inline constexpr std::string_view kIcalJournalSkipped =
    "메모(VJOURNAL)는 단말기에 저장할 수 없어 가져오지 않았습니다.";
inline constexpr std::string_view kIcalOtherSkipped =
    "%s 항목은 단말기에 저장할 수 없어 가져오지 않았습니다.";
inline constexpr std::string_view kIcalNoStart = "시작 날짜가 없어 가져오지 않았습니다.";
inline constexpr std::string_view kIcalOutOfRange =
    "날짜가 단말기의 범위(1997-01-01 ~ 2049-12-31) 밖이어서 가져오지 않았습니다.";
inline constexpr std::string_view kIcalScheduleFull =
    "스케줄 저장공간(70개)이 가득 차서 가져오지 않았습니다.";
inline constexpr std::string_view kIcalDdayFull =
    "DDAY 저장공간(27개)이 가득 차서 가져오지 않았습니다.";
inline constexpr std::string_view kIcalDuplicate = "같은 항목이 이미 있어 가져오지 않았습니다.";
inline constexpr std::string_view kIcalChangedInstance =
    "반복 일정의 바뀐 회차는 가져오지 않았습니다.";
inline constexpr std::string_view kIcalTimeConverted =
    "%s 시각 %04d-%02d-%02d %02d:%02d을(를) 이 PC의 시각 %04d-%02d-%02d %02d:%02d(으)로 "
    "바꾸었습니다.";
inline constexpr std::string_view kIcalUnknownZone =
    "시간대 %s을(를) 알 수 없어 적힌 시각 그대로 가져왔습니다.";
inline constexpr std::string_view kIcalRepeatFirst =
    "반복 일정은 첫 회차(%04d-%02d-%02d)만 가져왔습니다.";
inline constexpr std::string_view kIcalRepeatUpcoming =
    "반복 일정은 오늘 이후 첫 회차(%04d-%02d-%02d)만 가져왔습니다.";
inline constexpr std::string_view kIcalTextCut = "%s을(를) %d바이트로 잘랐습니다.";
inline constexpr std::string_view kIcalCharsLost =
    "%s의 문자 \"%s\"은(는) 단말기에서 쓸 수 없어 뺐습니다.";
inline constexpr std::string_view kIcalAlarmChanged = "알람 %d분전을 \"%s\"(으)로 바꾸었습니다.";
inline constexpr std::string_view kIcalAlarmAfterStart =
    "시작 뒤에 울리는 알람은 가져오지 않았습니다.";
inline constexpr std::string_view kIcalExtraAlarm = "두 번째 이후의 알람은 가져오지 않았습니다.";
inline constexpr std::string_view kIcalDdayAlarm =
    "DDAY에는 알람이 없어 알람을 가져오지 않았습니다.";
}  // namespace linkora::texts
