// Revision speed: the largest page Word saved in the corpus, and pages made
// by repeating a real body to about 1 MB and 8 MB. Prints MB/s, the time
// ratio 8 MB / 1 MB (linear growth gives about 8) and the slowest steps.
//
//   revise_bench [corpus-dir]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "revise/passes.h"
#include "text/codec.h"
#include "text/line_ends.h"

namespace {

namespace fs = std::filesystem;
// CPU time of this thread: the figures stay meaningful on a loaded machine.
struct Clock {
  using duration = std::chrono::nanoseconds;
  using time_point = std::chrono::time_point<Clock, duration>;
  static time_point now() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return time_point(duration(ts.tv_sec * 1000000000LL + ts.tv_nsec));
  }
};
using qp::Text;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream data;
  data << in.rdbuf();
  return data.str();
}

// As quillpage-revise reads a page: UTF-8 when marked so, else Shift-JIS;
// lone LF as CR LF.
Text Load(const fs::path& path) {
  std::string bytes = ReadBytes(path);
  Text text;
  if (bytes.starts_with("\xEF\xBB\xBF")) {
    text = qp::Utf8ToText(bytes.substr(3));
  } else if (bytes.substr(0, 4096).find("charset=utf-8") != std::string::npos) {
    text = qp::Utf8ToText(bytes);
  } else {
    text = qp::Cp932ToText(bytes);
  }
  return qp::LoneLfToCrLf(text);
}

double Megabytes(const Text& page) {
  return static_cast<double>(qp::TextToUtf8(page).size()) / 1e6;
}

struct StepTimes : qp::revise::StepObserver {
  Clock::time_point last = Clock::now();
  std::vector<double> seconds = std::vector<double>(27, 0.0);
  void AfterStep(int step, const qp::revise::RevisionState&) override {
    const auto now = Clock::now();
    seconds[static_cast<std::size_t>(step)] += std::chrono::duration<double>(now - last).count();
    last = now;
  }
};

qp::revise::PageInfoRecord Info() {
  qp::revise::PageInfoRecord info;
  info.LayoutGrid = 1;
  info.IndentFlag = 1;
  info.FontSizeFlag = 1;
  info.BodyMargin = 1;
  return info;
}

// Best of `runs` revisions, in seconds.
double Time(const Text& page, int runs, StepTimes* steps = nullptr) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    Text text = page;
    if (steps) steps->last = Clock::now();
    const auto start = Clock::now();
    qp::revise::Rev_Html_State(text, Info(), {}, steps);
    best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return best;
}

// The page with its body content repeated until it holds about `mb` MB.
Text Repeated(const Text& page, double mb) {
  const std::size_t body = page.find(u"<body");
  const std::size_t open = page.find(u'>', body) + 1;
  const std::size_t close = page.rfind(u"</body>");
  const Text content = page.substr(open, close - open);
  Text out = page.substr(0, open);
  const double each = Megabytes(content);
  for (double size = Megabytes(out); size < mb; size += each) out += content;
  out += page.substr(close);
  return out;
}

void Report(const char* name, const Text& page, double seconds) {
  const double mb = Megabytes(page);
  std::printf("%-34s %7.2f MB  %8.1f ms CPU %7.1f MB/s\n", name, mb, seconds * 1e3, mb / seconds);
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path corpus = fs::path(argc > 1 ? argv[1] : QP_CORPUS_DIR) / "wordhtml";
  fs::path largest;
  std::uintmax_t largestSize = 0;
  for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
    const auto ext = entry.path().extension();
    if (!entry.is_regular_file() || (ext != ".htm" && ext != ".html")) continue;
    if (entry.file_size() > largestSize) {
      largestSize = entry.file_size();
      largest = entry.path();
    }
  }
  if (largest.empty()) {
    std::fprintf(stderr, "no pages under %s\n", corpus.c_str());
    return 1;
  }
  fs::path donor = corpus / "matsumoto_KenichiMatsumotoJ" / "KenichiMatsumotoJ.htm";
  if (!fs::exists(donor)) donor = largest;

  const Text page = Load(largest);
  Report(largest.filename().c_str(), page, Time(page, 5));

  const Text base = Load(donor);
  const Text one = Repeated(base, 1.0);
  const Text eight = Repeated(base, 8.0);
  const double t1 = Time(one, 5);
  StepTimes steps;
  const double t8 = Time(eight, 2, &steps);
  Report(("1 MB of " + donor.filename().string()).c_str(), one, t1);
  Report(("8 MB of " + donor.filename().string()).c_str(), eight, t8);
  std::printf("time ratio 8 MB / 1 MB: %.2f (size ratio %.2f)\n", t8 / t1,
              Megabytes(eight) / Megabytes(one));
  std::printf("slowest steps on 8 MB:");
  std::vector<int> order;
  for (int i = 1; i <= 26; ++i) order.push_back(i);
  std::sort(order.begin(), order.end(),
            [&](int a, int b) { return steps.seconds[a] > steps.seconds[b]; });
  for (int i = 0; i < 6; ++i) std::printf(" %d:%.0fms", order[i], steps.seconds[order[i]] * 1e3);
  std::printf("\n");
  return 0;
}
