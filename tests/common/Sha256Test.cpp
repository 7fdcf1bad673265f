#include "common/Sha256.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/Hex.h"

namespace linkora {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST(Sha256Test, KnownDigests) {
  // Published test vectors, chosen so the padding takes one and two last blocks.
  const std::pair<std::string, const char*> cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& [text, digest] : cases) {
    EXPECT_EQ(Sha256Hex(Bytes(text)), digest) << text.size() << " bytes";
  }
}

TEST(Sha256Test, HexHasTwoDigitsPerByte) {
  const std::vector<std::uint8_t> bytes = {0x00, 0x0f, 0x7e, 0xff};
  EXPECT_EQ(ToHex(bytes), "000f7eff");
  EXPECT_EQ(ToHex({}), "");
}

}  // namespace
}  // namespace linkora
