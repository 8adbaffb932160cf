# The private PulseAudio server of the tests that hear the cues (tests/sound/),
# started and stopped by CTest itself as the fixture "sound_server", so that
# `ctest` alone runs them: `ctest -R` of such a test brings the fixture along.
# Its runtime folder lies outside the build folder, whose path may be too long
# for the server's socket, and is named after the build folder, so that two
# build folders never share a server. Wine's PulseAudio driver finds the
# server there too.
string(MD5 QUILLMAR_SOUND_RUNTIME_HASH "${PROJECT_BINARY_DIR}")
string(SUBSTRING "${QUILLMAR_SOUND_RUNTIME_HASH}" 0 12 QUILLMAR_SOUND_RUNTIME_HASH)
set(QUILLMAR_SOUND_RUNTIME /tmp/quillmar-sound-${QUILLMAR_SOUND_RUNTIME_HASH})

get_property(QUILLMAR_SOUND_FIXTURE_DEFINED GLOBAL PROPERTY QUILLMAR_SOUND_FIXTURE_DEFINED)
if(NOT QUILLMAR_SOUND_FIXTURE_DEFINED)
  set_property(GLOBAL PROPERTY QUILLMAR_SOUND_FIXTURE_DEFINED TRUE)
  add_test(NAME quillmar_sound_server_start
           COMMAND sh ${PROJECT_SOURCE_DIR}/tests/sound/sound_server.sh start ${QUILLMAR_SOUND_RUNTIME})
  set_tests_properties(quillmar_sound_server_start PROPERTIES FIXTURES_SETUP sound_server TIMEOUT 120)
  add_test(NAME quillmar_sound_server_stop
           COMMAND sh ${PROJECT_SOURCE_DIR}/tests/sound/sound_server.sh stop ${QUILLMAR_SOUND_RUNTIME})
  set_tests_properties(quillmar_sound_server_stop PROPERTIES FIXTURES_CLEANUP sound_server TIMEOUT 120)
endif()

# A test that plays into or records the server: after the fixture, alone with
# the server, with the server's runtime folder.
function(quillmar_uses_sound_server test)
  set_property(TEST ${test} APPEND PROPERTY FIXTURES_REQUIRED sound_server)
  set_property(TEST ${test} APPEND PROPERTY RESOURCE_LOCK sound_server)
  set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT XDG_RUNTIME_DIR=${QUILLMAR_SOUND_RUNTIME})
endfunction()
