// The colour effects a document asks of a picture (DrawingML a:blip
// children, VML v:imagedata attributes), applied to its pixels when it is
// copied: the page shows the picture as the document does.
#pragma once

#include <pugixml.hpp>

#include <cstdint>
#include <string>

#include "draw/drawing.h"
#include "generate/word/rgba_image.h"

namespace qp::word {

struct PictureEffects {
  // Applied in this order, each to the colours the one before left.
  bool colorChange = false;  // a:clrChange: pixels of `changeFrom` become `changeTo`
  std::uint32_t changeFrom = 0, changeTo = 0;
  std::uint8_t changeToAlpha = 0;
  double gain = 1, blackLevel = 0;  // v' = (v - .5) * gain + .5 + blackLevel, on 0..1
  bool grayscale = false;
  long biLevel = -1;     // threshold of luminance in thousandths of a percent; -1: none
  bool duotone = false;  // luminance mapped from `dark` (black) to `light` (white)
  std::uint32_t dark = 0, light = 0xFFFFFF;
  double alpha = 1;  // a:alphaModFix, 0..1

  bool Any() const;
  // One text per distinct set of effects, "" for none: pictures shown with
  // different effects are files of their own.
  std::string Key() const;
};

PictureEffects ReadBlipEffects(const pugi::xml_node& blip, const draw::Palette& palette);
PictureEffects ReadVmlEffects(const pugi::xml_node& imagedata);

// Cuts `image` to `crop`; false (and `image` untouched) when the crop
// leaves nothing or changes nothing.
bool CropImage(RgbaImage& image, const Crop& crop);
void ApplyEffects(RgbaImage& image, const PictureEffects& effects);

}  // namespace qp::word
