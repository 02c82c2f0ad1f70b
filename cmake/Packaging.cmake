# What the installed program is made of, and its Debian package (scripts/package).
include(GNUInstallDirs)
set(kv_debian_dir ${CMAKE_BINARY_DIR}/debian)
set(kv_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/kestrelyn-vormaplex)

# Manual pages and the changelog are installed compressed, as Debian's tools expect.
configure_file(${CMAKE_SOURCE_DIR}/resources/debian/changelog.in ${kv_debian_dir}/changelog @ONLY)
set(kv_compressed)
foreach(source IN ITEMS ${CMAKE_SOURCE_DIR}/resources/man/kestrelyn-vormaplex.1
                        ${CMAKE_SOURCE_DIR}/resources/man/kestrelyn-cli.1 ${kv_debian_dir}/changelog)
    get_filename_component(name ${source} NAME)
    add_custom_command(OUTPUT ${kv_debian_dir}/${name}.gz
                       COMMAND gzip -9nc ${source} > ${kv_debian_dir}/${name}.gz
                       DEPENDS ${source} VERBATIM)
    list(APPEND kv_compressed ${kv_debian_dir}/${name}.gz)
endforeach()
add_custom_target(kv_compressed_docs ALL DEPENDS ${kv_compressed})

install(FILES ${kv_debian_dir}/kestrelyn-vormaplex.1.gz ${kv_debian_dir}/kestrelyn-cli.1.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${CMAKE_SOURCE_DIR}/resources/kestrelyn-vormaplex.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_SOURCE_DIR}/resources/icons/kestrelyn-vormaplex.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${CMAKE_SOURCE_DIR}/resources/pam/kestrelyn-vormaplex DESTINATION /etc/pam.d)
install(FILES ${CMAKE_SOURCE_DIR}/resources/debian/copyright ${kv_debian_dir}/changelog.gz
        DESTINATION ${kv_doc_dir})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kestrelyn-vormaplex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The Kestrelyn Vormaplex developers")
set(CPACK_PACKAGE_CONTACT "The Kestrelyn Vormaplex developers <developers@kestrelyn-vormaplex.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "password manager that logs into web sites by itself")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Kestrelyn Vormaplex follows a Chromium browser of its own, offers to save\n"
    "every login form submitted in it as an encrypted site file in a tree of\n"
    "folders, and logs in again from the tree, by hotkey or for a whole folder.\n"
    "It comes with a password generator, a security audit, import and export,\n"
    "a tray icon, and the command-line tool kestrelyn-cli.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Libraries from dpkg-shlibdeps; the browser is started, not linked.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "chromium")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${CMAKE_SOURCE_DIR}/resources/debian/conffiles)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
    WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
