#include "emulator/EmulatedHandset.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "common/ByteRecord.h"
#include "tarvio/Protocol.h"

namespace linkora::emulator {

namespace {

using protocol::NvItem;

// File-system status bytes of the emulated handset.
constexpr std::uint8_t kFsOk = 0;
constexpr std::uint8_t kFsNoFile = 2;
constexpr std::uint8_t kFsBadRequest = 3;
constexpr std::uint8_t kFsSequence = 4;

constexpr std::uint8_t kFsReadOp = 4;
constexpr std::uint8_t kFsWriteOp = 5;
constexpr std::size_t kFsChunk = 256;
constexpr std::size_t kLargestFile = 1u << 20;
constexpr std::size_t kLongestLine = 256;

std::vector<std::uint8_t> Text(std::string_view text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> ErrorReply(std::uint8_t code, const std::vector<std::uint8_t>& request) {
  std::vector<std::uint8_t> reply{code};
  reply.insert(
      reply.end(), request.begin(),
      request.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(16, request.size())));
  return reply;
}

void PutU16(std::vector<std::uint8_t>& out, std::size_t value) {
  out.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) {
    out.push_back(static_cast<std::uint8_t>((value >> (8 * i)) & 0xFF));
  }
}

std::string NameOf(std::span<const std::uint8_t> bytes) {
  std::string name(bytes.begin(), bytes.end());
  const auto nul = name.find('\0');
  if (nul != std::string::npos) {
    name.resize(nul);
  }
  return name;
}

}  // namespace

bool IsFaultOperation(const std::string& operation) {
  static constexpr std::string_view kPlain[] = {"version", "spc",      "offline", "reset", "mode",
                                                "fs-read", "fs-write", "gmi",     "qcdmg"};
  if (std::find(std::begin(kPlain), std::end(kPlain), operation) != std::end(kPlain)) {
    return true;
  }
  for (const std::string_view prefix : {"read-", "write-"}) {
    if (operation.rfind(prefix, 0) == 0) {
      const std::string_view item = std::string_view(operation).substr(prefix.size());
      for (std::uint16_t code = 0; code < 256; ++code) {
        if (!item.empty() && protocol::NvItemName(code) == item) {
          return true;
        }
      }
    }
  }
  return false;
}

bool ParseFault(const std::string& text, Fault& fault, std::string& error) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const auto colon = text.find(':', start);
    parts.push_back(text.substr(start, colon - start));
    if (colon == std::string::npos) {
      break;
    }
    start = colon + 1;
  }
  if (parts.size() < 3 || parts.size() > 4) {
    error = "a fault is KIND:OPERATION:NTH[:TIMES], not \"" + text + "\"";
    return false;
  }
  if (parts[0] == "fail") {
    fault.kind = Fault::Kind::kFail;
  } else if (parts[0] == "drop") {
    fault.kind = Fault::Kind::kDrop;
  } else if (parts[0] == "corrupt") {
    fault.kind = Fault::Kind::kCorrupt;
  } else {
    error = "fault kind must be fail, drop or corrupt: \"" + parts[0] + "\"";
    return false;
  }
  fault.operation = parts[1];
  if (!IsFaultOperation(fault.operation)) {
    error = "unknown fault operation \"" + fault.operation +
            "\": version, spc, offline, reset, mode, fs-read, fs-write, gmi, qcdmg, read-ITEM or "
            "write-ITEM";
    return false;
  }
  auto number = [](const std::string& s, int& out) {
    if (s.empty() || s.size() > 6 || !std::all_of(s.begin(), s.end(), [](char c) {
          return std::isdigit(static_cast<unsigned char>(c));
        })) {
      return false;
    }
    out = std::stoi(s);
    return out >= 1;
  };
  if (!number(parts[2], fault.nth) || (parts.size() == 4 && !number(parts[3], fault.times))) {
    error = "fault counts must be whole numbers from 1: \"" + text + "\"";
    return false;
  }
  if (parts.size() == 3) {
    fault.times = 1;
  }
  return true;
}

EmulatedHandset::EmulatedHandset(Config config, HandsetState state)
    : config_(std::move(config)), state_(std::move(state)) {}

int EmulatedHandset::CountOf(const std::string& operation) const {
  const auto it = counts_.find(operation);
  return it == counts_.end() ? 0 : it->second;
}

