#include "cli/CliArguments.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace linkora::cli {
namespace {

bool AllDigits(std::string_view text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
}

// Options that take a value, and where the value goes.
std::optional<std::string>* ValueSlot(CliArguments& parsed, std::string_view name, unsigned& bit) {
  const struct {
    std::string_view name;
    unsigned bit;
    std::optional<std::string>* slot;
  } table[] = {{"--port", kOptPort, &parsed.port},
               {"--phone", kOptPhone, &parsed.phone},
               {"--lock-code", kOptLockCode, &parsed.lockCode},
               {"--model", kOptModel, &parsed.model},
               {"--format", kOptFormat, &parsed.format},
               {"--from", kOptFrom, &parsed.from},
               {"--into", kOptInto, &parsed.into}};
  for (const auto& row : table) {
    if (row.name == name) {
      bit = row.bit;
      return row.slot;
    }
  }
  return nullptr;
}

bool* FlagSlot(CliArguments& parsed, std::string_view name, unsigned& bit) {
  const struct {
    std::string_view name;
    std::string_view shortName;
    unsigned bit;
    bool* slot;
  } table[] = {{"--quiet", "-q", kOptQuiet, &parsed.quiet},
               {"--json", "", kOptJson, &parsed.json},
               {"--yes", "-y", kOptYes, &parsed.yes},
               {"--dry-run", "", kOptDryRun, &parsed.dryRun},
               {"--help", "-h", 0, &parsed.help},
               {"--version", "", 0, &parsed.version},
               {"--no-safety-copy", "", kOptNoSafetyCopy, &parsed.noSafetyCopy},
               {"--other-handset", "", kOptOtherHandset, &parsed.otherHandset},
               {"--keep-partial", "", kOptKeepPartial, &parsed.keepPartial}};
  for (const auto& row : table) {
    if (row.name == name || (!row.shortName.empty() && row.shortName == name)) {
      bit = row.bit;
      return row.slot;
    }
  }
  return nullptr;
}

}  // namespace

std::optional<CliArguments> ParseCliArguments(const std::vector<std::string>& args,
                                              std::string& error) {
  CliArguments parsed;
  bool operandsOnly = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (operandsOnly || arg.size() < 2 || arg[0] != '-') {
      parsed.words.push_back(arg);
      continue;
    }
    if (arg == "--") {
      operandsOnly = true;
      continue;
    }
    std::string name = arg;
    std::optional<std::string> inlineValue;
    if (const auto eq = arg.find('='); eq != std::string::npos && arg.rfind("--", 0) == 0) {
      name = arg.substr(0, eq);
      inlineValue = arg.substr(eq + 1);
    }
    unsigned bit = 0;
    if (bool* flag = FlagSlot(parsed, name, bit)) {
      if (inlineValue) {
        error = "option " + name + " takes no value";
        return std::nullopt;
      }
      *flag = true;
      parsed.given |= bit;
      continue;
    }
    std::optional<std::string>* slot = ValueSlot(parsed, name, bit);
    if (slot == nullptr) {
      error = "unknown option " + name;
      return std::nullopt;
    }
    if (!inlineValue) {
      if (i + 1 >= args.size()) {
        error = "option " + name + " needs a value";
        return std::nullopt;
      }
      inlineValue = args[++i];
    }
    *slot = *inlineValue;
    parsed.given |= bit;
  }

  if (parsed.port) {
    const auto port = NormalisePortName(*parsed.port);
    if (!port) {
      error = "--port takes COM1 to COM16, not " + *parsed.port;
      return std::nullopt;
    }
    parsed.port = port;
  }
  if (parsed.phone) {
    const auto phone = NormalisePhoneNumber(*parsed.phone);
    if (!phone) {
      error = "--phone takes 016 or 018, 3 or 4 digits and 4 digits, not " + *parsed.phone;
      return std::nullopt;
    }
    parsed.phone = phone;
  }
  if (parsed.lockCode && !IsValidLockCode(*parsed.lockCode)) {
    error = "--lock-code takes four digits";
    return std::nullopt;
  }
  if (parsed.model && *parsed.model != "rx2100" && *parsed.model != "rx3100") {
    error = "--model takes rx2100 or rx3100, not " + *parsed.model;
    return std::nullopt;
  }
  if (parsed.format && *parsed.format != "txt" && *parsed.format != "csv") {
    error = "--format takes txt or csv, not " + *parsed.format;
    return std::nullopt;
  }
  return parsed;
}

std::optional<std::string> NormalisePortName(const std::string& text) {
  if (text.size() < 4) {
    return std::nullopt;
  }
  std::string prefix = text.substr(0, 3);
  std::transform(prefix.begin(), prefix.end(), prefix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  const std::string number = text.substr(3);
  if (prefix != "COM" || !AllDigits(number) || number.size() > 2 || number[0] == '0') {
    return std::nullopt;
  }
  const int n = std::stoi(number);
  if (n < 1 || n > 16) {
    return std::nullopt;
  }
  return "COM" + std::to_string(n);
}

std::optional<std::string> NormalisePhoneNumber(const std::string& text) {
  std::string prefix;
  std::string middle;
  std::string last;
  if (const auto dash = text.find('-'); dash != std::string::npos) {
    const auto second = text.find('-', dash + 1);
    if (second == std::string::npos) {
      return std::nullopt;
    }
    prefix = text.substr(0, dash);
    middle = text.substr(dash + 1, second - dash - 1);
    last = text.substr(second + 1);
  } else {
    if (text.size() < 10 || text.size() > 11) {
      return std::nullopt;
    }
    prefix = text.substr(0, 3);
    middle = text.substr(3, text.size() - 7);
    last = text.substr(text.size() - 4);
  }
  if ((prefix != "016" && prefix != "018") || !AllDigits(middle) || middle.size() < 3 ||
      middle.size() > 4 || !AllDigits(last) || last.size() != 4) {
    return std::nullopt;
  }
  return prefix + middle + last;
}

bool IsValidLockCode(const std::string& text) {
  return text.size() == 4 && AllDigits(text);
}

}  // namespace linkora::cli
