# What makes a release: the version resource of vexel.exe, the install rules
# and the packages. The version is the project version, set in one place: the
# project() line of the top-level CMakeLists.txt.

set(VEXEL_VENDOR "The Vexel developers")
set(VEXEL_COPYRIGHT "Copyright (c) 2026 ${VEXEL_VENDOR}")
set(VEXEL_FILE_DESCRIPTION "Vexel build tool")
# The contact named as the maintainer of the packages, as the upstream
# contact in the copyright file and in the changelog. Vexel has no public
# address, so whoever builds and ships the packages names themselves:
#   cmake ... -DVEXEL_PACKAGE_CONTACT="Name <address>"
# (scripts/package.sh passes it on from the environment). The default is a
# placeholder at a domain reserved never to exist, so that nobody mails a
# stranger; the release check accepts it only while none is named.
if(VEXEL_PACKAGE_CONTACT STREQUAL "The Vexel developers <vexel@example.org>")
  # The placeholder of 1.0.0, still in the cache of its build trees.
  unset(VEXEL_PACKAGE_CONTACT CACHE)
endif()
set(VEXEL_PACKAGE_CONTACT "Unnamed packager <unnamed-packager@vexel.invalid>"
  CACHE STRING "Maintainer of the packages: Name <address>")
# The licence in LICENSE, by the name the Debian copyright format gives it
# (Expat: the text usually called the MIT licence).
set(VEXEL_LICENSE_NAME Expat)

# Windows: the version shows in the file's properties.
if(WIN32)
  enable_language(RC)
  configure_file(${PROJECT_SOURCE_DIR}/packaging/vexel.rc.in
    ${PROJECT_BINARY_DIR}/vexel.rc @ONLY)
  target_sources(vexel PRIVATE ${PROJECT_BINARY_DIR}/vexel.rc)
endif()

# ---------------------------------------------------------------------------
# Install rules. POSIX: the usual tree (bin, share/man/man1, share/doc/vexel,
# the manual page's example in share/doc/vexel/examples/greet).
# Windows: one folder holding vexel.exe and the texts beside it, since that is
# where a Windows user looks for them.

