#include "schedule/Ringtones.h"

namespace linkora {

const RingtoneList RingtoneNames = {
    "꽃의 왈츠",   "쇼팽-녹턴",     "슈베르트-숭어",  "사랑의기쁨",       "요한-도나우강",
    "캐논변주곡",  "투우사의 노래", "페르귄트조곡중", "쇼스타코비치왈츠", "쇼팽-즉흥환상곡",
    "와이먼-은파", "아를르의 여인", "귀여운 소리",    "웃음 소리",        "풍경 소리",
    "춤추는 소리", "경쾌한 소리",   "일반 벨소리",    "신비한 소리",      "재밌는 소리",
    "나팔 소리",   "창작 벨소리",   "여보시오",       "라틴음악",         "뽕  짝",
    "재  즈",      "테크노",        "펑  키",         "하와이안 송",      "힙  합",
};

const RingtoneList DdayRingtoneNames = {
    "꽃의 왈츠",   "쇼팽-녹턴",     "슈베르트-숭어",  "사랑의기쁨",       "요한-도나우강",
    "캐논변주곡",  "투우사의 노래", "페르귄트조곡중", "쇼스타코비치왈츠", "쇼팽-즉흥환상곡",
    "와이먼-은파", "아를르의 여인", "귀여운 소리",    "웃음 소리",        "풍경 소리",
    "강아지 소리", "가야금 소리",   "게임 벨",        "신비한 소리",      "재밌는 소리",
    "조용한 소리", "창작 벨소리",   "여보시오",       "라틴음악",         "뽕  짝",
    "재  즈",      "테크노",        "펑  키",         "하와이안 송",      "힙  합",
};

int RingtonePosition(std::uint8_t code) {
  if (code < kFirstRingtoneCode || code > kLastRingtoneCode) {
    return -1;
  }
  return code - kFirstRingtoneCode;
}

std::string_view RingtoneName(const RingtoneList& names, std::uint8_t code) {
  const int position = RingtonePosition(code);
  return position < 0 ? std::string_view{} : names[static_cast<std::size_t>(position)];
}

}  // namespace linkora
