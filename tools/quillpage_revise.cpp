// quillpage-revise: revises an HTML page that Word saved into the finished
// page, as the generation run does after Word's export.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "revise/passes.h"
#include "text/codec.h"
#include "text/failure.h"
#include "text/failure_report.h"
#include "text/file_bytes.h"
#include "text/line_ends.h"
#include "text/link_target.h"
#include "text/number.h"
#include "text/page_charset.h"

namespace {

namespace fs = std::filesystem;
using qp::Bytes;
using qp::Text;

constexpr const char* kUsage =
    "usage: quillpage-revise [options] INPUT OUTPUT\n"
    "\n"
    "Revises an HTML page that Word saved (Save as Web Page) into a clean\n"
    "HTML 4.01 Transitional page. INPUT is read in the encoding it declares:\n"
    "UTF-8 after a UTF-8 byte-order mark, else the charset of its Content-Type\n"
    "meta element; Shift-JIS (code page 932) when it declares none.\n"
    "OUTPUT is written in Shift-JIS (characters without a Shift-JIS form as\n"
    "&#N; references) followed by CR LF, or in UTF-8 with a byte-order mark\n"
    "with --utf8. \"-\" stands for standard input or output. Lone LF line ends\n"
    "of the input are read as CR LF.\n"
    "\n"
    "options:\n"
    "  --title T           page title\n"
    "  --keywords K        content of the keywords meta element\n"
    "  --description D     content of the description meta element\n"
    "  --centering         centre the page\n"
    "  --fix-width         give the page a fixed width (see --text-width)\n"
    "  --no-layout-grid    drop Word's layout-grid line pitch\n"
    "  --text-width PT     width of the text in points (default 0)\n"
    "  --utf8              write UTF-8 and declare charset=utf-8\n"
    "  --input-utf8        read INPUT as UTF-8, whatever it declares\n"
    "  --external-css      link the external style sheet qp.css\n"
    "  --no-indent         do not indent the markup\n"
    "  --no-font-size      keep class font sizes in points\n"
    "  --dump-steps DIR    write the buffers after every revision step into DIR\n"
    "  --help              show this text\n"
    "\n"
    "Links other than http:, https:, mailto:, ftp:, fragments and relative\n"
    "paths (javascript:, data:, file:, ...) lose the link and keep the text.\n"
    "\n"
    "exit status: 0 success; 1 usage or file error; 2 the revision failed\n"
    "(the failure report on standard error).\n";

struct Options {
  qp::revise::PageInfoRecord info;
  qp::revise::RevisionContext context;
  bool inputUtf8 = false;
  std::string dumpDir;
  std::string input;
  std::string output;
};

Text FromArg(const char* arg) {
  return qp::Utf8ToText(arg);
}

// Returns the options, or nothing after printing why they are unusable.
std::optional<Options> ParseArgs(int argc, char** argv, bool& help) {
  Options o;
  o.info.LayoutGrid = 1;
  o.info.IndentFlag = 1;
  o.info.FontSizeFlag = 1;
  o.info.BodyMargin = 1;  // page assembly fills the margins with 0
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    const auto value = [&]() -> const char* {
      if (i + 1 >= argc) return nullptr;
      return argv[++i];
    };
    const char* v = nullptr;
    if (a == "--help" || a == "-h") {
      help = true;
      return std::nullopt;
    } else if (a == "--title" || a == "--keywords" || a == "--description" || a == "--text-width" ||
               a == "--dump-steps") {
      if ((v = value()) == nullptr) {
        std::cerr << "quillpage-revise: " << a << " needs a value\n";
        return std::nullopt;
      }
      if (a == "--title") o.info.PageTitle = FromArg(v);
      if (a == "--keywords") o.info.PageKeywords = FromArg(v);
      if (a == "--description") o.info.PageDescription = FromArg(v);
      if (a == "--dump-steps") o.dumpDir = v;
      if (a == "--text-width") {
        const auto width = qp::ParseDecimal(FromArg(v));
        if (!width) {
          std::cerr << "quillpage-revise: --text-width needs a number of points\n";
          return std::nullopt;
        }
        o.info.TextWidth = static_cast<float>(*width);
      }
    } else if (a == "--centering") {
      o.info.Centering = 1;
    } else if (a == "--fix-width") {
      o.info.FixWidth = 1;
    } else if (a == "--no-layout-grid") {
      o.info.LayoutGrid = 0;
    } else if (a == "--utf8") {
      o.context.Encod = 1;
    } else if (a == "--input-utf8") {
      o.inputUtf8 = true;
    } else if (a == "--external-css") {
      o.context.AddSS = 1;
    } else if (a == "--no-indent") {
      o.info.IndentFlag = 0;
    } else if (a == "--no-font-size") {
      o.info.FontSizeFlag = 0;
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      std::cerr << "quillpage-revise: unknown option " << a << "\n";
      return std::nullopt;
    } else {
      files.push_back(a);
    }
  }
  if (files.size() != 2) {
    std::cerr << "quillpage-revise: give INPUT and OUTPUT (see --help)\n";
    return std::nullopt;
  }
  o.input = files[0];
  o.output = files[1];
  return o;
}

