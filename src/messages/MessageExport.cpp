#include "messages/MessageExport.h"

#include <fmt/printf.h>

#include <algorithm>
#include <cctype>
#include <span>
#include <vector>

#include "common/Cp949.h"
#include "common/FileIo.h"
#include "resources/MessageTexts.h"

namespace linkora {
namespace {

// Spreadsheet programs take a CSV file without it for the legacy code page
// and garble every Korean text; CSV readers of scripting languages drop it
// when asked for UTF-8 with signature.
constexpr std::string_view kUtf8Signature = "\xEF\xBB\xBF";
constexpr std::string_view kCsvLineEnd = "\r\n";

std::string Utf8(const std::string& cp949Bytes) {
  return cp949::ToUtf8(
      std::span(reinterpret_cast<const std::uint8_t*>(cp949Bytes.data()), cp949Bytes.size()));
}

// One message as both formats write it, in UTF-8.
struct MessageRow {
  bool sent = false;
  std::string time;
  std::string number;
  std::string text;
};

std::vector<MessageRow> Rows(const MessageArchive& messages) {
  std::vector<MessageRow> rows;
  for (const ReceivedMessage& m : messages.Received()) {
    rows.push_back({false, Utf8(m.timeText), Utf8(m.callbackNumber), Utf8(m.text)});
  }
  for (const SentMessage& m : messages.Sent()) {
    rows.push_back({true, Utf8(m.timeText), Utf8(m.recipientNumber), Utf8(m.text)});
  }
  return rows;
}

// CR LF and lone CR become LF, the text file's one line break.
std::string WithLineFeeds(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
      }
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string OrNone(const std::string& value) {
  return value.empty() ? std::string(texts::kTextExportNone) : value;
}

std::string RenderText(const MessageArchive& messages) {
  std::string out =
      fmt::sprintf(texts::kTextExportSummaryFormat, static_cast<int>(messages.Received().size()),
                   static_cast<int>(messages.Sent().size())) +
      "\n";
  int receivedNumber = 0;
  int sentNumber = 0;
  for (const MessageRow& row : Rows(messages)) {
    const int number = row.sent ? ++sentNumber : ++receivedNumber;
    out += '\n';
    out += fmt::sprintf(texts::kTextExportHeadingFormat,
                        row.sent ? texts::kExportSentBox : texts::kExportReceivedBox, number);
    out += '\n';
    out += fmt::sprintf(
        row.sent ? texts::kTextExportSentTimeFormat : texts::kTextExportReceivedTimeFormat,
        OrNone(row.time));
    out += '\n';
    out += fmt::sprintf(
        row.sent ? texts::kTextExportRecipientFormat : texts::kTextExportCallbackFormat,
        OrNone(row.number));
    out += "\n\n";
    out += WithLineFeeds(row.text);
    out += '\n';
  }
  return out;
}

// A field with a comma, a quote or a line break goes in quotes, its quotes doubled.
void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') {
      out += '"';
    }
    out += c;
  }
  out += '"';
}

std::string RenderCsv(const MessageArchive& messages) {
  std::string out(kUtf8Signature);
  out += texts::kCsvExportHeader;
  out += kCsvLineEnd;
  for (const MessageRow& row : Rows(messages)) {
    AppendCsvField(out, row.sent ? texts::kExportSentBox : texts::kExportReceivedBox);
    out += ',';
    AppendCsvField(out, row.time);
    out += ',';
    AppendCsvField(out, row.number);
    out += ',';
    AppendCsvField(out, row.text);
    out += kCsvLineEnd;
  }
  return out;
}

}  // namespace

std::optional<MessageExport::Format> MessageExport::FormatNamed(std::string_view name) {
  std::string lower(name);
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (lower == "txt") {
    return Format::Text;
  }
  if (lower == "csv") {
    return Format::Csv;
  }
  return std::nullopt;
}

std::string MessageExport::DefaultFileName(Format format) {
  return format == Format::Csv ? "messages.csv" : "messages.txt";
}

std::string MessageExport::Render(const MessageArchive& messages) const {
  return format_ == Format::Csv ? RenderCsv(messages) : RenderText(messages);
}

bool MessageExport::Save(const std::filesystem::path& path, const MessageArchive& messages) {
  const std::string content = Render(messages);
  std::string cause;
  if (!WriteFileAtomically(
          path, std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()),
          cause)) {
    error_ = std::string(texts::kFileWriteFailed) + "\n" + cause;
    return false;
  }
  error_.clear();
  return true;
}

}  // namespace linkora
