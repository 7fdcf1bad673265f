#include "backup/BackupManifest.h"

#include <gtest/gtest.h>

#include <span>
#include <string>

namespace linkora {
namespace {

std::optional<BackupManifest> Parse(const std::string& text, std::string* why) {
  return BackupManifest::FromJson(
      std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), why);
}

TEST(BackupManifestTest, WrittenManifestReadsBack) {
  BackupManifest manifest;
  manifest.model = "RX-3100";
  manifest.phoneNumber = "01612345678";
  std::string why;
  const auto again = Parse(manifest.ToJson(), &why);
  ASSERT_TRUE(again.has_value()) << why;
  EXPECT_EQ(again->model, "RX-3100");
  EXPECT_EQ(again->phoneNumber, "01612345678");
}

// Numbers out of range or of the wrong type are refused with a reason,
// never converted (a huge double into an integer is undefined behaviour).
TEST(BackupManifestTest, BadNumbersAndNewerVersionsAreRefusedWithAReason) {
  BackupManifest manifest;
  manifest.model = "RX-3100";
  const std::string good = manifest.ToJson();
  const std::string versionKey = "\"formatVersion\"";
  ASSERT_NE(good.find(versionKey), std::string::npos);
  for (const char* value : {"1e20", "2.5", "-1", "\"2\"", "99"}) {
    std::string text = good;
    const auto at = text.find(versionKey) + versionKey.size();
    const auto end = text.find_first_of(",}", at);
    text.replace(at, end - at, std::string(": ") + value);
    std::string why;
    EXPECT_FALSE(Parse(text, &why).has_value()) << value;
    EXPECT_FALSE(why.empty()) << value;
  }
}

}  // namespace
}  // namespace linkora
