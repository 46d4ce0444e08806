# What `cmake --install` puts where, in the GNU layout under the prefix: the
# eleven programs in bin, the Polish translations and the launcher's splash
# picture in share/qel, the documents in share/doc/qel. The icons, desktop
# entries and manual pages are installed by dist/.

install(TARGETS
    qelWinModbusClient qelDrvModbus qelDrvMacro qelDrvScan qelDrvPorts qelDrvMonitor
    qelExelWr qelExelRd qelWinRB4Init qelApps qelDevSim
    RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

get_property(QEL_TRANSLATION_FILES GLOBAL PROPERTY QEL_TRANSLATION_FILES)
install(FILES ${QEL_TRANSLATION_FILES} DESTINATION ${CMAKE_INSTALL_DATADIR}/qel/translations)
install(FILES ${CMAKE_SOURCE_DIR}/launcher/startup.png DESTINATION ${CMAKE_INSTALL_DATADIR}/qel)

install(FILES README.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
