// Colour effects reach the picture's pixels: each effect is read from the
// document's own markup and checked on the decoded result.
#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "generate/word/picture_effects.h"
#include "generate/word/rgba_image.h"
#include "tests/word/docx_builder.h"
#include "tests/word/word_test_support.h"
#include "text/codec.h"

namespace qp::word {
namespace {

// Red, green, blue, white, black, mid grey and a light yellow, opaque.
RgbaImage Swatches() {
  RgbaImage image;
  const std::uint32_t colors[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF,
                                  0x000000, 0x808080, 0xFFF0A0};
  for (std::uint32_t rgb : colors) {
    image.pixels.insert(image.pixels.end(),
                        {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                         static_cast<std::uint8_t>(rgb), 255});
  }
  image.width = 7;
  image.height = 1;
  return image;
}

// The effects of a DrawingML blip (its children given) or of a VML
// imagedata (its attributes given), applied to the swatches.
RgbaImage Blip(const std::string& children) {
  pugi::xml_document doc;
  doc.load_string(("<a:blip xmlns:a='a'>" + children + "</a:blip>").c_str());
  RgbaImage image = Swatches();
  ApplyEffects(image, ReadBlipEffects(doc.first_child(), draw::Palette{}));
  return image;
}

RgbaImage Vml(const std::string& attributes) {
  pugi::xml_document doc;
  doc.load_string(("<v:imagedata " + attributes + "/>").c_str());
  RgbaImage image = Swatches();
  ApplyEffects(image, ReadVmlEffects(doc.first_child()));
  return image;
}

const std::uint8_t* Px(const RgbaImage& image, int i) {
  return &image.pixels[i * 4];
}

TEST(PictureEffects, GrayscaleAndBlackAndWhite) {
  for (const RgbaImage& gray : {Blip("<a:grayscl/>"), Vml("grayscale='t'")}) {
    for (int i = 0; i < 7; ++i) {
      EXPECT_EQ(Px(gray, i)[0], Px(gray, i)[1]) << i;
      EXPECT_EQ(Px(gray, i)[1], Px(gray, i)[2]) << i;
    }
    // Luminance, not an average: green is lighter than red, red than blue.
    EXPECT_GT(Px(gray, 1)[0], Px(gray, 0)[0]);
    EXPECT_GT(Px(gray, 0)[0], Px(gray, 2)[0]);
    EXPECT_EQ(Px(gray, 3)[0], 255);
  }
  for (const RgbaImage& bw : {Blip("<a:biLevel thresh='50000'/>"), Vml("bilevel='t'")}) {
    std::set<int> values;
    for (int i = 0; i < 7; ++i) values.insert({Px(bw, i)[0], Px(bw, i)[1], Px(bw, i)[2]});
    EXPECT_EQ(values, (std::set<int>{0, 255}));
    EXPECT_EQ(Px(bw, 1)[0], 255);  // green is light
    EXPECT_EQ(Px(bw, 2)[0], 0);    // blue is dark
  }
  // The threshold moves the cut: at 10% only black stays black.
  RgbaImage low = Blip("<a:biLevel thresh='10000'/>");
  EXPECT_EQ(Px(low, 2)[0], 255);
  EXPECT_EQ(Px(low, 4)[0], 0);
}

TEST(PictureEffects, WashoutBrightnessAndContrast) {
  // Word's washout, and the same as VML writes it: a pale picture that
  // keeps its order of lightness.
  for (const RgbaImage& washed : {Blip("<a:lum bright='70000' contrast='-70000'/>"),
                                  Vml("gain='19661f' blacklevel='22938f'")}) {
    EXPECT_GE(Px(washed, 4)[0], 170);  // black is now a light grey
    EXPECT_LT(Px(washed, 4)[0], Px(washed, 5)[0]);
    EXPECT_LT(Px(washed, 5)[0], Px(washed, 3)[0]);
  }
  RgbaImage brighter = Blip("<a:lum bright='40000'/>");
  EXPECT_GT(Px(brighter, 5)[0], 0x80);
  EXPECT_EQ(Px(brighter, 3)[0], 255);
  // More contrast pushes mid tones apart; less pulls them to grey.
  RgbaImage strong = Blip("<a:lum contrast='60000'/>");
  EXPECT_EQ(Px(strong, 0)[0], 255);
  EXPECT_EQ(Px(strong, 4)[0], 0);
  RgbaImage flat = Blip("<a:lum contrast='-100000'/>");
  EXPECT_EQ(Px(flat, 3)[0], Px(flat, 4)[0]);
}

TEST(PictureEffects, RecolourTransparentColourAndAlpha) {
  // Duotone: black takes the dark colour, white the light one.
  RgbaImage duo = Blip("<a:duotone><a:srgbClr val='003366'/><a:srgbClr val='FFEEDD'/></a:duotone>");
  EXPECT_EQ(std::vector<int>(Px(duo, 4), Px(duo, 4) + 3), (std::vector<int>{0x00, 0x33, 0x66}));
  EXPECT_EQ(std::vector<int>(Px(duo, 3), Px(duo, 3) + 3), (std::vector<int>{0xFF, 0xEE, 0xDD}));
  // The colour made transparent goes, every other stays opaque.
  for (const RgbaImage& keyed :
       {Blip("<a:clrChange><a:clrFrom><a:srgbClr val='FFFFFF'/></a:clrFrom><a:clrTo>"
             "<a:srgbClr val='FFFFFF'><a:alpha val='0'/></a:srgbClr></a:clrTo></a:clrChange>"),
        Vml("chromakey='white'")}) {
    for (int i = 0; i < 7; ++i) EXPECT_EQ(Px(keyed, i)[3], i == 3 ? 0 : 255) << i;
  }
  RgbaImage half = Blip("<a:alphaModFix amt='50000'/>");
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Px(half, i)[3], 128) << i;
  // No effect, unknown effects and hostile values leave a valid picture.
  EXPECT_EQ(Blip("<a:extLst/>").pixels, Swatches().pixels);
  EXPECT_FALSE(ReadBlipEffects(pugi::xml_node(), draw::Palette{}).Any());
  RgbaImage wild =
      Blip("<a:lum bright='-9999999999' contrast='99999999'/><a:alphaModFix amt='-5'/>");
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Px(wild, i)[3], 0);
}

