// The revision state: the buffers every pass reads and rewrites, the page
// record, and the two collections. One object per revision, handed to every
// pass by reference; nothing is kept between revisions.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "text/ustring.h"

namespace qp::revise {

// The description of the page to build, filled by page assembly.
struct PageInfoRecord {
  Text DocName;
  Text PageTitle;
  std::int32_t BodyMargin = 0;
  std::int32_t MarginTop = 0;
  std::int32_t MarginBottom = 0;
  std::int32_t MarginLeft = 0;
  std::int32_t MarginRight = 0;
  std::int32_t LayoutGrid = 0;
  std::int32_t FixWidth = 0;
  std::int32_t Centering = 0;
  Text PageDescription;
  Text PageKeywords;
  std::int32_t IndentFlag = 0;
  float TextWidth = 0;
  std::int32_t FontSizeFlag = 0;
};

// The two options the driver reads itself.
struct RevisionContext {
  std::uint8_t Encod = 0;  // 1: charset utf-8 in the content-type meta
  std::uint8_t AddSS = 0;  // 1: link to the external style sheet
};

// Kept class attributes; keys compare without regard to case, each held once.
class ClassNameCollection {
 public:
  // Returns false (and keeps the set unchanged) for a key already present.
  bool Add(TextView classAttribute);
  bool Contains(TextView classAttribute) const;
  std::size_t size() const { return items_.size(); }
  const std::vector<Text>& items() const { return items_; }

 private:
  std::vector<Text> items_;
  std::unordered_set<Text> keys_;  // folded case
};

struct RevisionState {
  Text SourceText;
  Text HeadText;
  Text StyleSheetText;
  Text PageText;
  Compare CompareMode = Compare::Binary;
  ClassNameCollection ClassNameSet;
  std::vector<Text> ClassFontSizeList;
  PageInfoRecord PageInfo;
  RevisionContext Context;
};

}  // namespace qp::revise
