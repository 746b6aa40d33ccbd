# Windows builds link statically: vexel.exe must run on a machine that has
# no MinGW runtime DLLs. Programs added after this file (the tests) get the
# same, so that they run under Wine as they are.
if(MINGW)
  set(VEXEL_STATIC_LINK_OPTIONS -static -static-libgcc -static-libstdc++)
  target_link_options(vexel PRIVATE ${VEXEL_STATIC_LINK_OPTIONS})
  add_link_options(${VEXEL_STATIC_LINK_OPTIONS})
endif()
