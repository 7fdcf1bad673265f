#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "emulator/HandsetState.h"
#include "tarvio/Frame.h"

namespace linkora::emulator {

// One injected fault: the `nth` to `nth + times - 1` requests of one
// operation are answered wrongly.
struct Fault {
  enum class Kind {
    kFail,     // answered with a failure: an NV error, a refused code, an FS error, an error reply
    kDrop,     // not answered at all
    kCorrupt,  // answered with a frame whose CRC is wrong
  };
  Kind kind = Kind::kFail;
  // "version", "spc", "offline", "reset", "mode", "fs-read", "fs-write", or
  // "read-<item>" / "write-<item>" with an item name of the protocol
  // ("read-address", "write-schedule", "read-smsrx", ...), or "gmi" / "qcdmg".
  std::string operation;
  int nth = 1;
  int times = 1;
};

// True for an operation name a fault can name.
bool IsFaultOperation(const std::string& operation);

// Parses "fail:read-address:3", "drop:version:1:2" (kind, operation, nth,
// times). False with a message for anything else.
bool ParseFault(const std::string& text, Fault& fault, std::string& error);

// The emulated handset: takes the bytes that arrive on its serial line and
// gives the bytes it sends back. Data mode answers "AT" lines; diagnostic mode
// answers framed requests. Time comes in from the caller, so tests can step it.
class EmulatedHandset {
 public:
  using Clock = std::chrono::steady_clock;

  struct Config {
    // Where the state is saved (nothing is saved when empty). A change marks
    // the state unsaved; SaveIfChanged writes it.
    std::filesystem::path stateFile;
    int resetSilenceMs = 3000;        // silent time after a reset
    std::uint8_t nvErrorStatus = 5;   // NV status of an injected item failure
    std::uint8_t fsErrorStatus = 10;  // file-system status of an injected failure
    std::vector<Fault> faults;
  };

  EmulatedHandset(Config config, HandsetState state);

  std::vector<std::uint8_t> Receive(std::span<const std::uint8_t> bytes,
                                    Clock::time_point now = Clock::now());

  bool InDiagMode() const { return diagMode_; }
  bool IsOffline() const { return offline_; }
  bool IsSilent(Clock::time_point now) const { return now < silentUntil_; }
  const HandsetState& state() const { return state_; }
  HandsetState& state() { return state_; }
  // Count of requests seen per operation name (see Fault::operation).
  int CountOf(const std::string& operation) const;
  // Frames dropped because they were garbled.
  int BadFrames() const { return badFrames_; }
  // True when a change has not been saved to the state file yet.
  bool HasUnsavedChanges() const { return unsaved_; }
  // Saves the state atomically when it changed since the last save. False
  // when the save failed (SaveError tells why; the change stays unsaved).
  bool SaveIfChanged(bool flush = true);
  // The last failure to save the state file, if any.
  const std::string& SaveError() const { return saveError_; }

 private:
  void DataModeByte(std::uint8_t byte, std::vector<std::uint8_t>& out);
  void DataModeLine(const std::string& line, std::vector<std::uint8_t>& out);
  // The reply payload to one request, or nothing for no reply.
  std::optional<std::vector<std::uint8_t>> Handle(const std::vector<std::uint8_t>& request,
                                                  Clock::time_point now);
  std::vector<std::uint8_t> HandleNv(const std::vector<std::uint8_t>& request, bool failed);
  std::vector<std::uint8_t> HandleFileSystem(const std::vector<std::uint8_t>& request, bool failed);
  std::vector<std::uint8_t> FsRead(const std::vector<std::uint8_t>& request);
  std::vector<std::uint8_t> FsWrite(const std::vector<std::uint8_t>& request);
  // Counts the request and gives the fault that applies to it, if any.
  std::optional<Fault::Kind> Count(const std::string& operation);
  void Changed();

  Config config_;
  HandsetState state_;
  bool diagMode_ = false;
  bool offline_ = false;
  Clock::time_point silentUntil_{};
  std::string line_;
  FrameDecoder decoder_;
  std::map<std::string, int> counts_;
  int badFrames_ = 0;
  std::string saveError_;
  bool corruptReply_ = false;
  bool unsaved_ = false;

  // The file being read or written by the file-system requests.
  struct Transfer {
    std::string path;
    std::vector<std::uint8_t> data;
    std::size_t position = 0;
    std::uint32_t total = 0;
    bool active = false;
  };
  Transfer reading_;
  Transfer writing_;
};

}  // namespace linkora::emulator
