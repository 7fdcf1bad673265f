#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "media/MediaInfo.h"

namespace linkora {

// How a downloaded item is saved.
enum class DownloadOutput { Gif, Jpeg, Nmf };

// One handset item made ready for saving on the PC.
struct DownloadStep {
  bool ready = false;
  std::string message;  // why the item is skipped
  DownloadOutput output = DownloadOutput::Nmf;
  std::string fileName;  // cleaned, with its extension
  std::string_view filter;
  std::string_view defaultExtension;  // without the dot
  std::vector<std::uint8_t> content;  // what the file is to hold
};

// Builds the output of one item from its slot file as it arrived (only the
// bytes received) and the slot's entry of the large-layout list copy.
DownloadStep PrepareDownload(int slot, std::span<const std::uint8_t> received,
                             const LargeMediaInfo& list);

// A handset name as a PC file name: decoded from CP949, with the characters
// ':', '\', '/', '*', '?', '"', '<', '>', '|' (and NUL) removed.
std::string CleanMediaFileName(std::span<const std::uint8_t> name);

// Appends the extension (".gif", ".jpg", ".nmf") unless the name already ends
// in it, letter case ignored.
std::string WithExtension(std::string name, std::string_view extension);

// The file in the remembered folder, or the name alone when no folder is known.
std::filesystem::path DownloadPath(const std::string& folder, const std::string& fileName);

// The question before replacing an existing file.
std::string ReplaceFileQuestion(const std::filesystem::path& path);

// The folder to remember after a file was saved through the save dialog.
std::string FolderOfSavedFile(const std::filesystem::path& path);

// Writes the file whole or not at all; gives false, the message to show and
// the system's account of the failure (the path and its reason).
bool SaveDownload(const std::filesystem::path& path, std::span<const std::uint8_t> content,
                  std::string& message, std::string& detail);

}  // namespace linkora
