# What `cmake --install` adds to the program, and the Debian package built
# from all of it with CPack (`make package`).
set(PAVOK_ID io.github.pavok.pavok)
set(CPACK_PACKAGE_CONTACT "The Pavok developers <maintainers@users.noreply.c-seed-051b3f32.example>")

# Debian's machine-readable copyright file, made from LICENSE: the holder from
# its copyright line, the permission notice below it as the licence text
# (indented, with "." for blank lines).
file(READ ${PROJECT_SOURCE_DIR}/LICENSE license)
string(REGEX MATCH "Copyright \\(c\\) ([^\n]+)" _ "${license}")
set(PAVOK_COPYRIGHT "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^.*Copyright \\(c\\) [^\n]+\n\n" "" notice "${license}")
string(STRIP "${notice}" notice)
string(REPLACE "\n\n" "\n.\n" notice "${notice}")
string(REPLACE "\n" "\n " PAVOK_LICENSE " ${notice}")
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${PROJECT_BINARY_DIR}/copyright @ONLY)

# The manual page and the changelog, compressed as Debian wants them: at the
# highest level, and without a name or time stamp, so every build gives the
# same bytes. Done when configuring, so installing needs no other target built.
# Failures are checked by hand: COMMAND_ERROR_IS_FATAL needs CMake 3.19.
foreach(doc pavok.6 changelog)
  execute_process(COMMAND gzip -9nc ${CMAKE_CURRENT_LIST_DIR}/${doc}
                  OUTPUT_FILE ${PROJECT_BINARY_DIR}/${doc}.gz RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "gzip ${doc}: ${status}")
  endif()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/${doc})
endforeach()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/LICENSE)

# Built as Debian builds programs: libc calls checked where sizes are known,
# relocations bound and made read-only at start-up.
target_compile_definitions(pavok_core PRIVATE _FORTIFY_SOURCE=2)
target_link_options(pavok PRIVATE -Wl,-z,relro,-z,now)
# And stripped as Debian strips them, without the compiler's .comment notes.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    execute_process(COMMAND \"${CMAKE_OBJCOPY}\" --remove-section=.comment
      \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:pavok>\"
      RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR \"objcopy --remove-section=.comment: \${status}\")
    endif()
  endif()")

install(FILES ${CMAKE_CURRENT_LIST_DIR}/${PAVOK_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${PAVOK_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${PROJECT_BINARY_DIR}/pavok.6.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
install(FILES ${PROJECT_BINARY_DIR}/copyright ${PROJECT_BINARY_DIR}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
# The menus' Italian words are not misspelt English.
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME pavok)
# The icon the desktop entry names, drawn by `make docs` in every size it has.
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pavok)
set(CPACK_PACKAGE_VENDOR "The Pavok developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
  "Pavok opens one OpenGL window with a lit, articulated human figure.\n\
The digit and letter keys bend its shoulders, elbows, wrists, hips, knees\n\
and feet, the function keys its head and torso, the arrow keys turn it and\n\
move it. Pop-up menus on the mouse buttons make it jump, run and walk, and\n\
change the view.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps names the packages of the GL, GLU, GLUT and X11 libraries the
# program is linked with, at the versions it needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