std::optional<Fault::Kind> EmulatedHandset::Count(const std::string& operation) {
  const int n = ++counts_[operation];
  for (const Fault& fault : config_.faults) {
    if (fault.operation == operation && n >= fault.nth && n < fault.nth + fault.times) {
      return fault.kind;
    }
  }
  return std::nullopt;
}

void EmulatedHandset::Changed() {
  unsaved_ = !config_.stateFile.empty();
}

bool EmulatedHandset::SaveIfChanged(bool flush) {
  if (!unsaved_) {
    return true;
  }
  std::string error;
  if (!state_.Save(config_.stateFile, error, flush)) {
    saveError_ = error;
    return false;
  }
  unsaved_ = false;
  return true;
}

std::vector<std::uint8_t> EmulatedHandset::Receive(std::span<const std::uint8_t> bytes,
                                                   Clock::time_point now) {
  std::vector<std::uint8_t> out;
  if (IsSilent(now)) {
    return out;  // restarting: nothing is heard
  }
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (!diagMode_) {
      DataModeByte(bytes[i++], out);
      continue;
    }
    decoder_.Feed(bytes.subspan(i));
    i = bytes.size();
    ReceivedFrame frame;
    while (diagMode_ && decoder_.Next(frame)) {
      if (frame.error != FrameError::kNone) {
        ++badFrames_;
        continue;
      }
      corruptReply_ = false;
      const auto reply = Handle(frame.payload, now);
      if (reply) {
        auto line = EncodeFrame(*reply);
        if (corruptReply_ && line.size() >= 2) {
          line[line.size() - 2] ^= 0x01;  // a CRC byte (never turns into a flag)
          if (line[line.size() - 2] == kFrameFlag || line[line.size() - 2] == kFrameEscape) {
            line[line.size() - 2] ^= 0x03;
          }
        }
        out.insert(out.end(), line.begin(), line.end());
      }
    }
    if (!diagMode_) {
      decoder_.Reset();  // back in data mode (or restarting): the rest is not frames
      if (IsSilent(now)) {
        break;
      }
    }
  }
  return out;
}

void EmulatedHandset::DataModeByte(std::uint8_t byte, std::vector<std::uint8_t>& out) {
  if (byte == '\r' || byte == '\n') {
    if (!line_.empty()) {
      const std::string line = line_;
      line_.clear();
      DataModeLine(line, out);
    }
    return;
  }
  if (byte == kFrameFlag) {
    line_.clear();  // a frame sent to a handset in data mode: ignored
    return;
  }
  if (line_.size() >= kLongestLine) {
    line_.erase(0, line_.size() - kLongestLine / 2);
  }
  line_ += static_cast<char>(byte);
}

void EmulatedHandset::DataModeLine(const std::string& raw, std::vector<std::uint8_t>& out) {
  // Take the command from its last "AT"; bytes before it are line noise.
  std::string upper = raw;
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  });
  const auto at = upper.rfind("AT");
  if (at == std::string::npos) {
    return;
  }
  const std::string command = upper.substr(at);
  std::string op;
  if (command == "AT+GMI") {
    op = "gmi";
  } else if (command == "AT$QCDMG") {
    op = "qcdmg";
  }
  if (!op.empty()) {
    const auto fault = Count(op);
    if (fault == Fault::Kind::kDrop) {
      return;
    }
    if (fault) {
      const auto error = Text("\r\nERROR\r\n");
      out.insert(out.end(), error.begin(), error.end());
      return;
    }
  }
  std::string reply;
  if (op == "gmi") {
    reply = "\r\nNorvane Mobile Communications\r\n\r\nOK\r\n";
  } else if (op == "qcdmg") {
    reply = "\r\nOK\r\n";
    diagMode_ = true;
    decoder_.Reset();
  } else if (command == "AT" || command == "ATZ" || command.rfind("ATE", 0) == 0) {
    reply = "\r\nOK\r\n";
  } else {
    reply = "\r\nERROR\r\n";
  }
  const auto bytes = Text(reply);
  out.insert(out.end(), bytes.begin(), bytes.end());
}

