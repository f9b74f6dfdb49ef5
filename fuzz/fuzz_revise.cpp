// The revision driver on arbitrary text: it either finishes or throws its
// located Failure (leaving the text as it was); any other way out, a crash
// or a hang, is a finding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "revise/passes.h"
#include "text/codec.h"
#include "text/failure.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  // The first byte picks the options, so each input explores one of the
  // combinations the settings allow.
  const std::uint8_t flags = data[0];
  const std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  qp::Text text = (flags & 0x80) ? qp::Cp932ToText(bytes) : qp::Utf8ToText(bytes);
  const qp::Text original = text;

  qp::revise::PageInfoRecord info;
  info.DocName = u"fuzz";
  info.PageTitle = u"fuzz";
  info.BodyMargin = flags & 1;
  info.MarginTop = 20;
  info.MarginBottom = 20;
  info.MarginLeft = 20;
  info.MarginRight = 20;
  info.LayoutGrid = (flags >> 1) & 1;
  info.FixWidth = (flags >> 2) & 1;
  info.Centering = (flags >> 3) & 1;
  info.IndentFlag = (flags >> 4) & 1;
  info.TextWidth = 425.2f;
  info.FontSizeFlag = (flags >> 5) & 1;

  qp::revise::RevisionContext context;
  context.Encod = (flags >> 6) & 1;
  context.AddSS = 0;

  try {
    (void)qp::revise::Rev_Html_State(text, info, context);
  } catch (const qp::Failure&) {
    if (text != original) std::abort();  // a failure must leave the text as it was
  }
  return 0;
}
