#pragma once

#include <optional>
#include <string>
#include <vector>

namespace linkora::cli {

// The options of the tool as bits, so that each command can say which it takes.
enum CliOption : unsigned {
  kOptPort = 1u << 0,
  kOptPhone = 1u << 1,
  kOptLockCode = 1u << 2,
  kOptModel = 1u << 3,
  kOptQuiet = 1u << 4,
  kOptJson = 1u << 5,
  kOptYes = 1u << 6,
  kOptFrom = 1u << 7,
  kOptInto = 1u << 8,
  kOptDryRun = 1u << 9,
  kOptFormat = 1u << 10,
  kOptNoSafetyCopy = 1u << 11,
  kOptOtherHandset = 1u << 12,
  kOptKeepPartial = 1u << 13,
};
inline constexpr unsigned kAllOptions = (1u << 14) - 1;

// The command line after parsing: the words that name the command and its
// operands, and the options that may appear anywhere.
struct CliArguments {
  std::vector<std::string> words;
  std::optional<std::string> port;      // --port COMn
  std::optional<std::string> phone;     // --phone 016-123-4567
  std::optional<std::string> lockCode;  // --lock-code 1234
  std::optional<std::string> model;     // --model rx2100|rx3100
  std::optional<std::string> format;    // --format txt|csv
  std::optional<std::string> from;      // --from FILE: export a file's records, not the handset's
  std::optional<std::string> into;      // --into FILE: import into a file, not the handset
  bool quiet = false;
  bool json = false;
  bool yes = false;
  bool dryRun = false;        // restore: list the changes, write nothing
  bool noSafetyCopy = false;  // push: write without reading and keeping the handset's first
  bool otherHandset = false;  // restore: the backup may be of another phone number
  bool keepPartial = false;   // backup: leave an unfinished backup under its work name
  bool help = false;
  bool version = false;
  unsigned given = 0;  // the CliOption bits that appeared (--help is not one)
};

// Parses argv[1..]. Gives the arguments, or nothing with `error` set to a
// one-line reason (the caller prints the usage and exits 2).
std::optional<CliArguments> ParseCliArguments(const std::vector<std::string>& args,
                                              std::string& error);

// "COM1".."COM16" in any letter case, given back as "COMn"; nothing otherwise.
std::optional<std::string> NormalisePortName(const std::string& text);

// A phone number as the phone-number prompt takes it: prefix 016 or 018, a
// middle part of 3 or 4 digits and a last part of exactly 4 digits, written
// with or without '-'. Gives the parts run together, or nothing.
std::optional<std::string> NormalisePhoneNumber(const std::string& text);

// Exactly four digits.
bool IsValidLockCode(const std::string& text);

}  // namespace linkora::cli
