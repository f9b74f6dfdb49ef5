// The byte codecs on arbitrary bytes: decoding never fails, and what decodes
// encodes back to something that decodes to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "text/codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  const qp::Text fromUtf8 = qp::Utf8ToText(bytes);
  if (qp::Utf8ToText(qp::TextToUtf8(fromUtf8)) != fromUtf8) std::abort();

  const qp::Text fromSjis = qp::Cp932ToText(bytes);
  const qp::Bytes sjis = qp::TextToCp932(fromSjis);
  // every character either encodes or becomes a reference; no byte is lost
  if (sjis.size() < fromSjis.size() / 2) std::abort();
  const qp::Text again = qp::Cp932ToText(sjis);
  if (qp::TextToCp932(again) != sjis) std::abort();
  return 0;
}
