#include "generate/word/numbering.h"

#include <algorithm>

#include "generate/word/list_labels.h"
#include "generate/word/xml_part.h"

namespace qp::word {

namespace {

ListLevel ReadLevel(const pugi::xml_node& lvl) {
  ListLevel level;
  level.format = ChildVal(lvl, "numFmt", "decimal");
  level.text = U(ChildVal(lvl, "lvlText"));
  level.start = AttrLong(Child(lvl, "start"), "val", 1);
  level.suffix = ChildVal(lvl, "suff", "tab");
  level.legal = Toggle(lvl, "isLgl") == 1;
  if (pugi::xml_node restart = Child(lvl, "lvlRestart")) {
    level.restartAfter = std::clamp(AttrLong(restart, "val", 0), 0L, 9L);
  }
  level.pPr = Child(lvl, "pPr");
  level.rPr = Child(lvl, "rPr");
  return level;
}

int LevelIndex(const pugi::xml_node& node) {
  long ilvl = AttrLong(node, "ilvl", 0);
  return ilvl >= 0 && ilvl < 9 ? static_cast<int>(ilvl) : -1;
}

}  // namespace

void Numbering::Load(const pugi::xml_document& numberingXml, const StyleSheet& styles) {
  pugi::xml_node root = numberingXml.document_element();
  std::map<std::string, std::string> styleLinks;  // abstract id -> numbering style id
  for (pugi::xml_node a : root.children()) {
    if (LocalName(a) != "abstractNum") continue;
    std::string id = Attr(a, "abstractNumId").value();
    std::array<ListLevel, 9> levels;
    for (pugi::xml_node lvl : a.children()) {
      if (LocalName(lvl) != "lvl") continue;
      int i = LevelIndex(lvl);
      if (i >= 0) levels[static_cast<std::size_t>(i)] = ReadLevel(lvl);
    }
    abstracts_[id] = levels;
    std::string link = ChildVal(a, "numStyleLink");
    if (!link.empty()) styleLinks[id] = link;
  }
  int index = 0;
  for (pugi::xml_node n : root.children()) {
    if (LocalName(n) != "num") continue;
    ListInstance inst;
    inst.abstractId = ChildVal(n, "abstractNumId");
    inst.counterId = inst.abstractId;
    inst.index = index++;
    for (pugi::xml_node o : n.children()) {
      if (LocalName(o) != "lvlOverride") continue;
      int i = LevelIndex(o);
      if (i < 0) continue;
      if (pugi::xml_node so = Child(o, "startOverride")) {
        inst.startOverride[static_cast<std::size_t>(i)] = AttrLong(so, "val", 1);
      }
      if (pugi::xml_node lvl = Child(o, "lvl")) {
        inst.levelOverride[static_cast<std::size_t>(i)] = ReadLevel(lvl);
      }
    }
    instances_[Attr(n, "numId").value()] = inst;
  }
  // An abstract list that only points at a numbering style takes the levels
  // of the list that style names.
  for (const auto& [abstractId, styleId] : styleLinks) {
    const StyleDef* style = styles.Find(styleId);
    if (!style) continue;
    std::string numId = ChildVal(Child(style->pPr, "numPr"), "numId");
    auto inst = instances_.find(numId);
    if (inst == instances_.end() || inst->second.abstractId == abstractId) continue;
    auto target = abstracts_.find(inst->second.abstractId);
    if (target == abstracts_.end()) continue;
    abstracts_[abstractId] = target->second;
    for (auto& [id, other] : instances_) {
      if (other.abstractId == abstractId) other.counterId = target->first;
    }
  }
}

const ListInstance* Numbering::Instance(const std::string& numId) const {
  auto it = instances_.find(numId);
  return it == instances_.end() ? nullptr : &it->second;
}

const ListLevel* Numbering::Level(const std::string& numId, int ilvl) const {
  if (ilvl < 0 || ilvl > 8) return nullptr;
  const ListInstance* inst = Instance(numId);
  if (!inst) return nullptr;
  std::size_t i = static_cast<std::size_t>(ilvl);
  if (inst->levelOverride[i]) return &*inst->levelOverride[i];
  auto it = abstracts_.find(inst->abstractId);
  return it == abstracts_.end() ? nullptr : &it->second[i];
}

std::optional<Text> ListCounters::Next(const Numbering& numbering, const std::string& numId,
                                       int ilvl) {
  const ListLevel* level = numbering.Level(numId, ilvl);
  const ListInstance* inst = numbering.Instance(numId);
  if (!level || !inst) return std::nullopt;
  State& state = byAbstract_[inst->counterId];
  std::size_t i = static_cast<std::size_t>(ilvl);
  // A list instance with its own start begins again the first time it is used.
  if (!instanceSeen_[numId]) {
    instanceSeen_[numId] = true;
    for (std::size_t k = 0; k < 9; ++k) {
      if (inst->startOverride[k]) state.used[k] = false;
    }
  }
  if (!state.used[i]) {
    long start = inst->startOverride[i] ? *inst->startOverride[i] : level->start;
    state.count[i] = start;
    state.used[i] = true;
  } else {
    ++state.count[i];
  }
  // A level restarts after any level above it, or only after the one its
  // lvlRestart names (never for 0).
  for (std::size_t k = i + 1; k < 9; ++k) {
    const ListLevel* below = numbering.Level(numId, static_cast<int>(k));
    long after = below ? below->restartAfter : -1;
    if (after < 0 || static_cast<long>(i) < after) state.used[k] = false;
  }
  if (level->format == "bullet") {
    Text bullet = level->text;
    for (char16_t& c : bullet) {
      // Symbol-font bullets live in the private use area at F000 + code.
      if (c >= 0xF000 && c <= 0xF0FF) c = static_cast<char16_t>(c - 0xF000);
    }
    return bullet;
  }
  Text out;
  const Text& pattern = level->text;
  for (std::size_t k = 0; k < pattern.size(); ++k) {
    char16_t c = pattern[k];
    if (c == u'%' && k + 1 < pattern.size() && pattern[k + 1] >= u'1' && pattern[k + 1] <= u'9') {
      std::size_t ref = static_cast<std::size_t>(pattern[k + 1] - u'1');
      ++k;
      const ListLevel* refLevel = numbering.Level(numId, static_cast<int>(ref));
      if (!refLevel) continue;
      long value = state.used[ref] || ref == i ? state.count[ref] : refLevel->start;
      std::string format = refLevel->format;
      if (level->legal && ref != i) format = "decimal";
      out += FormatListNumber(value, format);
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace qp::word
