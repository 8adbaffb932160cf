# The Windows executables of the cross build: quillmar.exe (the Win32 window,
# GUI subsystem), its resources, the window tests under Wine and the package.
# Included from the top-level CMakeLists.txt when building for Windows.
enable_language(RC)

# The menu bar and the IV dialog are defined once, in ui/resources/templates.h
# (texts from ui/resources/texts.txt); ui/win32/gen_rc.cpp writes the resource
# script from that table. It runs on the build machine, so it is compiled with
# the host's compiler rather than the cross compiler.
find_program(QUILLMAR_HOST_CXX NAMES c++ g++ NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(QUILLMAR_GEN_RC ${QUILLMAR_GENERATED_DIR}/gen_rc)
set(QUILLMAR_RC ${QUILLMAR_GENERATED_DIR}/quillmar.rc)
set(QUILLMAR_CLI_RC ${QUILLMAR_GENERATED_DIR}/quillmar-cli.rc)
add_custom_command(
  OUTPUT ${QUILLMAR_GEN_RC}
  COMMAND ${QUILLMAR_HOST_CXX} -std=c++20 -O1 -Wall -Wextra -Wpedantic -Wshadow -Werror
          -I${PROJECT_BINARY_DIR}/layers/quillmar_text -I${PROJECT_BINARY_DIR}/layers/quillmar_ui
          -I${PROJECT_BINARY_DIR}/layers/quillmar_win32_backend
          -I${QUILLMAR_GENERATED_DIR}
          ${PROJECT_SOURCE_DIR}/ui/win32/gen_rc.cpp ${PROJECT_SOURCE_DIR}/text/cp932_posix.cpp -o ${QUILLMAR_GEN_RC}
  DEPENDS ${PROJECT_SOURCE_DIR}/ui/win32/gen_rc.cpp ${PROJECT_SOURCE_DIR}/text/cp932_posix.cpp
          ${PROJECT_SOURCE_DIR}/text/cp932.h ${PROJECT_SOURCE_DIR}/ui/resources/templates.h
          ${PROJECT_SOURCE_DIR}/ui/win32/dialog_units.h
          ${QUILLMAR_GENERATED_DIR}/quillmar/texts.h ${QUILLMAR_GENERATED_DIR}/quillmar/version.h
  COMMENT "Building the resource script generator (host)")
add_custom_command(
  OUTPUT ${QUILLMAR_RC} ${QUILLMAR_CLI_RC}
  COMMAND ${QUILLMAR_GEN_RC} ${QUILLMAR_RC} ${QUILLMAR_CLI_RC}
  DEPENDS ${QUILLMAR_GEN_RC}
  COMMENT "Generating the resource scripts (UTF-8, code page 65001)")
add_custom_target(quillmar_rc_gen DEPENDS ${QUILLMAR_RC} ${QUILLMAR_CLI_RC})

# The window's application manifest (DPI awareness, supported Windows
# versions), in quillmar.exe and in the window tests, which must run as it does.
set(QUILLMAR_MANIFEST ${QUILLMAR_GENERATED_DIR}/quillmar.manifest)
set(QUILLMAR_MANIFEST_RC ${QUILLMAR_GENERATED_DIR}/quillmar-manifest.rc)
configure_file(${PROJECT_SOURCE_DIR}/ui/win32/quillmar.manifest.in ${QUILLMAR_MANIFEST} @ONLY)
file(CONFIGURE OUTPUT ${QUILLMAR_MANIFEST_RC}
     CONTENT "// Generated from ui/win32/quillmar.manifest.in. Do not edit.\n1 24 \"${QUILLMAR_MANIFEST}\"\n")
set_source_files_properties(${QUILLMAR_MANIFEST_RC} PROPERTIES OBJECT_DEPENDS ${QUILLMAR_MANIFEST})

# quillmar-cli.exe carries only its version resource.
target_sources(quillmar-cli PRIVATE ${QUILLMAR_CLI_RC})

# The backend as objects, shared by quillmar.exe and the window tests.
file(GLOB QUILLMAR_WIN32_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/ui/win32/*.cpp)
list(REMOVE_ITEM QUILLMAR_WIN32_SOURCES ${PROJECT_SOURCE_DIR}/ui/win32/main.cpp ${PROJECT_SOURCE_DIR}/ui/win32/gen_rc.cpp)
add_library(quillmar_win32_backend OBJECT ${QUILLMAR_WIN32_SOURCES})
quillmar_layer(quillmar_win32_backend ui/win32)
# ole32: the timer's cues (WASAPI's device enumerator is a COM object); core:
# their worker starts through startThread (core/thread_start.h).
target_link_libraries(quillmar_win32_backend PUBLIC quillmar_ui gdi32 user32 ole32 PRIVATE quillmar_text quillmar_core)

add_executable(quillmar WIN32 ui/win32/main.cpp ${QUILLMAR_RC} ${QUILLMAR_MANIFEST_RC})
quillmar_defaults(quillmar)
target_link_libraries(quillmar PRIVATE quillmar_win32_backend)

if(QUILLMAR_TESTS)
  # The real main window under Wine, driven through its messages. Screenshots
  # go to <build>/screenshots.
  file(GLOB QUILLMAR_WIN32_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win32/test_*.cpp)
  add_executable(quillmar_win32_tests ${QUILLMAR_WIN32_TEST_SOURCES} ${QUILLMAR_RC} ${QUILLMAR_MANIFEST_RC})
  quillmar_defaults(quillmar_win32_tests)
  target_link_libraries(quillmar_win32_tests PRIVATE quillmar_win32_backend quillmar_core quillmar_text
                                                     quillmar_tests_root GTest::gtest_main)
  add_test(NAME quillmar_win32_window COMMAND quillmar_win32_tests --gtest_filter=-Win32Dpi.*:Win32Sound.*
           WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
  set_tests_properties(quillmar_win32_window PROPERTIES TIMEOUT 300 ENVIRONMENT QUILLMAR_WINE_TIMEOUT=240)
  # The sound's failures in a process of their own: they start from a backend
  # whose worker has never run, which the window's countdowns would have started.
  add_test(NAME quillmar_win32_sound COMMAND quillmar_win32_tests --gtest_filter=Win32Sound.*
           WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
  set_tests_properties(quillmar_win32_sound PROPERTIES TIMEOUT 300 ENVIRONMENT QUILLMAR_WINE_TIMEOUT=240)
  # The same window at 96, 120, 144 and 192 dpi: one Wine run, in which the
  # test runs itself again at each DPI (tests/win32/test_win32_dpi.cpp), on a
  # screen of its own that holds the window at 192 dpi (1600 x 1200).
  add_test(NAME quillmar_win32_dpi
           COMMAND xvfb-run -a -s "-screen 0 1920x1440x24" sh ${PROJECT_SOURCE_DIR}/tools/wine-run.sh
                   ${PROJECT_BINARY_DIR}/wine-prefix $<TARGET_FILE:quillmar_win32_tests> --gtest_filter=Win32Dpi.*
           WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
  set_tests_properties(quillmar_win32_dpi PROPERTIES TIMEOUT 300 ENVIRONMENT QUILLMAR_WINE_TIMEOUT=240)

  # The cues as heard (tests/sound/): the Windows player under Wine, through
  # Wine's PulseAudio driver into the private server of the fixture
  # (cmake/sound_server.cmake), recorded by the listener, a Linux program
  # built here with the host's compiler.
  include(${PROJECT_SOURCE_DIR}/cmake/sound_server.cmake)
  add_executable(quillmar_cue_player ${PROJECT_SOURCE_DIR}/tests/sound/cue_player.cpp)
  quillmar_defaults(quillmar_cue_player)
  target_link_libraries(quillmar_cue_player PRIVATE quillmar_win32_backend quillmar_core quillmar_text quillmar_tests_root)
  set(QUILLMAR_CUE_LISTEN ${PROJECT_BINARY_DIR}/host/quillmar_cue_listen)
  add_custom_command(
    OUTPUT ${QUILLMAR_CUE_LISTEN}
    COMMAND ${QUILLMAR_HOST_CXX} -std=c++20 -O1 -Wall -Wextra -Wpedantic -Wshadow -Werror
            ${PROJECT_SOURCE_DIR}/tests/sound/cue_listen.cpp -lpulse-simple -lpulse -o ${QUILLMAR_CUE_LISTEN}
    DEPENDS ${PROJECT_SOURCE_DIR}/tests/sound/cue_listen.cpp
    COMMENT "Building the cue listener (host)")
  add_custom_target(quillmar_cue_listen ALL DEPENDS ${QUILLMAR_CUE_LISTEN})
  add_test(NAME quillmar_windows_cue_recording
           COMMAND ${QUILLMAR_CUE_LISTEN} sh ${PROJECT_SOURCE_DIR}/tools/wine-run.sh ${PROJECT_BINARY_DIR}/wine-prefix
                   $<TARGET_FILE:quillmar_cue_player> test
           WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
  set_tests_properties(quillmar_windows_cue_recording PROPERTIES TIMEOUT 300 RUN_SERIAL TRUE
                       ENVIRONMENT QUILLMAR_WINE_TIMEOUT=240)
  quillmar_uses_sound_server(quillmar_windows_cue_recording)
endif()

# quillmar-<version>-windows-x64.zip: both executables, the shipped data files,
# a read-me in Japanese and English and the license and notices (as .txt, so
# that a double-click opens them), in one folder. Built with everything else,
# so that CI checks it; `cmake --build build/windows --target package-windows`
# makes just it. The read-me gets a UTF-8 byte order mark and CR LF line ends
# so that every Notepad shows its Japanese.
set(QUILLMAR_PACKAGE_NAME quillmar-${PROJECT_VERSION}-windows-x64)
set(QUILLMAR_PACKAGE_ROOT ${PROJECT_BINARY_DIR}/package)
set(QUILLMAR_PACKAGE_ZIP ${PROJECT_BINARY_DIR}/${QUILLMAR_PACKAGE_NAME}.zip)
set(QUILLMAR_PACKAGE_README ${QUILLMAR_PACKAGE_ROOT}/README.txt)
set(QUILLMAR_PACKAGE_DATA ${PROJECT_SOURCE_DIR}/assets/pokemon.dat ${PROJECT_SOURCE_DIR}/assets/default.txt)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${QUILLMAR_PACKAGE_ROOT}/LICENSE.txt COPYONLY)
configure_file(${PROJECT_SOURCE_DIR}/THIRD_PARTY_NOTICES ${QUILLMAR_PACKAGE_ROOT}/THIRD_PARTY_NOTICES.txt COPYONLY)
list(APPEND QUILLMAR_PACKAGE_DATA ${QUILLMAR_PACKAGE_ROOT}/LICENSE.txt ${QUILLMAR_PACKAGE_ROOT}/THIRD_PARTY_NOTICES.txt)
file(READ ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt QUILLMAR_README_TEXT)
string(ASCII 239 187 191 QUILLMAR_UTF8_BOM)
file(CONFIGURE OUTPUT ${QUILLMAR_PACKAGE_README} CONTENT "${QUILLMAR_UTF8_BOM}${QUILLMAR_README_TEXT}" @ONLY
               NEWLINE_STYLE CRLF)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/packaging/windows/README.txt)

add_custom_command(
  OUTPUT ${QUILLMAR_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${QUILLMAR_PACKAGE_ROOT}/${QUILLMAR_PACKAGE_NAME} ${QUILLMAR_PACKAGE_ZIP}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${QUILLMAR_PACKAGE_ROOT}/${QUILLMAR_PACKAGE_NAME}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:quillmar> $<TARGET_FILE:quillmar-cli> ${QUILLMAR_PACKAGE_DATA}
          ${QUILLMAR_PACKAGE_README} ${QUILLMAR_PACKAGE_ROOT}/${QUILLMAR_PACKAGE_NAME}
  COMMAND ${CMAKE_COMMAND} -E chdir ${QUILLMAR_PACKAGE_ROOT}
          ${CMAKE_COMMAND} -E tar cf ${QUILLMAR_PACKAGE_ZIP} --format=zip ${QUILLMAR_PACKAGE_NAME}
  DEPENDS quillmar quillmar-cli ${QUILLMAR_PACKAGE_DATA} ${QUILLMAR_PACKAGE_README}
  COMMENT "Packing ${QUILLMAR_PACKAGE_NAME}.zip")
add_custom_target(package-windows ALL DEPENDS ${QUILLMAR_PACKAGE_ZIP})

if(QUILLMAR_TESTS)
  # The zip holds exactly the seven files, byte for byte what was built and shipped.
  add_test(NAME quillmar_windows_package
           COMMAND ${CMAKE_COMMAND} -DZIP=${QUILLMAR_PACKAGE_ZIP} -DNAME=${QUILLMAR_PACKAGE_NAME}
                   "-DEXPECTED=$<TARGET_FILE:quillmar>;$<TARGET_FILE:quillmar-cli>;${QUILLMAR_PACKAGE_DATA};${QUILLMAR_PACKAGE_README}"
                   -P ${PROJECT_SOURCE_DIR}/tests/check-package.cmake)
endif()

if(QUILLMAR_TESTS)
  # The AVX kernels keep their unaligned vector moves in a build configured
  # with flags of its own (a scratch configure and build of just the kernels).
  add_test(NAME quillmar_windows_kernel_moves
           COMMAND sh ${PROJECT_SOURCE_DIR}/tests/win32/kernel_moves_test.sh ${PROJECT_SOURCE_DIR}
                   ${PROJECT_BINARY_DIR}/kernel-moves-check ${CMAKE_TOOLCHAIN_FILE} ${CMAKE_OBJDUMP}
                   "${CMAKE_CXX_COMPILER_LAUNCHER}")
  set_tests_properties(quillmar_windows_kernel_moves PROPERTIES TIMEOUT 300)

  # Both exes import only the system DLLs that README.md lists.
  add_test(NAME quillmar_windows_imports
           COMMAND ${CMAKE_COMMAND} -DOBJDUMP=${CMAKE_OBJDUMP}
                   "-DALLOWED=KERNEL32.dll;USER32.dll;GDI32.dll;OLE32.dll;msvcrt.dll"
                   "-DEXES=$<TARGET_FILE:quillmar>;$<TARGET_FILE:quillmar-cli>"
                   -P ${PROJECT_SOURCE_DIR}/tests/win32/check-imports.cmake)

  # The version in both exes' file properties (read the way Explorer reads it,
  # through version.dll, which only this checker imports) and in what
  # quillmar-cli.exe prints is the project's.
  add_executable(quillmar_version_check ${PROJECT_SOURCE_DIR}/tests/win32/version_check.cpp)
  quillmar_defaults(quillmar_version_check)
  target_link_libraries(quillmar_version_check PRIVATE version)
  target_link_options(quillmar_version_check PRIVATE -municode)
  add_test(NAME quillmar_windows_version
           COMMAND quillmar_version_check ${PROJECT_VERSION} $<TARGET_FILE:quillmar> $<TARGET_FILE:quillmar-cli>)
  set_tests_properties(quillmar_windows_version PROPERTIES TIMEOUT 120)
  # quillmar-cli.exe with a Japanese folder and file name and a Japanese
  # species name under an English ANSI code page (Wine's C.UTF-8 locale: 1252).
  add_executable(quillmar_cli_unicode_check ${PROJECT_SOURCE_DIR}/tests/win32/cli_unicode_check.cpp)
  quillmar_defaults(quillmar_cli_unicode_check)
  target_link_options(quillmar_cli_unicode_check PRIVATE -municode)
  add_dependencies(quillmar_cli_unicode_check quillmar-cli)
  add_test(NAME quillmar_windows_cli_unicode
           COMMAND quillmar_cli_unicode_check $<TARGET_FILE:quillmar-cli> ${PROJECT_SOURCE_DIR}/assets/pokemon.dat
           WORKING_DIRECTORY ${PROJECT_BINARY_DIR})
  set_tests_properties(quillmar_windows_cli_unicode PROPERTIES TIMEOUT 300
                       ENVIRONMENT "QUILLMAR_WINE_LANG=C.UTF-8;QUILLMAR_WINE_TIMEOUT=240")
  add_test(NAME quillmar_windows_cli_version COMMAND quillmar-cli --version)
  set_tests_properties(quillmar_windows_cli_version PROPERTIES TIMEOUT 120
                       PASS_REGULAR_EXPRESSION "quillmar-cli ${PROJECT_VERSION}\r?\n")
endif()
