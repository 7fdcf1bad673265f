#include "emulator/HandsetState.h"

#include <cctype>

#include "common/FileIo.h"
#include "common/Hex.h"
#include "tarvio/Protocol.h"

namespace linkora::emulator {

namespace {

using nlohmann::json;

json MapToJson(const std::map<int, Bytes>& records) {
  json out = json::object();
  for (const auto& [key, bytes] : records) {
    out[std::to_string(key)] = ToHex(bytes);
  }
  return out;
}

json ResultsToJson(const std::map<int, int>& results) {
  json out = json::object();
  for (const auto& [key, value] : results) {
    out[std::to_string(key)] = value;
  }
  return out;
}

bool ParseKey(const std::string& text, int& key) {
  if (text.empty() || text.size() > 6) {
    return false;
  }
  key = 0;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) {
      return false;
    }
    key = key * 10 + (c - '0');
  }
  return true;
}

bool HexField(const json& value, const std::string& where, std::size_t size, Bytes& bytes,
              std::string& error) {
  if (!value.is_string() || !ParseHex(value.get<std::string>(), bytes)) {
    error = where + ": not a string of hex bytes";
    return false;
  }
  if (size != 0 && bytes.size() != size) {
    error =
        where + ": " + std::to_string(bytes.size()) + " bytes, expected " + std::to_string(size);
    return false;
  }
  return true;
}

bool MapFromJson(const json& doc, const char* name, std::size_t size, std::map<int, Bytes>& out,
                 std::string& error) {
  out.clear();
  if (!doc.contains(name)) {
    return true;
  }
  const json& map = doc.at(name);
  if (!map.is_object()) {
    error = std::string(name) + ": not an object";
    return false;
  }
  for (const auto& [keyText, value] : map.items()) {
    int key = 0;
    if (!ParseKey(keyText, key)) {
      error = std::string(name) + ": bad key \"" + keyText + "\"";
      return false;
    }
    Bytes bytes;
    if (!HexField(value, std::string(name) + "." + keyText, size, bytes, error)) {
      return false;
    }
    out[key] = std::move(bytes);
  }
  return true;
}

bool ResultsFromJson(const json& doc, const char* name, std::map<int, int>& out,
                     std::string& error) {
  out.clear();
  if (!doc.contains(name)) {
    return true;
  }
  for (const auto& [keyText, value] : doc.at(name).items()) {
    int key = 0;
    if (!ParseKey(keyText, key) || !value.is_number_integer()) {
      error = std::string(name) + ": bad entry \"" + keyText + "\"";
      return false;
    }
    out[key] = value.get<int>();
  }
  return true;
}

}  // namespace

std::string ModelName(Model model) {
  return model == Model::kRx3100 ? "rx3100" : "rx2100";
}

bool ParseModel(const std::string& name, Model& model) {
  if (name == "rx3100") {
    model = Model::kRx3100;
    return true;
  }
  if (name == "rx2100") {
    model = Model::kRx2100;
    return true;
  }
  return false;
}

std::string ModelText(Model model) {
  return model == Model::kRx3100 ? "RX310K" : "RX210K";
}

std::size_t MediaInfoSize(Model model) {
  return model == Model::kRx3100 ? 8221 : 3469;
}

bool EncodePhoneNumber(const std::string& number, std::uint32_t& min1, std::uint32_t& min2) {
  for (char c : number) {
    if (c < '0' || c > '9') {
      return false;
    }
  }
  std::string digits;
  if (number.size() == 11 && number[0] == '0' && number[1] != '0') {
    digits = number.substr(1);  // the decoder puts this 0 back in front
  } else if (number.size() == 10 && number[0] == '0') {
    digits = number;
  } else {
    return false;
  }
  // A digit of a three-digit field: 1..9 are codes 0..8, 0 is code 9.
  auto field = [&digits](std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 3; ++i) {
      const int d = digits[at + i] - '0';
      v = v * 10 + static_cast<std::uint32_t>(d == 0 ? 9 : d - 1);
    }
    return v;
  };
  const std::uint32_t area = field(0);
  const std::uint32_t exchange = field(3);
  const auto thousands = static_cast<std::uint32_t>(digits[6] - '0');
  const std::uint32_t line = field(7);
  min2 = area;
  min1 = (exchange << 14) | (thousands << 10) | line;
  return true;
}