std::optional<std::vector<std::uint8_t>> EmulatedHandset::Handle(
    const std::vector<std::uint8_t>& request, Clock::time_point now) {
  std::string op;
  switch (request[0]) {
    case protocol::kVersion:
      op = "version";
      break;
    case protocol::kServiceCode:
      op = "spc";
      break;
    case protocol::kControl:
      op = request.size() >= 2 && request[1] == protocol::kControlReset ? "reset" : "offline";
      break;
    case protocol::kModeReturn:
      op = "mode";
      break;
    case protocol::kNvRead:
    case protocol::kNvWrite:
      op = std::string(request[0] == protocol::kNvRead ? "read-" : "write-") +
           std::string(request.size() >= 3 ? protocol::NvItemName(ReadU16(request, 1)) : "");
      break;
    case protocol::kFileSystem:
      op = request.size() >= 2 && request[1] == kFsWriteOp ? "fs-write" : "fs-read";
      break;
    default:
      return ErrorReply(protocol::kBadCommand, request);
  }
  const auto fault = Count(op);
  if (fault == Fault::Kind::kDrop) {
    return std::nullopt;
  }
  corruptReply_ = fault == Fault::Kind::kCorrupt;
  const bool failed = fault == Fault::Kind::kFail;

  switch (request[0]) {
    case protocol::kVersion: {
      if (failed) {
        return ErrorReply(protocol::kBadCommand, request);
      }
      std::vector<std::uint8_t> reply(protocol::kVersionReplySize, 0);
      const std::string_view build = "Dec 01 200612:00:00Nov 20 200609:30:00";
      std::copy(build.begin(), build.end(), reply.begin() + 1);
      const std::string model = ModelText(state_.model);
      std::copy(model.begin(), model.end(),
                reply.begin() + static_cast<std::ptrdiff_t>(protocol::kModelTextOffset));
      const std::string_view revision = "V104";
      std::copy(revision.begin(), revision.end(), reply.begin() + 48);
      return reply;
    }
    case protocol::kServiceCode: {
      if (request.size() != 1 + protocol::kServiceCodeDigits) {
        return ErrorReply(protocol::kBadLength, request);
      }
      const std::string code(request.begin() + 1, request.end());
      const bool accepted = !failed && code == state_.serviceCode;
      return std::vector<std::uint8_t>{protocol::kServiceCode,
                                       static_cast<std::uint8_t>(accepted ? 1 : 0)};
    }
    case protocol::kControl: {
      if (request.size() != 2 || failed) {
        return ErrorReply(failed ? protocol::kBadCommand : protocol::kBadLength, request);
      }
      if (request[1] == protocol::kControlOffline) {
        offline_ = true;
      } else if (request[1] == protocol::kControlReset) {
        // Answer, then restart: data mode, silent for a while.
        diagMode_ = false;
        offline_ = false;
        reading_ = {};
        writing_ = {};
        line_.clear();
        silentUntil_ = now + std::chrono::milliseconds(config_.resetSilenceMs);
      } else {
        return ErrorReply(protocol::kBadParameters, request);
      }
      return request;
    }
    case protocol::kModeReturn:
      if (failed) {
        return ErrorReply(protocol::kBadCommand, request);
      }
      diagMode_ = false;
      line_.clear();
      return request;
    case protocol::kNvRead:
    case protocol::kNvWrite:
      return HandleNv(request, failed);
    default:
      return HandleFileSystem(request, failed);
  }
}

