#include "generate/word/html_export.h"

#include <fstream>
#include <optional>

#include "generate/word/body_writer.h"
#include "generate/word/head_writer.h"
#include "text/codec.h"
#include "text/failure.h"

namespace qp::word {

namespace {

// Every file of the export goes through here: one that does not reach the
// disk whole fails the export with `failure`.
void WriteChecked(const std::filesystem::path& file, std::string_view bytes, const char* failure) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) Raise(err::kSaveFailed, T(failure));
}

}  // namespace

RenderedPage RenderHtml(DocxContent& doc, const StyleFonts& fonts, const Text& stem,
                        TextView charset, draw::Drawer* drawer) {
  std::optional<draw::Drawer> own;
  if (drawer == nullptr) drawer = &own.emplace();
  ExportState state(doc, stem, *drawer);
  state.shiftJis = charset == u"shift_jis";
  // The body goes first: the head lists the styles and pictures it used.
  BodyWriter body(state);
  Text bodyText = body.Write();
  Text html = WriteHead(state, fonts, charset) + bodyText;
  return {std::move(html), state.pictures.Files(), state.notes.Take()};
}

void ExportHtml(DocxContent& doc, const StyleFonts& fonts, const WebOptions& options,
                const std::filesystem::path& fileName, Notes& notes, draw::Drawer& drawer) {
  bool shiftJis = options.Encoding == 932;
  Text stem = FromPath(fileName.stem());
  RenderedPage page = RenderHtml(doc, fonts, stem, shiftJis ? u"shift_jis" : u"utf-8", &drawer);
  for (Text& note : page.notes) notes.Add(std::move(note));
  Bytes bytes = shiftJis ? TextToCp932(page.html) : TextToUtf8(page.html);
  WriteChecked(fileName, bytes, "The page cannot be written.");
  if (page.pictures.empty()) return;
  std::filesystem::path folder = fileName.parent_path() / (fileName.stem().native() + ".files");
  std::error_code ec;
  // Never written through: a link there would send the pictures elsewhere.
  if (std::filesystem::is_symlink(std::filesystem::symlink_status(folder, ec))) {
    Raise(err::kSaveFailed, T("The folder for the pictures is a symbolic link."));
  }
  std::filesystem::create_directories(folder, ec);
  if (ec) Raise(err::kSaveFailed, T("The folder for the pictures cannot be made."));
  Text list =
      u"<xml xmlns:o=\"urn:schemas-microsoft-com:office:office\">\r\n <o:MainFile HRef=\"../" +
      FromPath(fileName.filename()) + u"\"/>\r\n";
  for (const PictureFile& f : page.pictures) {
    WriteChecked(folder / ToPath(f.fileName), f.bytes, "A picture cannot be written.");
    list += u" <o:File HRef=\"" + f.fileName + u"\"/>\r\n";
  }
  list += u" <o:File HRef=\"filelist.xml\"/>\r\n</xml>\r\n";
  WriteChecked(folder / "filelist.xml", TextToUtf8(list),
               "The list of the pictures cannot be written.");
}

}  // namespace qp::word
