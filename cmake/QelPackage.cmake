# The Debian package of the tool set, made by CPack's DEB generator from the
# installation (scripts/package.sh configures the prefix /usr and runs cpack).
# The package's library dependencies are computed from the programs by
# dpkg-shlibdeps.

set(QEL_PACKAGE_MAINTAINER "qel developers <developers@qel.example>")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME qel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QEL_PACKAGE_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION electronics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its SQLite driver as a plug-in, which no program links.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt5sql5-sqlite")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The launcher opens a terminal; the board initialiser runs ssh and scp.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xterm | x-terminal-emulator, openssh-client")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Modbus commissioning tools for switchgear field devices")
# The extended description: CPack indents every line and marks the empty one.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tools for commissioning and servicing protection and control units of
electrical switchgear that speak Modbus RTU on serial lines and Modbus TCP.

The desktop client qelWinModbusClient keeps a project of ports and requests
(register reads and writes, device macros) and runs them through the console
drivers qelDrvModbus and qelDrvMacro. Beside them: the bus scanner qelDrvScan,
the passive bus monitor qelDrvMonitor, the port lister qelDrvPorts, the
spreadsheet converters qelExelWr and qelExelRd, the board initialiser
qelWinRB4Init, the launcher qelApps and the device simulator qelDevSim.")
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
