# Installation into a prefix (default /usr/local) and the Debian package made by CPack.
include(GNUInstallDirs)

# The installed programs find their help and read-me here, relative to bin/.
set(ORVANEX_DATA_SUBDIR ${CMAKE_INSTALL_DATADIR}/orvanex)

install(TARGETS orvanex pelusa orvx RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

file(GLOB orvanex_install_help CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/help/*.html)
install(FILES ${orvanex_install_help} DESTINATION ${ORVANEX_DATA_SUBDIR}/help)
install(FILES ${PROJECT_SOURCE_DIR}/help/readme.txt DESTINATION ${ORVANEX_DATA_SUBDIR})

set(pkg ${PROJECT_SOURCE_DIR}/packaging)
install(FILES ${pkg}/org.orvanex.Orvanex.desktop ${pkg}/org.orvanex.Pelusa.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${pkg}/org.orvanex.Orvanex.metainfo.xml ${pkg}/org.orvanex.Pelusa.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(app Orvanex Pelusa)
    install(FILES ${pkg}/icons/org.orvanex.${app}.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
    foreach(size 16 22 24 32 48 64 128 256)
        install(FILES ${pkg}/icons/org.orvanex.${app}-${size}.png
                DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
                RENAME org.orvanex.${app}.png)
    endforeach()
endforeach()
# orvx's page lists the commands of orvx --help itself.
set(orvx_man ${PROJECT_BINARY_DIR}/packaging/orvx.1)
add_custom_command(OUTPUT ${orvx_man}
                   COMMAND ${CMAKE_COMMAND} -DORVX=$<TARGET_FILE:orvx> -DIN=${pkg}/man/orvx.1.in
                           -DOUT=${orvx_man} -P ${pkg}/man/orvx_commands.cmake
                   DEPENDS orvx ${pkg}/man/orvx.1.in ${pkg}/man/orvx_commands.cmake
                   COMMENT "Writing the manual page of orvx")
add_custom_target(orvx_man ALL DEPENDS ${orvx_man})
install(FILES ${pkg}/man/orvanex.1 ${pkg}/man/pelusa.1 ${orvx_man}
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${pkg}/completion/orvx DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvanex)
set(CPACK_PACKAGE_VENDOR "ORVANEX")
set(CPACK_PACKAGE_CONTACT "ORVANEX developers <orvanex@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "file-type associations of a Windows registry, and a byte viewer")
set(CPACK_PACKAGE_DESCRIPTION
    "ORVANEX browses and edits the file-type associations of a Windows registry (its own registry file or a Wine prefix), with a backup of every change. PELUSA shows any file's bytes as text. orvx offers every operation on the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2, xdg-utils")
set(CPACK_STRIP_FILES ON)
include(CPack)
