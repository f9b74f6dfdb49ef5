// Documents made to hurt, as a user could drop them: each is the bytes of
// one file, and its name tells what it is.
#pragma once

#include <string>

namespace qp::robust {

// A small, well-formed document with one paragraph of text.
std::string PlainDocx();
// A picture that inflates far past what the reader lets a part grow to.
std::string ZipBombPictureDocx();
// The same for the document part itself: valid XML as far as it goes.
std::string ZipBombDocumentDocx();
// Entries named "../" and "/" (and a drive letter) beside a good document.
std::string EscapingNamesDocx();
// document.xml with a DOCTYPE that defines nested entities.
std::string EntityExpansionDocx();
// Tables nested `depth` deep, text after them.
std::string NestedTablesDocx(int depth);
// Content controls, and hyperlinks inside a paragraph, nested `depth` deep.
std::string NestedControlsDocx(int depth);
std::string NestedLinksDocx(int depth);
// `count` paragraphs.
std::string ManyParagraphsDocx(int count);
// `count` distinct pictures, each shown once.
std::string ManyPicturesDocx(int count);
// A picture named .png whose bytes are a JPEG, and one named .jpg that holds
// plain text.
std::string MismatchedPictureDocx();
// A zip with the usual parts but no word/document.xml.
std::string MissingDocumentDocx();
// A compound file that wraps an encrypted package, as Word writes a
// password-protected .docx.
std::string EncryptedDocx();
// Plain text, as when a .txt is renamed to .doc.
std::string TextAsDoc();

// Links through relationships and HYPERLINK fields: script, data and local
// file targets written in the ways a browser still reads as those schemes,
// each with the text "bad N", beside good ones with the text "good N".
std::string ScriptLinksDocx();
// Megabytes of junk behind a PNG signature and a valid header, a JPEG
// header with no frame, a GIF claiming 65535 px sides, and one real PNG.
std::string JunkPicturesDocx();
// `count` pictures whose parts are missing, each with its own note.
std::string MissingPicturesDocx(int count);
// An RTF file (as a .doc) whose INCLUDEPICTURE field names `picturePath`.
std::string IncludePictureRtf(const std::string& picturePath);

}  // namespace qp::robust