std::vector<std::uint8_t> EmulatedHandset::HandleNv(const std::vector<std::uint8_t>& request,
                                                    bool failed) {
  if (request.size() < protocol::kNvRequestHeader) {
    return ErrorReply(protocol::kBadLength, request);
  }
  const std::uint8_t code = request[0];
  const bool write = code == protocol::kNvWrite;
  const std::uint16_t item = ReadU16(request, 1);
  const std::uint16_t key = ReadU16(request, 3);
  const std::size_t size = protocol::NvItemSize(item);
  auto nvFailure = [&](std::uint8_t status) {
    return protocol::NvReply(code, item, key, 0, status);
  };
  if (size == 0 || (write && !protocol::NvItemWritable(item))) {
    return nvFailure(protocol::kNvBadItem);
  }
  if (request.size() != protocol::kNvRequestHeader + (write ? size : 0)) {
    return ErrorReply(protocol::kBadLength, request);
  }
  if (failed) {
    return nvFailure(config_.nvErrorStatus);
  }
  // A record not stored yet: zeros, with its own key where the record has one.
  auto blank = [&](std::size_t keyBytes) {
    std::vector<std::uint8_t> record(size, 0);
    record[0] = static_cast<std::uint8_t>(key & 0xFF);
    if (keyBytes == 2) {
      record[1] = static_cast<std::uint8_t>(key >> 8);
    }
    return record;
  };
  auto lookup = [&](std::map<int, Bytes>& records, std::size_t keyBytes) {
    const auto it = records.find(key);
    return it != records.end() ? it->second : blank(keyBytes);
  };
  const std::span<const std::uint8_t> data =
      std::span<const std::uint8_t>(request).subspan(protocol::kNvRequestHeader);
  switch (static_cast<NvItem>(item)) {
    case NvItem::kLockFlag:
      return protocol::NvReply(code, item, key, 1, 0, std::vector<std::uint8_t>{state_.lockFlag});
    case NvItem::kUserLock: {
      std::vector<std::uint8_t> lock(4, 0);
      std::copy_n(state_.lockCode.begin(), std::min<std::size_t>(4, state_.lockCode.size()),
                  lock.begin());
      return protocol::NvReply(code, item, key, 1, 0, lock);
    }
    case NvItem::kMin1:
    case NvItem::kMin2: {
      std::uint32_t min1 = 0;
      std::uint32_t min2 = 0;
      if (!EncodePhoneNumber(state_.phoneNumber, min1, min2)) {
        return nvFailure(protocol::kNvFail);
      }
      std::vector<std::uint8_t> word;
      PutU32(word, static_cast<NvItem>(item) == NvItem::kMin1 ? min1 : min2);
      return protocol::NvReply(code, item, key, 1, 0, word);
    }
    case NvItem::kAddressList: {
      if (key > 4) {
        return nvFailure(protocol::kNvBadItem);
      }
      const auto at = state_.slotFlags.begin() + static_cast<std::ptrdiff_t>(100 * key);
      if (write) {
        std::copy(data.begin(), data.end(), at);
        Changed();
        return protocol::NvReply(code, item, key, 1, 0);
      }
      return protocol::NvReply(code, item, key, 1, 0, std::vector<std::uint8_t>(at, at + 100));
    }
    case NvItem::kAddress:
    case NvItem::kDialGroup:
    case NvItem::kSchedule:
    case NvItem::kDday: {
      const auto which = static_cast<NvItem>(item);
      std::map<int, Bytes>& records = which == NvItem::kAddress     ? state_.entries
                                      : which == NvItem::kDialGroup ? state_.groups
                                      : which == NvItem::kSchedule  ? state_.schedules
                                                                    : state_.ddays;
      const int limit = which == NvItem::kAddress ? 499 : which == NvItem::kDialGroup ? 19 : 255;
      if (key > limit) {
        return nvFailure(protocol::kNvBadItem);
      }
      if (write) {
        records[key] = Bytes(data.begin(), data.end());
        Changed();
        return protocol::NvReply(code, item, key, 1, 0);
      }
      return protocol::NvReply(code, item, key, 1, 0,
                               lookup(records, which == NvItem::kAddress ? 2 : 1));
    }
    case NvItem::kSmsList:
      return protocol::NvReply(code, item, key, 1, 0, state_.rxList);
    case NvItem::kSmsMoList:
      return protocol::NvReply(code, item, key, 1, 0, state_.moList);
    case NvItem::kSmsRx:
    case NvItem::kSmsTx: {
      const bool rx = static_cast<NvItem>(item) == NvItem::kSmsRx;
      if ((rx && key > 23) || key > 255) {
        return nvFailure(protocol::kNvBadItem);
      }
      std::map<int, Bytes>& records = rx ? state_.rxRecords : state_.txRecords;
      const std::map<int, int>& results = rx ? state_.rxResults : state_.txResults;
      const bool present = records.count(key) != 0;
      int result = present ? 1 : 2;  // 2: nothing stored in that place
      if (const auto it = results.find(key); it != results.end()) {
        result = it->second;
      }
      if (result <= 0) {
        return nvFailure(protocol::kNvFail);
      }
      return protocol::NvReply(code, item, key, result, 0, lookup(records, rx ? 2 : 1));
    }
  }
  return nvFailure(protocol::kNvBadItem);
}