json HandsetState::ToJson() const {
  json files_json = json::object();
  for (const auto& [path, bytes] : files) {
    files_json[path] = ToHex(bytes);
  }
  return json{
      {"model", ModelName(model)},
      {"serviceCode", serviceCode},
      {"lockFlag", lockFlag},
      {"lockCode", lockCode},
      {"phoneNumber", phoneNumber},
      {"slotFlags", ToHex(slotFlags)},
      {"entries", MapToJson(entries)},
      {"groups", MapToJson(groups)},
      {"schedules", MapToJson(schedules)},
      {"ddays", MapToJson(ddays)},
      {"rxList", ToHex(rxList)},
      {"moList", ToHex(moList)},
      {"rxRecords", MapToJson(rxRecords)},
      {"txRecords", MapToJson(txRecords)},
      {"rxResults", ResultsToJson(rxResults)},
      {"txResults", ResultsToJson(txResults)},
      {"files", files_json},
  };
}

bool HandsetState::FromJson(const json& doc, HandsetState& state, std::string& error) {
  if (!doc.is_object()) {
    error = "the state is not a JSON object";
    return false;
  }
  HandsetState s;
  try {
    if (doc.contains("model") && !ParseModel(doc.at("model").get<std::string>(), s.model)) {
      error = "model: expected rx3100 or rx2100";
      return false;
    }
    s.serviceCode = doc.value("serviceCode", s.serviceCode);
    s.lockFlag = doc.value("lockFlag", s.lockFlag);
    s.lockCode = doc.value("lockCode", s.lockCode);
    s.phoneNumber = doc.value("phoneNumber", s.phoneNumber);
  } catch (const json::exception& e) {
    error = std::string("a value of the wrong type: ") + e.what();
    return false;
  }
  std::uint32_t min1 = 0;
  std::uint32_t min2 = 0;
  if (!EncodePhoneNumber(s.phoneNumber, min1, min2)) {
    error = "phoneNumber: expected ten digits beginning with 0, or eleven beginning with 0";
    return false;
  }
  if (doc.contains("slotFlags") &&
      !HexField(doc.at("slotFlags"), "slotFlags", 500, s.slotFlags, error)) {
    return false;
  }
  if (doc.contains("rxList") && !HexField(doc.at("rxList"), "rxList", 532, s.rxList, error)) {
    return false;
  }
  if (doc.contains("moList") && !HexField(doc.at("moList"), "moList", 295, s.moList, error)) {
    return false;
  }
  if (!MapFromJson(doc, "entries", 222, s.entries, error) ||
      !MapFromJson(doc, "groups", 27, s.groups, error) ||
      !MapFromJson(doc, "schedules", 95, s.schedules, error) ||
      !MapFromJson(doc, "ddays", 92, s.ddays, error) ||
      !MapFromJson(doc, "rxRecords", 532, s.rxRecords, error) ||
      !MapFromJson(doc, "txRecords", 296, s.txRecords, error) ||
      !ResultsFromJson(doc, "rxResults", s.rxResults, error) ||
      !ResultsFromJson(doc, "txResults", s.txResults, error)) {
    return false;
  }
  if (doc.contains("files")) {
    for (const auto& [path, value] : doc.at("files").items()) {
      Bytes bytes;
      if (!HexField(value, "files." + path, 0, bytes, error)) {
        return false;
      }
      s.files[path] = std::move(bytes);
    }
  }
  state = std::move(s);
  return true;
}

bool HandsetState::Save(const std::filesystem::path& path, std::string& error, bool flush) const {
  const std::string text = ToJson().dump(1) + "\n";
  return WriteFileAtomically(path,
                             std::span<const std::uint8_t>(
                                 reinterpret_cast<const std::uint8_t*>(text.data()), text.size()),
                             error, flush);
}

bool HandsetState::Load(const std::filesystem::path& path, HandsetState& state,
                        std::string& error) {
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(path, 64u << 20, bytes, error)) {
    return false;
  }
  const json doc = json::parse(bytes.begin(), bytes.end(), nullptr, false);
  if (doc.is_discarded()) {
    error = path.string() + ": not valid JSON";
    return false;
  }
  if (!FromJson(doc, state, error)) {
    error = path.string() + ": " + error;
    return false;
  }
  return true;
}

}  // namespace linkora::emulator
