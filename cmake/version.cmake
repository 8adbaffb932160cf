# The version is set once, in the top-level project(); every artefact takes it
# from there: quillmar-cli --version, the Windows VERSIONINFO resources, the
# Debian package and the Windows zip.
if(NOT PROJECT_VERSION MATCHES "^[0-9]+\\.[0-9]+\\.[0-9]+$")
  message(FATAL_ERROR "project(... VERSION ${PROJECT_VERSION}): expected MAJOR.MINOR.PATCH")
endif()
# The day this version was released (the metainfo and the Debian changelog say it).
set(QUILLMAR_RELEASE_DATE 2026-12-08)
configure_file(${PROJECT_SOURCE_DIR}/cmake/version.h.in ${QUILLMAR_GENERATED_DIR}/quillmar/version.h @ONLY)
