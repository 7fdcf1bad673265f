#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace linkora {

// A backup folder while it is being written. The files go into a work
// folder beside the final one ("DIR.partial"), which is renamed into place
// only once the manifest is in it, so a folder of that name is whole or is
// not there at all.
class BackupWorkFolder {
 public:
  explicit BackupWorkFolder(std::filesystem::path final);
  ~BackupWorkFolder();
  BackupWorkFolder(const BackupWorkFolder&) = delete;
  BackupWorkFolder& operator=(const BackupWorkFolder&) = delete;

  static std::filesystem::path WorkPathFor(const std::filesystem::path& final);

  // Makes the work folder, removing one an earlier, broken-off run left
  // (`removedStale` tells). False and the message on failure.
  bool Create(std::string& error, bool* removedStale = nullptr);
  // Where the files go while the backup is written.
  const std::filesystem::path& Path() const { return work_; }
  const std::filesystem::path& Final() const { return final_; }
  // Renames the work folder into place. The final folder may exist when it
  // holds no file (an empty folder the user made for it).
  bool Commit(std::string& error);
  // Ends a backup that did not finish: removes the work folder, or with
  // `keep` leaves it under its work name. Gives where it was left.
  std::optional<std::filesystem::path> Abandon(bool keep);

 private:
  std::filesystem::path final_;
  std::filesystem::path work_;
  bool open_ = false;
};

}  // namespace linkora
