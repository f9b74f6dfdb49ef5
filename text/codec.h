// Byte encodings at the edges: UTF-8 and Windows code page 932 (Shift-JIS).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "text/ustring.h"

namespace qp {

using Bytes = std::string;

// Invalid sequences decode to U+FFFD; nothing is dropped silently.
Text Utf8ToText(std::string_view bytes);
Bytes TextToUtf8(TextView text);

// Code page 932 as Windows maps it, the lone bytes 0x80, 0xA0 and 0xFD to
// 0xFF included (U+0080, U+F8F0, U+F8F1 to U+F8F3), so that a page of such
// bytes comes back byte for byte. Characters without a code page 932 form
// are written as decimal references "&#N;" (N the code point), so nothing is
// lost. Lone surrogates are written as references of their own code unit.
Bytes TextToCp932(TextView text);
// Undecodable bytes become U+FFFD.
Text Cp932ToText(std::string_view bytes);

// `bytes` in the encoding glibc knows by the name `charset`; undecodable
// bytes become U+FFFD. Nothing when glibc does not know the name.
std::optional<Text> DecodeCharset(std::string_view bytes, const std::string& charset);

// Paths travel as Text in the shell's state; the file system sees UTF-8.
std::filesystem::path ToPath(TextView text);
Text FromPath(const std::filesystem::path& path);

}  // namespace qp
