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

}  // namespace qp::robust
