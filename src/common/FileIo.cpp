#include "common/FileIo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

namespace linkora {
namespace {

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

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::string& error) {
  std::string temporary = path.string() + ".XXXXXX";
  const int fd = ::mkstemp(temporary.data());
  if (fd < 0) {
    error = Describe(path, errno);
    return false;
  }
  // mkstemp creates the file readable by its owner only; a saved file gets
  // the usual permissions.
  ::fchmod(fd, 0644);
  const bool written = WriteAll(fd, bytes) && ::fsync(fd) == 0;
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
