# Writes a C++ file whose function NAME (in NAMESPACE, declared in HEADER)
# answers the bytes of the file IN:
#   cmake -DIN=file -DOUT=file.cpp -DNAME=Function -DNAMESPACE=qp::app
#         -DHEADER=app/x.h -P EmbedBytes.cmake
file(READ "${IN}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
file(WRITE "${OUT}.tmp" "// Made from ${IN} by cmake/EmbedBytes.cmake.
#include \"${HEADER}\"

namespace ${NAMESPACE} {

namespace {
const unsigned char kBytes[] = {${bytes}};
}  // namespace

std::string_view ${NAME}() {
  return {reinterpret_cast<const char*>(kBytes), sizeof kBytes};
}

}  // namespace ${NAMESPACE}
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.tmp")
