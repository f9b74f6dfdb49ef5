// A message catalogue in gettext's compiled form (.mo): the texts the user
// reads, translated for a language other than the one they were written in.
// The program's own texts are written in Japanese, the engine's notes in
// English; the catalogue of the user's language turns what is not in that
// language into it, line by line, as the message is shown. A source text may
// hold placeholders %1 to %9 for the parts a message fills in (a path, a
// number, a reason), so that one entry translates every message of its
// form; what a placeholder took is translated in turn.
#pragma once

#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/ustring.h"

namespace qp::app {

class Catalogue {
 public:
  // Translates nothing.
  Catalogue() = default;
  // The entries of a .mo file's bytes; a file that is not one gives an
  // empty catalogue.
  static Catalogue FromMo(std::string_view mo);

  // `text` with each line (LF or CR LF ends) translated when the catalogue
  // has it, alone or as the form of a template; other lines as they are.
  Text Translate(TextView text) const;

  // True when `piece` lies within some source text: a text written for the
  // user that has an entry.
  bool Covers(TextView piece) const;
  std::size_t size() const { return exact_.size() + templates_.size(); }

 private:
  struct Template {
    std::vector<Text> pieces;  // literal text around the placeholders
    std::vector<int> numbers;  // the placeholders' numbers, in order
    Text source;
    Text translation;
  };

  void Add(Text source, Text translation);
  Text TranslateLine(TextView line, int depth) const;
  bool Fill(const Template& t, TextView line, int depth, Text& out) const;

  std::unordered_map<Text, Text> exact_;
  std::vector<Template> templates_;  // the most literal text first
};

// The language the user reads messages in: the first of LANGUAGE (unless
// the locale is C or POSIX), LC_ALL, LC_MESSAGES and LANG that is set.
// True for Japanese ("ja", "ja_JP.UTF-8", ...).
bool UserReadsJapanese();

// The catalogue for the user's language: Japanese readers get the engine's
// notes in Japanese, every other reader the program's texts in English.
Catalogue UserCatalogue();

}  // namespace qp::app
