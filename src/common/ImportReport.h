#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace linkora {

// What an import from another program's file did with the items that did not
// fit the handset's records as they were. Every importer fills one, entry by
// entry, so the user is told exactly what was cut, skipped or changed; the
// windows show it as a list and the command-line tool prints it.
class ImportReport {
 public:
  enum class Kind {
    Cut,      // a text or number longer than its field, shortened
    Skipped,  // an item left out (no room, nothing usable, not supported)
    Lost,     // characters the handset's code page lacks, replaced or left out
    Changed,  // taken over in another form (a time converted, a rule cut to one date)
  };

  struct Note {
    Kind kind;
    std::string item;  // which entry of the file, as the user knows it (UTF-8)
    std::string text;  // what happened to it (UTF-8)
  };

  void Add(Kind kind, std::string_view item, std::string_view text) {
    notes_.push_back({kind, std::string(item), std::string(text)});
  }
  void CountImported(int count = 1) { imported_ += count; }

  int Imported() const { return imported_; }
  const std::vector<Note>& Notes() const { return notes_; }
  int Count(Kind kind) const {
    int count = 0;
    for (const Note& note : notes_) {
      count += note.kind == kind ? 1 : 0;
    }
    return count;
  }
  bool Clean() const { return notes_.empty(); }

  // "item: text", one line a note, in the order they were added.
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    lines.reserve(notes_.size());
    for (const Note& note : notes_) {
      lines.push_back(note.item.empty() ? note.text : note.item + ": " + note.text);
    }
    return lines;
  }

  // The stable name of a kind, for the command-line tool's JSON.
  static std::string_view KindName(Kind kind) {
    switch (kind) {
      case Kind::Cut:
        return "cut";
      case Kind::Skipped:
        return "skipped";
      case Kind::Lost:
        return "lost";
      case Kind::Changed:
        return "changed";
    }
    return "changed";
  }

 private:
  int imported_ = 0;
  std::vector<Note> notes_;
};

}  // namespace linkora
