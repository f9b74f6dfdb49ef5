// Every chart part, SmartArt drawing and top-level shape of the corpus's
// .docx files through the drawing library: what was drawn, what became a
// placeholder, how many geometries fell back to a rectangle, how many preset
// geometries (DrawingML's, and those VML shape types are drawn as) were drawn
// as a simpler figure than their definition (by name), and the time.
//
//   draw_sweep_bench [corpus-dir] [svg-out-dir]
//
// With an output folder the SVGs are written there for looking at (and for
// bench/draw_sweep.sh to hand to librsvg).
#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "draw/chart.h"
#include "draw/shape.h"
#include "draw/shape_context.h"
#include "draw/shape_geometry.h"
#include "generate/word/zip_archive.h"
#include "text/style_length.h"

namespace {

namespace fs = std::filesystem;

struct Tally {
  int parts = 0, drawn = 0, placeholders = 0, unknown = 0, approximate = 0, failed = 0;
  double ms = 0;
  std::map<std::string, int> notes, approximations;
};

std::string Local(const char* name) {
  std::string_view n = name;
  const auto colon = n.find(':');
  return std::string(colon == std::string_view::npos ? n : n.substr(colon + 1));
}

bool IsVml(pugi::xml_node n) {
  return std::string_view(n.name()).substr(0, 2) == "v:";
}

// The preset geometries under n that are drawn approximately: DrawingML's
// prstGeom, and the presets VML shapes are drawn as.
void CountApproximations(pugi::xml_node n, Tally& t) {
  for (pugi::xml_node c : n.children()) {
    std::string prst;
    if (Local(c.name()) == "prstGeom") prst = c.attribute("prst").value();
    if (IsVml(c) && qp::draw::IsVmlShape(c)) prst = qp::draw::VmlPreset(c);
    if (qp::draw::PresetIsApproximate(prst)) {
      ++t.approximate;
      ++t.approximations[IsVml(c) ? prst + " (VML)" : prst];
    }
    CountApproximations(c, t);
  }
}

void CountApproximations(const std::string& xml, Tally& t) {
  pugi::xml_document doc;
  if (doc.load_buffer(xml.data(), xml.size())) CountApproximations(doc, t);
}

// Top-level drawings of a story part, serialised with the root's namespace
// declarations, with the size their container gives them in px.
struct Found {
  std::string xml;
  double w = 0, h = 0;
};

void Collect(pugi::xml_node n, const pugi::xml_node root, double w, double h,
             std::vector<Found>& out) {
  for (pugi::xml_node c : n.children()) {
    const std::string name = Local(c.name());
    if (name == "Fallback") continue;  // the choice beside it is drawn
    double cw = w, ch = h;
    if (name == "inline" || name == "anchor") {
      const pugi::xml_node ext = c.child("wp:extent");
      cw = ext.attribute("cx").as_double() / qp::kEmuPerPx;
      ch = ext.attribute("cy").as_double() / qp::kEmuPerPx;
    }
    const bool dml = name == "wsp" || name == "wgp" || name == "wpc";
    const bool vml = IsVml(c) && (name == "shape" || name == "rect" || name == "roundrect" ||
                                  name == "oval" || name == "line" || name == "group");
    // pictures in VML frames go the picture's way
    if (vml && c.find_child([](pugi::xml_node k) { return Local(k.name()) == "imagedata"; }))
      continue;
    if (dml || vml) {
      pugi::xml_document doc;
      pugi::xml_node copy = doc.append_copy(c);
      for (pugi::xml_attribute a : root.attributes())
        if (std::string_view(a.name()).substr(0, 6) == "xmlns:" && !copy.attribute(a.name()))
          copy.append_attribute(a.name()) = a.value();
      std::ostringstream s;
      doc.save(s, "", pugi::format_raw);
      if (vml) std::tie(cw, ch) = qp::draw::VmlSize(c);  // from the style
      out.push_back({s.str(), cw, ch});
      continue;
    }
    Collect(c, root, cw, ch, out);
  }
}

// CPU time of this thread: the figures stay meaningful on a loaded machine.
double CpuMs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

template <typename F>
void Run(Tally& t, const std::string& label, const std::string& outDir, F draw) {
  ++t.parts;
  const double start = CpuMs();
  const qp::draw::Drawing d = draw();
  t.ms += CpuMs() - start;
  if (d.svg.empty()) {
    ++t.failed;
    ++t.notes[d.note];
  } else if (!d.note.empty()) {
    ++t.placeholders;
    ++t.notes[d.note];
  } else {
    ++t.drawn;
  }
  t.unknown += d.unknownGeometries;
  if (!outDir.empty() && !d.svg.empty()) std::ofstream(outDir + "/" + label + ".svg") << d.svg;
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path corpus = argc > 1 ? argv[1] : QP_CORPUS_DIR;
  const std::string outDir = argc > 2 ? argv[2] : "";
  if (!outDir.empty()) fs::create_directories(outDir);
  const qp::draw::Palette palette;
  Tally charts, smartart, shapes;
  std::vector<fs::path> files;
  for (const auto& e : fs::directory_iterator(corpus / "docx"))
    if (e.path().extension() == ".docx") files.push_back(e.path());
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), {});
    try {
      qp::word::ZipArchive zip(std::move(bytes));
      const std::string stem = file.stem().string();
      int n = 0;
      for (const std::string& part : zip.Names()) {
        const std::string base = part.substr(part.rfind('/') + 1);
        const std::string label = stem + "." + std::to_string(++n);
        if (part.rfind("word/charts/chart", 0) == 0 && part.find('/', 12) == std::string::npos) {
          const std::string xml = zip.Read(part);
          Run(charts, label + ".chart", outDir,
              [&] { return qp::draw::ChartSvg(xml, palette, 576, 336); });
        } else if (part.rfind("word/diagrams/drawing", 0) == 0) {
          const std::string xml = zip.Read(part);
          Run(smartart, label + ".smartart", outDir,
              [&] { return qp::draw::ShapeSvg(xml, palette, 576, 336); });
          CountApproximations(xml, smartart);
        } else if (part == "word/document.xml" || base.rfind("header", 0) == 0 ||
                   base.rfind("footer", 0) == 0) {
          const std::string xml = zip.Read(part);
          pugi::xml_document doc;
          if (!doc.load_buffer(xml.data(), xml.size())) continue;
          std::vector<Found> found;
          Collect(doc.document_element(), doc.document_element(), 0, 0, found);
          int k = 0;
          for (const Found& f : found) {
            Run(shapes, label + ".shape" + std::to_string(++k), outDir, [&] {
              return qp::draw::ShapeSvg(f.xml, palette, f.w > 0 ? f.w : 200, f.h > 0 ? f.h : 100);
            });
            CountApproximations(f.xml, shapes);
          }
        }
      }
    } catch (...) {
      // packages the engine refuses are the engine's tests' business
    }
  }
  // unknown: preset geometries drawn as their bounding rectangle; approx:
  // presets drawn as a simpler figure, VML shapes by the preset they are
  // drawn as
  std::printf("%-10s %6s %6s %12s %7s %8s %7s %9s\n", "kind", "parts", "drawn", "placeholders",
              "failed", "unknown", "approx", "cpu ms");
  auto row = [](const char* name, const Tally& t) {
    std::printf("%-10s %6d %6d %12d %7d %8d %7d %9.1f\n", name, t.parts, t.drawn, t.placeholders,
                t.failed, t.unknown, t.approximate, t.ms);
    for (const auto& [note, count] : t.notes) std::printf("    %3d  %s\n", count, note.c_str());
    for (const auto& [prst, count] : t.approximations)
      std::printf("    %3d  drawn approximately: %s\n", count, prst.c_str());
  };
  row("charts", charts);
  row("smartart", smartart);
  row("shapes", shapes);
  return 0;
}
