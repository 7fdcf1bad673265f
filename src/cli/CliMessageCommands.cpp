#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/CliTransfers.h"
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
                                 {"time", Utf8(m.timeText)},
                                 {"callback", Utf8(m.callbackNumber)},
                                 {"text", Utf8(m.text)},
                                 {"file", MessageExportFileName(false, m.timeKey)}});
    }
    for (int i = 0; i < book.SentCount(); ++i) {
      const SentMessage& m = book.Sent(i);
      out["sent"].push_back({{"index", i},
                             {"time", Utf8(m.timeText)},
                             {"recipient", Utf8(m.recipientNumber)},
                             {"text", Utf8(m.text)},
                             {"file", MessageExportFileName(true, m.timeKey)}});
    }
    run.env.out << out.dump(2) << '\n';
    return kExitDone;
  }
  for (const std::string& line : book.ReceivedLines()) {
    run.env.out << "RX " << Utf8(line) << '\n';
  }
  for (const std::string& line : book.SentLines()) {
    run.env.out << "TX " << Utf8(line) << '\n';
  }
  return kExitDone;
}

// "RX03051407.txt", then "RX03051407-2.txt", ... : never a file that exists.
std::filesystem::path FreeName(const std::filesystem::path& dir, const std::string& name) {
  const std::filesystem::path base(name);
  std::filesystem::path candidate = dir / base;
  for (int n = 2; std::filesystem::exists(candidate); ++n) {
    candidate = dir / (base.stem().string() + "-" + std::to_string(n) + base.extension().string());
  }
  return candidate;
}

}  // namespace

int PullMessageFiles(CommandRun& run, const ConnectSettings& settings,
                     const std::filesystem::path& dir, std::vector<std::string>& written) {
  MessageBook book;
  if (const int code = run.Finish(RunMessageSync(run.Link(), run.host, settings, book));
      code != kExitDone) {
    return code;
  }
  const auto save = [&](bool shown) {
    if (!shown) {
      return true;
    }
    const std::filesystem::path path = FreeName(dir, *book.SuggestedFileName());
    const MessageExportResult result = ExportSelectedMessage(book, path);
    if (!result.saved) {
      run.host.ShowMessage(result.message);
      run.host.ShowMessage(result.detail);
      return false;
    }
    written.push_back(path.filename().string());
    return true;
  };
  for (int i = 0; i < book.ReceivedCount(); ++i) {
    if (!save(book.ShowReceived(i))) {
      return kExitFailed;
    }
  }
  for (int i = 0; i < book.SentCount(); ++i) {
    if (!save(book.ShowSent(i))) {
      return kExitFailed;
    }
  }
  return kExitDone;
}

namespace {

int Pull(CommandRun& run) {
  const std::filesystem::path dir = run.operands[0];
  if (!run.MakeFolder(dir)) {
    return kExitFailed;
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
      return kExitFailed;
    }
  } else if (!run.MakeFolder(target)) {
    return kExitFailed;
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
    run.host.ShowMessage(exporter.errorString());
    return kExitFailed;
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
    {{"messages", "list"}, "", 0, 0, "read every text message of the handset and list them", &List},
    {{"messages", "pull"},
     "DIR",
     1,
     1,
     "save every text message as a text file in DIR (RXmmddhhmm.txt, TXmmddhhmm.txt)",
     &Pull},
    {{"messages", "export"},
     "DIR|FILE",
     1,
     1,
     "save every message in one UTF-8 file: DIR/messages.txt (--format csv: .csv), or "
     "FILE.txt/.csv",
     &Export},
};

}  // namespace

std::span<const CliCommand> MessageCommands() {
  return kCommands;
}

}  // namespace linkora::cli
