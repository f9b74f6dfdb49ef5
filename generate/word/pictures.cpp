#include "generate/word/pictures.h"

#include <cstdio>

#include "draw/metafile.h"
#include "generate/word/picture_effects.h"
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

Text PictureStore::Add(const std::string& partName, long width, long height, const Crop& crop,
                       const PictureEffects* effects) {
  // A metafile is drawn at the size it is shown, so each size is a picture
  // of its own; other pictures are one file per part, crop and effects.
  std::pair<std::string, Crop> key{partName + (effects ? effects->Key() : ""), crop};
  std::pair<std::string, Crop> sized{
      partName + '@' + std::to_string(width) + 'x' + std::to_string(height), crop};
  auto known = byPart_.find(sized);
  if (known == byPart_.end()) known = byPart_.find(key);
  if (known != byPart_.end()) return known->second;
  Text name;
  std::string bytes;
  const bool present = !partName.empty() && package_.HasPart(partName);
  if (present) {
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
      if (draw::SniffMetafile(bytes) != draw::MetafileKind::None) {
        draw::Picture drawn =
            drawer_.Metafile(bytes, static_cast<double>(width), static_cast<double>(height));
        name = AddDrawn(drawn, "picture " + partName);
        byPart_[sized] = name;
        return name;
      }
      break;
  }
  if (ext && (kind == ImageKind::Png || kind == ImageKind::Jpeg || kind == ImageKind::Gif) &&
      !IsSoundPicture(bytes, kind)) {
    Tell("picture " + partName + " left out (its bytes are not the picture its header describes)");
    byPart_[key] = name;
    return name;
  }
  bool cropped = crop.left > 0 || crop.top > 0 || crop.right > 0 || crop.bottom > 0;
  if (ext && (cropped || (effects && effects->Any()))) {
    bytes = EditPicture(bytes, crop, effects ? *effects : PictureEffects{},
                        ext);  // BMP and TIFF are PNG by now
  }
  if (ext) {
    name = NewFile(std::move(bytes), ext);
  } else if (!present) {
    // a target outside the package has no part name at all
    const std::string what = partName.empty() ? "picture" : "picture " + partName;
    Tell(what + " left out (its part is missing from the document)");
  } else {
    Tell("picture " + partName + " left out (not a picture format a page can show)");
  }
  byPart_[key] = name;
  return name;
}

Text PictureStore::AddDrawn(const draw::Picture& picture, const std::string& what) {
  if (!picture.note.empty()) Tell(what + " shown as a placeholder (" + picture.note + ")");
  return NewFile(picture.png, "png");
}

Text PictureStore::NewFile(std::string bytes, const char* ext) {
  if (bytes.size() > kMaxDocumentPictureBytes - written_) {
    Tell("a picture left out (the document's pictures pass " +
         std::to_string(kMaxDocumentPictureBytes >> 20) + " MB)");
    return {};
  }
  written_ += bytes.size();
  char file[32];
  std::snprintf(file, sizeof file, "image%03zu.%s", files_.size() + 1, ext);
  files_.push_back({T(file), std::move(bytes)});
  return files_.back().fileName;
}

// Every line about a picture that did not come out as in the document goes
// through here, to the notes the run shows the user.
void PictureStore::Tell(const std::string& line) {
  notes_.Add(Utf8ToText(line));
}

}  // namespace qp::word
