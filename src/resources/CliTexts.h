#pragma once

#include <string_view>
#include <utility>

// Texts of the command-line tool. The handset's messages are the program's
// own (Texts.h and the subsystem tables) and are printed unchanged.
namespace linkora::texts {

inline constexpr std::string_view kCliConfirmPrompt = "Go on? [y/N] ";
inline constexpr std::string_view kCliConfirmNeedsYes =
    "linkora-cli: not asked without a terminal; give --yes to write to the handset";
inline constexpr std::string_view kCliNeedsPhone =
    "linkora-cli: the handset is locked; give its phone number with --phone";
inline constexpr std::string_view kCliNeedsLockCode =
    "linkora-cli: the handset asks for its lock code; give it with --lock-code";
inline constexpr std::string_view kCliCannotMakeFolder =
    "linkora-cli: cannot make the folder %s: %s; give a folder you may write to";
inline constexpr std::string_view kCliCannotReadFile = "linkora-cli: cannot read %s";
inline constexpr std::string_view kCliCannotReadFileBecause = "linkora-cli: cannot read %s: %s";

inline constexpr std::string_view kCliBackupFolderNotEmpty =
    "linkora-cli: %s holds files; a backup goes into a new or empty folder";
inline constexpr std::string_view kCliBackupSummary =
    "backup in %s of an %s: %d phonebook entries, %d schedules, %d D-days, %d messages, %d "
    "media files\n";
inline constexpr std::string_view kCliNotInManifest =
    "linkora-cli: %s is not the file the backup's manifest lists";
inline constexpr std::string_view kCliRestoreQuestion =
    "The handset's phonebook and schedules are replaced by the backup's; the handset restarts "
    "after each.";
inline constexpr std::string_view kCliWrittenButNoAnswer =
    "linkora-cli: the write went through, but the handset did not answer again within 30 s "
    "of its restart; check its cable and power before the next command";
inline constexpr std::string_view kCliRestoreSummary = "restored from %s: %s; media %d of %d\n";
inline constexpr std::string_view kCliRestoreMediaNotDone =
    "linkora-cli: %d media item(s) were not restored (named above); everything else was";
inline constexpr std::string_view kCliRestoreOtherNumber =
    "This backup is of the handset with phone number %s; the handset connected is %s.\n"
    "Restoring writes another handset's phonebook onto this one.\n";
inline constexpr std::string_view kCliBackupPartialRemoved =
    "linkora-cli: the unfinished backup was removed; %s was not made\n";
inline constexpr std::string_view kCliBackupPartialKept =
    "linkora-cli: the unfinished backup is kept in %s (it is not a backup that can be restored)\n";
inline constexpr std::string_view kCliBackupStaleRemoved =
    "linkora-cli: removed %s, an unfinished backup an earlier run left\n";

inline constexpr std::string_view kCliExportSummary = "%s: %d schedules, %d D-days\n";
inline constexpr std::string_view kCliImportSummary = "%s: %d imported, %d notes\n";
inline constexpr std::string_view kCliPhonebookExportSummary = "%s: %d entries\n";
inline constexpr std::string_view kCliPhonebookImportSummary = "%s: %d entries imported into %s\n";
inline constexpr std::string_view kCliTheHandset = "the handset";

inline constexpr std::string_view kCliUsageHead =
    "usage: linkora-cli COMMAND [OPERANDS] [options]\n"
    "\n"
    "Reads and writes an RX-2100/RX-3100 handset on a serial port, and shows\n"
    "what Linkora's files hold.\n"
    "\n"
    "commands:\n";

inline constexpr std::string_view kCliUsageOptions =
    "options:\n"
    "  --port COMn         the port to use (default: the desktop program's, else a search)\n"
    "  --phone NUMBER      the handset's phone number, if it is locked (016-123-4567)\n"
    "  --lock-code NNNN    the handset's four-digit lock code\n"
    "  --from FILE         export: from a Linkora file instead of the handset\n"
    "  --into FILE         import: into a Linkora file (made or updated) instead of the handset\n"
    "  --yes, -y           do not ask before writing to the handset\n"
    "  --dry-run           restore: list what would change on the handset, write nothing\n"
    "  --json              machine-readable output on stdout\n"
    "  --format txt|csv    the file format of messages export\n"
    "  --quiet, -q         no progress on stderr\n"
    "  --help, -h          this help\n"
    "  --version           the tool's version\n"
    "\n"
    "'linkora-cli help GROUP' and 'linkora-cli COMMAND --help' show a group's\n"
    "commands and the options a command takes.\n";

// One line of help per option, shown for the commands that take it.
inline constexpr std::pair<std::string_view, std::string_view> kCliOptionLines[] = {
    {"--port",
     "  --port COMn         the port to use (default: the desktop program's, else a search)"},
    {"--phone", "  --phone NUMBER      the handset's phone number, if it is locked (016-123-4567)"},
    {"--lock-code", "  --lock-code NNNN    the handset's four-digit lock code"},
    {"--model", "  --model MODEL       rx2100 or rx3100 (default rx3100)"},
    {"--format", "  --format txt|csv    the file format of messages export"},
    {"--from", "  --from FILE         export: from a Linkora file instead of the handset"},
    {"--into",
     "  --into FILE         import: into a Linkora file (made or updated) instead of the handset"},
    {"--yes", "  --yes, -y           do not ask before writing to the handset"},
    {"--dry-run",
     "  --dry-run           restore: list what would change on the handset, write nothing"},
    {"--no-safety-copy",
     "  --no-safety-copy    write without first reading the handset and keeping its records"},
    {"--other-handset",
     "  --other-handset     restore: the backup may come from another phone number"},
    {"--keep-partial",
     "  --keep-partial      backup: keep an unfinished backup as DIR.partial instead of removing "
     "it"},
    {"--json", "  --json              machine-readable output on stdout"},
    {"--quiet", "  --quiet, -q         no progress on stderr"},
};
inline constexpr std::string_view kCliHelpOptionLine = "  --help, -h          this help";

inline constexpr std::string_view kCliExitCodes =
    "exit codes: 0 done, 1 handset or transfer failed, 2 usage, 3 file refused, 4 cancelled,\n"
    "5 a file or folder on the PC could not be read or written\n";

// Failures the handset library reports without a message of the program.
inline constexpr std::pair<std::string_view, std::string_view> kCliStepFailures[] = {
    {"lock-flag",
     "linkora-cli: the handset did not give its lock flag; check the cable and that the handset "
     "is on, then try again"},
    {"phone-number",
     "linkora-cli: the handset did not give its phone number; check the cable and that the "
     "handset is on, then try again"},
    {"lock-code",
     "linkora-cli: the handset did not give its lock code; check the cable and that the handset "
     "is on, then try again"},
    {"connect",
     "linkora-cli: the handset did not answer on its port; check the cable and the port, then "
     "try again"},
};
inline constexpr std::string_view kCliCommandFailed =
    "linkora-cli: %s failed (%s); check the cable and the handset, then try again";
inline constexpr std::string_view kCliCancelled = "linkora-cli: cancelled";
inline constexpr std::string_view kCliInterrupted =
    "linkora-cli: interrupted; the exchange under way was ended and the handset sent back to its "
    "normal mode";
inline constexpr std::string_view kCliSafetyCopyKept =
    "linkora-cli: what the handset held before is kept in %s (linkora-cli restore DIR gives it "
    "back)";
inline constexpr std::string_view kCliUnfinishedRestore =
    "linkora-cli: the last restore (started %s) stopped part-way: the handset's %s may be half "
    "written.\n"
    "  to finish it:  linkora-cli restore '%s'\n"
    "  to undo it:    linkora-cli restore '%s'\n";
inline constexpr std::string_view kCliPushSummary =
    "%d of %d files stored on the handset, %d refused\n";
inline constexpr std::string_view kCliMediaNotSaved =
    "linkora-cli: %d of %d media files were not saved (the reasons are above)";
inline constexpr std::string_view kCliPushRefused =
    "linkora-cli: %d of %d files refused (the reasons are above)";

}  // namespace linkora::texts