std::optional<Bytes> ReadAll(const std::string& name) {
  std::error_code ec;
  return qp::ReadFileBytes(name == "-" ? fs::path("/dev/stdin") : fs::path(name), ec);
}

bool WriteAll(const std::string& name, const Bytes& bytes) {
  if (name == "-") {
    std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    std::cout.flush();
    return static_cast<bool>(std::cout);
  }
  std::ofstream out(name, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return static_cast<bool>(out);
}

Text Decode(const Bytes& bytes, bool utf8) {
  constexpr std::string_view kBom = "\xEF\xBB\xBF";
  if (!utf8) return qp::DecodeDeclared(bytes);
  std::string_view text = bytes;
  if (text.starts_with(kBom)) text.remove_prefix(kBom.size());
  return qp::Utf8ToText(text);
}

// The page as the program writes it: Shift-JIS and a closing CR LF; UTF-8
// is made from those bytes, so it holds the same references.
Bytes Encode(const Text& page, bool utf8) {
  Bytes sjis = qp::TextToCp932(page);
  sjis += "\r\n";
  if (!utf8) return sjis;
  return "\xEF\xBB\xBF" + qp::TextToUtf8(qp::Cp932ToText(sjis));
}

class DumpSteps : public qp::revise::StepObserver {
 public:
  explicit DumpSteps(fs::path dir) : dir_(std::move(dir)) {}
  void AfterStep(int step, const qp::revise::RevisionState& st) override {
    char name[32];
    std::snprintf(name, sizeof name, "step%02d.txt", step);
    std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
    const auto section = [&](const char* title, const Text& text) {
      out << "==== " << title << " ====\n" << qp::TextToUtf8(text) << "\n";
    };
    section("SourceText", st.SourceText);
    section("HeadText", st.HeadText);
    section("StyleSheetText", st.StyleSheetText);
    section("PageText", st.PageText);
  }

 private:
  fs::path dir_;
};

void PrintFailure(const qp::Failure& f) {
  std::cerr << qp::TextToUtf8(qp::Replace(qp::FailureReportText(f), u"\r\n", u"\n"));
  if (!f.description().empty()) std::cerr << qp::TextToUtf8(f.description()) << "\n";
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a == "-" || b == "-") return false;
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

}  // namespace

int main(int argc, char** argv) {
  bool help = false;
  const std::optional<Options> parsed = ParseArgs(argc, argv, help);
  if (help) {
    std::cout << kUsage;
    return 0;
  }
  if (!parsed) return 1;
  const Options& o = *parsed;
  if (SameFile(o.input, o.output)) {
    std::cerr << "quillpage-revise: OUTPUT is INPUT; the input is never overwritten\n";
    return 1;
  }
  const std::optional<Bytes> bytes = ReadAll(o.input);
  if (!bytes) {
    std::cerr << "quillpage-revise: cannot read " << o.input << "\n";
    return 1;
  }
  std::optional<DumpSteps> dump;
  if (!o.dumpDir.empty()) {
    std::error_code ec;
    fs::create_directories(o.dumpDir, ec);
    if (ec) {
      std::cerr << "quillpage-revise: cannot create " << o.dumpDir << ": " << ec.message() << "\n";
      return 1;
    }
    dump.emplace(o.dumpDir);
  }
  Text page = qp::LoneLfToCrLf(Decode(*bytes, o.inputUtf8));
  try {
    qp::revise::Rev_Html_State(page, o.info, o.context, dump ? &*dump : nullptr);
  } catch (const qp::Failure& f) {
    PrintFailure(f);
    return 2;
  }
  // The page goes onto a web site: a script, data or local-file link of the
  // Word page loses its link and keeps its text.
  for (const Text& target : qp::DropUnsafeLinks(page)) {
    std::cerr << "quillpage-revise: link to \"" << qp::TextToUtf8(target) << "\" left out\n";
  }
  if (!WriteAll(o.output, Encode(page, o.context.Encod == 1))) {
    std::cerr << "quillpage-revise: cannot write " << o.output << "\n";
    return 1;
  }
  return 0;
}
