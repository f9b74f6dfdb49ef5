// TIFF pictures through libtiff. Few documents hold one, so the library (and
// the eight compression libraries it brings) is opened only for them; every
// other run starts without it.
#include <tiffio.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "generate/word/rgba_image.h"
#include "sys/shared_library.h"

namespace qp::word {

namespace {

struct MemoryFile {
  std::string_view bytes;
  toff_t at = 0;
};

tsize_t TiffRead(thandle_t h, tdata_t buf, tsize_t size) {
  auto* f = static_cast<MemoryFile*>(h);
  if (f->at >= f->bytes.size()) return 0;
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(size), f->bytes.size() - f->at);
  std::memcpy(buf, f->bytes.data() + f->at, n);
  f->at += n;
  return static_cast<tsize_t>(n);
}
tsize_t TiffWrite(thandle_t, tdata_t, tsize_t) {
  return 0;
}
toff_t TiffSeek(thandle_t h, toff_t off, int whence) {
  auto* f = static_cast<MemoryFile*>(h);
  toff_t base = whence == SEEK_CUR ? f->at : whence == SEEK_END ? f->bytes.size() : 0;
  f->at = base + off;
  return f->at;
}
int TiffClose(thandle_t) {
  return 0;
}
toff_t TiffSize(thandle_t h) {
  return static_cast<MemoryFile*>(h)->bytes.size();
}
int TiffMap(thandle_t, tdata_t*, toff_t*) {
  return 0;
}
void TiffUnmap(thandle_t, tdata_t, toff_t) {}

// The functions used, found by name in the library opened for this picture.
struct Tiff {
  SharedLibrary library{QP_TIFF_SONAME};
  decltype(&TIFFSetErrorHandler) setErrorHandler =
      library.Find<decltype(TIFFSetErrorHandler)>("TIFFSetErrorHandler");
  decltype(&TIFFSetWarningHandler) setWarningHandler =
      library.Find<decltype(TIFFSetWarningHandler)>("TIFFSetWarningHandler");
  decltype(&TIFFClientOpen) clientOpen = library.Find<decltype(TIFFClientOpen)>("TIFFClientOpen");
  decltype(&TIFFGetField) getField = library.Find<decltype(TIFFGetField)>("TIFFGetField");
  decltype(&TIFFReadRGBAImageOriented) readRgba =
      library.Find<decltype(TIFFReadRGBAImageOriented)>("TIFFReadRGBAImageOriented");
  decltype(&TIFFClose) close = library.Find<decltype(TIFFClose)>("TIFFClose");

  bool Complete() const {
    return setErrorHandler && setWarningHandler && clientOpen && getField && readRgba && close;
  }
};

}  // namespace

bool DecodeTiff(std::string_view b, RgbaImage& out) {
  const Tiff tiff;
  if (!tiff.Complete()) return false;
  tiff.setErrorHandler(nullptr);
  tiff.setWarningHandler(nullptr);
  MemoryFile file{b, 0};
  TIFF* tif = tiff.clientOpen("picture", "rm", &file, TiffRead, TiffWrite, TiffSeek, TiffClose,
                              TiffSize, TiffMap, TiffUnmap);
  if (!tif) return false;
  std::uint32_t w = 0, h = 0;
  tiff.getField(tif, TIFFTAG_IMAGEWIDTH, &w);
  tiff.getField(tif, TIFFTAG_IMAGELENGTH, &h);
  bool ok = w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide;
  std::vector<std::uint32_t> raster;
  if (ok) {
    raster.resize(static_cast<std::size_t>(w) * h);
    ok = tiff.readRgba(tif, w, h, raster.data(), ORIENTATION_TOPLEFT, 0) != 0;
  }
  tiff.close(tif);
  if (!ok) return false;
  out.width = w;
  out.height = h;
  out.pixels.resize(raster.size() * 4);
  for (std::size_t i = 0; i < raster.size(); ++i) {
    out.pixels[i * 4] = static_cast<std::uint8_t>(TIFFGetR(raster[i]));
    out.pixels[i * 4 + 1] = static_cast<std::uint8_t>(TIFFGetG(raster[i]));
    out.pixels[i * 4 + 2] = static_cast<std::uint8_t>(TIFFGetB(raster[i]));
    out.pixels[i * 4 + 3] = static_cast<std::uint8_t>(TIFFGetA(raster[i]));
  }
  return true;
}

}  // namespace qp::word
