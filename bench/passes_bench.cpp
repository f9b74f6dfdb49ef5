// Times each markup-cleaning and style pass on a real page Word saved, its
// body repeated to about 1 MB and 8 MB, and prints MB/s and the time ratio
// 8 MB / 1 MB (about 8 when a pass is linear, 64 when it is quadratic).
//
//   passes_bench [PAGE]   (default: the largest page of the corpus)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "revise/passes.h"
#include "text/codec.h"

namespace {

using qp::Text;
using qp::revise::RevisionState;

Text ReadPage(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const bool utf8 = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
  const Text text =
      utf8 ? qp::Utf8ToText(std::string_view(bytes).substr(3)) : qp::Cp932ToText(bytes);
  Text out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out += u'\r';
    out += text[i];
  }
  return out;
}

std::filesystem::path LargestPage() {
  std::filesystem::path best;
  std::uintmax_t size = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(
           std::filesystem::path(QP_CORPUS_DIR) / "wordhtml")) {
    const auto ext = e.path().extension();
    if (e.is_regular_file() && (ext == ".htm" || ext == ".html") && e.file_size() > size) {
      size = e.file_size();
      best = e.path();
    }
  }
  return best;
}

// `head`, then `body` repeated to about `chars` characters, then `tail`.
Text Grow(const Text& head, const Text& body, const Text& tail, std::size_t chars) {
  Text out = head;
  while (out.size() < chars) out += body;
  return out + tail;
}

double Seconds(const std::function<void()>& f) {
  const auto t0 = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

struct Inputs {
  Text source, page, sheet;
};

}  // namespace

int main(int argc, char** argv) {
  const std::filesystem::path path = argc > 1 ? std::filesystem::path(argv[1]) : LargestPage();
  const Text raw = ReadPage(path);
  std::printf("page: %s (%zu characters)\n", path.string().c_str(), raw.size());

  // The pieces to repeat: the raw body for the markup removal, the cleaned
  // body for the page passes, the gathered rules for the unit conversion.
  const qp::Pos bodyAt = qp::InStr(raw, u"<body");
  const qp::Pos bodyOpenEnd = qp::InStr(bodyAt, raw, u">");
  const qp::Pos bodyEnd = qp::InStrRev(raw, u"</body>");
  if (bodyAt == 0 || bodyOpenEnd == 0 || bodyEnd <= bodyOpenEnd) {
    std::fprintf(stderr, "no body in the page\n");
    return 1;
  }
  const Text rawHead = qp::Left(raw, bodyOpenEnd);
  const Text rawBody = qp::Mid(raw, bodyOpenEnd + 1, bodyEnd - bodyOpenEnd - 1);
  RevisionState probe;
  probe.SourceText = u"<body>" + rawBody + u"</body>";
  qp::revise::Del_Xml_State(probe);
  const Text cleanBody = qp::Mid(probe.SourceText, 7, qp::Len(probe.SourceText) - 13);
  probe.PageText = probe.SourceText;
  qp::revise::Toget_Style(probe);
  const Text rules = probe.StyleSheetText.empty() ? Text(u"p {margin:0mm 0mm 1.5pt 2gd;}\r\n")
                                                  : probe.StyleSheetText;

  const auto sized = [&](std::size_t mb) {
    const std::size_t chars = mb << 20;
    return Inputs{
        Grow(rawHead, rawBody, u"</body></html>", chars),
        Grow(u"<body>\r\n<div class=WordSection1>\r\n", cleanBody, u"\r\n</div>\r\n</body>", chars),
        Grow(Text(), rules, Text(), chars)};
  };
  const Inputs small = sized(1);
  const Inputs large = sized(8);

  struct Case {
    const char* name;
    std::function<void(RevisionState&, const Inputs&)> run;
    Text Inputs::*input;
  };
  const Case cases[] = {
      {"Del_Xml_State",
       [](RevisionState& st, const Inputs& in) {
         st.SourceText = in.source;
         qp::revise::Del_Xml_State(st);
       },
       &Inputs::source},
      {"Del_Lines",
       [](RevisionState& st, const Inputs& in) {
         st.PageText = in.page;
         qp::revise::Del_Lines(st);
       },
       &Inputs::page},
      {"Rev_IEE_Style",
       [](RevisionState& st, const Inputs& in) {
         st.PageText = in.page;
         qp::revise::Rev_IEE_Style(st);
       },
       &Inputs::page},
      {"Toget_Style",
       [](RevisionState& st, const Inputs& in) {
         st.PageText = in.page;
         qp::revise::Toget_Style(st);
       },
       &Inputs::page},
      {"Set_Quote",
       [](RevisionState& st, const Inputs& in) {
         st.PageText = in.page;
         qp::revise::Set_Quote(st);
       },
       &Inputs::page},
      {"Rev_BrTag",
       [](RevisionState& st, const Inputs& in) {
         st.PageText = in.page;
         qp::revise::Rev_BrTag(st);
       },
       &Inputs::page},
      {"Set_Indent",
       [](RevisionState& st, const Inputs& in) {
         st.PageText = in.page;
         qp::revise::Set_Indent(st);
       },
       &Inputs::page},
      {"Rev_Unit",
       [](RevisionState& st, const Inputs& in) {
         st.StyleSheetText = in.sheet;
         qp::revise::Rev_Unit(st);
       },
       &Inputs::sheet},
  };

  std::printf("%-14s %10s %10s %10s %10s %7s\n", "pass", "1MB ms", "1MB MB/s", "8MB ms", "8MB MB/s",
              "ratio");
  for (const Case& c : cases) {
    double t[2];
    double mb[2];
    const Inputs* in[2] = {&small, &large};
    for (int k = 0; k < 2; ++k) {
      mb[k] = static_cast<double>((in[k]->*c.input).size() * 2) / (1 << 20);  // UTF-16 bytes
      t[k] = 1e9;
      for (int run = 0; run < 3; ++run) {  // best of three: the machine is shared
        RevisionState st;
        t[k] = std::min(t[k], Seconds([&] {
                          try {
                            c.run(st, *in[k]);
                          } catch (const std::exception& e) {
                            std::printf("  %s failed: %s\n", c.name, e.what());
                          }
                        }));
      }
    }
    std::printf("%-14s %10.1f %10.1f %10.1f %10.1f %7.2f\n", c.name, t[0] * 1e3, mb[0] / t[0],
                t[1] * 1e3, mb[1] / t[1], t[1] / t[0]);
  }
  return 0;
}
