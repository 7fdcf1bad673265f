#pragma once

#include <string_view>

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
inline constexpr std::string_view kCliCannotMakeFolder = "linkora-cli: cannot make the folder %s";
inline constexpr std::string_view kCliCannotReadFile = "linkora-cli: cannot read %s";

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
inline constexpr std::string_view kCliHandsetDidNotReturn =
    "linkora-cli: the handset did not answer again after its restart";
inline constexpr std::string_view kCliRestoreSummary =
    "restored the phonebook and schedules of %s\n";

inline constexpr std::string_view kCliExportSummary = "%s: %d schedules, %d D-days\n";
inline constexpr std::string_view kCliImportSummary = "%s: %d imported, %d notes\n";

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
    "  --json              machine-readable output on stdout\n"
    "  --quiet, -q         no progress on stderr\n"
    "  --help, -h          this help\n"
    "  --version           the tool's version\n"
    "\n"
    "exit codes: 0 done, 1 handset or transfer failed, 2 usage, 3 file refused, 4 cancelled\n";

}  // namespace linkora::texts
