#include "phonebook/VcardParser.h"

#include <algorithm>
#include <cctype>

#include "common/Charset.h"
#include "common/Cp949.h"
#include "resources/PhonebookTexts.h"

namespace linkora {
namespace {

std::string Upper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// One line after unfolding; a line grown past the limit keeps only its head
// and is left out.
struct LogicalLine {
  std::string text;
  bool tooLong = false;

  void Append(std::string_view part) {
    if (tooLong || text.size() + part.size() > VcardParser::kMaxLineLength) {
      tooLong = true;
      return;
    }
    text.append(part);
  }
};

// True when the line's name and parameters (before the first ':') ask for
// quoted-printable, whose soft line breaks join the next line.
bool IsQuotedPrintable(std::string_view line) {
  const std::string head = Upper(line.substr(0, std::min(line.find(':'), line.size())));
  return head.find("QUOTED-PRINTABLE") != std::string::npos;
}

std::vector<LogicalLine> Unfold(std::string_view text) {
  std::vector<LogicalLine> lines;
  bool softBreak = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) {
      end = text.size();
    }
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
    }
    if (softBreak && !lines.empty()) {
      lines.back().Append(line);
    } else if (!lines.empty() && !line.empty() && (line[0] == ' ' || line[0] == '\t')) {
      lines.back().Append(line.substr(1));
    } else {
      lines.emplace_back();
      lines.back().Append(line);
    }
    LogicalLine& current = lines.back();
    softBreak = !line.empty() && line.back() == '=' && IsQuotedPrintable(current.text);
    if (softBreak && !current.tooLong && !current.text.empty()) {
      current.text.pop_back();
    }
  }
  return lines;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') {
    return c - '0';
  }
  if (c >= 'A' && c <= 'F') {
    return c - 'A' + 10;
  }
  if (c >= 'a' && c <= 'f') {
    return c - 'a' + 10;
  }
  return -1;
}

std::string DecodeQuotedPrintable(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '=' && i + 2 < value.size() && HexDigit(value[i + 1]) >= 0 &&
        HexDigit(value[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexDigit(value[i + 1]) * 16 + HexDigit(value[i + 2])));
      i += 2;
    } else {
      out.push_back(value[i]);
    }
  }
  return out;
}

// The value's bytes as UTF-8: in its CHARSET when it names one that fits,
// else as UTF-8, else as CP949 (undecodable bytes become U+FFFD).
std::string DecodeText(std::string_view bytes, std::string_view charset) {
  if (!charset.empty()) {
    if (auto text = CharsetToUtf8(charset, AsBytes(bytes))) {
      return *text;
    }
  }
  if (IsValidUtf8(bytes)) {
    return std::string(bytes);
  }
  return cp949::ToUtf8(AsBytes(bytes));
}

// Splits at `separator` outside double quotes.
std::vector<std::string_view> SplitOutsideQuotes(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  bool quoted = false;
  std::size_t from = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') {
      quoted = !quoted;
    } else if (!quoted && text[i] == separator) {
      parts.push_back(text.substr(from, i - from));
      from = i + 1;
    }
  }
  parts.push_back(text.substr(from));
  return parts;
}

bool IsName(std::string_view name) {
  return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_';
  });
}

// Parses "group.NAME;params:value"; false for a line that is not a property.
bool ParseProperty(std::string_view line, VcardProperty& property) {
  bool quoted = false;
  std::size_t colon = 0;
  for (; colon < line.size(); ++colon) {
    if (line[colon] == '"') {
      quoted = !quoted;
    } else if (!quoted && line[colon] == ':') {
      break;
    }
  }
  if (colon >= line.size()) {
    return false;
  }
  const std::vector<std::string_view> head = SplitOutsideQuotes(line.substr(0, colon), ';');
  std::string_view name = Trim(head[0]);
  if (const std::size_t dot = name.rfind('.'); dot != std::string_view::npos) {
    property.group = Upper(name.substr(0, dot));
    name = name.substr(dot + 1);
  }
  if (!IsName(name)) {
    return false;
  }
  property.name = Upper(name);
  for (std::size_t i = 1; i < head.size(); ++i) {
    const std::string_view param = Trim(head[i]);
    if (param.empty()) {
      continue;
    }
    const std::size_t eq = param.find('=');
    if (eq == std::string_view::npos) {
      // vCard 2.1 writes bare values: TEL;CELL;PREF, NOTE;QUOTED-PRINTABLE.
      const std::string word = Upper(param);
      const bool encoding =
          word == "QUOTED-PRINTABLE" || word == "BASE64" || word == "8BIT" || word == "7BIT";
      property.params.emplace_back(encoding ? "ENCODING" : "TYPE", word);
      continue;
    }
    std::string_view value = Trim(param.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
      value = value.substr(1, value.size() - 2);
    }
    property.params.emplace_back(Upper(Trim(param.substr(0, eq))), std::string(value));
  }
  const std::string_view raw = line.substr(colon + 1);
  const std::string encoding = Upper(property.Param("ENCODING"));
  if (encoding == "QUOTED-PRINTABLE" || encoding == "QP") {
    property.value = DecodeText(DecodeQuotedPrintable(raw), property.Param("CHARSET"));
  } else {
    property.value = DecodeText(raw, property.Param("CHARSET"));
  }
  return true;
}

}  // namespace