# Installing from a build tree that lacks the program or a file made by the
# build stops at once and says what to build, rather than failing later on
# the first missing file. (cmake --install never builds.)
macro(vexel_install_needs_build)
  set(vexel_built "\"$<TARGET_FILE:vexel>\"")
  foreach(file IN LISTS VEXEL_RELEASE_FILES)
    string(APPEND vexel_built " \"${file}\"")
  endforeach()
  install(CODE "
    foreach(file ${vexel_built})
      if(NOT EXISTS \"\${file}\")
        message(FATAL_ERROR \"Vexel is not built yet in ${PROJECT_BINARY_DIR} \"
          \"(\${file} is missing). Build it first, then install again:\\n\"
          \"  cmake --build ${PROJECT_BINARY_DIR}\\n\"
          \"  cmake --install ${PROJECT_BINARY_DIR} --strip\")
      endif()
    endforeach()")
endmacro()

set(VEXEL_RELEASE_FILES)
if(WIN32)
  # Text viewers on Windows want CR LF; converted at build time, so that an
  # edited text is never shipped stale. The README is the one written for
  # Windows users, with the version filled in.
  foreach(pair "packaging/windows/README.txt;README.txt" "LICENSE;LICENSE.txt")
    list(GET pair 0 source)
    list(GET pair 1 text)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${text}
      COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/${source}
              -DOUT=${PROJECT_BINARY_DIR}/${text} -DVERSION=${PROJECT_VERSION}
              -P ${PROJECT_SOURCE_DIR}/packaging/crlf.cmake
      DEPENDS ${PROJECT_SOURCE_DIR}/${source} ${PROJECT_SOURCE_DIR}/packaging/crlf.cmake
      COMMENT "Writing ${text} with CR LF line ends"
      VERBATIM)
    list(APPEND VEXEL_RELEASE_FILES ${PROJECT_BINARY_DIR}/${text})
  endforeach()
  add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/CHANGELOG.txt
    COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/CHANGELOG.md
            -DOUT=${PROJECT_BINARY_DIR}/CHANGELOG.txt -DFORMAT=text
            -P ${PROJECT_SOURCE_DIR}/packaging/changelog.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/packaging/changelog.cmake
            ${PROJECT_SOURCE_DIR}/packaging/gzip.cmake
    COMMENT "Writing CHANGELOG.txt with CR LF line ends"
    VERBATIM)
  list(APPEND VEXEL_RELEASE_FILES ${PROJECT_BINARY_DIR}/CHANGELOG.txt)

  vexel_install_needs_build()
  install(TARGETS vexel RUNTIME DESTINATION .)
  install(FILES ${VEXEL_RELEASE_FILES} DESTINATION .)
  # The example that README.txt walks through; its files are CR LF already.
  install(FILES examples/windows/MakeFile examples/windows/name.txt
    examples/windows/message.txt DESTINATION examples)
else()
  include(GNUInstallDirs)
  # GNUInstallDirs names the documentation folder after the project (Vexel);
  # it is named after the program, unless one was chosen on the command line.
  # (The cache holds an empty value when none was chosen, also when a
  # subproject such as GoogleTest included GNUInstallDirs first.)
  if("$CACHE{CMAKE_INSTALL_DOCDIR}" STREQUAL "")
    set(CMAKE_INSTALL_DOCDIR "${CMAKE_INSTALL_DATAROOTDIR}/doc/vexel")
  endif()

  find_program(VEXEL_GZIP NAMES gzip DOC "gzip, to compress the manual page")
  mark_as_advanced(VEXEL_GZIP)
  set(manpage ${PROJECT_BINARY_DIR}/vexel.1)
  if(VEXEL_GZIP)
    set(manpage_gzip -DGZIP=${VEXEL_GZIP})
    set(manpage_installed ${manpage}.gz)
  else()
    set(manpage_gzip)
    set(manpage_installed ${manpage})
  endif()
  add_custom_command(OUTPUT ${manpage_installed}
    COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/doc/vexel.1 -DOUT=${manpage}
            -DVERSION=${PROJECT_VERSION} ${manpage_gzip}
            -P ${PROJECT_SOURCE_DIR}/packaging/manpage.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/doc/vexel.1 ${PROJECT_SOURCE_DIR}/packaging/manpage.cmake
            ${PROJECT_SOURCE_DIR}/packaging/gzip.cmake
    COMMENT "Writing the manual page vexel.1, version ${PROJECT_VERSION}"
    VERBATIM)
  list(APPEND VEXEL_RELEASE_FILES ${manpage_installed})

  # The documentation folder as Debian wants it: the copyright file in the
  # machine-readable format, made from LICENSE, and the changelog of a native
  # package, made from CHANGELOG.md, compressed like the manual page.
  set(copyright ${PROJECT_BINARY_DIR}/copyright)
  add_custom_command(OUTPUT ${copyright}
    COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/LICENSE -DOUT=${copyright}
            -DLICENSE_NAME=${VEXEL_LICENSE_NAME} -DCONTACT=${VEXEL_PACKAGE_CONTACT}
            -P ${PROJECT_SOURCE_DIR}/packaging/copyright.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_SOURCE_DIR}/packaging/copyright.cmake
    COMMENT "Writing the copyright file"
    VERBATIM)
  set(changelog ${PROJECT_BINARY_DIR}/changelog)
  if(VEXEL_GZIP)
    set(changelog_installed ${changelog}.gz)
  else()
    set(changelog_installed ${changelog})
  endif()
  add_custom_command(OUTPUT ${changelog_installed}
    COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/CHANGELOG.md -DOUT=${changelog}
            -DFORMAT=debian -DVERSION=${PROJECT_VERSION} -DMAINTAINER=${VEXEL_PACKAGE_CONTACT}
            ${manpage_gzip} -P ${PROJECT_SOURCE_DIR}/packaging/changelog.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/CHANGELOG.md ${PROJECT_SOURCE_DIR}/packaging/changelog.cmake
            ${PROJECT_SOURCE_DIR}/packaging/gzip.cmake
    COMMENT "Writing the changelog, version ${PROJECT_VERSION}"
    VERBATIM)
  list(APPEND VEXEL_RELEASE_FILES ${copyright} ${changelog_installed})

  # The README without the parts that need the sources (the example script,
  # building, contributing), which the packages do not hold.
  set(readme ${PROJECT_BINARY_DIR}/README.md)
  add_custom_command(OUTPUT ${readme}
    COMMAND ${CMAKE_COMMAND} -DIN=${PROJECT_SOURCE_DIR}/README.md -DOUT=${readme}
            -P ${PROJECT_SOURCE_DIR}/packaging/readme.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/packaging/readme.cmake
    COMMENT "Writing the packages' README"
    VERBATIM)
  list(APPEND VEXEL_RELEASE_FILES ${readme})

  vexel_install_needs_build()
  install(TARGETS vexel RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${manpage_installed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  install(FILES ${readme} LICENSE ${copyright} ${changelog_installed}
    DESTINATION ${CMAKE_INSTALL_DOCDIR})
  # The example of the manual page, so that a reader of the page can run it.
  install(FILES examples/greet/MakeFile examples/greet/main.c examples/greet/greet.c
    examples/greet/greet.h DESTINATION ${CMAKE_INSTALL_DOCDIR}/examples/greet)
endif()
add_custom_target(vexel_release_files ALL DEPENDS ${VEXEL_RELEASE_FILES})

# ---------------------------------------------------------------------------
# Packages. Windows: vexel-VERSION-win32.zip. POSIX: a .tar.gz of the install
# tree, and on Debian-like systems a .deb whose dependencies dpkg-shlibdeps
# works out from the executable.

# The values reach CPack as they are written here (quotes in the description,
# backslashes in the patterns).
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME vexel)
set(CPACK_PACKAGE_VENDOR "${VEXEL_VENDOR}")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_CONTACT "${VEXEL_PACKAGE_CONTACT}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
"Vexel reads a makefile of \"target: dependencies\" lines with TAB-indented
command lines, finds the stale targets by the time stamps of their files,
passes staleness on to everything that depends on them, and runs their
commands one at a time as child processes, dependencies first, stopping at
the first failure. Every step is reported as a \"Vexel: \" message line.

Vexel is made for the Windows console. This package holds the same program
built for POSIX systems, where it behaves the same way; the manual page
vexel(1) tells where the platforms differ.")
set(CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")
set(CPACK_RESOURCE_FILE_README "${PROJECT_SOURCE_DIR}/README.md")
set(CPACK_STRIP_FILES ON)
# Directories in the packages are 0755 whatever the umask of the packager.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE
  GROUP_READ GROUP_EXECUTE
  WORLD_READ WORLD_EXECUTE)

if(WIN32)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_FILE_NAME "vexel-${PROJECT_VERSION}-win32")
else()
  string(TOLOWER "${CMAKE_SYSTEM_NAME}-${CMAKE_SYSTEM_PROCESSOR}" vexel_platform)
  set(CPACK_PACKAGE_FILE_NAME "vexel-${PROJECT_VERSION}-${vexel_platform}")
  find_program(VEXEL_DPKG_SHLIBDEPS NAMES dpkg-shlibdeps
    DOC "dpkg-shlibdeps (Debian package dpkg-dev), for the .deb's dependencies")
  mark_as_advanced(VEXEL_DPKG_SHLIBDEPS)
  if(VEXEL_DPKG_SHLIBDEPS)
    set(CPACK_GENERATOR TGZ DEB)
  else()
    set(CPACK_GENERATOR TGZ)
  endif()

  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${VEXEL_PACKAGE_CONTACT}")
  set(CPACK_DEBIAN_PACKAGE_SECTION devel)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
endif()

# A source package must not sweep up build trees or built packages.
set(CPACK_SOURCE_GENERATOR TGZ)
set(CPACK_SOURCE_PACKAGE_FILE_NAME "vexel-${PROJECT_VERSION}-source")
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/\\.git$" "/build[^/]*/" "/dist/" "/out/" "\\.swp$")

include(CPack)
