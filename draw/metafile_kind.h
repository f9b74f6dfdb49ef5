// Telling a metafile by its header, without playing it: what the process
// that writes the page needs to know before it asks the drawing helper.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qp::draw {

enum class MetafileKind { Emf, Wmf, None };

// The largest metafile handed to a player.
constexpr std::size_t kMaxMetafileBytes = 32u << 20;

// The little-endian number at `at`; 0 where it would run past the end.
std::uint32_t Le32(std::string_view bytes, std::size_t at);

// Recognises a metafile by its header, never by the part's name.
MetafileKind SniffMetafile(std::string_view bytes);

}  // namespace qp::draw
