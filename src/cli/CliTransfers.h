#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "cli/CliCommand.h"

namespace linkora {
class ScheduleStore;
}

namespace linkora::cli {

// The transfers of the single commands, for commands that run several of
// them (backup, restore). Each gives an exit code; a failure has shown its
// message.

// Reads the handset's phonebook into a phonebook file.
int PullPhonebookFile(CommandRun& run, const ConnectSettings& settings, const std::string& path,
                      int& usedSlots);
// Writes a phonebook file to the handset, which then restarts.
int PushPhonebookFile(CommandRun& run, const ConnectSettings& settings, const std::string& path);
// Reads the handset's schedules and D-days into a schedule file.
int PullScheduleFile(CommandRun& run, const ConnectSettings& settings, const std::string& path,
                     ScheduleStore& store);
// Writes a schedule file to the handset, which then restarts.
int PushScheduleFile(CommandRun& run, const ConnectSettings& settings, const std::string& path);
// Saves every text message as a text file in `dir`; `written` gets the names.
int PullMessageFiles(CommandRun& run, const ConnectSettings& settings,
                     const std::filesystem::path& dir, std::vector<std::string>& written);
// Saves the handset's media items (all when `slots` is empty) in `dir`.
int PullMediaFiles(CommandRun& run, const ConnectSettings& settings,
                   const std::filesystem::path& dir, std::vector<int> slots, int& saved);

}  // namespace linkora::cli
