#include "common/FileIo.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <string_view>

namespace linkora {
namespace {

constexpr std::string_view kTemporaryMark = ".linkora-tmp-";

std::string Describe(const std::filesystem::path& path, int error) {
  return path.string() + ": " + std::strerror(error);
}

bool WriteAll(int fd, std::span<const std::uint8_t> bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) {
        continue;
      }
      return false;
    }
    bytes = bytes.subspan(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

void RemoveStaleTemporaryFiles(const std::filesystem::path& dir) {
  std::error_code error;
  for (auto it = std::filesystem::directory_iterator(dir, error);
       !error && it != std::filesystem::directory_iterator(); it.increment(error)) {
    const std::string name = it->path().filename().string();
    const auto mark = name.rfind(kTemporaryMark);
    if (mark == std::string::npos || mark == 0) {
      continue;
    }
    // NAME.linkora-tmp-PID-XXXXXX: only a file whose writer has ended.
    const std::string rest = name.substr(mark + kTemporaryMark.size());
    const auto dash = rest.find('-');
    if (dash == std::string::npos || dash == 0 || dash > 9 || rest.size() != dash + 7 ||
        !std::all_of(rest.begin(), rest.begin() + static_cast<long>(dash),
                     [](char c) { return c >= '0' && c <= '9'; })) {
      continue;
    }
    const pid_t writer = static_cast<pid_t>(std::stol(rest.substr(0, dash)));
    if (writer > 0 && ::kill(writer, 0) != 0 && errno == ESRCH && it->is_regular_file(error)) {
      ::unlink(it->path().c_str());
    }
  }
}

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::string& error, bool flush) {
  std::error_code statError;
  if (std::filesystem::is_directory(path, statError)) {
    error = Describe(path, EISDIR);
    return false;
  }
  RemoveStaleTemporaryFiles(path.parent_path().empty() ? "." : path.parent_path());
  std::string temporary =
      path.string() + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    error = Describe(path, errno);
    return false;
  }
  // mkstemp creates the file readable by its owner only; a saved file gets
  // the usual permissions.
  ::fchmod(fd, 0644);
  const bool written = WriteAll(fd, bytes) && (!flush || ::fsync(fd) == 0);
  const int writeError = errno;
  if (::close(fd) != 0 || !written) {
    error = Describe(path, written ? errno : writeError);
    ::unlink(temporary.c_str());
    return false;
  }
  if (::rename(temporary.c_str(), path.c_str()) != 0) {
    error = Describe(path, errno);
    ::unlink(temporary.c_str());
    return false;
  }
  return true;
}

bool ReadWholeFile(const std::filesystem::path& path, std::size_t maxSize,
                   std::vector<std::uint8_t>& bytes, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = Describe(path, errno);
    return false;
  }
  std::error_code statError;
  if (!std::filesystem::is_regular_file(path, statError)) {
    // A folder opens as a stream whose size reads as huge.
    error = Describe(path, std::filesystem::is_directory(path, statError) ? EISDIR : EINVAL);
    return false;
  }
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) {
    error = path.string() + ": cannot tell the file's size";
    return false;
  }
  if (static_cast<std::uintmax_t>(size) > maxSize) {
    error = path.string() + ": larger than " + std::to_string(maxSize) + " bytes";
    return false;
  }
  in.seekg(0, std::ios::beg);
  std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
  if (!data.empty() &&
      !in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()))) {
    error = path.string() + ": read failed";
    return false;
  }
  bytes = std::move(data);
  return true;
}

std::filesystem::path UnusedPath(const std::filesystem::path& dir, const std::string& name) {
  const std::filesystem::path base(name);
  std::filesystem::path candidate = dir / base;
  std::error_code error;
  for (int n = 2; std::filesystem::exists(candidate, error); ++n) {
    candidate = dir / (base.stem().string() + "-" + std::to_string(n) + base.extension().string());
  }
  return candidate;
}

}  // namespace linkora
