#pragma once

#include <string_view>

#include "resources/Texts.h"  // the texts shared by every function

// Texts of the application shell: main window, menu, port search, progress
// windows, About and help. UTF-8; formats are filled with fmt::sprintf.
namespace linkora::texts {

// Application
inline constexpr std::string_view kVersionText = "노르반 Linkora RX-2100/3100 v1.4.7 release";
inline constexpr std::string_view kProfileSection = "Norvane Linkora";
inline constexpr std::string_view kProfilePortKey = "Port";
inline constexpr std::string_view kProfileDataPathKey = "DataPath";
// Where the file dialogs of each kind of file last were.
inline constexpr std::string_view kProfilePhonebookFolderKey = "PhonebookPath";
inline constexpr std::string_view kProfileScheduleFolderKey = "SchedulePath";
inline constexpr std::string_view kProfileMessageFolderKey = "MessagePath";
inline constexpr std::string_view kProfileMediaFolderKey = "MediaPath";
inline constexpr std::string_view kProfileBackupFolderKey = "BackupPath";
inline constexpr std::string_view kPortNameFormat = "COM%d";

// Main menu
inline constexpr std::string_view kMenuFile = "(&F)파일";
inline constexpr std::string_view kMenuExit = "(&X) 종료";
inline constexpr std::string_view kMenuPort = "(&S)포트설정";
inline constexpr std::string_view kMenuSearch = "(&S) 연결된 노르반 단말기 자동검색";
inline constexpr std::string_view kMenuHelp = "(&H)도움말";
inline constexpr std::string_view kMenuHelpContents = "(&H) Linkora 도움말";
inline constexpr std::string_view kMenuAbout = "(&A) Linkora 에 관해서";
// The sixteen port items, COM1 to COM16, with their keyboard marks.
inline constexpr std::string_view kMenuPortItems[16] = {
    "COM&1", "COM&2",  "COM&3",     "COM&4",     "COM&5",     "COM&6",     "COM&7",     "COM&8",
    "COM&9", "COM1&0", "COM11(&A)", "COM12(&B)", "COM13(&C)", "COM14(&D)", "COM15(&E)", "COM16(&F)",
};

// Buttons of the Yes/No boxes
inline constexpr std::string_view kYes = "예(&Y)";
inline constexpr std::string_view kNo = "아니요(&N)";

// Exit
inline constexpr std::string_view kExitQuestion = "프로그램을 종료하시겠습니까?";

// Closing a phonebook or scheduler window whose edits are neither written nor saved
inline constexpr std::string_view kCloseWithUnsavedEdits =
    "저장하지 않은 변경 내용이 있습니다.\n창을 닫으면 변경 내용이 사라집니다. 닫으시겠습니까?";

// Function buttons and the titles of their windows
inline constexpr std::string_view kPhonebookButton = "전화번호부";
inline constexpr std::string_view kSchedulerButton = "스케줄러";
inline constexpr std::string_view kMessagesButton = "문자메시지";
inline constexpr std::string_view kMediaButton = "미디어";
inline constexpr std::string_view kMediaWindowTitle = "Linkora 미디어 관리";

// Handset search
inline constexpr std::string_view kSearchTitle = "연결된 노르반 단말기 찾는중...";
inline constexpr std::string_view kSearchFound = "COM%d 포트에서 노르반 단말기를 찾았습니다.";
inline constexpr std::string_view kSearchNotFound = "연결된 노르반 단말기를 찾지못했습니다.";

// Progress windows
inline constexpr std::string_view kPercentFormat = "%d%c";

// About and help
inline constexpr std::string_view kAboutTitle = "Linkora 정보";
inline constexpr std::string_view kAboutNotice =
    "노르반 단말기 데이터 관리 프로그램입니다. 전화번호부, 스케줄러, 문자메시지, 미디어를 PC와 "
    "주고받을 수 있습니다.";
inline constexpr std::string_view kHelpTitle = "Linkora 도움말";
inline constexpr std::string_view kHelpMissing = "도움말 파일을 열 수 없습니다.";
// The program's own version beside the version line, e.g. "프로그램 버전 0.1.0".
inline constexpr std::string_view kAboutProgramVersion = "프로그램 버전 %s";

// `linkora --help`, printed before any window opens (English, as the
// command-line tools' help is).
inline constexpr std::string_view kProgramUsage =
    "usage: linkora [options]\n"
    "\n"
    "Reads, edits, saves and writes back the phonebook, the schedules and D-days,\n"
    "the text messages and the ringtones and pictures of an RX-2100/RX-3100\n"
    "handset on a serial port, in a desktop window. The port menu chooses the\n"
    "port, COM1 to COM16; its search finds the handset.\n"
    "\n"
    "options:\n"
    "  --help, -h          this help\n"
    "  --version           the program's version\n"
    "\n"
    "Qt's own options (-platform NAME, -style NAME, -reverse, ...) are taken as well.\n"
    "\n"
    "exit codes: 0 closed normally, 1 no display or Qt could not start\n";

// Report after an import from another program's file
inline constexpr std::string_view kImportReportTitle = "가져오기 결과";
inline constexpr std::string_view kImportReportSummary = "%d개 항목을 가져왔습니다.";
inline constexpr std::string_view kImportReportClean = "모든 항목을 그대로 가져왔습니다.";
inline constexpr std::string_view kImportReportNotes =
    "아래 %d개 항목은 그대로 가져오지 못했습니다:";

}  // namespace linkora::texts
