#include "backup/BackupWorkFolder.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "backup/BackupManifest.h"

namespace linkora {

namespace fs = std::filesystem;

namespace {

fs::path WithoutTrailingSlash(fs::path path) {
  return path.has_filename() ? path : path.parent_path();
}

}  // namespace

BackupWorkFolder::BackupWorkFolder(fs::path final)
    : final_(WithoutTrailingSlash(std::move(final))), work_(WorkPathFor(final_)) {}

BackupWorkFolder::~BackupWorkFolder() {
  if (open_) {
    Abandon(false);
  }
}

fs::path BackupWorkFolder::WorkPathFor(const fs::path& final) {
  const fs::path plain = WithoutTrailingSlash(final);
  return plain.parent_path() / (plain.filename().string() + ".partial");
}

bool BackupWorkFolder::Create(std::string& error, bool* removedStale) {
  std::error_code ec;
  if (removedStale != nullptr) {
    *removedStale = false;
  }
  if (fs::exists(fs::symlink_status(work_, ec))) {
    // Only a folder of ours is taken away: it has our name and no manifest.
    if (!fs::is_directory(fs::symlink_status(work_, ec)) ||
        fs::exists(work_ / kManifestFileName, ec)) {
      error = work_.string() + ": exists and is not an unfinished backup";
      return false;
    }
    fs::remove_all(work_, ec);
    if (ec) {
      error = work_.string() + ": " + ec.message();
      return false;
    }
    if (removedStale != nullptr) {
      *removedStale = true;
    }
  }
  fs::create_directories(work_, ec);
  if (!fs::is_directory(work_, ec)) {
    error = work_.string() + ": " + (ec ? ec.message() : std::string("not a folder"));
    return false;
  }
  open_ = true;
  return true;
}

bool BackupWorkFolder::Commit(std::string& error) {
  std::error_code ec;
  if (fs::is_directory(final_, ec) && HoldsNoFile(final_)) {
    fs::remove_all(final_, ec);  // only empty folders: nothing is lost
  }
  if (std::rename(work_.c_str(), final_.c_str()) != 0) {
    error = final_.string() + ": " + std::strerror(errno);
    return false;
  }
  open_ = false;
  return true;
}

std::optional<fs::path> BackupWorkFolder::Abandon(bool keep) {
  if (!open_) {
    return std::nullopt;
  }
  open_ = false;
  if (keep) {
    return work_;
  }
  std::error_code ec;
  fs::remove_all(work_, ec);
  return std::nullopt;
}

}  // namespace linkora
