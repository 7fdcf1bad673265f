#include <fmt/printf.h>

#include <filesystem>

#include <nlohmann/json.hpp>
#include <ostream>

#include "backup/SafeWrite.h"
#include "cli/CliCommand.h"
#include "cli/CliJson.h"
#include "cli/CliTransfers.h"
#include "resources/CliTexts.h"
#include "resources/ScheduleTexts.h"
#include "schedule/IcalendarReader.h"
#include "schedule/IcalendarWriter.h"
#include "schedule/Ringtones.h"
#include "schedule/ScheduleFile.h"
#include "schedule/ScheduleStore.h"
#include "schedule/ScheduleSync.h"
#include "schedule/SchedulerEdits.h"

namespace linkora::cli {
namespace {

nlohmann::json RingtoneJson(std::uint8_t code) {
  const std::string_view name = RingtoneName(RingtoneNames, code);
  return name.empty() ? nlohmann::json(nullptr) : nlohmann::json(std::string(name));
}

nlohmann::json StoreJson(const ScheduleStore& store, CalendarDate today) {
  nlohmann::json schedules = nlohmann::json::array();
  for (int i = 0; i < store.ScheduleCount(); ++i) {
    const ScheduleEntry& entry = store.Schedule(i);
    schedules.push_back(
        {{"position", i},
         {"index", entry.Index()},
         {"date", fmt::sprintf("%04d-%02d-%02d", entry.Year(), entry.Month(), entry.Day())},
         {"time", fmt::sprintf("%02d:%02d", entry.Hour(), entry.Minute())},
         {"content", TextJson(entry.Content())},
         {"place", TextJson(entry.Place())},
         {"alarm", entry.Alarm()},
         {"ringtoneCode", entry.Ringtone()},
         {"ringtone", RingtoneJson(entry.Ringtone())},
         {"next", entry.Next()},
         {"raw", ToHex(entry.Bytes())}});
  }
  nlohmann::json ddays = nlohmann::json::array();
  for (int i = 0; i < store.DdayCount(); ++i) {
    const DdayEntry& entry = store.Dday(i);
    ddays.push_back(
        {{"position", i},
         {"index", entry.Index()},
         {"date", fmt::sprintf("%04d-%02d-%02d", entry.Year(), entry.Month(), entry.Day())},
         {"countdown", CountdownText(today, entry.Year(), entry.Month(), entry.Day())},
         {"title", TextJson(entry.Title())},
         {"content", TextJson(entry.Content())},
         {"ringtoneCode", entry.Ringtone()},
         {"ringtone", RingtoneJson(entry.Ringtone())},
         {"next", entry.Next()},
         {"raw", ToHex(entry.Bytes())}});
  }
  return {{"schedules", schedules}, {"ddays", ddays}};
}

void PrintStore(std::ostream& out, const ScheduleStore& store, CalendarDate today) {
  for (int i = 0; i < store.ScheduleCount(); ++i) {
    const ScheduleEntry& entry = store.Schedule(i);
    out << ScheduleLine(entry) << "  " << Utf8Text(entry.Content()) << "  "
        << Utf8Text(entry.Place()) << '\n';
  }
  for (int i = 0; i < store.DdayCount(); ++i) {
    const DdayEntry& entry = store.Dday(i);
    out << DdayLine(entry) << "  " << CountdownText(today, entry.Year(), entry.Month(), entry.Day())
        << "  " << Utf8Text(entry.Title()) << "  " << Utf8Text(entry.Content()) << '\n';
  }
  out << store.ScheduleCount() << " schedules, " << store.DdayCount() << " D-days\n";
}

int LoadFile(CommandRun& run, const std::string& path, ScheduleStore& store) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return run.CannotRead(path);
  }
  const ScheduleLoadResult result = LoadScheduleFile(path, store);
  switch (result.status) {
    case ScheduleFileStatus::Loaded:
      return kExitDone;
    case ScheduleFileStatus::WrongFormat:
      run.host.ShowMessage(result.message);
      return kExitRefused;
    case ScheduleFileStatus::NotOpened:
      break;
  }
  return run.CannotRead(path);
}

}  // namespace