std::vector<std::string> VcardProperty::Types() const {
  std::vector<std::string> types;
  for (const auto& [key, paramValue] : params) {
    if (key != "TYPE") {
      continue;
    }
    for (const std::string_view part : SplitOutsideQuotes(paramValue, ',')) {
      std::string_view type = Trim(part);
      if (type.size() >= 2 && type.front() == '"' && type.back() == '"') {
        type = type.substr(1, type.size() - 2);
      }
      if (!type.empty()) {
        types.push_back(Upper(type));
      }
    }
  }
  return types;
}

bool VcardProperty::HasType(std::string_view type) const {
  const std::vector<std::string> types = Types();
  return std::find(types.begin(), types.end(), Upper(type)) != types.end();
}

std::string VcardProperty::Param(std::string_view paramName) const {
  for (const auto& [key, paramValue] : params) {
    if (key == paramName) {
      return paramValue;
    }
  }
  return {};
}

std::string VcardProperty::Text() const {
  return UnescapeVcardText(value);
}

std::vector<std::string> VcardProperty::Parts(char separator) const {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] == '\\') {
      ++i;
    } else if (value[i] == separator) {
      parts.push_back(UnescapeVcardText(std::string_view(value).substr(from, i - from)));
      from = i + 1;
    }
  }
  parts.push_back(UnescapeVcardText(std::string_view(value).substr(std::min(from, value.size()))));
  return parts;
}

std::string UnescapeVcardText(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    if (value[i] != '\\' || i + 1 >= value.size()) {
      out.push_back(value[i]);
      continue;
    }
    const char next = value[++i];
    out.push_back(next == 'n' || next == 'N' ? '\n' : next);
  }
  return out;
}

bool VcardParser::Parse(std::span<const std::uint8_t> bytes) {
  cards_.clear();
  error_.clear();
  if (bytes.size() > kMaxFileSize) {
    error_ = std::string(texts::kVcardTooLarge);
    return false;
  }
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  std::string converted;
  if (text.starts_with("\xEF\xBB\xBF")) {
    text.remove_prefix(3);
  } else if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
    auto utf8 = CharsetToUtf8("UTF-16", bytes);
    if (!utf8) {
      error_ = std::string(texts::kVcardNotVcard);
      return false;
    }
    converted = std::move(*utf8);
    text = converted;
    if (text.starts_with("\xEF\xBB\xBF")) {
      text.remove_prefix(3);
    }
  }

  bool sawCard = false;
  int depth = 0;  // vCard 2.1 may nest a card (AGENT) inside another
  for (const LogicalLine& line : Unfold(text)) {
    if (line.tooLong) {
      continue;
    }
    VcardProperty property;
    if (!ParseProperty(line.text, property)) {
      continue;
    }
    const bool cardWord = EqualsNoCase(Trim(property.value), "VCARD");
    if (property.name == "BEGIN" && cardWord) {
      sawCard = true;
      if (depth++ == 0) {
        if (cards_.size() >= kMaxCards) {
          break;
        }
        cards_.emplace_back();
      }
      continue;
    }
    if (property.name == "END" && cardWord) {
      depth = std::max(depth - 1, 0);
      continue;
    }
    if (depth == 1) {
      cards_.back().properties.push_back(std::move(property));
    }
  }
  if (!sawCard) {
    error_ = std::string(texts::kVcardNotVcard);
    return false;
  }
  return true;
}

}  // namespace linkora
