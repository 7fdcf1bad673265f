#include "emulator/HandsetState.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>

#include "common/ByteRecord.h"
#include "common/Cp949.h"

namespace linkora::emulator {
namespace {

TEST(HandsetStateTest, JsonRoundTripKeepsEveryByte) {
  HandsetState state = SampleState(Model::kRx2100);
  state.entries[300] = Bytes(222, 0x7E);
  state.rxResults[4] = 2;
  state.files["nvm/odd"] = Bytes{0x00, 0xFF, 0x7D};
  HandsetState back;
  std::string error;
  ASSERT_TRUE(HandsetState::FromJson(state.ToJson(), back, error)) << error;
  EXPECT_EQ(back.ToJson(), state.ToJson());
  EXPECT_EQ(back.model, Model::kRx2100);
  EXPECT_EQ(back.entries.at(300), Bytes(222, 0x7E));
  EXPECT_EQ(back.files.at("nvm/odd"), (Bytes{0x00, 0xFF, 0x7D}));
}

TEST(HandsetStateTest, BadDocumentsAreRefusedWithAReason) {
  const std::vector<std::pair<const char*, nlohmann::json>> cases = {
      {"not an object", nlohmann::json::array()},
      {"unknown model", {{"model", "rx9999"}}},
      {"short entry", {{"entries", {{"1", "0011"}}}}},
      {"bad hex", {{"groups", {{"1", std::string(54, 'z')}}}}},
      {"bad key", {{"schedules", {{"first", std::string(190, '0')}}}}},
      {"short flag block", {{"slotFlags", "00"}}},
      {"bad number", {{"phoneNumber", "12345"}}},
      {"wrong type", {{"lockFlag", "yes"}}},
  };
  for (const auto& [name, doc] : cases) {
    HandsetState state;
    std::string error;
    EXPECT_FALSE(HandsetState::FromJson(doc, state, error)) << name;
    EXPECT_FALSE(error.empty()) << name;
  }
}

TEST(HandsetStateTest, SaveAndLoadThroughAFile) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("linkora-state-" + std::to_string(::getpid()) + ".json");
  const HandsetState state = SampleState(Model::kRx3100);
  std::string error;
  ASSERT_TRUE(state.Save(path, error)) << error;
  HandsetState back;
  ASSERT_TRUE(HandsetState::Load(path, back, error)) << error;
  EXPECT_EQ(back.ToJson(), state.ToJson());
  std::filesystem::remove(path);
  EXPECT_FALSE(HandsetState::Load(path, back, error));
}

TEST(SampleStateTest, PhonebookFlagsMatchTheEntries) {
  const HandsetState s = SampleState(Model::kRx3100);
  ASSERT_FALSE(s.entries.empty());
  for (const auto& [slot, entry] : s.entries) {
    ASSERT_EQ(entry.size(), 222u);
    EXPECT_EQ(ReadU16(entry, 0), slot);
    const std::uint8_t flags = s.slotFlags[static_cast<std::size_t>(slot)];
    EXPECT_NE(flags, 0) << slot;
    EXPECT_EQ((flags & 0x01) != 0, entry[80] != 0) << slot;  // mobile length
    EXPECT_EQ((flags & 0x20) != 0, entry[3] != 0) << slot;   // group
  }
  EXPECT_EQ(cp949::FieldToUtf8(std::span(s.entries.at(1)).subspan(10, 20)), "김민준");
  EXPECT_EQ(cp949::FieldToUtf8(std::span(s.groups.at(1)).subspan(1, 20)), "가족");
}

TEST(SampleStateTest, CalendarChainsEndWithNextZero) {
  const HandsetState s = SampleState(Model::kRx3100);
  for (const auto* chain : {&s.schedules, &s.ddays}) {
    ASSERT_GE(chain->size(), 2u);
    const std::size_t nextAt = chain == &s.schedules ? 91 : 88;
    for (const auto& [position, record] : *chain) {
      EXPECT_EQ(record[0], position);
      EXPECT_GE(ReadU16(record, 1), 1997);
      const std::uint32_t next = ReadU32(record, nextAt);
      const bool last = position + 1 == static_cast<int>(chain->size());
      EXPECT_EQ(next, last ? 0u : static_cast<std::uint32_t>(position + 1));
    }
  }
}

TEST(SampleStateTest, MessagesListedMatchTheRecords) {
  const HandsetState s = SampleState(Model::kRx3100);
  int listed = 0;
  for (int slot = 0; slot < 24; ++slot) {
    if (s.rxList[20 + 4 * static_cast<std::size_t>(slot)] != 0) {
      ++listed;
      EXPECT_EQ(s.rxRecords.count(slot), 1u) << slot;
    }
  }
  EXPECT_GE(listed, 4);
  const int sent = s.moList[40];
  ASSERT_GE(sent, 2);
  for (int p = 0; p < sent; ++p) {
    const int key = (s.moList[41 + static_cast<std::size_t>(p)] + 128) % 256;
    EXPECT_EQ(s.txRecords.count(key), 1u) << p;
  }
}

TEST(SampleStateTest, MediaListDescribesTheSlotFiles) {
  for (Model model : {Model::kRx3100, Model::kRx2100}) {
    const HandsetState s = SampleState(model);
    const Bytes& info = s.files.at("nvm/info/media_info");
    ASSERT_EQ(info.size(), model == Model::kRx3100 ? 8221u : 3469u);
    std::uint32_t total = 0;
    for (std::size_t slot = 0; slot < 99; ++slot) {
      const std::string name =
          "nvm/media/media_00" + std::string(slot < 10 ? "0" : "") + std::to_string(slot);
      if (info[895 + slot] == 0xFF) {
        EXPECT_EQ(s.files.count(name), 0u) << name;
        continue;
      }
      ASSERT_EQ(s.files.count(name), 1u) << name;
      const Bytes& file = s.files.at(name);
      EXPECT_EQ(ReadU32(info, 4 + 4 * slot), file.size()) << name;
      EXPECT_EQ(info[2974 + slot], file[0]) << name;  // subtype is the record header's byte 0
      // Record header: name length in byte 1 and the high half of byte 2.
      const std::size_t nameLength = (file[1] << 4) | (file[2] >> 4);
      const bool large = (file[0] & 0x80) != 0;
      const std::size_t size = large ? ((file[2] & 0x0F) << 16) + (file[3] << 8) + file[4]
                                     : ((file[2] & 0x0F) << 8) + file[3];
      EXPECT_EQ((large ? 5u : 4u) + nameLength + size, file.size()) << name;
      total += static_cast<std::uint32_t>(file.size());
    }
    EXPECT_EQ(ReadU32(info, 0), total);
  }
}

}  // namespace
}  // namespace linkora::emulator
