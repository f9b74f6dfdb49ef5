# The Debian package, made from the install in the build folder:
#   cpack -G DEB --config build/CPackConfig.cmake
# Dependencies come from the libraries the programs link (dpkg-shlibdeps).
# The desktop database, icon cache and manual index are refreshed by the
# triggers that desktop-file-utils, hicolor-icon-theme and man-db hold on the
# folders the files go to, so the package has no maintainer scripts.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillpage)
set(CPACK_PACKAGE_VENDOR "Quillpage developers")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/quillpage/quillpage")
set(CPACK_RESOURCE_FILE_LICENSE "${CMAKE_CURRENT_SOURCE_DIR}/LICENSE")
set(CPACK_PACKAGE_CONTACT "Quillpage developers <quillpage@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "turns a Word document into a clean HTML 4.01 page")
# The body only: CPack puts the summary before it as the synopsis, indents
# every line and turns the empty one into the paragraph mark.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Quillpage turns one Word document (.doc or .docx) into a standalone HTML 4.01
Transitional page on the desktop, its pictures in an Image folder beside it.
Word's own markup is removed, its styles are gathered into classes, lengths
become pixels and font sizes percentages.

Documents are dropped on its launcher or its settings window, or opened with
it from a file manager. A .doc document is converted with LibreOffice first.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows are laid out for a Japanese font and show boxes without one.
# .doc documents need the word processor (the full one serves as well), run
# in bubblewrap's sandbox; pages and help open through xdg-open; libtiff is
# opened only for documents that hold a TIFF picture, so dpkg-shlibdeps does
# not see it. The drawing libraries are linked by the drawing helper and
# found by dpkg-shlibdeps; libwmf draws its text with the URW fonts.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-noto-cjk")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "libreoffice-writer-nogui | libreoffice-writer, bubblewrap, xdg-utils, libtiff6, fonts-urw-base35")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)
include(CPack)
