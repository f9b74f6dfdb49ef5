// The compiled catalogues (po/*.po, compiled by msgfmt when the program is
// built) as the program carries them.
#pragma once

#include <string_view>

namespace qp::app {

// The program's Japanese texts in English.
std::string_view EnglishCatalogueBytes();
// The engine's English notes in Japanese.
std::string_view JapaneseCatalogueBytes();

}  // namespace qp::app