std::vector<std::uint8_t> EmulatedHandset::HandleFileSystem(
    const std::vector<std::uint8_t>& request, bool failed) {
  if (request.size() < 3) {
    return ErrorReply(protocol::kBadLength, request);
  }
  const std::uint8_t op = request[1];
  if (failed) {
    return {protocol::kFileSystem, op, config_.fsErrorStatus, request[2], 0};
  }
  if (op == kFsReadOp) {
    return FsRead(request);
  }
  if (op == kFsWriteOp) {
    return FsWrite(request);
  }
  return {protocol::kFileSystem, op, kFsBadRequest, request[2], 0};
}

std::vector<std::uint8_t> EmulatedHandset::FsRead(const std::vector<std::uint8_t>& request) {
  const std::uint8_t sequence = request[2];
  auto status = [&](std::uint8_t value) {
    reading_ = {};
    return std::vector<std::uint8_t>{protocol::kFileSystem, kFsReadOp, value, sequence, 0};
  };
  std::vector<std::uint8_t> reply{protocol::kFileSystem, kFsReadOp, kFsOk, sequence};
  if (sequence == 0) {
    if (request.size() < 4 || request.size() != 4u + request[3]) {
      return status(kFsBadRequest);
    }
    const std::string path = NameOf(std::span<const std::uint8_t>(request).subspan(4));
    const auto it = state_.files.find(path);
    if (it == state_.files.end()) {
      return status(kFsNoFile);
    }
    reading_ = {};
    reading_.active = true;
    reading_.path = path;
    reading_.data = it->second;
  } else if (!reading_.active || request.size() != 3) {
    return status(reading_.active ? kFsBadRequest : kFsSequence);
  }
  const std::size_t chunk = std::min(kFsChunk, reading_.data.size() - reading_.position);
  const bool more = reading_.position + chunk < reading_.data.size();
  reply.push_back(more ? 1 : 0);
  if (sequence == 0) {
    PutU32(reply, static_cast<std::uint32_t>(reading_.data.size()));
  }
  PutU16(reply, chunk);
  const auto from = reading_.data.begin() + static_cast<std::ptrdiff_t>(reading_.position);
  reply.insert(reply.end(), from, from + static_cast<std::ptrdiff_t>(chunk));
  reading_.position += chunk;
  if (!more) {
    reading_ = {};
  }
  return reply;
}

std::vector<std::uint8_t> EmulatedHandset::FsWrite(const std::vector<std::uint8_t>& request) {
  const std::uint8_t sequence = request[2];
  auto status = [&](std::uint8_t value) {
    if (value != kFsOk) {
      writing_ = {};
    }
    return std::vector<std::uint8_t>{protocol::kFileSystem, kFsWriteOp, value, sequence};
  };
  if (request.size() < 6) {
    return status(kFsBadRequest);
  }
  const bool more = request[3] != 0;
  std::span<const std::uint8_t> chunk;
  if (sequence == 0) {
    if (request.size() < 16) {
      return status(kFsBadRequest);
    }
    const std::size_t n = request[13];
    if (14 + n + 2 > request.size()) {
      return status(kFsBadRequest);
    }
    const std::size_t length = ReadU16(request, 14 + n);
    if (16 + n + length != request.size()) {
      return status(kFsBadRequest);
    }
    const std::string path = NameOf(std::span<const std::uint8_t>(request).subspan(14, n));
    if (path.empty()) {
      return status(kFsBadRequest);
    }
    writing_ = {};
    writing_.active = true;
    writing_.path = path;
    writing_.total = ReadU32(request, 5);
    chunk = std::span<const std::uint8_t>(request).subspan(16 + n, length);
  } else {
    if (!writing_.active) {
      return status(kFsSequence);
    }
    const std::size_t length = ReadU16(request, 4);
    if (6 + length != request.size()) {
      return status(kFsBadRequest);
    }
    chunk = std::span<const std::uint8_t>(request).subspan(6, length);
  }
  if (writing_.data.size() + chunk.size() > kLargestFile) {
    return status(kFsBadRequest);
  }
  writing_.data.insert(writing_.data.end(), chunk.begin(), chunk.end());
  if (!more) {
    state_.files[writing_.path] = std::move(writing_.data);
    writing_ = {};
    Changed();
  }
  return status(kFsOk);
}

}  // namespace linkora::emulator
