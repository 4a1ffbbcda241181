# What `cmake --install` adds to the program: its desktop entry and icon, its
# AppStream metadata and its manual page, where desktops and man look for them.
# Debian's package (debian/) installs exactly this, and compresses, strips and
# documents it as every Debian package is.
set(PAVOK_ID io.github.pavok.pavok)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${PAVOK_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/${PAVOK_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/pavok.6 DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
# The icon the desktop entry names, drawn by `make docs` in every size it has.
install(DIRECTORY ${CMAKE_CURRENT_LIST_DIR}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons)
