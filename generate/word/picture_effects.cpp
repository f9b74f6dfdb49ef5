#include "generate/word/picture_effects.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "draw/paint.h"
#include "generate/word/xml_part.h"
#include "text/number.h"

namespace qp::word {

namespace {

// Luminance on 0..255, as television weighs the channels.
int Luma(const std::uint8_t* px) {
  return (299 * px[0] + 587 * px[1] + 114 * px[2] + 500) / 1000;
}

std::uint8_t Clamp255(double v) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
}

std::uint8_t Channel(std::uint32_t rgb, int shift) {
  return static_cast<std::uint8_t>((rgb >> shift) & 0xFF);
}

// Contrast as a gain about mid grey: -100% flattens to grey, +100% is a
// step (capped).
double ContrastGain(long contrast) {
  double c = std::clamp(static_cast<double>(contrast) / 100000.0, -1.0, 1.0);
  return c <= 0 ? 1 + c : 1 / std::max(1 - c, 0.01);
}

// A VML fraction: "19661f" in 65536ths or a plain number.
std::optional<double> VmlFraction(const pugi::xml_node& node, const char* name) {
  std::string v = node.attribute(name).value();
  if (v.empty()) return std::nullopt;
  char* end = nullptr;
  double f = ParseDoubleC(v.c_str(), &end);
  if (!std::isfinite(f)) return std::nullopt;
  if (v.back() == 'f') f /= 65536.0;
  return f;
}

bool VmlTrue(const pugi::xml_node& node, const char* name) {
  std::string v = node.attribute(name).value();
  return v == "t" || v == "true" || v == "1";
}

}  // namespace

bool PictureEffects::Any() const {
  return colorChange || gain != 1 || blackLevel != 0 || grayscale || biLevel >= 0 || duotone ||
         alpha < 1;
}

std::string PictureEffects::Key() const {
  if (!Any()) return {};
  char key[160];
  std::snprintf(key, sizeof key, "|%d:%06x>%06x/%d|%.4f:%.4f|%d|%ld|%d:%06x:%06x|%.4f", colorChange,
                changeFrom, changeTo, changeToAlpha, gain, blackLevel, grayscale, biLevel, duotone,
                dark, light, alpha);
  return key;
}

PictureEffects ReadBlipEffects(const pugi::xml_node& blip, const draw::Palette& palette) {
  PictureEffects e;
  for (pugi::xml_node effect : blip.children()) {
    std::string_view name = LocalName(effect);
    if (name == "grayscl") {
      e.grayscale = true;
    } else if (name == "biLevel") {
      e.biLevel = std::clamp(AttrLong(effect, "thresh", 50000), 0L, 100000L);
    } else if (name == "lum") {
      // Brightness moves every channel by half its share of the range:
      // Word's washout (bright 70%, contrast -70%) stays a pale picture.
      e.gain = ContrastGain(AttrLong(effect, "contrast"));
      e.blackLevel =
          std::clamp(static_cast<double>(AttrLong(effect, "bright")) / 200000.0, -0.5, 0.5);
    } else if (name == "duotone") {
      std::optional<draw::Color> colors[2];
      int n = 0;
      for (pugi::xml_node c : effect.children()) {
        if (n == 2) break;
        if ((colors[n] = draw::ReadColor(c, palette))) ++n;
      }
      if (n == 2) {
        e.duotone = true;
        e.dark = colors[0]->rgb;
        e.light = colors[1]->rgb;
      }
    } else if (name == "clrChange") {
      auto from = draw::ReadChildColor(Child(effect, "clrFrom"), palette);
      auto to = draw::ReadChildColor(Child(effect, "clrTo"), palette);
      if (from && to) {
        e.colorChange = true;
        e.changeFrom = from->rgb;
        e.changeTo = to->rgb;
        e.changeToAlpha = Clamp255(to->alpha * 255);
      }
    } else if (name == "alphaModFix") {
      e.alpha =
          std::clamp(static_cast<double>(AttrLong(effect, "amt", 100000)) / 100000.0, 0.0, 1.0);
    }
  }
  return e;
}

PictureEffects ReadVmlEffects(const pugi::xml_node& imagedata) {
  PictureEffects e;
  e.grayscale = VmlTrue(imagedata, "grayscale");
  if (VmlTrue(imagedata, "bilevel")) e.biLevel = 50000;
  if (auto gain = VmlFraction(imagedata, "gain")) e.gain = std::clamp(*gain, 0.0, 100.0);
  if (auto black = VmlFraction(imagedata, "blacklevel"))
    e.blackLevel = std::clamp(*black, -1.0, 1.0);
  std::string key = imagedata.attribute("chromakey").value();
  if (auto rgb = draw::ParseCssColor(key); rgb && key != "none") {
    e.colorChange = true;
    e.changeFrom = e.changeTo = *rgb;
    e.changeToAlpha = 0;
  }
  return e;
}

void ApplyEffects(RgbaImage& image, const PictureEffects& e) {
  // Photographs rarely hold the exact colour made transparent: near
  // neighbours go with it, as compression leaves them.
  constexpr int kNear = 2;
  double offset = (0.5 - 0.5 * e.gain + e.blackLevel) * 255;
  for (std::size_t at = 0; at + 3 < image.pixels.size(); at += 4) {
    std::uint8_t* px = &image.pixels[at];
    if (e.colorChange && std::abs(px[0] - Channel(e.changeFrom, 16)) <= kNear &&
        std::abs(px[1] - Channel(e.changeFrom, 8)) <= kNear &&
        std::abs(px[2] - Channel(e.changeFrom, 0)) <= kNear) {
      px[0] = Channel(e.changeTo, 16);
      px[1] = Channel(e.changeTo, 8);
      px[2] = Channel(e.changeTo, 0);
      px[3] = static_cast<std::uint8_t>(px[3] * e.changeToAlpha / 255);
    }
    if (e.gain != 1 || e.blackLevel != 0) {
      for (int c = 0; c < 3; ++c) px[c] = Clamp255(px[c] * e.gain + offset);
    }
    if (e.biLevel >= 0) {
      std::uint8_t v = Luma(px) * 100000L >= e.biLevel * 255L ? 255 : 0;
      px[0] = px[1] = px[2] = v;
    } else if (e.duotone) {
      double l = Luma(px) / 255.0;
      for (int c = 0; c < 3; ++c) {
        int shift = 16 - 8 * c;
        px[c] = Clamp255(Channel(e.dark, shift) * (1 - l) + Channel(e.light, shift) * l);
      }
    } else if (e.grayscale) {
      px[0] = px[1] = px[2] = static_cast<std::uint8_t>(Luma(px));
    }
    if (e.alpha < 1) px[3] = Clamp255(px[3] * e.alpha);
  }
}

}  // namespace qp::word
