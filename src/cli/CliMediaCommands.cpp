#include <fmt/printf.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>

#include "cli/CliCommand.h"
#include "cli/CliJson.h"
#include "cli/CliTransfers.h"
#include "fsxfer/MediaTransfer.h"
#include "media/MediaDownload.h"
#include "media/MediaFile.h"
#include "media/MediaOperations.h"
#include "media/MediaUpload.h"
#include "media/PlainMediaFile.h"
#include "resources/CliTexts.h"

namespace linkora::cli {
namespace {

// The media operations' window, on a terminal: transfers run in the terminal
// host, the phone list is kept here, the items to save are the slots named on
// the command line (all when none is), and files are saved in the folder given.
class CliMediaWindow final : public MediaWindow {
 public:
  explicit CliMediaWindow(CommandRun& run) : run_(run) {}

  int RunTransfer(MediaTransferJob& job) override {
    run_.host.SetItem(ItemName(job));
    if (!StartMediaTransfer(run_.host, job)) {
      run_.host.SetItem({});
      return kMediaTransferFailed;
    }
    const int result = RunMediaTransfer(run_.Link(), run_.host, job);
    run_.host.SetItem({});
    if (result != kMediaTransferDone) {
      ++failedTransfers_;
    }
    return result;
  }
  void ShowMessage(std::string_view text) override {
    // A message about a file being uploaded names the file and counts as its refusal.
    if (!uploading_.empty()) {
      refused_.push_back({uploading_.filename().string(), std::string(text)});
      run_.host.ShowMessage(uploading_.string() + ": " + std::string(text));
      return;
    }
    run_.host.ShowMessage(text);
  }
  void ShowFileError(std::string_view detail) override {
    ++fileErrors_;
    run_.failedStep = "file";
    run_.host.ShowMessage("linkora-cli: " + std::string(detail));
  }
  void StartUploadFile(const std::filesystem::path& path) override { uploading_ = path; }
  bool AskYesNo(std::string_view question) override {
    run_.host.FinishLine();
    run_.env.err << question << '\n';
    return run_.args.yes;
  }
  void ClearPhoneList() override { items_.clear(); }
  void AddPhoneItem(int slot, const std::string& name) override {
    items_.emplace_back(slot, name);
    uploading_.clear();  // stored: the file's messages are over
  }
  int PhoneItemCount() const override { return static_cast<int>(items_.size()); }
  std::vector<int> SelectedSlots() const override {
    if (!wanted_.empty()) {
      return wanted_;
    }
    std::vector<int> slots;
    for (const auto& item : items_) {
      slots.push_back(item.first);
    }
    return slots;
  }
  // The file is saved where it was offered; one that exists is replaced only with --yes.
  std::optional<std::filesystem::path> ChooseSaveFile(const std::filesystem::path& initial,
                                                      std::string_view, std::string_view) override {
    std::error_code error;
    if (std::filesystem::exists(initial, error) && !AskYesNo(ReplaceFileQuestion(initial))) {
      return std::nullopt;
    }
    return initial;
  }
  std::string DataPath() const override { return folder_; }
  void SetDataPath(const std::string&) override {}

  void SetFolder(std::string folder) { folder_ = std::move(folder); }
  void SetWanted(std::vector<int> slots) { wanted_ = std::move(slots); }
  const std::vector<std::pair<int, std::string>>& Items() const { return items_; }
  int FailedTransfers() const { return failedTransfers_; }
  int FileErrors() const { return fileErrors_; }
  // The PC files an upload refused, with the reason shown.
  const std::vector<std::pair<std::string, std::string>>& Refused() const { return refused_; }

 private:
  // What the progress line names: the PC file being sent, or the handset item read.
  std::string ItemName(const MediaTransferJob& job) const {
    if (job.mode == MediaTransferMode::Write) {
      return uploading_.filename().string();
    }
    if (job.mode != MediaTransferMode::ReadFile) {
      return {};
    }
    for (const auto& [slot, name] : items_) {
      if (job.fileName == MediaSlotFileName(slot)) {
        return name;
      }
    }
    return job.fileName;
  }

