# What `cmake --install` adds to the program, and the Debian package built
# from all of it with CPack (`make package`).
install(FILES ${CMAKE_CURRENT_LIST_DIR}/pavok.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/pavok.6
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# The icon the desktop entry names, drawn by `make docs` in every size it has.
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pavok)
set(CPACK_PACKAGE_VENDOR "Pavok maintainers")
set(CPACK_PACKAGE_CONTACT "Pavok maintainers <maintainers@users.noreply.c-seed-051b3f32.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "articulated human figure to pose and animate")
set(CPACK_PACKAGE_DESCRIPTION
  "Pavok opens one OpenGL window with a lit, articulated human figure.\n\
The digit and letter keys bend its shoulders, elbows, wrists, hips, knees\n\
and feet, the function keys its head and torso, the arrow keys turn it and\n\
move it. Pop-up menus on the mouse buttons make it jump, run and walk, and\n\
change the view.")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
# dpkg-shlibdeps names the packages of the GL, GLU, GLUT and X11 libraries the
# program is linked with, at the versions it needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
include(CPack)
