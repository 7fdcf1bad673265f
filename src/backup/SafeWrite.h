#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "link/ConnectSettings.h"
#include "link/LinkContext.h"

namespace linkora {

class Phonebook;
class ScheduleStore;
class TransferHost;
struct SessionState;

// The writes of the command-line tool, which keep what they replace. Each
// connects as the window's write does, reads the section from the handset
// over the same link and keeps it as a safety copy under `dataDir`, and
// only then goes offline, writes and restarts the handset. A copy that cannot
// be saved stops the write before anything is sent. With an empty `dataDir`
// it is exactly the window's write. Give 1 (done) or 2 (failed, message shown).
int WritePhonebookKeepingCopy(LinkContext context, TransferHost& host,
                              const ConnectSettings& settings, const Phonebook& phonebook,
                              const std::filesystem::path& dataDir,
                              std::optional<std::filesystem::path>& safetyCopy);
int WriteSchedulesKeepingCopy(LinkContext context, TransferHost& host,
                              const ConnectSettings& settings, const ScheduleStore& store,
                              const std::filesystem::path& dataDir,
                              std::optional<std::filesystem::path>& safetyCopy);

// The desktop windows write with the handset's own exchange and nothing
// more, so what they keep is what their last read gave (`phonebook` or
// `store`), saved under `dataDir` with the model and the phone number the
// session knows. Gives the folder, or nothing and the message.
std::optional<std::filesystem::path> KeepLastReadCopy(const std::filesystem::path& dataDir,
                                                      const SessionState& state,
                                                      const ConnectSettings& settings,
                                                      const Phonebook* phonebook,
                                                      const ScheduleStore* store,
                                                      std::string& error);

}  // namespace linkora
