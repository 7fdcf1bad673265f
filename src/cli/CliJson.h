#pragma once

#include <cstdint>
#include <nlohmann/json.hpp>
#include <ostream>
#include <span>
#include <string>

#include "common/Cp949.h"
#include "common/Hex.h"
#include "common/ImportReport.h"

namespace linkora::cli {

// A CP949 text of a record as UTF-8 for printing.
inline std::string Utf8Text(std::span<const std::uint8_t> cp949Bytes) {
  return cp949::ToUtf8(cp949Bytes);
}

// A CP949 text of a record in JSON: its UTF-8 reading (invalid bytes show as
// U+FFFD); the record's raw hex keeps the bytes themselves.
inline nlohmann::json TextJson(std::span<const std::uint8_t> cp949Bytes) {
  return Utf8Text(cp949Bytes);
}

// An import's report: {"imported": n, "notes": [{"kind", "item", "text"}, ...]}.
inline nlohmann::json ImportReportJson(const ImportReport& report) {
  nlohmann::json notes = nlohmann::json::array();
  for (const ImportReport::Note& note : report.Notes()) {
    notes.push_back({{"kind", std::string(ImportReport::KindName(note.kind))},
                     {"item", note.item},
                     {"text", note.text}});
  }
  return {{"imported", report.Imported()}, {"notes", notes}};
}

// An import's notes, a line each: "  kind: item: text".
inline void PrintImportNotes(std::ostream& out, const ImportReport& report) {
  for (const ImportReport::Note& note : report.Notes()) {
    out << "  " << ImportReport::KindName(note.kind) << ": "
        << (note.item.empty() ? note.text : note.item + ": " + note.text) << '\n';
  }
}

}  // namespace linkora::cli
