# What `cmake --install` puts where on Linux (the layout of the Debian package,
# cmake/package.cmake):
#   bin/quillmar, bin/quillmar-cli
#   share/quillmar/pokemon.dat, default.txt        the shipped data
#   share/applications, share/metainfo, share/icons/hicolor
#   share/man/man1/quillmar.1.gz, quillmar-cli.1.gz
#   share/bash-completion/completions/quillmar-cli
#   share/doc/quillmar/LICENSE, THIRD_PARTY_NOTICES
# Included from the top-level CMakeLists.txt after the targets exist.
include(GNUInstallDirs)

set(QUILLMAR_APP_ID io.github.quillmar.quillmar)
set(QUILLMAR_LINUX_DIR ${PROJECT_SOURCE_DIR}/packaging/linux)
set(QUILLMAR_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/quillmar)

install(TARGETS quillmar-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/assets/pokemon.dat ${PROJECT_SOURCE_DIR}/assets/default.txt
        DESTINATION ${QUILLMAR_INSTALL_DATADIR})
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/THIRD_PARTY_NOTICES
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

if(QUILLMAR_QT)
  install(TARGETS quillmar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  # The window finds the shipped data from its own location, so an install
  # unpacked anywhere (dpkg -x, a staging folder) behaves like one under /usr.
  file(RELATIVE_PATH QUILLMAR_DATA_FROM_BIN ${CMAKE_INSTALL_FULL_BINDIR}
       ${CMAKE_INSTALL_PREFIX}/${QUILLMAR_INSTALL_DATADIR})
  target_compile_definitions(quillmar_qt_backend PRIVATE QUILLMAR_DATA_FROM_BIN="${QUILLMAR_DATA_FROM_BIN}")

  install(FILES ${QUILLMAR_LINUX_DIR}/quillmar.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
          RENAME ${QUILLMAR_APP_ID}.desktop)
  configure_file(${QUILLMAR_LINUX_DIR}/quillmar.metainfo.xml
                 ${PROJECT_BINARY_DIR}/packaging/${QUILLMAR_APP_ID}.metainfo.xml @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/packaging/${QUILLMAR_APP_ID}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  install(FILES ${QUILLMAR_LINUX_DIR}/icons/quillmar.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  foreach(size 16 24 32 48 64 128 256)
    install(FILES ${QUILLMAR_LINUX_DIR}/icons/quillmar-${size}.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME quillmar.png)
  endforeach()
endif()

install(FILES ${QUILLMAR_LINUX_DIR}/quillmar-cli.bash-completion
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME quillmar-cli)

# Manual pages, gzipped without a time stamp: quillmar.1 is written by hand,
# quillmar-cli.1 made by help2man from the --help and --version it prints
# (with the sections of quillmar-cli.h2m added).
set(QUILLMAR_MAN_DIR ${PROJECT_BINARY_DIR}/man)
find_program(QUILLMAR_GZIP gzip REQUIRED)
find_program(QUILLMAR_HELP2MAN help2man)
set(QUILLMAR_MAN_PAGES)
if(QUILLMAR_QT)
  list(APPEND QUILLMAR_MAN_PAGES ${QUILLMAR_MAN_DIR}/quillmar.1.gz)
  add_custom_command(
    OUTPUT ${QUILLMAR_MAN_DIR}/quillmar.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLMAR_MAN_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${QUILLMAR_LINUX_DIR}/quillmar.1 ${QUILLMAR_MAN_DIR}/quillmar.1
    COMMAND ${QUILLMAR_GZIP} -9nf ${QUILLMAR_MAN_DIR}/quillmar.1
    DEPENDS ${QUILLMAR_LINUX_DIR}/quillmar.1
    COMMENT "Compressing the manual page of quillmar" VERBATIM)
endif()
if(QUILLMAR_HELP2MAN)
  list(APPEND QUILLMAR_MAN_PAGES ${QUILLMAR_MAN_DIR}/quillmar-cli.1.gz)
  add_custom_command(
    OUTPUT ${QUILLMAR_MAN_DIR}/quillmar-cli.1.gz
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLMAR_MAN_DIR}
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 ${QUILLMAR_HELP2MAN} --no-info --section=1
            "--name=calculator for the random number generators of 4th-generation games"
            --include=${QUILLMAR_LINUX_DIR}/quillmar-cli.h2m --output=${QUILLMAR_MAN_DIR}/quillmar-cli.1
            $<TARGET_FILE:quillmar-cli>
    COMMAND ${QUILLMAR_GZIP} -9nf ${QUILLMAR_MAN_DIR}/quillmar-cli.1
    DEPENDS quillmar-cli ${QUILLMAR_LINUX_DIR}/quillmar-cli.h2m
    COMMENT "Writing the manual page of quillmar-cli (help2man)" VERBATIM)
else()
  message(STATUS "help2man not found: no manual page for quillmar-cli")
endif()
add_custom_target(quillmar_man ALL DEPENDS ${QUILLMAR_MAN_PAGES})
install(FILES ${QUILLMAR_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
