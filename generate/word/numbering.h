// Lists (numbering.xml): the level definitions behind each list instance,
// and the counters that turn them into labels as the body is written.
#pragma once

#include <array>
#include <map>
#include <optional>
#include <string>

#include <pugixml.hpp>

#include "generate/word/styles.h"
#include "text/ustring.h"

namespace qp::word {

struct ListLevel {
  std::string format = "decimal";
  Text text;  // "%1.", "（%1）", or the bullet itself
  long start = 1;
  std::string suffix = "tab";  // "tab", "space", "nothing"
  bool legal = false;          // isLgl: higher levels shown as decimal
  // lvlRestart: the level (1-9) whose use restarts this one; 0 never, -1
  // (the default) any level above it.
  long restartAfter = -1;
  pugi::xml_node pPr, rPr;
};

struct ListInstance {
  std::string abstractId;
  // Whose counters the list shares: an abstract list that points at a
  // numbering style counts with the list that style defines.
  std::string counterId;
  int index = 0;  // the list's number in "mso-list:lN"
  std::array<std::optional<long>, 9> startOverride;
  std::array<std::optional<ListLevel>, 9> levelOverride;
};

class Numbering {
 public:
  void Load(const pugi::xml_document& numberingXml, const StyleSheet& styles);
  // The level definition in force for list `numId` at `ilvl` (0-8); null when
  // there is no such list ("0" ends a list).
  const ListLevel* Level(const std::string& numId, int ilvl) const;
  const ListInstance* Instance(const std::string& numId) const;

 private:
  std::map<std::string, std::array<ListLevel, 9>> abstracts_;
  std::map<std::string, ListInstance> instances_;
};

// Counters for one export; a second export starts again from the start.
class ListCounters {
 public:
  // Advances the counter of (numId, ilvl) and returns the label text, or
  // nullopt when the paragraph carries no label.
  std::optional<Text> Next(const Numbering& numbering, const std::string& numId, int ilvl);

 private:
  struct State {
    std::array<long, 9> count{};
    std::array<bool, 9> used{};
  };
  std::map<std::string, State> byAbstract_;
  std::map<std::string, bool> instanceSeen_;
};

}  // namespace qp::word
