// Link benchmark: a full phonebook read and a 60,000-byte file written and
// read back over the paced emulator line, each time printed next to its
// bound (the bytes that crossed the line at 115200 baud, 11,520 bytes a
// second, plus the fixed waits of the transfer). Run by hand:
//
//   build/app/bench/linkora-bench
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "common/ByteRecord.h"
#include "common/Sleep.h"
#include "emulator/EmulatedHandset.h"
#include "emulator/PtyServer.h"
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

bool Receive(SerialHandsetLibrary& library, Sleep& sleep, Bytes& reply, Result& r) {
  static constexpr int kRetryWaits[] = {200, 500, 1000};
  sleep.Wait(kAfterRequestMs);
  r.waitSeconds += kAfterRequestMs / 1000.0;
  reply.assign(267, 0);
  for (int attempt = 0; attempt < 4; ++attempt) {
    if (attempt > 0) {
      sleep.Wait(kRetryWaits[attempt - 1]);
      r.waitSeconds += kRetryWaits[attempt - 1] / 1000.0;
    }
    if (library.XrsRecvFrame(reply)) {
      return true;
    }
  }
  return false;
}

// One file-system exchange: send, wait, receive (with the retries).
bool Exchange(SerialHandsetLibrary& library, Sleep& sleep, const Bytes& request, Bytes& reply,
              Result& r) {
  const std::uint64_t sentBefore = library.BytesSent();
  if (!library.XrsSendFrame(request)) {
    return false;
  }
  const std::uint64_t sent = library.BytesSent() - sentBefore;
  const std::uint64_t receivedBefore = library.BytesReceived();
  if (!Receive(library, sleep, reply, r)) {
    return false;
  }
  // The send returns once the driver holds the bytes, so the wait runs while
  // the request and then the reply cross the line.
  const double lineSeconds =
      static_cast<double>(sent + library.BytesReceived() - receivedBefore) / kBytesPerSecond;
  r.overlappedBound += std::max(kAfterRequestMs / 1000.0, lineSeconds);
  return true;
}

bool WriteFile(SerialHandsetLibrary& library, Sleep& sleep, const std::string& name,
               const Bytes& data, Result& r) {
  std::uint8_t sequence = 0;
  std::size_t position = 0;
  while (position < data.size()) {
    const std::size_t chunk = std::min<std::size_t>(256, data.size() - position);
    const bool more = position + chunk < data.size();
    Bytes request = {0x59, 5, sequence, static_cast<std::uint8_t>(more ? 1 : 0)};
    if (position == 0) {
      request.push_back(1);
      for (int i = 0; i < 4; ++i) {
        request.push_back(static_cast<std::uint8_t>((data.size() >> (8 * i)) & 0xFF));
      }
      request.insert(request.end(), {0xFF, 0x00, 1, 0, static_cast<std::uint8_t>(name.size() + 1)});
      request.insert(request.end(), name.begin(), name.end());
      request.push_back(0);
    }
    request.push_back(static_cast<std::uint8_t>(chunk & 0xFF));
    request.push_back(static_cast<std::uint8_t>(chunk >> 8));
    request.insert(request.end(), data.begin() + static_cast<std::ptrdiff_t>(position),
                   data.begin() + static_cast<std::ptrdiff_t>(position + chunk));
    Bytes reply;
    ++r.exchanges;
    if (!Exchange(library, sleep, request, reply, r) || reply[0] != 0x59 || reply[2] != 0) {
      return false;
    }
    position += chunk;
    sequence = sequence == 255 ? 1 : static_cast<std::uint8_t>(sequence + 1);
  }
  return true;
}

bool ReadFile(SerialHandsetLibrary& library, Sleep& sleep, const std::string& name, Bytes& data,
              Result& r) {
  data.clear();
  std::uint8_t sequence = 0;
  for (;;) {
    Bytes request = {0x59, 4, sequence};
    if (sequence == 0) {
      request.push_back(static_cast<std::uint8_t>(name.size() + 1));
      request.insert(request.end(), name.begin(), name.end());
      request.push_back(0);
    }
    Bytes reply;
    ++r.exchanges;
    if (!Exchange(library, sleep, request, reply, r) || reply[0] != 0x59 || reply[2] != 0) {
      return false;
    }
    const std::size_t at = reply[3] == 0 ? 9 : 5;
    const std::size_t length = ReadU16(reply, at);
    if (at + 2 + length > reply.size()) {
      return false;
    }
    data.insert(data.end(), reply.begin() + static_cast<std::ptrdiff_t>(at + 2),
                reply.begin() + static_cast<std::ptrdiff_t>(at + 2 + length));
    if (reply[4] == 0) {
      return true;
    }
    sequence = sequence == 255 ? 1 : static_cast<std::uint8_t>(sequence + 1);
  }
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
  ThreadSleep sleep;
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
    Result write;
    start = Clock::now();
    before = Traffic(library);
    if (status == 0 && WriteFile(library, sleep, "nvm/media/media_0090", data, write)) {
      write.seconds = std::chrono::duration<double>(Clock::now() - start).count();
      write.bytes = Traffic(library) - before;
      Report("file write (60,000 bytes)", write);
    } else {
      status = 1;
    }
    Result read;
    Bytes back;
    start = Clock::now();
    before = Traffic(library);
    if (status == 0 && ReadFile(library, sleep, "nvm/media/media_0090", back, read) &&
        back == data) {
      read.seconds = std::chrono::duration<double>(Clock::now() - start).count();
      read.bytes = Traffic(library) - before;
      Report("file read (60,000 bytes)", read);
    } else {
      status = 1;
    }
    if (status != 0) {
      std::fprintf(stderr, "linkora-bench: a transfer failed: %s\n", library.LastFailure().c_str());
    }
  }
  library.DiagClosePort();
  stopServer = 1;
  serving.join();
  std::error_code ec;
  fs::remove_all(dir, ec);
  return status;
}
