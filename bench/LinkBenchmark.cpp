// Link benchmark: a full phonebook read, a 60,000-byte file written and read
// back, and whole-handset backups of the sample and of a full handset over
// the paced emulator line, each time printed next to its bound (the bytes
// that crossed the line at 115200 baud, 11,520 bytes a second, plus the fixed
// waits of the transfer; for a backup these are the one mode switch and the
// waits each exchange must keep). Run by hand:
//
//   build/app/bench/linkora-bench
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "backup/HandsetBackup.h"
#include "common/ByteRecord.h"
#include "common/Sleep.h"
#include "emulator/EmulatedHandset.h"
#include "emulator/PtyServer.h"
#include "fsxfer/PhoneFile.h"
#include "link/SessionState.h"
#include "link/TransferHost.h"
#include "tarvio/SerialHandsetLibrary.h"

namespace {

using namespace linkora;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr double kBytesPerSecond = 11520.0;
constexpr int kAfterRequestMs = 20;  // the file exchange's wait after every request

volatile std::sig_atomic_t stopServer = 0;

struct Result {
  double seconds = 0;
  std::uint64_t bytes = 0;
  int exchanges = 0;
  double waitSeconds = 0;
  // Each exchange at best: the longer of the fixed wait and the time the
  // request and the reply take on the line (the wait runs meanwhile).
  double overlappedBound = 0;
};

void Report(const char* what, const Result& r) {
  const double bound = static_cast<double>(r.bytes) / kBytesPerSecond + r.waitSeconds;
  std::printf(
      "%-34s %8.3f s   bound %8.3f s (%7llu bytes, %4d exchanges, waits %.3f s)   ratio %.3f\n",
      what, r.seconds, bound, static_cast<unsigned long long>(r.bytes), r.exchanges, r.waitSeconds,
      r.seconds / bound);
  if (r.overlappedBound > 0) {
    std::printf("%-34s %8s     with the wait overlapping the reply: bound %8.3f s   ratio %.3f\n",
                "", "", r.overlappedBound, r.seconds / r.overlappedBound);
  }
}

std::uint64_t Traffic(const SerialHandsetLibrary& library) {
  return library.BytesSent() + library.BytesReceived();
}

// The file transfers' wait, measured: it really waits, adds every wait to the
// bound and counts an exchange at each wait that follows a request. Between
// the starts of two such waits the line carries one reply and the next
// request, and that stretch takes at least the longer of the wait and their
// time on the line; the sum of those is the tighter bound.
class MeasuringSleep final : public Sleep {
 public:
  MeasuringSleep(const SerialHandsetLibrary& library, Result& result)
      : library_(library), result_(result) {}

  void Wait(int milliseconds) override {
    result_.waitSeconds += milliseconds / 1000.0;
    if (milliseconds == kAfterRequestMs) {
      ++result_.exchanges;
      CloseStretch();
      stretchStart_ = Traffic(library_);
      open_ = true;
    }
    sleep_.Wait(milliseconds);
  }

  // Ends the last stretch once the transfer is over.
  void CloseStretch() {
    if (open_) {
      const double lineSeconds =
          static_cast<double>(Traffic(library_) - stretchStart_) / kBytesPerSecond;
      result_.overlappedBound += std::max(kAfterRequestMs / 1000.0, lineSeconds);
      open_ = false;
    }
  }

 private:
  const SerialHandsetLibrary& library_;
  Result& result_;
  ThreadSleep sleep_;
  std::uint64_t stretchStart_ = 0;
  bool open_ = false;
};

// The transfers run in a window; here nothing is shown.
class QuietHost final : public TransferHost {
 public:
  void SetTitle(std::string_view) override {}
  void SetProgress(int) override {}
  void PumpMessages() override {}
  void ShowMessage(std::string_view text) override {
    std::fprintf(stderr, "linkora-bench: %.*s\n", static_cast<int>(text.size()), text.data());
  }
  std::optional<std::string> AskPhoneNumber() override { return std::nullopt; }
  std::optional<std::string> AskLockCode() override { return std::nullopt; }
  void SetDiagPortName(const std::string&) override {}
};

// Every wait of a backup really waits and counts toward its bound.
class CountingSleep final : public Sleep {
 public:
  explicit CountingSleep(double& seconds) : seconds_(seconds) {}
  void Wait(int milliseconds) override {
    seconds_ += milliseconds / 1000.0;
    sleep_.Wait(milliseconds);
  }

 private:
  double& seconds_;
  ThreadSleep sleep_;
};

// A whole-handset backup against an emulated handset holding `state`.
bool BenchBackup(const char* what, const emulator::HandsetState& state,
                 const std::filesystem::path& dir) {
  namespace fs = std::filesystem;
  emulator::EmulatedHandset handset({}, state);
  emulator::PtyServer::Options serverOptions;
  serverOptions.portsDir = dir / "ports";
  emulator::PtyServer server(serverOptions);
  std::string error;
  if (!server.Start(error)) {
    std::fprintf(stderr, "linkora-bench: %s\n", error.c_str());
    return false;
  }
  stopServer = 0;
  std::thread serving([&] { server.Run(handset, stopServer); });
  SerialHandsetLibrary::Options options;
  options.ports = PortMap(PortMap::Options{dir / "ports", false});
  SerialHandsetLibrary library(options);
  Result result;
  CountingSleep sleep(result.waitSeconds);
  SessionState session;
  session.RememberedPhoneNumber = state.phoneNumber;
  session.RememberedLockCode = state.lockCode;
  QuietHost host;
  ConnectSettings settings;
  settings.portName = "COM11";
  const auto start = Clock::now();
  const BackupResult backup =
      HandsetBackup({library, sleep, session}, host).Run(settings, dir / "backup");
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  result.bytes = Traffic(library);
  stopServer = 1;
  serving.join();
  std::error_code ec;
  fs::remove_all(dir / "backup", ec);
  if (!backup.done) {
    std::fprintf(stderr, "linkora-bench: the backup failed: %s\n", library.LastFailure().c_str());
    return false;
  }
  Report(what, result);
  return true;
}

}  // namespace

