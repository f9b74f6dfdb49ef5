// The record structure of an EMF, checked before a player sees the file.
// libemf2svg trusts the header's counts and walks past a file that ends
// without its end record; what it is given here is sound.
#pragma once

#include <string>
#include <string_view>

namespace qp::draw {

// The EMF's records up to its end record, or up to the first record that
// does not fit (its size below 8 bytes, not a multiple of 4, or past the
// end of the file), then an end record when it had none; the header's
// byte and record counts are those of the result, and a description or
// pixel format that lies outside the header is dropped. "" when the file
// does not start with a sound header record.
std::string SoundEmf(std::string_view bytes);

}  // namespace qp::draw
