#include "fsxfer/PhoneFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "link/SessionState.h"
#include "tests/support/FakeHandsetLibrary.h"
#include "tests/support/RecordingTransferHost.h"

namespace linkora {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Bytes = std::vector<std::uint8_t>;

void Append16(Bytes& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Append32(Bytes& out, unsigned value) {
  Append16(out, value & 0xFFFF);
  Append16(out, value >> 16);
}

void AppendName(Bytes& out, const std::string& name) {
  out.insert(out.end(), name.begin(), name.end());
  out.push_back(0);
}

// Responses as the handset lays them out.
Bytes FirstReadResponse(unsigned total, const Bytes& chunk, bool more, std::uint8_t status = 0,
                        std::uint8_t code = 0x59) {
  Bytes r{code, 4, status, 0, static_cast<std::uint8_t>(more ? 1 : 0)};
  Append32(r, total);
  Append16(r, static_cast<unsigned>(chunk.size()));
  r.insert(r.end(), chunk.begin(), chunk.end());
  return r;
}

Bytes LaterReadResponse(std::uint8_t sequence, const Bytes& chunk, bool more,
                        std::uint8_t status = 0) {
  Bytes r{0x59, 4, status, sequence, static_cast<std::uint8_t>(more ? 1 : 0)};
  Append16(r, static_cast<unsigned>(chunk.size()));
  r.insert(r.end(), chunk.begin(), chunk.end());
  return r;
}

Bytes Pattern(std::size_t size, int seed = 0) {
  Bytes out(size);
  for (std::size_t i = 0; i < size; ++i) {
    out[i] = static_cast<std::uint8_t>((i * 7 + static_cast<std::size_t>(seed)) & 0xFF);
  }
  return out;
}

Bytes Slice(const Bytes& bytes, std::size_t from, std::size_t count) {
  return Bytes(bytes.begin() + static_cast<long>(from),
               bytes.begin() + static_cast<long>(from + count));
}

// Sends are kept whole; each receive takes the next scripted reply, where an
// empty optional is a receive that fails.
class PhoneFileTest : public ::testing::Test {
 protected:
  PhoneFileTest() {
    fake.On("XrsSendFrame", [this](test::FakeCall& call) {
      sent.emplace_back(call.data.begin(), call.data.end());
      return sendFails ? 0 : 1;
    });
    fake.On("XrsRecvFrame", [this](test::FakeCall& call) {
      EXPECT_EQ(call.buffer.size(), 267u);
      if (replies.empty() || !replies.front()) {
        if (!replies.empty()) {
          replies.pop_front();
        }
        return 0;
      }
      const Bytes reply = *replies.front();
      replies.pop_front();
      std::copy(reply.begin(), reply.end(), call.buffer.begin());
      return 1;
    });
  }

  LinkContext Context() { return {fake, fake.sleep, state}; }

  int Read(const std::string& name, std::size_t capacity = kPhoneFileCapacity) {
    buffer.assign(capacity, 0);
    return ReadPhoneFile(Context(), host, name, buffer, &received);
  }

  int Write(const std::string& name, const Bytes& data) {
    return WritePhoneFile(Context(), host, name, data);
  }

  test::FakeHandsetLibrary fake;
  SessionState state;
  test::RecordingTransferHost host;
  std::vector<Bytes> sent;
  std::deque<std::optional<Bytes>> replies;
  bool sendFails = false;
  Bytes buffer;
  std::size_t received = 0;
};

TEST_F(PhoneFileTest, ReadSendsLongFormFirstThenShortForm) {
  const Bytes file = Pattern(500);
  replies = {FirstReadResponse(500, Slice(file, 0, 256), true),
             LaterReadResponse(1, Slice(file, 256, 200), true),
             LaterReadResponse(2, Slice(file, 456, 44), false)};
  EXPECT_EQ(Read("nvm/info/media_info"), 500);

  Bytes first{0x59, 4, 0, 20};
  AppendName(first, "nvm/info/media_info");
  ASSERT_EQ(sent.size(), 3u);
  EXPECT_EQ(sent[0], first);
  EXPECT_EQ(sent[0].size(), 24u);  // name length + 4
  EXPECT_EQ(sent[1], (Bytes{0x59, 4, 1}));
  EXPECT_EQ(sent[2], (Bytes{0x59, 4, 2}));
  EXPECT_EQ(Slice(buffer, 0, 500), file);
  EXPECT_EQ(received, 500u);
  // 256 * 100 / 500, 456 * 100 / 500, then the final report
  EXPECT_THAT(host.progress, ElementsAre(51, 91, 100));
  EXPECT_EQ(host.pumps, 3);
  EXPECT_THAT(host.messages, IsEmpty());
  EXPECT_THAT(
      fake.log,
      ElementsAre(::testing::StartsWith("XrsSendFrame("), "Sleep(20)", "XrsRecvFrame(267)",
                  ::testing::StartsWith("XrsSendFrame("), "Sleep(20)", "XrsRecvFrame(267)",
                  ::testing::StartsWith("XrsSendFrame("), "Sleep(20)", "XrsRecvFrame(267)"));
}

TEST_F(PhoneFileTest, ReadNumbersMoreThan256ExchangesSkippingZero) {
  constexpr int kExchanges = 300;
  replies.push_back(FirstReadResponse(kExchanges, Bytes{0}, true));
  // Later responses carry their own numbers; any value but 0 is accepted.
  for (int i = 1; i < kExchanges; ++i) {
    replies.push_back(
        LaterReadResponse(0x33, Bytes{static_cast<std::uint8_t>(i)}, i + 1 < kExchanges));
  }
  EXPECT_EQ(Read("nvm/media/media_0001"), kExchanges);
  ASSERT_EQ(sent.size(), static_cast<std::size_t>(kExchanges));
  std::vector<int> numbers;
  for (const Bytes& request : sent) {
    numbers.push_back(request[2]);
  }
  EXPECT_EQ(numbers[0], 0);
  EXPECT_EQ(numbers[1], 1);
  EXPECT_EQ(numbers[255], 255);
  EXPECT_EQ(numbers[256], 1);
  EXPECT_EQ(numbers[257], 2);
  EXPECT_EQ(numbers[299], 44);
  EXPECT_EQ(std::count(numbers.begin(), numbers.end(), 0), 1);
}

TEST_F(PhoneFileTest, ReadRetriesReceiveWithGrowingWaits) {
  struct Case {
    int failures;
    int result;
    std::vector<std::string> waits;
  };
  const Case cases[] = {
      {0, 3, {"Sleep(20)"}},
      {1, 3, {"Sleep(20)", "Sleep(200)"}},
      {3, 3, {"Sleep(20)", "Sleep(200)", "Sleep(500)", "Sleep(1000)"}},
      {4, -1, {"Sleep(20)", "Sleep(200)", "Sleep(500)", "Sleep(1000)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failures);
    fake.log.clear();
    replies.clear();
    host.messages.clear();
    for (int i = 0; i < c.failures; ++i) {
      replies.push_back(std::nullopt);
    }
    replies.push_back(FirstReadResponse(3, Bytes{1, 2, 3}, false));
    EXPECT_EQ(Read("f"), c.result);
    std::vector<std::string> waits;
    for (const std::string& entry : fake.log) {
      if (entry.starts_with("Sleep(")) {
        waits.push_back(entry);
      }
    }
    EXPECT_EQ(waits, c.waits);
    EXPECT_EQ(std::count(fake.log.begin(), fake.log.end(), "XrsRecvFrame(267)"),
              std::min(c.failures + 1, 4));
    EXPECT_THAT(host.messages, IsEmpty());
  }
}

TEST_F(PhoneFileTest, ReadFailuresShowTheirMessages) {
  struct Case {
    const char* name;
    std::vector<Bytes> script;
    std::size_t capacity;
    std::vector<std::string> messages;
  };
  const Case cases[] = {
      {"wrong request code",
       {FirstReadResponse(3, Bytes{1, 2, 3}, false, 0, 0x58)},
       65536,
       {"Bad Command"}},
      {"status 0x0A in the first response",
       {FirstReadResponse(3, Bytes{1, 2, 3}, false, 0x0A)},
       65536,
       {"[통신장애] 다시 시도하여 주시기 바랍니다. [(0) FS ERROR: 10]"}},
      {"status 3 in the third response",
       {FirstReadResponse(9, Bytes{1, 2, 3}, true), LaterReadResponse(1, Bytes{4, 5, 6}, true),
        LaterReadResponse(2, Bytes{}, false, 3)},
       65536,
       {"[통신장애] 다시 시도하여 주시기 바랍니다. [(2) FS ERROR: 3]"}},
      {"sequence 0 again",
       {FirstReadResponse(6, Bytes{1, 2, 3}, true), FirstReadResponse(6, Bytes{4, 5, 6}, false)},
       65536,
       {"Sequence Number error"}},
      {"more than the capacity",
       {FirstReadResponse(6, Bytes{1, 2, 3}, true), LaterReadResponse(1, Bytes{4, 5, 6}, false)},
       5,
       {"임시저장 크기를 초과했습니다."}},
      {"chunk longer than a response", {}, 65536, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    replies.clear();
    host.messages.clear();
    for (const Bytes& reply : c.script) {
      replies.push_back(reply);
    }
    if (c.script.empty()) {
      Bytes broken{0x59, 4, 0, 0, 0};
      Append32(broken, 300);
      Append16(broken, 257);  // 11 + 257 > 267
      broken.resize(267, 0xAB);
      replies.push_back(broken);
    }
    EXPECT_EQ(Read("f", c.capacity), -1);
    EXPECT_EQ(host.messages, c.messages);
  }
}

TEST_F(PhoneFileTest, ReadFailsSilentlyWhenSendFails) {
  sendFails = true;
  EXPECT_EQ(Read("f"), -1);
  EXPECT_EQ(fake.CountOf("XrsRecvFrame"), 0);
  EXPECT_THAT(host.messages, IsEmpty());
}

TEST_F(PhoneFileTest, ReadGivesTheAnnouncedTotalAndCountsWhatArrived) {
  replies = {FirstReadResponse(10, Bytes{1, 2, 3}, true), LaterReadResponse(1, Bytes{4}, false)};
  EXPECT_EQ(Read("f"), 10);
  EXPECT_EQ(received, 4u);
  EXPECT_THAT(host.progress, ElementsAre(30, 40));
}

TEST_F(PhoneFileTest, ReadOfAnEmptyFileEndsAtFullBar) {
  replies = {FirstReadResponse(0, Bytes{}, false)};
  EXPECT_EQ(Read("f"), 0);
  EXPECT_THAT(host.progress, ElementsAre(100));
}

TEST_F(PhoneFileTest, ReadKeepsTheBarAtMost100WhenMoreArrivesThanAnnounced) {
  replies = {FirstReadResponse(2, Bytes{1, 2, 3}, true), LaterReadResponse(1, Bytes{4}, false)};
  EXPECT_EQ(Read("f"), 2);
  EXPECT_THAT(host.progress, ElementsAre(100, 100));
}

// Write requests as the handset expects them.
Bytes LongWrite(const std::string& name, unsigned total, const Bytes& chunk, bool more) {
  Bytes r{0x59, 5, 0, static_cast<std::uint8_t>(more ? 1 : 0), 1};
  Append32(r, total);
  r.push_back(0xFF);
  r.push_back(0x00);
  r.push_back(1);
  r.push_back(0);
  r.push_back(static_cast<std::uint8_t>(name.size() + 1));
  AppendName(r, name);
  Append16(r, static_cast<unsigned>(chunk.size()));
  r.insert(r.end(), chunk.begin(), chunk.end());
  return r;
}

Bytes ShortWrite(std::uint8_t sequence, const Bytes& chunk, bool more) {
  Bytes r{0x59, 5, sequence, static_cast<std::uint8_t>(more ? 1 : 0)};
  Append16(r, static_cast<unsigned>(chunk.size()));
  r.insert(r.end(), chunk.begin(), chunk.end());
  return r;
}

const Bytes kWriteAck{0x59, 5, 0};

TEST_F(PhoneFileTest, WriteOfNothingSendsNoFrame) {
  EXPECT_EQ(Write("nvm/media/media_0000", {}), 1);
  EXPECT_THAT(sent, IsEmpty());
  EXPECT_THAT(host.progress, ElementsAre(100));
}

TEST_F(PhoneFileTest, WriteChunksAtTheBoundary) {
  const std::string name = "nvm/media/media_0007";
  struct Case {
    std::size_t size;
    std::vector<Bytes> requests;
    std::vector<int> progress;
  };
  const Bytes data = Pattern(600, 3);
  const Case cases[] = {
      {1, {LongWrite(name, 1, Slice(data, 0, 1), false)}, {100}},
      {256, {LongWrite(name, 256, Slice(data, 0, 256), false)}, {100}},
      {257,
       {LongWrite(name, 257, Slice(data, 0, 256), true), ShortWrite(1, Slice(data, 256, 1), false)},
       {99, 100}},
      {600,
       {LongWrite(name, 600, Slice(data, 0, 256), true), ShortWrite(1, Slice(data, 256, 256), true),
        ShortWrite(2, Slice(data, 512, 88), false)},
       {42, 85, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    sent.clear();
    host.progress.clear();
    replies.assign(c.requests.size(), kWriteAck);
    EXPECT_EQ(Write(name, Slice(data, 0, c.size)), 1);
    EXPECT_EQ(sent, c.requests);
    EXPECT_EQ(host.progress, c.progress);
  }
  // name length + chunk length + 16
  EXPECT_EQ(LongWrite(name, 256, Slice(data, 0, 256), false).size(), 21u + 256u + 16u);
}

TEST_F(PhoneFileTest, WriteNumbersMoreThan256Exchanges) {
  const Bytes data = Pattern(300 * 256);
  replies.assign(300, kWriteAck);
  EXPECT_EQ(Write("f", data), 1);
  ASSERT_EQ(sent.size(), 300u);
  EXPECT_EQ(sent[0][2], 0);
  EXPECT_EQ(sent[255][2], 255);
  EXPECT_EQ(sent[256][2], 1);
  EXPECT_EQ(sent[299][2], 44);
  EXPECT_EQ(sent[299][3], 0);  // the last chunk, exactly 256 bytes
  EXPECT_EQ(sent[298][3], 1);
}

TEST_F(PhoneFileTest, WriteRetriesWithItsOwnWaitsAndFailsSilently) {
  replies = {std::nullopt, std::nullopt, std::nullopt, kWriteAck};
  EXPECT_EQ(Write("f", Bytes{1}), 1);
  EXPECT_EQ(fake.sleep.waits, (std::vector<int>{20, 500, 1000, 1000}));

  struct Case {
    const char* name;
    std::optional<Bytes> reply;
  };
  const Case failures[] = {
      {"wrong request code", Bytes{0x58, 5, 0}},
      {"status not 0", Bytes{0x59, 5, 1}},
      {"no response", std::nullopt},
  };
  for (const Case& c : failures) {
    SCOPED_TRACE(c.name);
    replies.assign(4, c.reply);
    EXPECT_EQ(Write("f", Bytes{1, 2}), -1);
  }
  sendFails = true;
  EXPECT_EQ(Write("f", Bytes{1, 2}), -1);
  EXPECT_THAT(host.messages, IsEmpty());
}

}  // namespace
}  // namespace linkora
