#include "messages/MessageExport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Cp949.h"
#include "tests/media/TempFolder.h"
#include "tests/support/ChildProcess.h"

namespace linkora {
namespace {

std::string Cp949(std::string_view utf8) {
  const auto bytes = cp949::FromUtf8(utf8).value();
  return {bytes.begin(), bytes.end()};
}

const std::string kCsvStart = "\xEF\xBB\xBF메시지함,시간,번호,내용\r\n";

// Received with and without time stamp and with a CR LF break, and a sent
// message without text.
MessageArchive SmallSet() {
  MessageArchive messages;
  messages.AddReceived({Cp949("3월 5일 오후 2시 7분"), Cp949("안녕하세요\r\n저녁에 봐요"),
                        "0161234567", MessageTimeKey(3, 5, 14, 7)});
  messages.AddReceived({"", "no time\rcr", "", 0});
  messages.AddSent({Cp949("12월 25일 오전 12시 30분"), "", "114", MessageTimeKey(12, 25, 0, 30)});
  return messages;
}

TEST(AllMessagesExportTest, TextFileGivesEveryMessageUnderItsBoxWithTimeAndNumber) {
  EXPECT_EQ(MessageExport(MessageExport::Format::Text).Render(SmallSet()),
            "받은 메시지 2개, 보낸 메시지 1개\n"
            "\n==== 받은 메시지 1 ====\n받은시간: 3월 5일 오후 2시 7분\n연락번호: 0161234567\n"
            "\n안녕하세요\n저녁에 봐요\n"
            "\n==== 받은 메시지 2 ====\n받은시간: 없음\n연락번호: 없음\n\nno time\ncr\n"
            "\n==== 보낸 메시지 1 ====\n보낸시간: 12월 25일 오전 12시 30분\n수신번호: 114\n"
            "\n\n");
  EXPECT_EQ(MessageExport(MessageExport::Format::Text).Render({}),
            "받은 메시지 0개, 보낸 메시지 0개\n");
}

TEST(AllMessagesExportTest, CsvQuotesOnlyTheFieldsThatNeedIt) {
  struct Case {
    std::string text;
    std::string number;
    std::string record;
  };
  const std::vector<Case> cases = {
      {"plain", "0161234567", "받은 메시지,3월 5일,0161234567,plain\r\n"},
      {"a,b", "1", "받은 메시지,3월 5일,1,\"a,b\"\r\n"},
      {"say \"hi\"", "1", "받은 메시지,3월 5일,1,\"say \"\"hi\"\"\"\r\n"},
      {"one\r\ntwo", "1", "받은 메시지,3월 5일,1,\"one\r\ntwo\"\r\n"},
      {"lf\nonly", "1", "받은 메시지,3월 5일,1,\"lf\nonly\"\r\n"},
      {"cr\ronly", "1", "받은 메시지,3월 5일,1,\"cr\ronly\"\r\n"},
      {Cp949("한글 문자"), "", "받은 메시지,3월 5일,,한글 문자\r\n"},
      {"", "", "받은 메시지,3월 5일,,\r\n"},
      // An extended syllable whose second byte is below 0x80, and a lone lead byte.
      {"\x8C\x63 a\xB0", "1", "받은 메시지,3월 5일,1,똠 a\xEF\xBF\xBD\r\n"},
  };
  for (const Case& c : cases) {
    MessageArchive messages;
    messages.AddReceived({Cp949("3월 5일"), c.text, c.number, 0});
    EXPECT_EQ(MessageExport(MessageExport::Format::Csv).Render(messages), kCsvStart + c.record)
        << c.text;
  }
  MessageArchive sent;
  sent.AddSent({"", "x", "114", 0});
  EXPECT_EQ(MessageExport(MessageExport::Format::Csv).Render(sent),
            kCsvStart + "보낸 메시지,,114,x\r\n");
}

TEST(AllMessagesExportTest, CsvReadsBackWithPythonsStrictCsvReader) {
  MessageArchive messages = SmallSet();
  messages.AddSent({"", Cp949("쉼표, \"따옴표\"\n줄바꿈"), "", 0});
  test::TempFolder folder;
  const auto path = folder.path / "messages.csv";
  MessageExport exporter(MessageExport::Format::Csv);
  ASSERT_TRUE(exporter.Save(path, messages)) << exporter.errorString();
  const char* script =
      "import csv, json, sys\n"
      "with open(sys.argv[1], newline='', encoding='utf-8-sig') as f:\n"
      "    print(json.dumps(list(csv.reader(f, strict=True)), ensure_ascii=False))\n";
  const test::ChildResult python =
      test::RunChild("/usr/bin/env", {"python3", "-c", script, path.string()});
  ASSERT_EQ(python.exitCode, 0) << python.err;
  EXPECT_EQ(
      python.out,
      R"([["메시지함", "시간", "번호", "내용"], )"
      R"(["받은 메시지", "3월 5일 오후 2시 7분", "0161234567", "안녕하세요\r\n저녁에 봐요"], )"
      R"(["받은 메시지", "", "", "no time\rcr"], )"
      R"(["보낸 메시지", "12월 25일 오전 12시 30분", "114", ""], )"
      R"(["보낸 메시지", "", "", "쉼표, \"따옴표\"\n줄바꿈"]])"
      "\n");
}

TEST(AllMessagesExportTest, SaveWritesTheRenderedBytesOrSaysWhyNot) {
  test::TempFolder folder;
  MessageExport exporter(MessageExport::Format::Text);
  ASSERT_TRUE(exporter.Save(folder.path / "all.txt", SmallSet()));
  const auto bytes = test::TempFolder::Read(folder.path / "all.txt");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), exporter.Render(SmallSet()));
  EXPECT_EQ(exporter.errorString(), "");

  const auto missing = folder.path / "missing" / "all.txt";
  EXPECT_FALSE(exporter.Save(missing, SmallSet()));
  EXPECT_EQ(exporter.errorString(), "파일 쓰기도중 오류가 발생하였습니다.\n" + missing.string() +
                                        ": No such file or directory");
}

TEST(AllMessagesExportTest, FormatsAreNamedByTheirExtensions) {
  EXPECT_EQ(MessageExport::FormatNamed("txt"), MessageExport::Format::Text);
  EXPECT_EQ(MessageExport::FormatNamed("CSV"), MessageExport::Format::Csv);
  EXPECT_EQ(MessageExport::FormatNamed("xls"), std::nullopt);
  EXPECT_EQ(MessageExport::DefaultFileName(MessageExport::Format::Text), "messages.txt");
  EXPECT_EQ(MessageExport::DefaultFileName(MessageExport::Format::Csv), "messages.csv");
}

}  // namespace
}  // namespace linkora
