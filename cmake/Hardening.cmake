# Debian's hardening flags, as dpkg-buildflags gives them with every hardening
# feature on (fortified functions, stack protector, format checks, full
# RELRO with immediate binding), so that the programs a package is made of
# are built as Debian builds its own. Optimisation, debug information and
# source paths stay the build type's business. Debug builds lack the
# optimisation that fortification needs, and the sanitizer and fuzz builds
# carry their own instrumentation, so they go without.
option(QP_HARDENING "Build with Debian's hardening flags (dpkg-buildflags)" ON)
find_program(QP_DPKG_BUILDFLAGS dpkg-buildflags)
if(QP_HARDENING AND QP_DPKG_BUILDFLAGS AND NOT QP_SANITIZE AND NOT QP_FUZZ
   AND NOT CMAKE_BUILD_TYPE STREQUAL "Debug")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              ${QP_DPKG_BUILDFLAGS} --get ${kind}
      OUTPUT_VARIABLE qp_flags OUTPUT_STRIP_TRAILING_WHITESPACE)
    separate_arguments(qp_flags UNIX_COMMAND "${qp_flags}")
    list(FILTER qp_flags EXCLUDE REGEX "^-O|^-g|^-ffile-prefix-map=|^-fdebug-prefix-map=")
    if(kind STREQUAL "LDFLAGS")
      add_link_options(${qp_flags})
    else()
      add_compile_options(${qp_flags})
    endif()
  endforeach()
  message(STATUS "Hardening flags from dpkg-buildflags")
endif()
