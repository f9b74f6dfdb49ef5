// Every EMF picture of the corpus's .docx files that carries EMF+ records
// through the EMF+ player: whether it drew, the SVG's size and the time.
//
//   emfplus_sweep_bench [corpus-dir] [out-dir]
//
// With an output folder each picture's SVG (played without its GDI part)
// and PNG (as the page gets it, at 96 dpi of its frame) are written there
// for looking at.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "draw/emfplus.h"
#include "draw/picture.h"
#include "generate/word/zip_archive.h"
#include "text/file_bytes.h"

namespace {

namespace fs = std::filesystem;

std::int32_t Le32(const std::string& b, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 4; i-- > 0;) v = v << 8 | static_cast<std::uint8_t>(b[at + i]);
  return static_cast<std::int32_t>(v);
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  const fs::path corpus = argc > 1 ? fs::path(argv[1]) : fs::path(QP_CORPUS_DIR) / "docx";
  const fs::path out = argc > 2 ? fs::path(argv[2]) : fs::path();
  if (!out.empty()) fs::create_directories(out);
  qp::draw::Drawer drawer;
  int pictures = 0, drawn = 0;
  double seconds = 0;
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    if (entry.path().extension() == ".docx" || entry.path().extension() == ".emf") {
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  for (const fs::path& file : files) {
    std::error_code error;
    std::optional<std::string> bytes = qp::ReadFileBytes(file, error);
    if (!bytes) continue;
    try {
      // a loose .emf stands for itself; a .docx for the metafiles it holds
      const bool loose = file.extension() == ".emf";
      std::optional<qp::word::ZipArchive> zip;
      if (!loose) zip.emplace(std::move(*bytes));
      const std::vector<std::string> parts =
          loose ? std::vector<std::string>{"picture.emf"} : zip->Names();
      for (const std::string& part : parts) {
        if (!part.ends_with(".emf")) continue;
        const std::string emf = loose ? *bytes : zip->Read(part);
        if (emf.size() < 88 || emf.find("EMF+") == std::string::npos) continue;
        ++pictures;
        // the frame (hundredths of a millimetre) at 96 dpi
        const double width = (Le32(emf, 32) - Le32(emf, 24)) / 2540.0 * 96;
        const double height = (Le32(emf, 36) - Le32(emf, 28)) / 2540.0 * 96;
        const auto start = std::chrono::steady_clock::now();
        std::optional<std::string> svg =
            qp::draw::EmfPlusToSvg(emf, static_cast<int>(width), static_cast<int>(height));
        qp::draw::Picture picture = drawer.Metafile(emf, width, height);
        const double took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        seconds += took;
        if (svg) ++drawn;
        std::string name =
            file.stem().string() + (loose ? "" : "_" + fs::path(part).stem().string());
        std::printf("%-60s %s svg %7zu B  %6.1f ms  %s\n", name.c_str(), svg ? "drawn" : "GDI  ",
                    svg ? svg->size() : 0, took * 1000, picture.note.c_str());
        if (!out.empty()) {
          if (svg) Write(out / (name + ".svg"), *svg);
          Write(out / (name + ".png"), picture.png);
          Write(out / (name + ".emf"), emf);
        }
      }
    } catch (...) {
      // not a zip: nothing to sweep
    }
  }
  std::printf("EMF+ pictures %d, drawn from their EMF+ records %d, %.2f s\n", pictures, drawn,
              seconds);
  return 0;
}
