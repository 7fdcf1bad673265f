#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tests/support/FakeHandsetLibrary.h"

namespace linkora::test {

// The handset's file system behind the fake library's frame exchange: it
// answers file-system reads from `files` in chunks of `readChunk` bytes and
// stores what file-system writes carry. Every request is kept whole.
class FakeFileSystem {
 public:
  std::map<std::string, std::vector<std::uint8_t>> files;
  std::size_t readChunk = 200;
  std::vector<std::vector<std::uint8_t>> requests;
  // Names of the files written completely, in order.
  std::vector<std::string> written;
  // Called with every request before it is answered, e.g. to look at the
  // window in which the transfer runs.
  std::function<void(const std::vector<std::uint8_t>&)> onRequest;

  void Attach(FakeHandsetLibrary& fake) {
    fake.On("XrsSendFrame", [this](FakeCall& call) {
      requests.emplace_back(call.data.begin(), call.data.end());
      if (onRequest) {
        onRequest(requests.back());
      }
      Answer(requests.back());
      return 1;
    });
    fake.On("XrsRecvFrame", [this](FakeCall& call) {
      if (pending_.empty()) {
        return 0;
      }
      std::copy_n(pending_.begin(), std::min(pending_.size(), call.buffer.size()),
                  call.buffer.begin());
      pending_.clear();
      return 1;
    });
  }

 private:
  static void PutU16(std::vector<std::uint8_t>& out, std::size_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
  }
  static std::size_t GetU16(const std::vector<std::uint8_t>& in, std::size_t at) {
    return in[at] | (in[at + 1] << 8);
  }

  void Answer(const std::vector<std::uint8_t>& request) {
    if (request.size() < 3 || request[0] != 0x59) {
      return;
    }
    if (request[1] == 4) {
      AnswerRead(request);
    } else if (request[1] == 5) {
      AnswerWrite(request);
    }
  }

  void AnswerRead(const std::vector<std::uint8_t>& request) {
    const std::uint8_t sequence = request[2];
    if (sequence == 0) {
      readName_ = std::string(request.begin() + 4, request.begin() + 4 + request[3] - 1);
      readOffset_ = 0;
    }
    const auto it = files.find(readName_);
    if (it == files.end()) {
      pending_ = {0x59, 4, 0x0A, sequence, 0};
      return;
    }
    const std::vector<std::uint8_t>& file = it->second;
    const std::size_t length = std::min(readChunk, file.size() - readOffset_);
    const bool more = readOffset_ + length < file.size();
    pending_ = {0x59, 4, 0, sequence, static_cast<std::uint8_t>(more ? 1 : 0)};
    if (sequence == 0) {
      PutU16(pending_, file.size() & 0xFFFF);
      PutU16(pending_, file.size() >> 16);
    }
    PutU16(pending_, length);
    pending_.insert(pending_.end(), file.begin() + static_cast<long>(readOffset_),
                    file.begin() + static_cast<long>(readOffset_ + length));
    readOffset_ += length;
  }

  void AnswerWrite(const std::vector<std::uint8_t>& request) {
    const bool more = request[3] != 0;
    std::size_t chunkAt = 6;
    if (request[2] == 0) {
      const std::size_t n = request[13];
      writeName_ =
          std::string(request.begin() + 14, request.begin() + 14 + static_cast<long>(n) - 1);
      writeData_.clear();
      chunkAt = 16 + n;
    }
    const std::size_t length = GetU16(request, chunkAt - 2);
    writeData_.insert(writeData_.end(), request.begin() + static_cast<long>(chunkAt),
                      request.begin() + static_cast<long>(chunkAt + length));
    if (!more) {
      files[writeName_] = writeData_;
      written.push_back(writeName_);
    }
    pending_ = {0x59, 5, 0};
  }

  std::vector<std::uint8_t> pending_;
  std::string readName_;
  std::size_t readOffset_ = 0;
  std::string writeName_;
  std::vector<std::uint8_t> writeData_;
};

}  // namespace linkora::test
