# The Windows build (`make windows`): pavok.exe with its icon and version in
# its resources, and the zip it is handed out in. Debian's package, with its
# ELF-only hardening, is packaging/install.cmake's.
enable_language(RC)

# A window program, so that a double-click opens no console beside the window;
# CollegoTerminale (app/window_system_win32.cpp) writes to the console it is
# started from. libstdc++, libgcc and winpthreads linked in, and no symbols:
# the executable imports only Windows' own DLLs, and stands alone.
set_target_properties(pavok PROPERTIES WIN32_EXECUTABLE ON)
target_link_options(pavok PRIVATE -static -s)

# The icon in the sizes `make docs` draws; the largest one kept as PNG, as
# Windows keeps its own 256-pixel icons.
set(icons ${CMAKE_CURRENT_LIST_DIR}/icons/hicolor)
add_custom_command(OUTPUT pavok.ico
  COMMAND icotool -c -o pavok.ico ${icons}/48x48/apps/pavok.png ${icons}/64x64/apps/pavok.png
          ${icons}/128x128/apps/pavok.png --raw=${icons}/256x256/apps/pavok.png
  DEPENDS ${icons}/48x48/apps/pavok.png ${icons}/64x64/apps/pavok.png ${icons}/128x128/apps/pavok.png
          ${icons}/256x256/apps/pavok.png)
file(STRINGS ${PROJECT_SOURCE_DIR}/LICENSE PAVOK_COPYRIGHT REGEX "^Copyright")
configure_file(${CMAKE_CURRENT_LIST_DIR}/pavok.rc.in pavok.rc @ONLY)
set_source_files_properties(${PROJECT_BINARY_DIR}/pavok.rc PROPERTIES OBJECT_DEPENDS ${PROJECT_BINARY_DIR}/pavok.ico)
target_sources(pavok PRIVATE ${PROJECT_BINARY_DIR}/pavok.rc)

# The zip: the program, a short README, and the licences of what is in the
# program: Pavok's, freeglut's, and MinGW-w64's (its start-up code and
# winpthreads ask for their notices to go with a binary; libstdc++ and libgcc,
# under GCC's runtime exception, do not). Text files named .txt, so that a
# double-click opens them.
set(zip pavok-${PROJECT_VERSION}-windows-x86_64.zip)
# The files' times are SOURCE_DATE_EPOCH's, read as UTC, where zip stores
# local time: the same zip wherever and whenever it is made.
set(epoch $ENV{SOURCE_DATE_EPOCH})
if(NOT epoch)
  string(TIMESTAMP epoch "%s")
endif()
# The linker takes SOURCE_DATE_EPOCH for the executable's time stamp: a new
# one links it anew (the file is only rewritten when the time changes).
file(CONFIGURE OUTPUT epoch.txt CONTENT "${epoch}")
set_property(TARGET pavok APPEND PROPERTY LINK_DEPENDS ${PROJECT_BINARY_DIR}/epoch.txt)
set(zipped zip/pavok.exe zip/README.txt zip/LICENSE.txt zip/COPYING-freeglut.txt zip/COPYING-MinGW-w64.txt)
get_filename_component(freeglut ${FreeGLUT_DIR}/../../.. ABSOLUTE)
configure_file(${CMAKE_CURRENT_LIST_DIR}/windows_readme.txt zip/README.txt @ONLY)
configure_file(${PROJECT_SOURCE_DIR}/LICENSE zip/LICENSE.txt COPYONLY)
configure_file(${freeglut}/COPYING zip/COPYING-freeglut.txt COPYONLY)
configure_file(/usr/share/doc/mingw-w64-x86-64-dev/copyright zip/COPYING-MinGW-w64.txt COPYONLY)
add_custom_command(OUTPUT ${zip}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:pavok> zip/
  COMMAND ${CMAKE_COMMAND} -E rm -f ${zip}
  COMMAND touch -d @${epoch} ${zipped}
  COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -q -X -j ${zip} ${zipped}
  DEPENDS pavok ${PROJECT_BINARY_DIR}/zip/README.txt)
add_custom_target(zip ALL DEPENDS ${zip})
