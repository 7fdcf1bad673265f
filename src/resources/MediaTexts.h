#pragma once

#include <string_view>

#include "resources/Texts.h"  // the texts shared by every function

// Texts of the handset file transfer and the media functions. UTF-8 here;
// formats keep their printf-style placeholders and are filled with fmt::sprintf.
namespace linkora::texts {

// Handset file-system frames
inline constexpr std::string_view kFsBadCommand = "Bad Command";
inline constexpr std::string_view kFsErrorFormat =
    "[통신장애] 다시 시도하여 주시기 바랍니다. [(%d) FS ERROR: %d]";
inline constexpr std::string_view kFsSequenceError = "Sequence Number error";
inline constexpr std::string_view kFsBufferExceeded = "임시저장 크기를 초과했습니다.";

// Media transfer window
inline constexpr std::string_view kMediaTransferTitle = "미디어 파일 싱크 진행상황";
inline constexpr std::string_view kMediaListReadTitle = "목록 내려받기중..";
inline constexpr std::string_view kMediaFileReadTitle = "파일 내려받기중..";
inline constexpr std::string_view kMediaWriteStep1Format = "파일 전송중 Step 1.. (%d of %d)";
inline constexpr std::string_view kMediaWriteStep2Format = "파일 전송중 Step 2.. (%d of %d)";
inline constexpr std::string_view kMediaTransferFinishedTitle = "파일 전송을 마쳤습니다.";
inline constexpr std::string_view kMediaFileTransferFailed =
    "파일전송중 오류가 발생하였습니다. 재시도하세요.";
inline constexpr std::string_view kMediaListTransferFailed =
    "리스트전송중 오류가 발생하였습니다. 재시도하세요.";

// Media header and media file checks
inline constexpr std::string_view kMediaHeaderMagic = "NORVANE MEDIA HEADER V1.1";
inline constexpr std::string_view kWrongFileFormat = "잘못된 파일 형식입니다.";
inline constexpr std::string_view kJpegTooLarge =
    "JPG 파일의 최대 허용 크기(128 x 160)를 초과하였습니다.";
inline constexpr std::string_view kSmallModelTakesNoPictures =
    "RX-2100 폰은 사진을 저장할 수 없습니다.";
inline constexpr std::string_view kWrongMediaFormatFormat = "잘못된 미디어 형식입니다. [0x%02X]";

// Handset media list
inline constexpr std::string_view kMediaListFileName = "nvm/info/media_info";
inline constexpr std::string_view kMediaSlotFileFormat = "nvm/media/media_00%02d";
inline constexpr std::string_view kMediaListInvalid = "미디어 리스트정보가 올바르지 않습니다.";
inline constexpr std::string_view kNoMediaOnHandset = "노르반 단말기에서 가져올 데이타가 없습니다.";
inline constexpr std::string_view kTooManyMediaFiles = "최대 저장 파일수를 초과하였습니다.";
inline constexpr std::string_view kHandsetStorageFull = "단말기에 저장공간이 부족합니다.";

// Media upload
inline constexpr std::string_view kUploadFilter =
    "All Media Files (*.sis;*.mmf;*.jpg;*.nmf)|*.sis;*.mmf;*.jpg;*.nmf|Sis Files "
    "(*.sis)|*.sis|Jpeg Files (*.jpg)|*.jpg|Mmf Files (*.mmf)|*.mmf|Norvane Media Files "
    "(*.nmf)|*.nmf||";
inline constexpr std::string_view kFileSelectionFailed = "선택할 수 있는 파일 수를 넘었습니다!!";
inline constexpr std::string_view kAlreadyChosen = "이미 예약되어있습니다.";
inline constexpr std::string_view kTooManyChosenFiles = "선택할 수 있는 파일 수를 초과하였습니다.";
inline constexpr std::string_view kNoFolderForFile = "파일에 대한 디렉토리 정보가 없습니다.";
inline constexpr std::string_view kFileReadFailed = "파일 읽기도중 오류가 발생하였습니다.";
inline constexpr std::string_view kFileTooLarge = "파일 최대 허용 크기를 초과하였습니다.";
inline constexpr std::string_view kFileEmpty = "데이타가 없습니다.";

// Media download
inline constexpr std::string_view kWrongKindFormat = "잘못된 형식입니다. %d";
inline constexpr std::string_view kGifFilter = "GIF Files (*.gif)|*.gif||";
inline constexpr std::string_view kJpegFilter = "JPEG Files (*.jpg)|*.jpg||";
inline constexpr std::string_view kNmfFilter = "Norvane Media Files (*.nmf)|*.nmf||";
inline constexpr std::string_view kReplaceFileFormat =
    "%s은(는) 이미 있습니다. \r\n바꾸시겠습니까?";
inline constexpr std::string_view kDownloadCancelled = "취소되었습니다.";
inline constexpr std::string_view kMediaSaved = "Media Data를 PC에 저장하였습니다.";

// Media window
inline constexpr std::string_view kPhoneMediaGroup = "Phone Media 목록";
inline constexpr std::string_view kPcMediaGroup = "PC Media 목록";
inline constexpr std::string_view kReadListButton = "(&D)폰에서 불러오기";
inline constexpr std::string_view kDownloadButton = "(&S)PC에 저장";
inline constexpr std::string_view kChoosePcFilesButton = "(&L)PC에서 불러오기";
inline constexpr std::string_view kUploadButton = "(&U)폰에 저장하기";

// Media as plain files
inline constexpr std::string_view kNotNmfFileFormat = "%s: 미디어 파일(.nmf)이 아닙니다.";
inline constexpr std::string_view kNmfCutShortFormat =
    "%s: 미디어 파일이 잘렸거나 손상되었습니다. 헤더에 적힌 데이터는 %u바이트인데 %u바이트가 "
    "있습니다.";
inline constexpr std::string_view kNmfNoDataFormat = "%s: 미디어 파일에 데이타가 없습니다.";
inline constexpr std::string_view kNmfUnknownKindFormat =
    "%s: 미디어 데이터의 형식을 알 수 없어 일반 파일로 바꿀 수 없습니다. (형식 코드 %d)";

}  // namespace linkora::texts
