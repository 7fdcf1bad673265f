#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "messages/MessageArchive.h"

namespace linkora {

// All received and sent messages in one UTF-8 file, for the programs people
// read and sort text in: a readable text file, or CSV (RFC 4180) with the
// columns box, time as shown, number, text. The handset's CP949 texts are
// decoded as the message window decodes them; the bytes of the per-message
// .txt export are not touched by this.
class MessageExport {
 public:
  enum class Format { Text, Csv };

  explicit MessageExport(Format format) : format_(format) {}

  // "txt" or "csv" (letter case ignored), as the command line and file
  // extensions name the formats.
  static std::optional<Format> FormatNamed(std::string_view name);
  // "messages.txt" or "messages.csv".
  static std::string DefaultFileName(Format format);

  Format GetFormat() const { return format_; }
  // The whole file.
  std::string Render(const MessageArchive& messages) const;
  // Writes the file atomically; on failure errorString() says why.
  bool Save(const std::filesystem::path& path, const MessageArchive& messages);
  const std::string& errorString() const { return error_; }

 private:
  Format format_;
  std::string error_;
};

}  // namespace linkora