int main() {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("linkora-bench-" + std::to_string(::getpid()));

  // A handset with every phonebook slot used.
  emulator::HandsetState state = emulator::SampleState(emulator::Model::kRx3100);
  for (int slot = 1; slot <= 499; ++slot) {
    Bytes entry(222, 0);
    WriteU16(entry, 0, static_cast<std::uint16_t>(slot));
    const std::string number = "016" + std::to_string(1000000 + slot);
    entry[80] = static_cast<std::uint8_t>(number.size());
    std::copy(number.begin(), number.end(), entry.begin() + 81);
    state.entries[slot] = entry;
    state.slotFlags[static_cast<std::size_t>(slot)] = 0x01;
  }
  emulator::EmulatedHandset handset({}, state);
  emulator::PtyServer::Options serverOptions;
  serverOptions.portsDir = dir / "ports";
  emulator::PtyServer server(serverOptions);
  std::string error;
  if (!server.Start(error)) {
    std::fprintf(stderr, "linkora-bench: %s\n", error.c_str());
    return 1;
  }
  std::thread serving([&] { server.Run(handset, stopServer); });

  SerialHandsetLibrary::Options options;
  options.ports = PortMap(PortMap::Options{dir / "ports", false});
  SerialHandsetLibrary library(options);
  int status = 0;
  std::printf("Paced emulator line at 115200 baud (11,520 bytes a second)\n");
  if (!library.DiagOpenPort("COM11", 115200)) {
    std::fprintf(stderr, "linkora-bench: %s\n", library.LastFailure().c_str());
    status = 1;
  } else {
    const std::string command = "AT$QCDMG\r\n";
    int sent = 0;
    library.XrsSyncSend(Bytes(command.begin(), command.end()), sent);
    std::array<std::uint8_t, 32> text{};
    int received = 0;
    library.XrsSyncRecv(text, received);

    // Phonebook: five flag parts, 499 entries, 20 groups; no fixed waits.
    Result phonebook;
    auto start = Clock::now();
    auto before = Traffic(library);
    for (int part = 0; part < 5 && status == 0; ++part) {
      std::array<std::uint8_t, 100> block{};
      ++phonebook.exchanges;
      status = library.XrsNvReadAddressList_rx310(part, block) > 0 ? 0 : 1;
    }
    for (int slot = 1; slot <= 499 && status == 0; ++slot) {
      std::array<std::uint8_t, 222> entry{};
      WriteU16(entry, 0, static_cast<std::uint16_t>(slot));
      ++phonebook.exchanges;
      status = library.XrsNvReadAddress_rx310(entry) > 0 ? 0 : 1;
    }
    for (int g = 0; g < 20 && status == 0; ++g) {
      std::array<std::uint8_t, 27> group{};
      group[0] = static_cast<std::uint8_t>(g);
      ++phonebook.exchanges;
      status = library.XrsNvReadDialGroup_rx310(group) > 0 ? 0 : 1;
    }
    phonebook.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    phonebook.bytes = Traffic(library) - before;
    if (status == 0) {
      Report("phonebook read (499 entries)", phonebook);
    }

    Bytes data(60000);
    for (std::size_t i = 0; i < data.size(); ++i) {
      data[i] = static_cast<std::uint8_t>((i * 131) >> 3);
    }
    // The file transfers themselves, as the media transfers run them.
    QuietHost host;
    SessionState session;
    Result write;
    start = Clock::now();
    before = Traffic(library);
    {
      MeasuringSleep measuring(library, write);
      const LinkContext context{library, measuring, session};
      if (status == 0 && WritePhoneFile(context, host, "nvm/media/media_0090", data) == 1) {
        measuring.CloseStretch();
        write.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        write.bytes = Traffic(library) - before;
        Report("file write (60,000 bytes)", write);
      } else {
        status = 1;
      }
    }
    Result read;
    Bytes back(kPhoneFileCapacity);
    std::size_t readBytes = 0;
    start = Clock::now();
    before = Traffic(library);
    {
      MeasuringSleep measuring(library, read);
      const LinkContext context{library, measuring, session};
      if (status == 0 &&
          ReadPhoneFile(context, host, "nvm/media/media_0090", back, &readBytes) ==
              static_cast<int>(data.size()) &&
          readBytes == data.size() && std::equal(data.begin(), data.end(), back.begin())) {
        measuring.CloseStretch();
        read.seconds = std::chrono::duration<double>(Clock::now() - start).count();
        read.bytes = Traffic(library) - before;
        Report("file read (60,000 bytes)", read);
      } else {
        status = 1;
      }
    }
    if (status != 0) {
      std::fprintf(stderr, "linkora-bench: a transfer failed: %s\n", library.LastFailure().c_str());
    }
  }
  library.DiagClosePort();
  stopServer = 1;
  serving.join();
  if (status == 0 &&
      (!BenchBackup("backup, sample handset", emulator::SampleState(emulator::Model::kRx3100),
                    dir / "sample") ||
       !BenchBackup("backup, full handset", emulator::FullState(emulator::Model::kRx3100),
                    dir / "full"))) {
    status = 1;
  }
  std::error_code ec;
  fs::remove_all(dir, ec);
  return status;
}
