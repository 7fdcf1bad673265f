#include "schedule/Ringtones.h"

#include <gtest/gtest.h>

#include <string>

namespace linkora {
namespace {

struct CodeCase {
  int code;
  const char* scheduler;  // name in the scheduler window's list
  const char* dday;       // name in the add-D-day dialog's list
};

TEST(RingtonesTest, NamesOfCodesInBothLists) {
  const CodeCase cases[] = {
      {84, "꽃의 왈츠", "꽃의 왈츠"},
      {99, "춤추는 소리", "강아지 소리"},
      {100, "경쾌한 소리", "가야금 소리"},
      {101, "일반 벨소리", "게임 벨"},
      {104, "나팔 소리", "조용한 소리"},
      {108, "뽕  짝", "뽕  짝"},
      {113, "힙  합", "힙  합"},
      {114, "", ""},
      {83, "", ""},
      {0, "", ""},
      {255, "", ""},
  };
  for (const CodeCase& c : cases) {
    const auto code = static_cast<std::uint8_t>(c.code);
    EXPECT_EQ(std::string(RingtoneName(RingtoneNames, code)), c.scheduler) << "code " << c.code;
    EXPECT_EQ(std::string(RingtoneName(DdayRingtoneNames, code)), c.dday) << "code " << c.code;
  }
}

TEST(RingtonesTest, ListsDifferOnlyAtFourPositions) {
  for (int p = 0; p < kRingtoneCount; ++p) {
    const bool differs = p == 15 || p == 16 || p == 17 || p == 20;
    EXPECT_EQ(RingtoneNames[static_cast<std::size_t>(p)] !=
                  DdayRingtoneNames[static_cast<std::size_t>(p)],
              differs)
        << "position " << p;
  }
}

TEST(RingtonesTest, CodeAndPositionAreInverse) {
  EXPECT_EQ(RingtoneCode(0), 84);
  EXPECT_EQ(RingtoneCode(29), 113);
  EXPECT_EQ(RingtonePosition(84), 0);
  EXPECT_EQ(RingtonePosition(113), 29);
  EXPECT_EQ(RingtonePosition(114), -1);
  EXPECT_EQ(RingtonePosition(83), -1);
}

}  // namespace
}  // namespace linkora