  CommandRun& run_;
  std::vector<std::pair<int, std::string>> items_;
  std::vector<int> wanted_;
  std::string folder_;
  std::filesystem::path uploading_;
  std::vector<std::pair<std::string, std::string>> refused_;
  int failedTransfers_ = 0;
  int fileErrors_ = 0;
};

int ReadList(CommandRun& run, CliMediaWindow& window, MediaLists& lists,
             const ConnectSettings& settings) {
  if (ReadMediaList(window, lists, settings, run.state)) {
    return kExitDone;
  }
  return run.host.Cancelled() ? kExitCancelled : kExitFailed;
}

}  // namespace

int PullMediaFiles(CommandRun& run, const ConnectSettings& settings,
                   const std::filesystem::path& dir, std::vector<int> slots, int& saved) {
  CliMediaWindow window(run);
  window.SetFolder(dir.string());
  window.SetWanted(std::move(slots));
  MediaLists lists;
  if (const int code = ReadList(run, window, lists, settings); code != kExitDone) {
    return code;
  }
  saved = DownloadMediaItems(window, lists, settings);
  if (window.FailedTransfers() > 0) {
    return kExitFailed;
  }
  const int wanted = static_cast<int>(window.SelectedSlots().size());
  if (saved == wanted) {
    return kExitDone;
  }
  // The window's closing message may say that files were saved; the last
  // line says what was not.
  return run.Fail(window.FileErrors() > 0 ? kExitFileError : kExitRefused, "file",
                  fmt::sprintf(std::string(texts::kCliMediaNotSaved), wanted - saved, wanted));
}

namespace {

int List(CommandRun& run) {
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  CliMediaWindow window(run);
  MediaLists lists;
  if (const int code = ReadList(run, window, lists, *settings); code != kExitDone) {
    return code;
  }
  const LargeMediaInfo& list = lists.Large();
  if (run.args.json) {
    nlohmann::json items = nlohmann::json::array();
    for (const auto& [slot, name] : window.Items()) {
      items.push_back({{"slot", slot},
                       {"name", name},
                       {"size", list.SlotSize(slot)},
                       {"typeWord", list.TypeWord(slot)},
                       {"subtype", list.Subtype(slot)},
                       {"order", list.Order(slot)},
                       {"rawName", ToHex(list.NameField(slot))}});
    }
    run.PrintJson(nlohmann::json{
        {"model", run.state.ModelIndex == 0 ? "rx2100" : "rx3100"},
        {"total", list.Total()},
        {"items",
         items}}.dump(2));
  } else {
    for (const auto& [slot, name] : window.Items()) {
      run.env.out << fmt::sprintf("%02d  %6u  %s\n", slot, list.SlotSize(slot), name);
    }
  }
  return kExitDone;
}

int Pull(CommandRun& run) {
  std::vector<int> wanted;
  for (std::size_t i = 1; i < run.operands.size(); ++i) {
    const std::string& word = run.operands[i];
    char* end = nullptr;
    const long slot = std::strtol(word.c_str(), &end, 10);
    if (word.empty() || *end != '\0' || slot < 0 || slot >= kMediaSlotCount) {
      run.env.err << "linkora-cli: a slot is a number from 0 to 98, not " << word << '\n';
      return kExitUsage;
    }
    wanted.push_back(static_cast<int>(slot));
  }
  const std::filesystem::path dir = run.operands[0];
  if (!run.MakeFolder(dir)) {
    return kExitFileError;
  }
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  int saved = 0;
  const int code = PullMediaFiles(run, *settings, dir, std::move(wanted), saved);
  if (run.args.json) {
    run.PrintJson(nlohmann::json{{"folder", dir.string()}, {"saved", saved}}.dump(2));
  } else {
    run.env.out << saved << " files saved in " << dir.string() << '\n';
  }
  return code;
}

int Push(CommandRun& run) {
  PcFileList files;
  std::vector<std::filesystem::path> paths;
  for (const std::string& operand : run.operands) {
    paths.emplace_back(std::filesystem::absolute(operand));
  }
  if (const auto refused = files.Add(paths)) {
    return run.Fail(kExitRefused, "file", *refused);
  }
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  CliMediaWindow window(run);
  MediaLists lists;
  const UploadSummary summary = UploadMediaFiles(window, files, lists, *settings, run.state);
  run.handsetRestarted = summary.reset;
  const int refused = static_cast<int>(window.Refused().size());
  if (run.args.json) {
    nlohmann::json reasons = nlohmann::json::array();
    for (const auto& [file, reason] : window.Refused()) {
      reasons.push_back({{"file", file}, {"reason", reason}});
    }
    run.PrintJson(nlohmann::json{{"files", paths.size()},
                                 {"stored", summary.stored},
                                 {"refused", reasons},
                                 {"reset", summary.reset}}
                      .dump(2));
  } else {
    run.env.out << fmt::sprintf(std::string(texts::kCliPushSummary), summary.stored,
                                static_cast<int>(paths.size()), refused);
  }
  if (window.FailedTransfers() > 0 || run.host.Cancelled()) {
    return run.host.Cancelled() ? kExitCancelled : kExitFailed;
  }
  if (summary.stored == static_cast<int>(paths.size())) {
    return kExitDone;
  }
  if (!window.Refused().empty()) {
    run.failedStep = "file";
    run.host.ShowMessage(
        fmt::sprintf(std::string(texts::kCliPushRefused), refused, static_cast<int>(paths.size())));
  }
  return kExitRefused;
}

const char* ClassName(MediaClass kind) {
  switch (kind) {
    case MediaClass::SmafSound:
      return "sound";
    case MediaClass::SafPicture:
      return "picture";
    case MediaClass::Jpeg:
      return "jpeg";
    case MediaClass::Kind8:
      return "kind8";
    case MediaClass::Sound27:
      return "nmf-sound";
  }
  return "unknown";
}

int Inspect(CommandRun& run) {
  const int modelIndex = run.args.model && *run.args.model == "rx2100" ? 0 : 1;
  std::vector<std::uint8_t> bytes;
  std::vector<std::uint8_t> name;
  std::string message;
  std::optional<MediaFile> file;
  if (ReadUploadFile(run.operands[0], bytes, name, message)) {
    file = MediaFile::Build(name, bytes, modelIndex, message);
  }
  if (!file) {
    if (run.args.json) {
      run.PrintJson(nlohmann::json{{"accepted", false}, {"message", message}}.dump(2));
    }
    run.host.ShowMessage(message);
    return kExitRefused;
  }
  const MediaRecordHeader header = file->RecordHeader();
  const std::string recordHeader = ToHex(header.Bytes());
  if (run.args.json) {
    run.PrintJson(nlohmann::json{{"accepted", true},
                                 {"model", modelIndex == 0 ? "rx2100" : "rx3100"},
                                 {"kind", ClassName(file->Class())},
                                 {"typeWord", file->TypeWord()},
                                 {"subtype", file->Subtype()},
                                 {"dataSize", file->DataSize()},
                                 {"name", Utf8Text(name)},
                                 {"recordHeader", recordHeader}}
                      .dump(2));
  } else {
    run.env.out << fmt::sprintf("kind %s, type word 0x%04X, subtype %d, %u bytes, header %s\n",
                                ClassName(file->Class()), file->TypeWord(), file->Subtype(),
                                file->DataSize(), recordHeader);
  }
  return kExitDone;
}

// FILE.nmf... DIR: each file's item data as a plain file in DIR. A broken
// file is reported and the rest go on; an existing file is replaced only with --yes.
int Export(CommandRun& run) {
  const std::filesystem::path dir = run.operands.back();
  if (!run.MakeFolder(dir)) {
    return kExitFileError;
  }
  nlohmann::json files = nlohmann::json::array();
  nlohmann::json refused = nlohmann::json::array();
  bool writeFailed = false;
  for (std::size_t i = 0; i + 1 < run.operands.size(); ++i) {
    const std::string& source = run.operands[i];
    PlainMediaFile plain;
    if (!plain.LoadNmf(source)) {
      run.host.ShowMessage(plain.errorString());
      refused.push_back({{"source", source}, {"message", plain.errorString()}});
      continue;
    }
    const std::filesystem::path path = dir / plain.FileName();
    std::error_code error;
    if (std::filesystem::exists(path, error)) {
      const std::string question = ReplaceFileQuestion(path);
      run.env.err << question << '\n';
      if (!run.args.yes) {
        refused.push_back({{"source", source}, {"message", question}});
        continue;
      }
    }
    if (!plain.Save(path)) {
      run.host.ShowMessage(plain.errorString());
      writeFailed = true;
      continue;
    }
    files.push_back({{"source", source}, {"file", path.string()}, {"size", plain.Data().size()}});
    if (!run.args.json) {
      run.env.out << path.string() << '\n';
    }
  }
  if (run.args.json) {
    run.PrintJson(
        nlohmann::json{{"folder", dir.string()}, {"files", files}, {"refused", refused}}.dump(2));
  }
  if (writeFailed) {
    return kExitFileError;
  }
  return refused.empty() ? kExitDone : kExitRefused;
}

const CliCommand kCommands[] = {
    {{"media", "list"},
     "",
     0,
     0,
     "list the ringtones and pictures stored in the handset",
     &List,
     kHandsetReadOptions},
    {{"media", "pull"},
     "DIR [SLOT...]",
     1,
     -1,
     "save the handset's media items (all, or the slots named) in DIR",
     &Pull,
     kHandsetWriteOptions},
    {{"media", "push"},
     "FILE...",
     1,
     -1,
     "store ringtone and picture files in the handset (it restarts afterwards)",
     &Push,
     kHandsetWriteOptions},
    {{"media", "inspect"},
     "FILE",
     1,
     1,
     "show what the upload checks make of a PC file",
     &Inspect,
     kOptModel | kOptJson},
    {{"media", "export"},
     "FILE.nmf... DIR",
     2,
     -1,
     "save the item in each downloaded .nmf file as a plain file (.mmf, .sis, ...) in DIR",
     &Export,
     kOptYes | kOptJson | kOptQuiet},
};

}  // namespace

std::span<const CliCommand> MediaCommands() {
  return kCommands;
}

}  // namespace linkora::cli