TEST(PictureEffects, JpegStaysJpegUnlessItBecomesTransparent) {
  RgbaImage photo;
  photo.width = photo.height = 16;
  for (std::uint32_t i = 0; i < 256; ++i) {
    photo.pixels.insert(photo.pixels.end(), {static_cast<std::uint8_t>(i),
                                             static_cast<std::uint8_t>(255 - i), 200, 255});
  }
  const std::string jpeg = EncodeJpeg(photo, 60, false);
  RgbaImage back;
  JpegInfo info;
  ASSERT_TRUE(DecodeJpeg(jpeg, back, info));
  EXPECT_NEAR(info.quality, 60, 1);  // the quality it is written again at

  PictureEffects gray;
  gray.grayscale = true;
  const char* ext = "jpg";
  std::string out = EditPicture(jpeg, {}, gray, ext);
  EXPECT_EQ(std::string(ext), "jpg");
  ASSERT_TRUE(DecodeJpeg(out, back, info));
  EXPECT_TRUE(info.gray);
  EXPECT_NEAR(info.quality, 60, 1);

  PictureEffects faded;
  faded.alpha = 0.5;
  out = EditPicture(jpeg, {0, 0, 50000, 0}, faded, ext);
  EXPECT_EQ(std::string(ext), "png");
  ASSERT_TRUE(DecodePng(out, back));
  EXPECT_EQ(back.width, 8u);  // cropped in the same pass
  EXPECT_EQ(back.pixels[3], 128);

  // A crop alone goes a row at a time: the same bytes as the whole
  // picture decoded, cut and encoded, in colour and in gray.
  ext = "jpg";
  const std::string grayJpeg = EditPicture(jpeg, {}, gray, ext);
  for (const std::string& source : {jpeg, grayJpeg}) {
    const Crop cut{10000, 20000, 30000, 5000};
    RgbaImage whole;
    ASSERT_TRUE(DecodeJpeg(source, whole, info));
    ASSERT_TRUE(CropImage(whole, cut));
    EXPECT_EQ(CropPicture(source, ImageKind::Jpeg, cut), EncodeJpeg(whole, 85, info.gray));
  }

  // A GIF, or a broken picture, is copied as it is.
  ext = "gif";
  EXPECT_EQ(EditPicture(test::TinyGif(), {}, gray, ext), test::TinyGif());
  EXPECT_EQ(std::string(ext), "gif");
}

TEST(PictureEffects, EachVariantOfAPictureIsAFileOfItsOwn) {
  test::DocxBuilder b = test::ExampleDocument("");
  b.Part("word/media/a.png", test::TinyPng());
  std::string id = b.Relate("image", "media/a.png");
  auto pic = [&](const std::string& effects) {
    return "<w:r><w:drawing><wp:inline><wp:extent cx=\"952500\" cy=\"476250\"/><a:graphic>"
           "<a:graphicData><pic:pic><pic:blipFill><a:blip r:embed=\"" +
           id + "\">" + effects +
           "</a:blip></pic:blipFill></pic:pic></a:graphicData></a:graphic></wp:inline>"
           "</w:drawing></w:r>";
  };
  b.Body("<w:p>" + pic("") + pic("<a:grayscl/>") + pic("<a:grayscl/>") + pic("<a:biLevel/>") +
         pic("<a:extLst/>") + "</w:p>");
  DocxContent content(b.Build());
  RenderedPage page = RenderHtml(content, {}, u"doc", u"utf-8");
  ASSERT_EQ(page.pictures.size(), 3u);
  EXPECT_EQ(page.pictures[0].bytes, test::TinyPng());
  std::string html = TextToUtf8(page.html);
  EXPECT_EQ(html.find("image004"), std::string::npos);
  // The last picture has no effect that changes it: the first file again.
  EXPECT_EQ(html.rfind("src=\"doc.files/image001.png\""), html.rfind("src="));
}

}  // namespace
}  // namespace qp::word
