#include "app/ini_file.h"

namespace qp::app {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t';
}

TextView TrimBlanks(TextView t) {
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  return t;
}

// The section name when `line` is a header ("[name]", blanks allowed around
// the brackets and the name).
std::optional<TextView> HeaderName(TextView line) {
  const TextView t = TrimBlanks(line);
  if (t.empty() || t.front() != u'[') return std::nullopt;
  TextView name = t.substr(1);
  const std::size_t close = name.find(u']');
  if (close != TextView::npos) name = name.substr(0, close);
  return TrimBlanks(name);
}

struct Entry {
  TextView key;
  TextView value;
};

std::optional<Entry> EntryOf(TextView line) {
  if (HeaderName(line)) return std::nullopt;
  const std::size_t eq = line.find(u'=');
  if (eq == TextView::npos) return std::nullopt;
  return Entry{TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1))};
}

bool HasLineBreak(TextView t) {
  return t.find_first_of(u"\r\n") != TextView::npos;
}

}  // namespace

IniFile IniFile::Parse(std::string_view bytes) {
  IniFile file;
  std::size_t from = 0;
  while (from < bytes.size()) {
    const std::size_t nl = bytes.find('\n', from);
    Line line;
    if (nl == std::string_view::npos) {
      line.bytes = Bytes(bytes.substr(from));
      from = bytes.size();
    } else {
      line.bytes = Bytes(bytes.substr(from, nl - from));
      line.end = "\n";
      if (!line.bytes.empty() && line.bytes.back() == '\r') {
        line.bytes.pop_back();
        line.end = "\r\n";
      }
      from = nl + 1;
    }
    line.text = Cp932ToText(line.bytes);
    file.lines_.push_back(std::move(line));
  }
  return file;
}

std::size_t IniFile::FindSection(TextView section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const auto name = HeaderName(lines_[i].text);
    if (name && EqualsNoCase(*name, section)) return i;
  }
  return kNone;
}

std::size_t IniFile::FindKey(std::size_t header, TextView key) const {
  for (std::size_t i = header + 1; i < lines_.size(); ++i) {
    if (HeaderName(lines_[i].text)) break;
    const auto entry = EntryOf(lines_[i].text);
    if (entry && EqualsNoCase(entry->key, key)) return i;
  }
  return kNone;
}

Bytes IniFile::NewLineEnd() const {
  if (!lines_.empty() && !lines_.front().end.empty()) return lines_.front().end;
  return "\r\n";
}

std::optional<Text> IniFile::Get(TextView section, TextView key) const {
  const std::size_t header = FindSection(TrimBlanks(section));
  if (header == kNone) return std::nullopt;
  const std::size_t at = FindKey(header, TrimBlanks(key));
  if (at == kNone) return std::nullopt;
  TextView value = EntryOf(lines_[at].text)->value;
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return Text(value);
}

bool IniFile::Set(TextView section, TextView key, TextView value) {
  section = TrimBlanks(section);
  key = TrimBlanks(key);
  if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) ||
      HasLineBreak(value) || section.find(u']') != TextView::npos ||
      key.find(u'=') != TextView::npos || key.front() == u'[') {
    return false;
  }
  const Bytes end = NewLineEnd();
  auto makeLine = [&end](Text text) {
    Line line{TextToCp932(text), end, {}};
    line.text = std::move(text);
    return line;
  };
  // A line that will no longer be the last needs an end of its own.
  auto closeLast = [this, &end] {
    if (!lines_.empty() && lines_.back().end.empty()) lines_.back().end = end;
  };

  const std::size_t header = FindSection(section);
  if (header == kNone) {
    closeLast();
    lines_.push_back(makeLine(u"[" + Text(section) + u"]"));
    lines_.push_back(makeLine(Text(key) + u"=" + Text(value)));
    return true;
  }
  const std::size_t at = FindKey(header, key);
  if (at != kNone) {
    // Keep the spelling of the key the file already has.
    const Text existing(EntryOf(lines_[at].text)->key);
    Line line = makeLine(existing + u"=" + Text(value));
    line.end = lines_[at].end;
    lines_[at] = std::move(line);
    return true;
  }
  std::size_t last = header;
  for (std::size_t i = header + 1; i < lines_.size() && !HeaderName(lines_[i].text); ++i) {
    if (!TrimBlanks(lines_[i].text).empty()) last = i;
  }
  if (last + 1 == lines_.size()) closeLast();
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                makeLine(Text(key) + u"=" + Text(value)));
  return true;
}

Bytes IniFile::Serialize() const {
  Bytes out;
  for (const Line& line : lines_) {
    out += line.bytes;
    out += line.end;
  }
  return out;
}

}  // namespace qp::app
