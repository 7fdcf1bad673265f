#include <fmt/printf.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <ostream>

#include "backup/SafeWrite.h"
#include "cli/CliCommand.h"
#include "cli/CliJson.h"
#include "cli/CliTransfers.h"
#include "cli/TextColumns.h"
#include "phonebook/Phonebook.h"
#include "phonebook/PhonebookFile.h"
#include "phonebook/PhonebookTransfer.h"
#include "phonebook/VcardReader.h"
#include "phonebook/VcardWriter.h"
#include "resources/CliTexts.h"
#include "resources/PhonebookTexts.h"
#include "schedule/Ringtones.h"

namespace linkora::cli {
namespace {

constexpr std::array<const char*, 4> kNumberNames = {"mobile", "home", "office", "fax"};

nlohmann::json PhonebookJson(const Phonebook& book) {
  nlohmann::json groups = nlohmann::json::array();
  const std::vector<std::string> names = GroupListTexts(book.Groups());
  for (std::size_t i = 0; i < book.Groups().size(); ++i) {
    const DialGroup& group = book.Groups()[i];
    groups.push_back({{"index", i},
                      {"name", TextJson(TextOfField(group.NameField()))},
                      {"raw", ToHex(group.Bytes())}});
  }
  nlohmann::json entries = nlohmann::json::array();
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    if (!book.Flags().IsUsed(slot)) {
      continue;
    }
    const PhonebookEntry& entry = book.Entry(slot);
    nlohmann::json numbers = nlohmann::json::object();
    for (std::size_t k = 0; k < kNumberNames.size(); ++k) {
      numbers[kNumberNames[k]] = TextJson(entry.Number(static_cast<NumberKind>(k)));
    }
    const int ringtone = PhonebookRingtonePosition(entry.BellCode());
    nlohmann::json avatar = nlohmann::json::array();
    for (const std::uint8_t part : entry.AvatarPartValues()) {
      avatar.push_back(part);
    }
    entries.push_back(
        {{"slot", slot},
         {"flags", book.Flags().Flags(slot)},
         {"name", TextJson(entry.Name())},
         {"email", TextJson(entry.Email())},
         {"numbers", numbers},
         {"group", entry.Group()},
         {"lockMark", entry.LockMark()},
         {"ringtoneCode", entry.BellCode()},
         {"ringtone",
          IsDownloadedRingtone(entry.BellCode())
              ? nlohmann::json(nullptr)
              : nlohmann::json(PhonebookRingtoneTexts()[static_cast<std::size_t>(ringtone)])},
         {"avatarUsed", entry.AvatarFlag() != 0},
         {"avatarParts", avatar},
         {"raw", ToHex(entry.Bytes())}});
  }
  return {{"usedSlots", book.Flags().UsedCount()},
          {"groups", groups},
          {"flags", ToHex(book.Flags().Bytes())},
          {"entries", entries}};
}

// Every field of every entry in columns as wide as their longest text (in
// terminal cells, so Hangul lines up); "-" for an empty field.
void PrintPhonebook(std::ostream& out, const Phonebook& book) {
  const std::vector<std::string> groups = GroupListTexts(book.Groups());
  std::vector<std::vector<std::string>> rows = {
      {"slot", "name", "group", "mobile", "home", "office", "fax", "e-mail", "ringtone"}};
  const auto field = [](std::string text) { return text.empty() ? std::string("-") : text; };
  for (int slot = kFirstSlot; slot <= kLastSlot; ++slot) {
    if (!book.Flags().IsUsed(slot)) {
      continue;
    }
    const PhonebookEntry& entry = book.Entry(slot);
    const std::size_t group = entry.Group() < groups.size() ? entry.Group() : 0;
    const int ringtone = PhonebookRingtonePosition(entry.BellCode());
    rows.push_back(
        {fmt::sprintf("%03d", slot), field(Utf8Text(entry.Name())), field(groups[group]),
         field(Utf8Text(entry.Number(NumberKind::Mobile))),
         field(Utf8Text(entry.Number(NumberKind::Home))),
         field(Utf8Text(entry.Number(NumberKind::Office))),
         field(Utf8Text(entry.Number(NumberKind::Fax))), field(Utf8Text(entry.Email())),
         IsDownloadedRingtone(entry.BellCode())
             ? fmt::sprintf("#%d", entry.BellCode())
             : std::string(PhonebookRingtoneTexts()[static_cast<std::size_t>(ringtone)])});
  }
  std::vector<int> widths(rows[0].size(), 0);
  for (const auto& row : rows) {
    for (std::size_t c = 0; c < row.size(); ++c) {
      widths[c] = std::max(widths[c], DisplayWidth(row[c]));
    }
  }
  for (const auto& row : rows) {
    std::string line;
    for (std::size_t c = 0; c < row.size(); ++c) {
      line += c + 1 < row.size() ? PadToWidth(row[c], widths[c] + 2) : row[c];
    }
    out << line << '\n';
  }
  out << book.Flags().UsedCount() << " entries\n";
}

// Loads a phonebook file; gives the exit code (3 when refused, with the reason).
int LoadFile(CommandRun& run, const std::string& path, Phonebook& book) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return run.CannotRead(path);
  }
  switch (LoadPhonebookFile(path, book)) {
    case PhonebookFileLoad::Loaded:
      return kExitDone;
    case PhonebookFileLoad::BadFormat:
      run.host.ShowMessage(texts::kFileBadFormat);
      return kExitRefused;
    case PhonebookFileLoad::CannotOpen:
      break;
  }
  return run.CannotRead(path);
}

}  // namespace

