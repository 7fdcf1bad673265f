#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/CliTransfers.h"
#include "common/Cp949.h"
#include "messages/MessageBook.h"
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
    run.host.ShowMessage(result.detail);
    return kExitFailed;
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

const CliCommand kCommands[] = {
    {{"messages", "list"}, "", 0, 0, "read every text message of the handset and list them", &List},
    {{"messages", "pull"},
     "DIR",
     1,
     1,
     "save every text message as a text file in DIR (RXmmddhhmm.txt, TXmmddhhmm.txt)",
     &Pull},
};

}  // namespace

std::span<const CliCommand> MessageCommands() {
  return kCommands;
}

}  // namespace linkora::cli
