#include "app/catalogue.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/catalogues.h"
#include "text/codec.h"

namespace qp::app {

namespace {

constexpr std::uint32_t kMagic = 0x950412de;
constexpr std::uint32_t kMagicSwapped = 0xde120495;
constexpr int kMaxDepth = 3;  // placeholders within placeholders

std::uint32_t Word(std::string_view mo, std::size_t at, bool swapped) {
  std::uint32_t w = 0;
  std::memcpy(&w, mo.data() + at, 4);
  return swapped ? __builtin_bswap32(w) : w;
}

// The `index`th string of the table at `table`; nothing when it lies
// outside the file.
std::optional<std::string_view> TableString(std::string_view mo, std::uint32_t table,
                                            std::uint32_t index, bool swapped) {
  const std::size_t entry = static_cast<std::size_t>(table) + 8u * index;
  if (entry + 8 > mo.size()) return std::nullopt;
  const std::uint32_t length = Word(mo, entry, swapped);
  const std::uint32_t offset = Word(mo, entry + 4, swapped);
  if (offset > mo.size() || length > mo.size() - offset) return std::nullopt;
  return mo.substr(offset, length);
}

Text Trimmed(TextView line, TextView& end) {
  end = line.size() && line.back() == u'\r' ? line.substr(line.size() - 1) : TextView();
  return Text(line.substr(0, line.size() - end.size()));
}

}  // namespace

Catalogue Catalogue::FromMo(std::string_view mo) {
  Catalogue c;
  if (mo.size() < 28) return c;
  const std::uint32_t magic = Word(mo, 0, false);
  if (magic != kMagic && magic != kMagicSwapped) return c;
  const bool swapped = magic == kMagicSwapped;
  const std::uint32_t count = Word(mo, 8, swapped);
  const std::uint32_t originals = Word(mo, 12, swapped);
  const std::uint32_t translations = Word(mo, 16, swapped);
  for (std::uint32_t i = 0; i < count; ++i) {
    const auto source = TableString(mo, originals, i, swapped);
    const auto translation = TableString(mo, translations, i, swapped);
    if (!source || !translation) return Catalogue();
    // The header (empty source), plural forms and entries with a context
    // are not used here.
    if (source->empty() || source->find('\0') != std::string_view::npos ||
        source->find('\x04') != std::string_view::npos || translation->empty()) {
      continue;
    }
    c.Add(Utf8ToText(*source), Utf8ToText(*translation));
  }
  std::stable_sort(c.templates_.begin(), c.templates_.end(),
                   [](const Template& a, const Template& b) {
                     auto literal = [](const Template& t) {
                       std::size_t n = 0;
                       for (const Text& p : t.pieces) n += p.size();
                       return n;
                     };
                     return literal(a) > literal(b);
                   });
  return c;
}

void Catalogue::Add(Text source, Text translation) {
  Template t;
  std::size_t from = 0;
  for (std::size_t i = 0; i + 1 < source.size(); ++i) {
    if (source[i] == u'%' && source[i + 1] >= u'1' && source[i + 1] <= u'9') {
      t.pieces.push_back(source.substr(from, i - from));
      t.numbers.push_back(source[i + 1] - u'0');
      from = i + 2;
      ++i;
    }
  }
  if (t.numbers.empty()) {
    exact_.emplace(std::move(source), std::move(translation));
    return;
  }
  t.pieces.push_back(source.substr(from));
  t.source = std::move(source);
  t.translation = std::move(translation);
  templates_.push_back(std::move(t));
}

bool Catalogue::Fill(const Template& t, TextView line, int depth, Text& out) const {
  if (line.substr(0, t.pieces.front().size()) != t.pieces.front()) return false;
  std::size_t at = t.pieces.front().size();
  Text captured[10];
  for (std::size_t k = 0; k < t.numbers.size(); ++k) {
    const Text& next = t.pieces[k + 1];
    const bool last = k + 1 == t.numbers.size();
    std::size_t end = 0;
    if (last) {
      // The last literal ends the line.
      if (line.size() < at + next.size() || line.substr(line.size() - next.size()) != next) {
        return false;
      }
      end = line.size() - next.size();
    } else {
      end = next.empty() ? TextView::npos : line.find(next, at + 1);
    }
    if (end == TextView::npos || end <= at) return false;
    captured[t.numbers[k]] = TranslateLine(line.substr(at, end - at), depth + 1);
    at = end + next.size();
  }
  out.clear();
  for (std::size_t i = 0; i < t.translation.size(); ++i) {
    const char16_t c = t.translation[i];
    if (c == u'%' && i + 1 < t.translation.size() && t.translation[i + 1] >= u'1' &&
        t.translation[i + 1] <= u'9') {
      out += captured[t.translation[i + 1] - u'0'];
      ++i;
    } else {
      out += c;
    }
  }
  return true;
}

Text Catalogue::TranslateLine(TextView line, int depth) const {
  if (const auto it = exact_.find(Text(line)); it != exact_.end()) return it->second;
  if (depth < kMaxDepth) {
    Text out;
    for (const Template& t : templates_) {
      if (Fill(t, line, depth, out)) return out;
    }
  }
  return Text(line);
}

Text Catalogue::Translate(TextView text) const {
  if (exact_.empty() && templates_.empty()) return Text(text);
  Text out;
  std::size_t from = 0;
  while (true) {
    const std::size_t nl = text.find(u'\n', from);
    const TextView line = text.substr(from, nl == TextView::npos ? TextView::npos : nl - from);
    TextView end;
    const Text body = Trimmed(line, end);
    out += body.empty() ? body : TranslateLine(body, 0);
    out += end;
    if (nl == TextView::npos) break;
    out += u'\n';
    from = nl + 1;
  }
  return out;
}

bool Catalogue::Covers(TextView piece) const {
  for (const auto& [source, translation] : exact_) {
    if (source.find(piece) != Text::npos) return true;
  }
  for (const Template& t : templates_) {
    if (t.source.find(piece) != Text::npos) return true;
  }
  return false;
}

bool UserReadsJapanese() {
  auto value = [](const char* name) -> std::string {
    const char* v = std::getenv(name);
    return v == nullptr ? std::string() : std::string(v);
  };
  std::string locale;
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    locale = value(name);
    if (!locale.empty()) break;
  }
  std::string language = locale;
  // LANGUAGE lists languages in order of preference; the C locale ignores
  // it, as gettext does.
  const std::string preferred = value("LANGUAGE");
  if (!preferred.empty() && !locale.empty() && locale != "C" && locale != "POSIX") {
    language = preferred.substr(0, preferred.find(':'));
  }
  return language.rfind("ja", 0) == 0 &&
         (language.size() == 2 || !std::isalpha(static_cast<unsigned char>(language[2])));
}

Catalogue UserCatalogue() {
  return Catalogue::FromMo(UserReadsJapanese() ? JapaneseCatalogueBytes()
                                               : EnglishCatalogueBytes());
}

}  // namespace qp::app
