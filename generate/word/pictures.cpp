#include "generate/word/pictures.h"

#include <cstdio>

#include "generate/word/word_app.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::word {

ImageKind SniffImage(std::string_view b) {
  auto starts = [&](std::string_view sig) { return b.substr(0, sig.size()) == sig; };
  if (starts("\x89PNG\r\n\x1a\n")) return ImageKind::Png;
  if (starts("\xff\xd8\xff")) return ImageKind::Jpeg;
  if (starts("GIF87a") || starts("GIF89a")) return ImageKind::Gif;
  if (starts("BM") && b.size() > 26) return ImageKind::Bmp;
  if (starts(std::string_view("II*\0", 4)) || starts(std::string_view("MM\0*", 4))) {
    return ImageKind::Tiff;
  }
  return ImageKind::Other;
}

Text PictureStore::Add(const std::string& partName, const Crop& crop) {
  auto known = byPart_.find({partName, crop});
  if (known != byPart_.end()) return known->second;
  Text name;
  std::string bytes;
  if (!partName.empty() && package_.HasPart(partName)) {
    try {
      bytes = package_.ReadPart(partName);
    } catch (const RuntimeError&) {
      bytes.clear();  // an unreadable picture is left out; the text still goes on the page
    }
  }
  ImageKind kind = SniffImage(bytes);
  const char* ext = nullptr;
  switch (kind) {
    case ImageKind::Png:
      ext = "png";
      break;
    case ImageKind::Jpeg:
      ext = "jpg";
      break;
    case ImageKind::Gif:
      ext = "gif";
      break;
    case ImageKind::Bmp:
    case ImageKind::Tiff:
      bytes = ConvertToPng(bytes, kind);
      if (!bytes.empty()) ext = "png";
      break;
    case ImageKind::Other:
      break;
  }
  if (ext && (crop.left > 0 || crop.top > 0 || crop.right > 0 || crop.bottom > 0)) {
    bytes = CropPicture(bytes, SniffImage(bytes), crop);  // BMP and TIFF are PNG by now
  }
  if (ext) {
    char file[32];
    std::snprintf(file, sizeof file, "image%03zu.%s", files_.size() + 1, ext);
    name = T(file);
    files_.push_back({name, std::move(bytes)});
  } else {
    notes_.Add(u"picture " + Utf8ToText(partName) + u" left out (not a PNG, JPEG or GIF picture)");
  }
  byPart_[{partName, crop}] = name;
  return name;
}

}  // namespace qp::word
