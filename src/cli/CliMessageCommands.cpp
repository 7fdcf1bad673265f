#include <fmt/printf.h>

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/CliTransfers.h"
#include "cli/TextColumns.h"
#include "common/Cp949.h"
#include "media/MediaDownload.h"
#include "messages/MessageArchive.h"
#include "messages/MessageBook.h"
#include "messages/MessageExport.h"
#include "messages/MessageSync.h"

namespace linkora::cli {
namespace {

std::string Utf8(const std::string& text) {
  return cp949::ToUtf8({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

// Reads every message of the handset into `book`; gives the exit code.
int ReadMessages(CommandRun& run, MessageBook& book) {
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  return run.Finish(RunMessageSync(run.Link(), run.host, *settings, book));
}

// A message's time stamp in ISO 8601 form without the year, which the
// handset does not keep ("--12-04T18:42"); null without a stamp.
nlohmann::json IsoTime(std::uint32_t timeKey) {
  if (timeKey == 0) {
    return nullptr;
  }
  return fmt::sprintf("--%02u-%02uT%02u:%02u", timeKey >> 24, (timeKey >> 16) & 0xFFu,
                      (timeKey >> 8) & 0xFFu, timeKey & 0xFFu);
}

// One line per message: box, time, number and text, in columns.
void PrintMessages(std::ostream& out, const MessageBook& book) {
  std::vector<std::vector<std::string>> rows = {{"box", "time", "number", "text"}};
  const auto field = [](const std::string& cp949) {
    std::string text = Utf8(cp949);
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text.empty() ? std::string("-") : text;
  };
  for (int i = 0; i < book.ReceivedCount(); ++i) {
    const ReceivedMessage& m = book.Received(i);
    rows.push_back({"RX", field(m.timeText), field(m.callbackNumber), field(m.text)});
  }
  for (int i = 0; i < book.SentCount(); ++i) {
    const SentMessage& m = book.Sent(i);
    rows.push_back({"TX", field(m.timeText), field(m.recipientNumber), field(m.text)});
  }
  std::vector<int> widths(rows[0].size(), 0);
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
  }
  for (const auto& row : rows) {
    out << PadToWidth(row[0], widths[0] + 2) << PadToWidth(row[1], widths[1] + 2)
        << PadToWidth(row[2], widths[2] + 2) << row[3] << '\n';
  }
}

int List(CommandRun& run) {
  MessageBook book;
  if (const int code = ReadMessages(run, book); code != kExitDone) {
    return code;
  }
  if (run.args.json) {
    nlohmann::json out = {{"received", nlohmann::json::array()}, {"sent", nlohmann::json::array()}};
    for (int i = 0; i < book.ReceivedCount(); ++i) {
      const ReceivedMessage& m = book.Received(i);
      out["received"].push_back({{"index", i},
                                 {"time", IsoTime(m.timeKey)},
                                 {"timeText", Utf8(m.timeText)},
                                 {"callback", Utf8(m.callbackNumber)},
                                 {"text", Utf8(m.text)},
                                 {"file", MessageExportFileName(false, m.timeKey)}});
    }
    for (int i = 0; i < book.SentCount(); ++i) {
      const SentMessage& m = book.Sent(i);
      out["sent"].push_back({{"index", i},
                             {"time", IsoTime(m.timeKey)},
                             {"timeText", Utf8(m.timeText)},
                             {"recipient", Utf8(m.recipientNumber)},
                             {"text", Utf8(m.text)},
                             {"file", MessageExportFileName(true, m.timeKey)}});
    }
    run.PrintJson(out.dump(2));
    return kExitDone;
  }
  PrintMessages(run.env.out, book);
  return kExitDone;
}

}  // namespace

int PullMessageFiles(CommandRun& run, const ConnectSettings& settings,
                     const std::filesystem::path& dir, std::vector<std::string>& written) {
  MessageBook book;
  if (const int code = run.Finish(RunMessageSync(run.Link(), run.host, settings, book));
      code != kExitDone) {
    return code;
  }
  const MessageExportResult result = SaveAllMessageFiles(book, dir, written);
  if (!result.saved) {
    run.host.ShowMessage(result.message);
    run.Fail(kExitFileError, "file", "linkora-cli: " + result.detail);
    return kExitFileError;
  }
  return kExitDone;
}

namespace {

int Pull(CommandRun& run) {
  const std::filesystem::path dir = run.operands[0];
  if (!run.MakeFolder(dir)) {
    return kExitFileError;
  }
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  std::vector<std::string> written;
  if (const int code = PullMessageFiles(run, *settings, dir, written); code != kExitDone) {
    return code;
  }
  if (run.args.json) {
    run.PrintJson(nlohmann::json{{"folder", dir.string()}, {"files", written}}.dump(2));
  } else {
    for (const std::string& name : written) {
      run.env.out << (dir / name).string() << '\n';
    }
  }
  return kExitDone;
}

// PATH ending in .txt or .csv is the file to write; anything else is a folder
// that gets messages.txt or messages.csv. --format wins over the extension.
int Export(CommandRun& run) {
  namespace fs = std::filesystem;
  const fs::path target = run.operands[0];
  std::error_code error;
  std::optional<MessageExport::Format> named;
  if (!fs::is_directory(target, error) && target.has_extension()) {
    named = MessageExport::FormatNamed(target.extension().string().substr(1));
  }
  const MessageExport::Format format = run.args.format
                                           ? *MessageExport::FormatNamed(*run.args.format)
                                           : named.value_or(MessageExport::Format::Text);
  fs::path path = target / MessageExport::DefaultFileName(format);
  if (named) {
    path = target;
    if (target.has_parent_path() && !run.MakeFolder(target.parent_path())) {
      return kExitFileError;
    }
  } else if (!run.MakeFolder(target)) {
    return kExitFileError;
  }
  if (fs::exists(path, error)) {
    const std::string question = ReplaceFileQuestion(path);
    const std::string_view questions[] = {question};
    if (!run.Confirm(questions)) {
      return kExitCancelled;
    }
  }
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  MessageArchive messages;
  if (const int code = run.Finish(RunMessageSync(run.Link(), run.host, *settings, messages));
      code != kExitDone) {
    return code;
  }
  MessageExport exporter(format);
  if (!exporter.Save(path, messages)) {
    return run.Fail(kExitFileError, "file", exporter.errorString());
  }
  if (run.args.json) {
    run.PrintJson(nlohmann::json{{"file", path.string()},
                                 {"format", format == MessageExport::Format::Csv ? "csv" : "txt"},
                                 {"received", messages.Received().size()},
                                 {"sent", messages.Sent().size()}}
                      .dump(2));
  } else {
    run.env.out << path.string() << '\n';
  }
  return kExitDone;
}

const CliCommand kCommands[] = {
    {{"messages", "list"},
     "",
     0,
     0,
     "read every text message of the handset and list them",
     &List,
     kHandsetReadOptions},
    {{"messages", "pull"},
     "DIR",
     1,
     1,
     "save every text message as a text file in DIR (RXmmddhhmm.txt, TXmmddhhmm.txt)",
     &Pull,
     kHandsetReadOptions},
    {{"messages", "export"},
     "DIR|FILE",
     1,
     1,
     "save every message in one UTF-8 file: DIR/messages.txt (--format csv: .csv), or "
     "FILE.txt/.csv",
     &Export,
     kHandsetReadOptions | kOptFormat | kOptYes},
};

}  // namespace

std::span<const CliCommand> MessageCommands() {
  return kCommands;
}

}  // namespace linkora::cli