int PullPhonebookFile(CommandRun& run, const ConnectSettings& settings, const std::string& path,
                      int& usedSlots) {
  Phonebook book;
  run.host.SetTitle(PhonebookSyncStartTitle(0));
  if (const int code = run.Finish(ReadPhonebook(run.Link(), run.host, settings, book));
      code != kExitDone) {
    return code;
  }
  std::string error;
  if (!SavePhonebookFile(path, book, error)) {
    run.host.ShowMessage(texts::kFileWriteFailed);
    return run.Fail(kExitFileError, "file", "linkora-cli: " + error);
  }
  usedSlots = book.Flags().UsedCount();
  return kExitDone;
}

int PushPhonebookFile(CommandRun& run, const ConnectSettings& settings, const std::string& path) {
  Phonebook book;
  if (const int code = LoadFile(run, path, book); code != kExitDone) {
    return code;
  }
  run.host.SetTitle(PhonebookSyncStartTitle(1));
  const int code = run.Finish(WritePhonebookKeepingCopy(run.Link(), run.host, settings, book,
                                                        run.SafetyDataDir(), run.safetyCopy));
  // A phonebook with nothing to write is not sent, and the handset does not restart.
  run.handsetRestarted = code == kExitDone && book.Flags().UsedCount() > 0;
  return code;
}

