#pragma once

#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

#include "emulator/EmulatedHandset.h"
#include "tarvio/ProtocolLog.h"

namespace linkora::emulator {

// The emulator's end of the serial line: a pseudo-terminal whose other end is
// published as a COM name (a link in the ports folder, with the pid file that
// tells programs the link is alive), and the loop that passes its bytes
// through an EmulatedHandset. Both files go at every orderly end of the
// process, through the destructor or the exit handler. With pacing on, bytes cross in
// each direction no faster than a 115200-baud line would carry them.
class PtyServer {
 public:
  struct Options {
    std::string portName = "COM11";
    std::filesystem::path portsDir;
    bool pacing = true;
    int bytesPerSecond = 11520;  // 115200 baud, ten bits a byte
    std::string logPath;         // the emulator's own protocol log, when not empty
  };

  explicit PtyServer(Options options) : options_(std::move(options)) {}
  ~PtyServer();
  PtyServer(const PtyServer&) = delete;
  PtyServer& operator=(const PtyServer&) = delete;

  // Opens the pseudo-terminal and publishes it. False with a message.
  bool Start(std::string& error);
  const std::string& DevicePath() const { return devicePath_; }
  std::filesystem::path LinkPath() const { return options_.portsDir / options_.portName; }
  std::filesystem::path PidPath() const { return options_.portsDir / (options_.portName + ".pid"); }

  // Serves until `stop` becomes non-zero. A changed state is saved before
  // the reply that acknowledges the change is sent, and at the end. When `save` becomes
  // non-zero the state is saved at once, `save` is cleared and `onSaved` runs.
  void Run(EmulatedHandset& handset, const volatile std::sig_atomic_t& stop,
           volatile std::sig_atomic_t* save = nullptr, void (*onSaved)(bool) = nullptr);

 private:
  void Send(std::span<const std::uint8_t> bytes);
  bool Publish(std::string& error);

  Options options_;
  int master_ = -1;
  int slaveKeeper_ = -1;  // keeps the line up while no program has it open
  std::string devicePath_;
  bool linked_ = false;
  ProtocolLog log_;
  std::chrono::steady_clock::time_point sendFreeAt_{};
};

}  // namespace linkora::emulator
