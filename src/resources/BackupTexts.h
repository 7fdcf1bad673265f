#pragma once

#include <string_view>

// Texts of the whole-handset backup and restore.
namespace linkora::texts {

// Step titles of the one progress window of a visit ("%d/%d": step and steps).
inline constexpr std::string_view kBackupConnectTitle = "핸드폰 연결중.. (%d/%d)";
inline constexpr std::string_view kBackupPhonebookTitle = "전화번호부 백업중.. (%d/%d)";
inline constexpr std::string_view kBackupScheduleTitle = "스케줄/D-day 백업중.. (%d/%d)";
inline constexpr std::string_view kBackupMessagesTitle = "메시지 백업중.. (%d/%d)";
inline constexpr std::string_view kBackupMediaListTitle = "미디어 목록 백업중.. (%d/%d)";
inline constexpr std::string_view kBackupMediaTitle = "미디어 백업중.. %d/%d개 (%d/%d)";
inline constexpr std::string_view kBackupFilesTitle = "백업 파일 정리중.. (%d/%d)";
inline constexpr std::string_view kBackupEndTitle = "핸드폰 연결 종료중..";

// Names of the sections, for the failure message.
inline constexpr std::string_view kSectionConnect = "핸드폰 연결";
inline constexpr std::string_view kSectionPhonebook = "전화번호부";
inline constexpr std::string_view kSectionSchedule = "스케줄/D-day";
inline constexpr std::string_view kSectionMessages = "메시지";
inline constexpr std::string_view kSectionMediaList = "미디어 목록";
inline constexpr std::string_view kSectionMedia = "미디어";
inline constexpr std::string_view kSectionFiles = "백업 파일";

inline constexpr std::string_view kBackupSectionFailed =
    "백업하지 못했습니다: %s 단계에서 실패했습니다. 백업 폴더는 완성되지 않았습니다.";
inline constexpr std::string_view kBackupFolderNotEmpty =
    "%s 폴더에 파일이 있습니다. 새 폴더나 빈 폴더를 고르세요.";
inline constexpr std::string_view kBackupCannotMakeFolder = "%s 폴더를 만들 수 없습니다.";
inline constexpr std::string_view kBackupMediaSkipped = "%02d번 미디어는 백업하지 않았습니다: %s";
inline constexpr std::string_view kBackupSummary =
    "백업이 끝났습니다.\n\n전화번호 %d개, 스케줄 %d개, D-day %d개, 메시지 %d개, 미디어 %d개";

// Restore.
inline constexpr std::string_view kManifestUnreadable = "%s 파일을 읽을 수 없습니다.";
inline constexpr std::string_view kManifestMismatch =
    "%s 파일이 백업 목록(manifest.json)과 다릅니다. 복원하지 않습니다.";
inline constexpr std::string_view kRestoreReadTitle = "핸드폰 내용 비교중..";
inline constexpr std::string_view kRestorePhonebookTitle = "전화번호부 복원중..";
inline constexpr std::string_view kRestoreScheduleTitle = "스케줄/D-day 복원중..";
inline constexpr std::string_view kRestoreMediaTitle = "미디어 복원중..";
inline constexpr std::string_view kRestoreWaitTitle = "핸드폰 재시작 기다리는중..";
inline constexpr std::string_view kRestoreNothing = "핸드폰이 백업과 같습니다. 바꿀 것이 없습니다.";
inline constexpr std::string_view kRestoreQuestion =
    "핸드폰의 내용을 다음과 같이 바꿉니다. 쓰기가 끝날 때마다 핸드폰이 재시작합니다.\n\n%s\n\n"
    "복원하시겠습니까?";
inline constexpr std::string_view kRestoreDone = "복원이 끝났습니다.\n\n%s";
inline constexpr std::string_view kRestartNotConfirmed =
    "쓰기는 끝났지만 핸드폰이 재시작한 뒤 30초 안에 다시 응답하지 않았습니다. 케이블과 전원을 "
    "확인하세요.";

// Safety copies and restores that stopped part-way.
inline constexpr std::string_view kRestoreUnfinished =
    "지난 복원이 중간에 멈췄습니다. 핸드폰의 %s 내용이 일부만 바뀌었을 수 있습니다.\n\n"
    "되돌리는 방법은 두 가지입니다.\n"
    "- 복원을 끝내기: 같은 백업(%s)을 다시 복원합니다.\n"
    "- 복원 전으로 되돌리기: 안전 사본(%s)을 복원합니다.";
inline constexpr std::string_view kSafetyCopyFailed =
    "핸드폰의 지금 내용을 안전 사본으로 저장하지 못해서 쓰지 않았습니다: %s";
inline constexpr std::string_view kSafetyCopyFailedQuestion =
    "마지막으로 읽은 핸드폰 내용을 안전 사본으로 저장하지 못했습니다: %s\n\n안전 사본 없이 "
    "쓰시겠습니까?";
inline constexpr std::string_view kSafetyCopySaved =
    "핸드폰의 이전 내용은 안전 사본 %s 에 있습니다.";
inline constexpr std::string_view kRestoreOtherModel =
    "이 백업은 %s의 것이고 연결된 핸드폰은 %s입니다. 다른 기종에는 복원하지 않습니다.";
inline constexpr std::string_view kRestoreOtherNumberQuestion =
    "이 백업은 전화번호 %s 핸드폰의 것인데, 연결된 핸드폰의 전화번호는 %s입니다.\n\n"
    "다른 핸드폰에 복원하시겠습니까?";
inline constexpr std::string_view kRestoreOtherNumberRefused =
    "이 백업은 전화번호 %s 핸드폰의 것이고 연결된 핸드폰은 %s입니다. 복원하지 않았습니다.";
inline constexpr std::string_view kRestoreMediaFailed = "미디어 %s 을(를) 복원하지 못했습니다: %s";
inline constexpr std::string_view kRestorePartlyDone =
    "복원이 끝났지만 미디어 %d개는 복원하지 못했습니다.\n\n%s";
inline constexpr std::string_view kRestoreNothingButStaying =
    "백업의 내용이 모두 핸드폰에 있습니다. 바꿀 것이 없습니다.\n백업에 없는 미디어 %d개는 핸드폰에 "
    "남습니다.";

// Lines of the change list.
inline constexpr std::string_view kChangeEntries = "전화번호: 추가 %d, 변경 %d, 삭제 %d";
inline constexpr std::string_view kChangeGroups = "그룹 이름: 변경 %d";
inline constexpr std::string_view kChangeSchedules = "스케줄: 추가 %d, 변경 %d, 삭제 %d";
inline constexpr std::string_view kChangeDdays = "D-day: 추가 %d, 변경 %d, 삭제 %d";
inline constexpr std::string_view kChangeMedia = "올릴 미디어: %d개";
inline constexpr std::string_view kChangeEntryLine = "  %s %03d번지 %s";
inline constexpr std::string_view kChangeMoreLines = "  ... 외 %d개";
inline constexpr std::string_view kChangeScheduleLine = "  %s 스케줄 %s %s";
inline constexpr std::string_view kChangeDdayLine = "  %s D-day %s %s";
inline constexpr std::string_view kChangeMediaLine = "  + 미디어 %s";
inline constexpr std::string_view kChangeMediaStaying = "핸드폰에 남는 미디어: %d개";
inline constexpr std::string_view kChangeMediaStayingLine = "  = 미디어 %s (핸드폰에 남습니다)";

// Desktop.
inline constexpr std::string_view kBackupMenuItem = "백업...";
inline constexpr std::string_view kRestoreMenuItem = "복원...";
inline constexpr std::string_view kBackupWindowTitle = "핸드폰 백업";
inline constexpr std::string_view kRestoreWindowTitle = "핸드폰 복원";
inline constexpr std::string_view kBackupFolderCaption = "백업할 폴더 선택";
inline constexpr std::string_view kRestoreFolderCaption = "복원할 백업 폴더 선택";

}  // namespace linkora::texts
