#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace linkora::emulator {

using Bytes = std::vector<std::uint8_t>;

enum class Model { kRx3100, kRx2100 };

// "rx3100" or "rx2100".
std::string ModelName(Model model);
bool ParseModel(const std::string& name, Model& model);
// The model text of the version reply ("RX310K", "RX210K").
std::string ModelText(Model model);
// Length of "nvm/info/media_info" on the model.
std::size_t MediaInfoSize(Model model);

// MIN1 and MIN2 that decode back to a ten- or eleven-digit number beginning
// with 0 (area, exchange, thousands digit and line part). False when the
// number has another shape.
bool EncodePhoneNumber(const std::string& number, std::uint32_t& min1, std::uint32_t& min2);

// Everything the emulated handset keeps, every record as the raw bytes the
// handset holds, so a test can put any bytes on it.
struct HandsetState {
  Model model = Model::kRx3100;
  std::string serviceCode = "472913";
  std::uint8_t lockFlag = 1;
  std::string lockCode = "1234";  // four bytes on the handset
  std::string phoneNumber = "01612345678";

  Bytes slotFlags = Bytes(500, 0);     // one byte per phonebook slot 0..499
  std::map<int, Bytes> entries;        // phonebook entries by slot, 222 bytes
  std::map<int, Bytes> groups;         // dial groups by number, 27 bytes
  std::map<int, Bytes> schedules;      // by chain position, 95 bytes
  std::map<int, Bytes> ddays;          // by chain position, 92 bytes
  Bytes rxList = Bytes(532, 0);        // received-message list
  Bytes moList = Bytes(295, 0);        // sent-message list
  std::map<int, Bytes> rxRecords;      // by slot 0..23, 532 bytes
  std::map<int, Bytes> txRecords;      // by request byte (list slot byte + 128), 296 bytes
  std::map<int, int> rxResults;        // read result other than 1 for a slot
  std::map<int, int> txResults;        // read result other than 1 for a request byte
  std::map<std::string, Bytes> files;  // the file system, by path

  nlohmann::json ToJson() const;
  // False with a message when the document is not a handset state.
  static bool FromJson(const nlohmann::json& json, HandsetState& state, std::string& error);

  // `flush` forces the file to the disk as well (see WriteFileAtomically).
  bool Save(const std::filesystem::path& path, std::string& error, bool flush = true) const;
  static bool Load(const std::filesystem::path& path, HandsetState& state, std::string& error);
};

// Built-in content for a handset started without a state file: Korean names
// and groups, schedules and D-days, received and sent messages of several
// kinds, and a few ringtones and pictures with their media list.
HandsetState SampleState(Model model);

// The sample handset with every table full: 499 phonebook entries, 70
// schedules, 27 D-days, 24 received and 40 sent messages, and media items
// that nearly fill the handset's media space.
HandsetState FullState(Model model);

}  // namespace linkora::emulator
