#include "cli/TerminalHost.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/TextColumns.h"

namespace linkora::cli {
namespace {

struct HostRun {
  std::istringstream in;
  std::ostringstream err;
  TerminalHost host;

  explicit HostRun(bool interactive, int columns = 80)
      : host(in, err,
             {.interactive = interactive, .columns = columns, .phone = {}, .lockCode = {}}) {}
};

// A phonebook read as the core drives it: titles with counters, a percentage
// per record, a message at the end.
void ReadPhonebook(TerminalHost& host) {
  host.SetTitle("전화번호 내려받기중..");
  for (int part = 1; part <= 5; ++part) {
    host.SetTitle("전화번호 목록 수신중.. [" + std::to_string(20 * part) + "%]");
    host.SetProgress(20 * part);
  }
  for (int slot = 1; slot <= 3; ++slot) {
    host.SetTitle("전화번호 데이터 수신중.. [00" + std::to_string(slot) + "]");
    host.SetProgress(slot * 100 / 3);
  }
  host.ShowMessage("Media Data를 PC에 저장하였습니다.");
  host.ShowMessage("Media Data를 PC에 저장하였습니다.");
}

TEST(TerminalHostTest, WithoutATerminalEachStepIsOneLine) {
  HostRun run(false);
  ReadPhonebook(run.host);
  run.host.SetItem("봄바람");
  run.host.SetTitle("파일 내려받기중..");
  run.host.SetProgress(50);
  run.host.SetTitle("파일 내려받기중..");
  run.host.SetItem("아침알람");
  run.host.SetTitle("파일 내려받기중..");
  EXPECT_EQ(run.err.str(),
            "전화번호 내려받기중..\n"
            "전화번호 목록 수신중..\n"
            "전화번호 데이터 수신중..\n"
            "Media Data를 PC에 저장하였습니다.\n"
            "파일 내려받기중.. 봄바람\n"
            "파일 내려받기중.. 아침알람\n");
}

TEST(TerminalHostTest, OnATerminalOneLineIsRedrawnWithOnePercentage) {
  HostRun run(true);
  run.host.SetTitle("전화번호 목록 수신중.. [20%]");
  run.host.SetProgress(20);
  run.host.SetTitle("전화번호 데이터 수신중.. [003]");
  run.host.SetProgress(55);
  run.host.ShowMessage("통신 에러");
  run.host.SetProgress(60);
  run.host.FinishLine();
  EXPECT_EQ(run.err.str(),
            "\r\033[K전화번호 목록 수신중.. [--------------------] 0%"
            "\r\033[K전화번호 목록 수신중.. [####----------------] 20%"
            "\r\033[K전화번호 데이터 수신중.. [003] [--------------------] 0%"
            "\r\033[K전화번호 데이터 수신중.. [003] [###########---------] 55%"
            "\r\033[K통신 에러\n"
            "\r\033[K전화번호 데이터 수신중.. [003] [############--------] 60%\n");
}

TEST(TerminalHostTest, TheRedrawnLineFitsTheTerminal) {
  HostRun run(true, 40);
  run.host.SetItem("아주아주아주아주긴이름의벨소리파일");
  run.host.SetTitle("파일 내려받기중..");
  const std::string line = run.err.str().substr(4);  // after "\r\033[K"
  EXPECT_EQ(DisplayWidth(line), 39) << line;
  EXPECT_EQ(line.substr(line.size() - 4), "] 0%");
}

TEST(TerminalHostTest, TitlesSplitIntoStepAndCounter) {
  const struct {
    const char* title;
    const char* step;
    const char* item;
  } cases[] = {
      {"전화번호 데이터 수신중.. [003]", "전화번호 데이터 수신중..", "[003]"},
      {"전화번호 목록 수신중.. [100%]", "전화번호 목록 수신중..", ""},
      {"파일 전송중 Step 1.. (2 of 3)", "파일 전송중 Step 1..", "(2 of 3)"},
      {"연결된 노르반 단말기 찾는중...", "연결된 노르반 단말기 찾는중...", ""},
      {"전송완료", "전송완료", ""},
  };
  for (const auto& c : cases) {
    const auto [step, item] = SplitTitle(c.title);
    EXPECT_EQ(step, c.step);
    EXPECT_EQ(item, c.item);
  }
}

TEST(TerminalHostTest, ColumnsCountHangulAsTwoCells) {
  const struct {
    const char* text;
    int cells;
  } cases[] = {{"", 0}, {"abc", 3}, {"홍길동", 6}, {"a홍b", 4}, {"ｱ", 1}, {"Ａ", 2}, {"\xff", 1}};
  for (const auto& c : cases) {
    EXPECT_EQ(DisplayWidth(c.text), c.cells) << c.text;
  }
  EXPECT_EQ(PadToWidth("홍길동", 8), "홍길동  ");
  EXPECT_EQ(PadToWidth("abc", 2), "abc");
  EXPECT_EQ(CutToWidth("홍길동", 5), "홍길");
}

}  // namespace
}  // namespace linkora::cli
