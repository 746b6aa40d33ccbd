# What makes a release: the version resource of vexel.exe, the install rules
# and the packages. The version is the project version, set in one place: the
# project() line of the top-level CMakeLists.txt.

set(VEXEL_VENDOR "The Vexel developers")
set(VEXEL_COPYRIGHT "Copyright (c) 2026 ${VEXEL_VENDOR}")
set(VEXEL_FILE_DESCRIPTION "Vexel build tool")

# Windows: the version shows in the file's properties.
if(WIN32)
  enable_language(RC)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/vexel.rc.in
    ${PROJECT_BINARY_DIR}/vexel.rc @ONLY)
  target_sources(vexel PRIVATE ${PROJECT_BINARY_DIR}/vexel.rc)
endif()
