// The pictures of one export: each media part the body shows gets one file
// in the supporting-files folder, named image001.png, image002.jpg, ...
// in the order the body first shows them. Metafiles, charts and shapes
// come drawn as PNG from the drawing library.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "draw/picture.h"
#include "generate/word/docx_package.h"
#include "generate/word/notes.h"
#include "generate/word/rgba_image.h"
#include "text/ustring.h"

namespace qp::word {

enum class ImageKind { Png, Jpeg, Gif, Bmp, Tiff, Other };

// Recognises the picture by its first bytes, never by the part's name.
ImageKind SniffImage(std::string_view bytes);

// The largest picture a page takes: a side of 30,000 px, 250 million pixels.
constexpr std::uint64_t kMaxPictureSide = 30000;
constexpr std::uint64_t kMaxPicturePixels = 250'000'000;
// The most bytes of pictures one document writes; pictures past it are left
// out with a note.
constexpr std::uint64_t kMaxDocumentPictureBytes = 256ull << 20;

// True when a PNG, JPEG or GIF is what its header says: the header is whole,
// its sides are within the caps above, and (PNG, JPEG) its bytes are no more
// than that many pixels can take. Junk behind a picture's signature is not.
bool IsSoundPicture(std::string_view bytes, ImageKind kind);

struct PictureEffects;

struct PictureFile {
  Text fileName;  // "image001.png"
  std::string bytes;
};

class PictureStore {
 public:
  PictureStore(DocxPackage& package, Notes& notes, draw::Drawer& drawer)
      : package_(package), notes_(notes), drawer_(drawer) {}
  // The file name for the picture in `partName`, shown at width x height
  // px, or "" when it cannot go on the page (a missing part, an unknown
  // format); a note names what was left out. A cropped picture, or one
  // shown with colour effects, gets a file of its own. An EMF or WMF
  // picture is drawn at its size, or stands in as a placeholder picture.
  Text Add(const std::string& partName, long width, long height, const Crop& crop = {},
           const PictureEffects* effects = nullptr);
  // The file name for a drawn chart or shape; `what` names the object in
  // the line that tells of a placeholder.
  Text AddDrawn(const draw::Picture& picture, const std::string& what);
  const std::vector<PictureFile>& Files() const { return files_; }
  // Draws the document's metafiles, charts and shapes, in one worker.
  draw::Drawer& Drawings() { return drawer_; }

 private:
  DocxPackage& package_;
  Notes& notes_;
  std::map<std::pair<std::string, Crop>, Text> byPart_;
  Text NewFile(std::string bytes, const char* ext);
  void Tell(const std::string& line);

  std::vector<PictureFile> files_;
  std::uint64_t written_ = 0;  // bytes of files_
  draw::Drawer& drawer_;
};

// PNG bytes for a BMP or TIFF picture; "" when it cannot be converted.
std::string ConvertToPng(std::string_view bytes, ImageKind kind);
// A PNG or JPEG picture cut to its crop, in its own format; other pictures,
// and pictures that cannot be decoded, come back as they are.
std::string CropPicture(const std::string& bytes, ImageKind kind, const Crop& crop);
// A PNG or JPEG picture cut to `crop` with `effects` applied. A JPEG stays
// a JPEG at its own quality unless an effect makes it transparent; then it
// becomes a PNG. `ext` says which. Other kinds and pictures that cannot be
// decoded come back as they are.
std::string EditPicture(const std::string& bytes, const Crop& crop, const PictureEffects& effects,
                        const char*& ext);

}  // namespace qp::word