namespace {

int Pull(CommandRun& run) {
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  int used = 0;
  if (const int code = PullPhonebookFile(run, *settings, run.operands[0], used);
      code != kExitDone) {
    return code;
  }
  if (run.args.json) {
    run.PrintJson(nlohmann::json{{"file", run.operands[0]}, {"usedSlots", used}}.dump(2));
  } else {
    run.env.out << run.operands[0] << ": " << used << " entries\n";
  }
  return kExitDone;
}

// The window's two questions before a write, asked as one confirmation.
std::vector<std::string_view> PhonebookWriteQuestions() {
  std::vector<std::string_view> questions;
  ConfirmPhonebookWrite([&questions](std::string_view question) {
    questions.push_back(question);
    return true;
  });
  return questions;
}

int Push(CommandRun& run) {
  Phonebook book;
  if (const int code = LoadFile(run, run.operands[0], book); code != kExitDone) {
    return code;
  }
  if (!run.Confirm(PhonebookWriteQuestions())) {
    return kExitCancelled;
  }
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  return PushPhonebookFile(run, *settings, run.operands[0]);
}

int Show(CommandRun& run) {
  Phonebook book;
  if (const int code = LoadFile(run, run.operands[0], book); code != kExitDone) {
    return code;
  }
  if (run.args.json) {
    run.PrintJson(PhonebookJson(book).dump(2));
  } else {
    PrintPhonebook(run.env.out, book);
  }
  return kExitDone;
}

int Export(CommandRun& run) {
  auto book = std::make_unique<Phonebook>();
  if (run.args.from) {
    if (const int code = LoadFile(run, *run.args.from, *book); code != kExitDone) {
      return code;
    }
  } else {
    const auto settings = run.Settings();
    if (!settings) {
      return kExitFailed;
    }
    run.host.SetTitle(PhonebookSyncStartTitle(0));
    if (const int code = run.Finish(ReadPhonebook(run.Link(), run.host, *settings, *book));
        code != kExitDone) {
      return code;
    }
  }
  VcardWriter writer;
  if (!writer.Save(run.operands[0], *book)) {
    run.host.ShowMessage(writer.errorString());
    return kExitFailed;
  }
  if (run.args.json) {
    run.PrintJson(
        nlohmann::json{{"file", run.operands[0]}, {"entries", writer.WrittenCount()}}.dump(2));
  } else {
    run.env.out << fmt::sprintf(std::string(texts::kCliPhonebookExportSummary), run.operands[0],
                                writer.WrittenCount());
  }
  return kExitDone;
}

// Adds a vCard file's contacts to the handset's phonebook (read, merged,
// written back after the write's confirmation) or to a phonebook file.
int Import(CommandRun& run) {
  const std::string& vcf = run.operands[0];
  VcardReader reader;
  auto book = std::make_unique<Phonebook>();
  // A file that is not vCard is refused before anything is asked or read.
  if (!reader.Load(vcf, *book)) {
    run.host.ShowMessage(reader.errorString());
    return kExitRefused;
  }
  *book = Phonebook();
  if (run.args.into) {
    if (std::filesystem::exists(*run.args.into)) {
      if (const int code = LoadFile(run, *run.args.into, *book); code != kExitDone) {
        return code;
      }
    }
    if (!reader.Load(vcf, *book)) {
      run.host.ShowMessage(reader.errorString());
      return kExitRefused;
    }
    std::string error;
    if (!SavePhonebookFile(*run.args.into, *book, error)) {
      run.host.ShowMessage(texts::kFileWriteFailed);
      run.host.ShowMessage(error);
      return kExitFailed;
    }
  } else {
    if (!run.Confirm(PhonebookWriteQuestions())) {
      return kExitCancelled;
    }
    const auto settings = run.Settings();
    if (!settings) {
      return kExitFailed;
    }
    run.host.SetTitle(PhonebookSyncStartTitle(0));
    if (const int code = run.Finish(ReadPhonebook(run.Link(), run.host, *settings, *book));
        code != kExitDone) {
      return code;
    }
    // The read is what the write replaces: it is kept as the safety copy.
    const auto before = std::make_unique<Phonebook>(*book);
    if (!reader.Load(vcf, *book)) {
      run.host.ShowMessage(reader.errorString());
      return kExitRefused;
    }
    if (!run.KeepSafetyCopy(before.get(), nullptr)) {
      return kExitFileError;
    }
    run.host.SetTitle(PhonebookSyncStartTitle(1));
    const int code = run.Finish(WritePhonebook(run.Link(), run.host, *settings, *book));
    // A phonebook with nothing to write is not sent, and the handset does not restart.
    run.handsetRestarted = code == kExitDone && book->Flags().UsedCount() > 0;
    if (code != kExitDone) {
      return code;
    }
  }
  const ImportReport& report = reader.Report();
  const std::string target = run.args.into ? *run.args.into : std::string(texts::kCliTheHandset);
  if (run.args.json) {
    nlohmann::json json = ImportReportJson(report);
    json["file"] = vcf;
    json["into"] = run.args.into ? *run.args.into : std::string("handset");
    run.PrintJson(json.dump(2));
  } else {
    run.env.out << fmt::sprintf(std::string(texts::kCliPhonebookImportSummary), vcf,
                                report.Imported(), target);
    PrintImportNotes(run.env.out, report);
  }
  return kExitDone;
}

const CliCommand kCommands[] = {
    {{"phonebook", "pull"},
     "FILE.ndf",
     1,
     1,
     "read the handset's phonebook into a file",
     &Pull,
     kHandsetReadOptions},
    {{"phonebook", "push"},
     "FILE.ndf",
     1,
     1,
     "replace the handset's phonebook with a file's (the handset restarts); reads the handset's "
     "first and keeps it as a safety copy unless --no-safety-copy",
     &Push,
     kHandsetWriteOptions | kOptNoSafetyCopy},
    {{"phonebook", "show"}, "FILE.ndf", 1, 1, "show what a phonebook file holds", &Show, kOptJson},
    {{"phonebook", "export"},
     "FILE.vcf",
     1,
     1,
     "save the handset's phonebook (or --from FILE.ndf) as a vCard file",
     &Export,
     kHandsetReadOptions | kOptFrom},
    {{"phonebook", "import"},
     "FILE.vcf",
     1,
     1,
     "add a vCard file's contacts to the handset's phonebook (the handset restarts) or --into "
     "FILE.ndf",
     &Import,
     kHandsetWriteOptions | kOptInto | kOptNoSafetyCopy},
};

}  // namespace

std::span<const CliCommand> PhonebookCommands() {
  return kCommands;
}

}  // namespace linkora::cli
