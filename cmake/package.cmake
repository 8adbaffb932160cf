# The Debian package quillmar_<version>_amd64.deb, made by CPack from the
# install rules (cmake/install.cmake):
#   cmake -S . -B build/deb -G Ninja -DCMAKE_BUILD_TYPE=Release && cmake --build build/deb
#   (cd build/deb && cpack -G DEB)
# Its dependencies are the shared libraries the executables use (found by
# dpkg-shlibdeps: Qt 6 Widgets, Gui, Core and the C/C++ runtime), a Japanese
# font for the window's texts and xdg-utils, which opens result.txt.
# Included from the top-level CMakeLists.txt after cmake/install.cmake.

set(QUILLMAR_MAINTAINER "the quillmar developers <quillmar@example.org>")
execute_process(COMMAND date -u -R -d ${QUILLMAR_RELEASE_DATE} OUTPUT_VARIABLE QUILLMAR_RELEASE_DATE_RFC2822
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

# Debian wants its own two files in the documentation folder: the copyright
# (our license, pointing to the notices beside it) and a changelog in its
# format, gzipped without a time stamp.
set(QUILLMAR_DEB_DIR ${PROJECT_BINARY_DIR}/packaging/debian)
file(READ ${PROJECT_SOURCE_DIR}/LICENSE QUILLMAR_LICENSE_TEXT)
file(WRITE ${QUILLMAR_DEB_DIR}/copyright
     "quillmar ${PROJECT_VERSION}, by the quillmar developers.\n\n"
     "${QUILLMAR_LICENSE_TEXT}\n"
     "The species data and the libraries quillmar uses are under their own licenses,\n"
     "listed in /usr/share/doc/quillmar/THIRD_PARTY_NOTICES.\n")
configure_file(${PROJECT_SOURCE_DIR}/packaging/linux/changelog.Debian.in ${QUILLMAR_DEB_DIR}/changelog @ONLY)
add_custom_command(
  OUTPUT ${QUILLMAR_DEB_DIR}/changelog.gz
  COMMAND ${QUILLMAR_GZIP} -9nkf ${QUILLMAR_DEB_DIR}/changelog
  DEPENDS ${QUILLMAR_DEB_DIR}/changelog
  COMMENT "Compressing the Debian changelog" VERBATIM)
add_custom_target(quillmar_deb_changelog ALL DEPENDS ${QUILLMAR_DEB_DIR}/changelog.gz)
install(FILES ${QUILLMAR_DEB_DIR}/copyright ${QUILLMAR_DEB_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillmar)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "the quillmar developers")
set(CPACK_PACKAGE_CONTACT ${QUILLMAR_MAINTAINER})
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUILLMAR_MAINTAINER})
# "utils": Debian keeps section games for programs installed in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic | fonts-japanese-gothic, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "calculator for the random number generators of 4th-generation games
quillmar helps players who manipulate the random number generators of the
4th-generation handheld monster-collecting games. From numbers read off the
game it measures the six IVs from stats, finds the PIDs and generator states
that give them, steps back to the candidates for the initial seed and the
console's date, time and delay, and lists egg PIDs.

The window's interface is Japanese; every step is also available from the
command line as quillmar-cli. The installed window keeps its files in
~/.local/share/quillmar.")
include(CPack)

# The package's checks (scripts/check-deb.sh), run by CTest after CPack made
# the package from this build. Off by default: they need lintian, appstream,
# desktop-file-utils, dpkg-dev, xvfb and xdotool (scripts/install-deps.sh package).
option(QUILLMAR_PACKAGE_TESTS "Make the Debian package and check it in the test suite" OFF)
if(QUILLMAR_PACKAGE_TESTS AND QUILLMAR_TESTS AND QUILLMAR_QT)
  foreach(tool lintian appstreamcli desktop-file-validate dpkg-shlibdeps xvfb-run xdotool)
    find_program(QUILLMAR_TOOL_${tool} ${tool} REQUIRED)
  endforeach()
  set(QUILLMAR_DEB ${CPACK_PACKAGE_DIRECTORY}/quillmar_${PROJECT_VERSION}_amd64.deb)
  add_test(NAME quillmar_deb_build COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${PROJECT_BINARY_DIR}/CPackConfig.cmake
           WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
  set_tests_properties(quillmar_deb_build PROPERTIES FIXTURES_SETUP quillmar_deb TIMEOUT 300)
  foreach(check contents lint install window)
    add_test(NAME quillmar_deb_${check}
             COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/check-deb.sh ${check} ${QUILLMAR_DEB} ${PROJECT_VERSION}
                     ${PROJECT_SOURCE_DIR})
    set_tests_properties(quillmar_deb_${check} PROPERTIES FIXTURES_REQUIRED quillmar_deb TIMEOUT 180)
  endforeach()
  set_tests_properties(quillmar_deb_window PROPERTIES
                       ENVIRONMENT QUILLMAR_CHECK_DEB_SCREENSHOT=${PROJECT_BINARY_DIR}/quillmar-installed-screen2.png)
endif()
