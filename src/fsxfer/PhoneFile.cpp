#include "fsxfer/PhoneFile.h"

#include <fmt/printf.h>

#include <algorithm>
#include <array>
#include <climits>

#include "common/ByteRecord.h"
#include "common/Sleep.h"
#include "link/HandsetLibrary.h"
#include "link/TransferHost.h"
#include "resources/MediaTexts.h"

namespace linkora {
namespace {

constexpr std::uint8_t kFsRequestCode = 0x59;
constexpr std::uint8_t kFsReadFile = 4;
constexpr std::uint8_t kFsWriteFile = 5;

// Request offsets shared by both operations.
constexpr std::size_t kRequestCode = 0;
constexpr std::size_t kRequestOperation = 1;
constexpr std::size_t kRequestSequence = 2;

// Read request, first exchange.
constexpr std::size_t kReadNameLength = 3;
constexpr std::size_t kReadName = 4;
constexpr std::size_t kReadShortLength = 3;

// Write request.
constexpr std::size_t kWriteMore = 3;
constexpr std::size_t kWriteFixedOne = 4;
constexpr std::size_t kWriteTotalLength = 5;
constexpr std::size_t kWriteFixedWord = 9;
constexpr std::size_t kWriteFixedOneAgain = 11;
constexpr std::size_t kWriteFixedZero = 12;
constexpr std::size_t kWriteNameLength = 13;
constexpr std::size_t kWriteName = 14;
constexpr std::size_t kWriteShortChunkLength = 4;
constexpr std::size_t kWriteShortChunk = 6;
constexpr std::uint16_t kWriteFixedWordValue = 0x00FF;

// Response offsets.
constexpr std::size_t kResponseCode = 0;
constexpr std::size_t kResponseStatus = 2;
constexpr std::size_t kResponseSequence = 3;
constexpr std::size_t kResponseMore = 4;
constexpr std::size_t kFirstTotalLength = 5;
constexpr std::size_t kFirstChunkLength = 9;
constexpr std::size_t kFirstChunk = 11;
constexpr std::size_t kLaterChunkLength = 5;
constexpr std::size_t kLaterChunk = 7;

// The wait after every request, and the waits before the second, third and
// fourth tries to receive its response.
constexpr int kResponseWaitMs = 20;
constexpr std::array<int, 3> kReadRetryWaitsMs{200, 500, 1000};
constexpr std::array<int, 3> kWriteRetryWaitsMs{500, 1000, 1000};

using Request = std::array<std::uint8_t, kFsRequestSize>;
using Response = std::array<std::uint8_t, kFsResponseSize>;

// After the first exchange the numbers run 1..255 and start again at 1.
std::uint8_t NextSequence(std::uint8_t sequence) {
  return sequence == 255 ? 1 : static_cast<std::uint8_t>(sequence + 1);
}

bool ReceiveResponse(LinkContext context, Response& response,
                     const std::array<int, 3>& retryWaits) {
  response.fill(0);
  context.sleep.Wait(kResponseWaitMs);
  if (context.library.XrsRecvFrame(response)) {
    return true;
  }
  for (const int wait : retryWaits) {
    context.sleep.Wait(wait);
    if (context.library.XrsRecvFrame(response)) {
      return true;
    }
  }
  return false;
}

void Report(TransferHost& host, int percent) {
  host.SetProgress(percent);
  host.PumpMessages();
}

// Name length as the request carries it: the text and its NUL.
std::size_t NameLength(std::string_view fileName) {
  return fileName.size() + 1;
}

void PutName(Request& request, std::size_t offset, std::string_view fileName) {
  std::copy(fileName.begin(), fileName.end(), request.begin() + static_cast<long>(offset));
  request[offset + fileName.size()] = 0;
}

}  // namespace

int ReadPhoneFile(LinkContext context, TransferHost& host, std::string_view fileName,
                  std::span<std::uint8_t> buffer, std::size_t* received) {
  if (received != nullptr) {
    *received = 0;
  }
  const std::size_t nameLength = NameLength(fileName);
  if (nameLength > UCHAR_MAX || kReadName + nameLength > kFsRequestSize) {
    return -1;
  }
  std::size_t done = 0;
  std::uint8_t sequence = 0;
  long long total = 0;
  Request request;
  Response response;
  for (;;) {
    request.fill(0);
    request[kRequestCode] = kFsRequestCode;
    request[kRequestOperation] = kFsReadFile;
    request[kRequestSequence] = sequence;
    std::size_t requestLength = kReadShortLength;
    if (sequence == 0) {
      request[kReadNameLength] = static_cast<std::uint8_t>(nameLength);
      PutName(request, kReadName, fileName);
      requestLength = kReadName + nameLength;
    }
    if (!context.library.XrsSendFrame(std::span(request).first(requestLength))) {
      return -1;
    }
    if (!ReceiveResponse(context, response, kReadRetryWaitsMs)) {
      return -1;
    }
    if (response[kResponseCode] != kFsRequestCode) {
      host.ShowMessage(texts::kFsBadCommand);
      return -1;
    }
    if (response[kResponseStatus] != 0) {
      host.ShowMessage(fmt::sprintf(std::string(texts::kFsErrorFormat), int{sequence},
                                    int{response[kResponseStatus]}));
      return -1;
    }
    std::size_t chunkOffset = kLaterChunk;
    std::size_t chunkLength = ReadU16(response, kLaterChunkLength);
    if (response[kResponseSequence] == 0) {
      if (sequence != 0) {
        host.ShowMessage(texts::kFsSequenceError);
        return -1;
      }
      total = ReadU32(response, kFirstTotalLength);
      chunkOffset = kFirstChunk;
      chunkLength = ReadU16(response, kFirstChunkLength);
    }
    // A chunk longer than a response can carry is a broken response; nothing
    // beyond the response is ever copied.
    if (chunkOffset + chunkLength > response.size() || total > INT_MAX) {
      return -1;
    }
    if (done + chunkLength > buffer.size()) {
      host.ShowMessage(texts::kFsBufferExceeded);
      return -1;
    }
    std::copy_n(response.begin() + static_cast<long>(chunkOffset), chunkLength,
                buffer.begin() + static_cast<long>(done));
    done += chunkLength;
    if (received != nullptr) {
      *received = done;
    }
    if (response[kResponseMore] == 0) {
      break;
    }
    sequence = NextSequence(sequence);
    Report(host, Percent(static_cast<long long>(done), total));
  }
  // A file announced as empty is complete once its last chunk is in.
  Report(host, total == 0 ? 100 : Percent(static_cast<long long>(done), total));
  return static_cast<int>(total);
}

int WritePhoneFile(LinkContext context, TransferHost& host, std::string_view fileName,
                   std::span<const std::uint8_t> data) {
  if (data.empty()) {
    Report(host, 100);
    return 1;
  }
  const std::size_t nameLength = NameLength(fileName);
  if (kWriteName + nameLength + 2 + kFsWriteChunkSize > kFsRequestSize ||
      data.size() > UINT32_MAX) {
    return -1;
  }
  std::uint8_t sequence = 0;
  std::size_t position = 0;
  Request request;
  Response response;
  for (;;) {
    const std::size_t remaining = data.size() - position;
    const bool more = remaining > kFsWriteChunkSize;
    const std::size_t chunkLength = more ? kFsWriteChunkSize : remaining;
    const auto chunk = data.subspan(position, chunkLength);

    request.fill(0);
    request[kRequestCode] = kFsRequestCode;
    request[kRequestOperation] = kFsWriteFile;
    request[kRequestSequence] = sequence;
    request[kWriteMore] = more ? 1 : 0;
    std::size_t chunkOffset = kWriteShortChunk;
    if (sequence == 0) {
      request[kWriteFixedOne] = 1;
      WriteU32(request, kWriteTotalLength, static_cast<std::uint32_t>(data.size()));
      WriteU16(request, kWriteFixedWord, kWriteFixedWordValue);
      request[kWriteFixedOneAgain] = 1;
      request[kWriteFixedZero] = 0;
      request[kWriteNameLength] = static_cast<std::uint8_t>(nameLength);
      PutName(request, kWriteName, fileName);
      WriteU16(request, kWriteName + nameLength, static_cast<std::uint16_t>(chunkLength));
      chunkOffset = kWriteName + nameLength + 2;
    } else {
      WriteU16(request, kWriteShortChunkLength, static_cast<std::uint16_t>(chunkLength));
    }
    std::copy(chunk.begin(), chunk.end(), request.begin() + static_cast<long>(chunkOffset));
    if (!context.library.XrsSendFrame(std::span(request).first(chunkOffset + chunkLength))) {
      return -1;
    }
    if (!ReceiveResponse(context, response, kWriteRetryWaitsMs) ||
        response[kResponseCode] != kFsRequestCode || response[kResponseStatus] != 0) {
      return -1;
    }
    if (!more) {
      break;
    }
    sequence = NextSequence(sequence);
    position += kFsWriteChunkSize;
    Report(host, Percent(static_cast<long long>(position), static_cast<long long>(data.size())));
  }
  Report(host, 100);
  return 1;
}

}  // namespace linkora
