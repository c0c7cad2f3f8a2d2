# The packages, one per build: a .deb of zanfor-cli (native) with its man page made from its help,
# and a .zip of Zanfor.exe, zanfor-cli.exe and the user guide (Windows). scripts/package.sh makes
# both.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zanfor")
set(CPACK_PACKAGE_CONTACT "Zanfor <zanfor@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Random test data: strings, whole and decimal numbers, timestamped events")
# Only what is ours goes in, whatever else the build installs.
set(CPACK_COMPONENTS_ALL zanfor)

if(WIN32)
  install(TARGETS Zanfor zanfor-cli RUNTIME DESTINATION . COMPONENT zanfor)
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/docs/README-windows.txt DESTINATION . RENAME README.txt
          COMPONENT zanfor)
  # The user guide beside the programs too, for reading without starting them (F1 shows the copy
  # inside Zanfor.exe).
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/docs/使用说明.md DESTINATION . COMPONENT zanfor)
  set(CPACK_GENERATOR ZIP)
  set(CPACK_PACKAGE_NAME zanfor)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(CPACK_PACKAGE_FILE_NAME zanfor-${PROJECT_VERSION}-win64)
  else()
    set(CPACK_PACKAGE_FILE_NAME zanfor-${PROJECT_VERSION}-win32)
  endif()
else()
  find_program(HELP2MAN help2man REQUIRED)
  set(man ${CMAKE_CURRENT_BINARY_DIR}/zanfor-cli.1.gz)
  add_custom_command(
    OUTPUT ${man}
    COMMAND ${HELP2MAN} --no-info --help-option=--help-all --section=1
            "--name=random test data: strings, numbers, timestamped events"
            --output=zanfor-cli.1 $<TARGET_FILE:zanfor-cli>
    COMMAND gzip -9nf zanfor-cli.1
    DEPENDS zanfor-cli
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    COMMENT "Man page of zanfor-cli from its help")
  add_custom_target(zanfor-cli-man ALL DEPENDS ${man})
  install(TARGETS zanfor-cli RUNTIME DESTINATION bin COMPONENT zanfor)
  install(FILES ${man} DESTINATION share/man/man1 COMPONENT zanfor)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME zanfor-cli)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
