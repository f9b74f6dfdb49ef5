#include "generate/word/list_labels.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace qp::word {

namespace {

constexpr char16_t kAiueo[] =
    u"アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホマミムメモヤユヨラリルレロワヲン";
constexpr char16_t kIroha[] =
    u"イロハニホヘトチリヌルヲワカヨタレソツネナラムウヰノオクヤマケフコエテアサキユメミシヱヒモセ"
    u"スン";
constexpr char16_t kDigits[] = u"〇一二三四五六七八九";
constexpr char16_t kLegalDigits[] = u"〇壱弐参四伍六七八九";
constexpr char16_t kStems[] = u"甲乙丙丁戊己庚辛壬癸";
constexpr char16_t kZodiac[] = u"子丑寅卯辰巳午未申酉戌亥";

Text Decimal(long n) {
  return T(std::to_string(n));
}

Text Roman(long n, bool upper) {
  if (n <= 0 || n >= 4000) return Decimal(n);
  static constexpr std::pair<int, std::string_view> kParts[] = {
      {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
      {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
  std::string out;
  for (const auto& [value, text] : kParts) {
    while (n >= value) {
      out += text;
      n -= value;
    }
  }
  Text t = T(out);
  if (upper) {
    for (char16_t& c : t) c = static_cast<char16_t>(c - u'a' + u'A');
  }
  return t;
}

// Word repeats the letter past Z: A..Z, AA..ZZ, AAA...
Text Letter(long n, bool upper) {
  if (n <= 0) return Decimal(n);
  long repeat = (n - 1) / 26 + 1;
  char16_t c = static_cast<char16_t>((upper ? u'A' : u'a') + (n - 1) % 26);
  return Text(static_cast<std::size_t>(std::min(repeat, 100L)), c);
}

Text Cycle(long n, std::u16string_view table) {
  if (n <= 0) return Decimal(n);
  return Text(1, table[static_cast<std::size_t>(n - 1) % table.size()]);
}

Text FullWidth(long n) {
  Text t = Decimal(n);
  for (char16_t& c : t) {
    if (c >= u'0' && c <= u'9') c = static_cast<char16_t>(c - u'0' + u'０');
  }
  return t;
}

Text DigitByDigit(long n, std::u16string_view digits) {
  Text t = Decimal(n);
  for (char16_t& c : t) {
    if (c >= u'0' && c <= u'9') c = digits[static_cast<std::size_t>(c - u'0')];
  }
  return t;
}

// 一, 十, 十一, 二十三, 百五, 千二百, 一万...
Text Counting(long n, std::u16string_view digits) {
  if (n <= 0 || n >= 100000000) return Decimal(n);
  Text out;
  long man = n / 10000;
  if (man) out += Counting(man, digits) + u"万";
  n %= 10000;
  static constexpr std::pair<long, char16_t> kUnits[] = {{1000, u'千'}, {100, u'百'}, {10, u'十'}};
  for (const auto& [unit, sign] : kUnits) {
    long d = n / unit;
    if (d > 1) out += digits[static_cast<std::size_t>(d)];
    if (d > 0) out += sign;
    n %= unit;
  }
  if (n > 0) out += digits[static_cast<std::size_t>(n)];
  return out;
}

Text Enclosed(long n, char16_t first, long count) {
  if (n >= 1 && n <= count) return Text(1, static_cast<char16_t>(first + n - 1));
  return Decimal(n);
}

// Note marks: *, †, ‡, §, then each doubled, tripled...
Text Chicago(long n) {
  if (n <= 0) return Decimal(n);
  static constexpr char16_t kSigns[] = u"*†‡§";
  long repeat = std::min((n - 1) / 4 + 1, 100L);
  return Text(static_cast<std::size_t>(repeat), kSigns[(n - 1) % 4]);
}

Text Ordinal(long n) {
  long lastTwo = n % 100;
  const char* suffix = "th";
  if (lastTwo < 11 || lastTwo > 13) {
    if (n % 10 == 1) suffix = "st";
    if (n % 10 == 2) suffix = "nd";
    if (n % 10 == 3) suffix = "rd";
  }
  return Decimal(n) + T(suffix);
}

}  // namespace

Text FormatListNumber(long n, std::string_view format) {
  std::u16string_view aiueo(kAiueo), iroha(kIroha);
  if (format == "none" || format == "bullet") return {};
  if (format == "upperRoman") return Roman(n, true);
  if (format == "lowerRoman") return Roman(n, false);
  if (format == "upperLetter") return Letter(n, true);
  if (format == "lowerLetter") return Letter(n, false);
  if (format == "decimalZero") return n >= 0 && n < 10 ? u"0" + Decimal(n) : Decimal(n);
  if (format == "ordinal") return Ordinal(n);
  if (format == "chicago") return Chicago(n);
  if (format == "aiueo" || format == "aiueoFullWidth") return Cycle(n, aiueo);
  if (format == "iroha" || format == "irohaFullWidth") return Cycle(n, iroha);
  if (format == "decimalFullWidth" || format == "decimalFullWidth2") return FullWidth(n);
  if (format == "decimalEnclosedCircle" || format == "decimalEnclosedCircleChinese") {
    return Enclosed(n, u'①', 20);
  }
  if (format == "decimalEnclosedParen") return Enclosed(n, u'⑴', 20);
  if (format == "decimalEnclosedFullstop") return Enclosed(n, u'⒈', 20);
  if (format == "ideographDigital" || format == "japaneseDigitalTenThousand") {
    return DigitByDigit(n, kDigits);
  }
  if (format == "japaneseCounting" || format == "chineseCounting" ||
      format == "chineseCountingThousand" || format == "taiwaneseCounting") {
    return Counting(n, kDigits);
  }
  if (format == "japaneseLegal") return Counting(n, kLegalDigits);
  if (format == "ideographTraditional") return Cycle(n, kStems);
  if (format == "ideographZodiac") return Cycle(n, kZodiac);
  return Decimal(n);
}

LabelTab LabelTabAfter(TextView label, double fontPoints, double left, double firstStart,
                       double defaultTab, bool compressPunctuation) {
  static constexpr std::u16string_view kWidePunctuation =
      u"、。（）［］｛｝「」『』【】〔〕，．：；";
  double width = 0;
  for (char16_t c : label) {
    bool narrow = c < 0x1100 || (c >= 0xFF61 && c <= 0xFF9F);
    bool punctuation = c == u'.' || c == u',' || c == u'(' || c == u')' || c == u':' || c == u' ';
    double em = narrow ? (punctuation ? 0.3 : 0.55)
                : compressPunctuation && kWidePunctuation.find(c) != std::u16string_view::npos
                    ? 0.5
                    : 1.0;
    width += fontPoints * em;
  }
  double end = firstStart + width;
  // A label that just fills the hanging indent (an estimate) is taken to end on it.
  if (end <= left + 0.5) return {std::max(left - end, 0.0), true};
  if (defaultTab < 1) defaultTab = 36;
  double next = (std::floor(end / defaultTab) + 1) * defaultTab;
  return {next - end, false};
}

Text LabelTabFiller(double points) {
  long blanks = std::max(1L, std::lround(points / 1.75));
  Text out;
  for (long i = 1; i < std::min(blanks, 200L); ++i) out += u"&nbsp;";
  return out + u" ";
}

}  // namespace qp::word
