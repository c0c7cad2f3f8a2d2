# The packages, one per build: a .deb of zanfor-cli (native) with its man page made from its help,
# and a .zip of Zanfor.exe, zanfor-cli.exe and the user guide (Windows). scripts/package.sh makes
# both.
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Zanfor")
set(CPACK_PACKAGE_CONTACT "Zanfor <zanfor@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Random test data: strings, whole and decimal numbers, timestamped events")
set(CPACK_PACKAGE_DESCRIPTION
    "The command line of Zanfor, a desktop tool for testers and developers:
random strings (letters, digits, Chinese characters, with a head, a tail
and texts inserted at byte positions), random whole and decimal numbers
in a range, and timestamped events at random intervals that can start a
program. With --seed it gives, byte for byte, what the tool's pages give
with the same seed and settings.")
# Binaries without their symbols in both packages.
set(CPACK_STRIP_FILES ON)
# Only what is ours goes in, whatever else the build installs.
set(CPACK_COMPONENTS_ALL zanfor)

if(WIN32)
  install(TARGETS Zanfor zanfor-cli RUNTIME DESTINATION . COMPONENT zanfor)
  configure_file(docs/README-windows.txt.in ${CMAKE_CURRENT_BINARY_DIR}/README.txt @ONLY
                 NEWLINE_STYLE CRLF)
  install(FILES ${CMAKE_CURRENT_BINARY_DIR}/README.txt DESTINATION . COMPONENT zanfor)
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
  # The options from the help; the description, examples, exit statuses and peers from
  # packaging/zanfor-cli.h2m. In English, whatever the build machine's language.
  set(h2m ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zanfor-cli.h2m)
  add_custom_command(
    OUTPUT ${man}
    COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C.UTF-8 LANG=C.UTF-8
            ${HELP2MAN} --no-info --help-option=--help-all --section=1
            "--name=random test data: strings, numbers, timestamped events"
            --include=${h2m} --output=zanfor-cli.1 $<TARGET_FILE:zanfor-cli>
    COMMAND gzip -9nf zanfor-cli.1
    DEPENDS zanfor-cli ${h2m}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    COMMENT "Man page of zanfor-cli from its help")
  # A native package's changelog, and its copyright, where Debian looks for them.
  configure_file(packaging/changelog.in ${CMAKE_CURRENT_BINARY_DIR}/changelog @ONLY)
  set(changelog ${CMAKE_CURRENT_BINARY_DIR}/changelog.gz)
  add_custom_command(
    OUTPUT ${changelog}
    COMMAND gzip -9nkf changelog
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
  add_custom_target(zanfor-cli-man ALL DEPENDS ${man} ${changelog})
  install(TARGETS zanfor-cli RUNTIME DESTINATION bin COMPONENT zanfor)
  install(FILES ${man} DESTINATION share/man/man1 COMPONENT zanfor)
  install(FILES ${changelog} ${CMAKE_CURRENT_SOURCE_DIR}/packaging/copyright
          DESTINATION share/doc/zanfor-cli COMPONENT zanfor)
  install(FILES ${CMAKE_CURRENT_SOURCE_DIR}/packaging/zanfor-cli.bash-completion
          DESTINATION share/bash-completion/completions RENAME zanfor-cli COMPONENT zanfor)
  set(CPACK_GENERATOR DEB)
  set(CPACK_PACKAGE_NAME zanfor-cli)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SECTION utils)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
endif()
include(CPack)