int PullScheduleFile(CommandRun& run, const ConnectSettings& settings, const std::string& path,
                     ScheduleStore& store) {
  if (const int code = run.Finish(RunScheduleSync(0, run.Link(), run.host, settings, store));
      code != kExitDone) {
    return code;
  }
  store.SortAndRelink();
  const ScheduleSaveResult saved = SaveScheduleFile(path, store);
  if (!saved.saved) {
    run.host.ShowMessage(saved.message);
    return run.Fail(kExitFileError, "file", "linkora-cli: " + saved.detail);
  }
  return kExitDone;
}

int PushScheduleFile(CommandRun& run, const ConnectSettings& settings, const std::string& path) {
  ScheduleStore store;
  if (const int code = LoadFile(run, path, store); code != kExitDone) {
    return code;
  }
  const int code = run.Finish(WriteSchedulesKeepingCopy(run.Link(), run.host, settings, store,
                                                        run.SafetyDataDir(), run.safetyCopy));
  run.handsetRestarted = code == kExitDone;
  return code;
}

namespace {

int Pull(CommandRun& run) {
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  ScheduleStore store;
  if (const int code = PullScheduleFile(run, *settings, run.operands[0], store);
      code != kExitDone) {
    return code;
  }
  if (run.args.json) {
    run.PrintJson(nlohmann::json{{"file", run.operands[0]},
                                 {"schedules", store.ScheduleCount()},
                                 {"ddays", store.DdayCount()}}
                      .dump(2));
  } else {
    run.env.out << run.operands[0] << ": " << store.ScheduleCount() << " schedules, "
                << store.DdayCount() << " D-days\n";
  }
  return kExitDone;
}

int Push(CommandRun& run) {
  ScheduleStore store;
  if (const int code = LoadFile(run, run.operands[0], store); code != kExitDone) {
    return code;
  }
  const auto questions = ScheduleWriteQuestions();
  if (!run.Confirm(questions)) {
    return kExitCancelled;
  }
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  return PushScheduleFile(run, *settings, run.operands[0]);
}

int Show(CommandRun& run) {
  ScheduleStore store;
  if (const int code = LoadFile(run, run.operands[0], store); code != kExitDone) {
    return code;
  }
  if (run.args.json) {
    run.PrintJson(StoreJson(store, LocalToday()).dump(2));
  } else {
    PrintStore(run.env.out, store, LocalToday());
  }
  return kExitDone;
}

// The handset's schedules and D-days, sorted as the window shows them.
int ReadHandset(CommandRun& run, const ConnectSettings& settings, ScheduleStore& store) {
  if (const int code = run.Finish(RunScheduleSync(0, run.Link(), run.host, settings, store));
      code != kExitDone) {
    return code;
  }
  store.SortAndRelink();
  return kExitDone;
}

int ReadHandset(CommandRun& run, ScheduleStore& store) {
  const auto settings = run.Settings();
  return settings ? ReadHandset(run, *settings, store) : kExitFailed;
}

int Export(CommandRun& run) {
  ScheduleStore store;
  const int code = run.args.from ? LoadFile(run, *run.args.from, store) : ReadHandset(run, store);
  if (code != kExitDone) {
    return code;
  }
  IcalendarWriter writer;
  if (!writer.Save(run.operands[0], store)) {
    run.host.ShowMessage(texts::kIcalNotWritten);
    return run.Fail(kExitFileError, "file", writer.errorString());
  }
  if (run.args.json) {
    run.PrintJson(nlohmann::json{{"file", run.operands[0]},
                                 {"schedules", store.ScheduleCount()},
                                 {"ddays", store.DdayCount()}}
                      .dump(2));
  } else {
    run.env.out << fmt::sprintf(std::string(texts::kCliExportSummary), run.operands[0],
                                store.ScheduleCount(), store.DdayCount());
  }
  return kExitDone;
}

void PrintReport(CommandRun& run, const ImportReport& report) {
  if (run.args.json) {
    return;
  }
  run.env.out << fmt::sprintf(std::string(texts::kCliImportSummary), run.operands[0],
                              report.Imported(), static_cast<int>(report.Notes().size()));
  PrintImportNotes(run.env.out, report);
}

int ImportRefused(CommandRun& run, const IcalendarReader& reader) {
  run.host.ShowMessage(reader.errorString());
  if (!reader.errorDetail().empty()) {
    run.host.ShowMessage(reader.errorDetail());
  }
  return kExitRefused;
}

// Adds the events to a schedule file, which is made when it does not exist.
int ImportIntoFile(CommandRun& run, const std::string& path, ImportReport& report,
                   ScheduleStore& store) {
  if (std::filesystem::exists(path)) {
    if (const int code = LoadFile(run, path, store); code != kExitDone) {
      return code;
    }
  }
  IcalendarReader reader;
  if (!reader.Load(run.operands[0], store, report)) {
    return ImportRefused(run, reader);
  }
  PrintReport(run, report);
  const ScheduleSaveResult saved = SaveScheduleFile(path, store);
  if (!saved.saved) {
    run.host.ShowMessage(saved.message);
    return run.Fail(kExitFileError, "file", "linkora-cli: " + saved.detail);
  }
  return kExitDone;
}

// Adds the events to the handset's own: reads it, adds, asks, writes.
int ImportIntoHandset(CommandRun& run, ImportReport& report, ScheduleStore& store) {
  {
    // A file that is refused never reaches the handset.
    ScheduleStore scratch;
    ImportReport ignored;
    IcalendarReader check;
    if (!check.Load(run.operands[0], scratch, ignored)) {
      return ImportRefused(run, check);
    }
  }
  // One search for both transfers: after the read the handset is in
  // diagnostic mode and answers no search.
  const auto settings = run.Settings();
  if (!settings) {
    return kExitFailed;
  }
  if (const int code = ReadHandset(run, *settings, store); code != kExitDone) {
    return code;
  }
  // The read is what the write replaces: it is kept as the safety copy.
  const auto before = std::make_unique<ScheduleStore>(store);
  IcalendarReader reader;
  if (!reader.Load(run.operands[0], store, report)) {
    return ImportRefused(run, reader);
  }
  PrintReport(run, report);
  if (report.Imported() == 0) {
    return kExitDone;  // nothing to write, so no restart either
  }
  if (!run.Confirm(ScheduleWriteQuestions())) {
    return kExitCancelled;
  }
  if (!run.KeepSafetyCopy(nullptr, before.get())) {
    return kExitFileError;
  }
  const int code = run.Finish(RunScheduleSync(1, run.Link(), run.host, *settings, store));
  run.handsetRestarted = code == kExitDone;
  return code;
}

int Import(CommandRun& run) {
  ImportReport report;
  ScheduleStore store;
  const int code = run.args.into ? ImportIntoFile(run, *run.args.into, report, store)
                                 : ImportIntoHandset(run, report, store);
  if (code != kExitDone) {
    return code;
  }
  if (run.args.json) {
    nlohmann::json json = ImportReportJson(report);
    json["file"] = run.operands[0];
    json["into"] = run.args.into ? nlohmann::json(*run.args.into) : nlohmann::json("handset");
    json["schedules"] = store.ScheduleCount();
    json["ddays"] = store.DdayCount();
    run.PrintJson(json.dump(2));
  }
  return kExitDone;
}

const CliCommand kCommands[] = {
    {{"schedule", "pull"},
     "FILE.nsf",
     1,
     1,
     "read the handset's schedules and D-days into a file",
     &Pull,
     kHandsetReadOptions},
    {{"schedule", "push"},
     "FILE.nsf",
     1,
     1,
     "replace the handset's schedules and D-days with a file's (the handset restarts); reads "
     "the handset's first and keeps them as a safety copy unless --no-safety-copy",
     &Push,
     kHandsetWriteOptions | kOptNoSafetyCopy},
    {{"schedule", "show"}, "FILE.nsf", 1, 1, "show what a schedule file holds", &Show, kOptJson},
    {{"schedule", "export"},
     "FILE.ics",
     1,
     1,
     "write the handset's schedules and D-days (or --from FILE.nsf) as an iCalendar file",
     &Export,
     kHandsetReadOptions | kOptFrom},
    {{"schedule", "import"},
     "FILE.ics",
     1,
     1,
     "add an iCalendar file's events to the handset's (the handset restarts) or --into "
     "FILE.nsf; tells what did not fit",
     &Import,
     kHandsetWriteOptions | kOptInto | kOptNoSafetyCopy},
};

}  // namespace

std::span<const CliCommand> ScheduleCommands() {
  return kCommands;
}

}  // namespace linkora::cli
