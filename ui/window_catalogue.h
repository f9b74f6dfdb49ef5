// The windows' English catalogue (translations/quillpage_en.ts, compiled by
// lrelease when the program is built) as the program carries it.
#pragma once

#include <string_view>

namespace qp::ui {

std::string_view EnglishWindowCatalogue();

}  // namespace qp::ui
