# Installing Morvane on Windows: cpack in build-win64 makes Morvane-1.0.0.1-win64.exe (NSIS:
# Program Files, Start-menu shortcuts, an uninstaller, in Japanese) and
# Morvane-1.0.0.1-win64.zip (the same files, to unpack anywhere), both with Japan Post's file.
# The programs are linked statically against the C++ runtime, so the folder holds everything
# they need beside the system's DLLs.
set(morvane_windows_programs orvek_cli orvek platform_win32)
if(TARGET morvane)
  list(PREPEND morvane_windows_programs morvane)
endif()
install(TARGETS ${morvane_windows_programs}
  RUNTIME DESTINATION .
  LIBRARY DESTINATION .
  ARCHIVE EXCLUDE_FROM_ALL)
# The updater's messages are Japanese and cmd reads a batch file in the console's code page,
# which is 932 on Japanese Windows (Wine's cmd does the same): the source is kept in UTF-8 and
# the build writes the CP932 copy that is shipped and tested.
find_program(MORVANE_ICONV iconv REQUIRED)
# (tests/wine runs this copy.)
set(MORVANE_UPDATE_DATA_CMD ${CMAKE_CURRENT_BINARY_DIR}/morvane-update-data.cmd)
add_custom_command(OUTPUT ${MORVANE_UPDATE_DATA_CMD}
  COMMAND ${MORVANE_ICONV} -f UTF-8 -t CP932
          -o ${MORVANE_UPDATE_DATA_CMD} ${CMAKE_CURRENT_SOURCE_DIR}/windows/morvane-update-data.cmd
  DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/windows/morvane-update-data.cmd
  COMMENT "Writing morvane-update-data.cmd in CP932")
add_custom_target(morvane_update_data_cmd ALL DEPENDS ${MORVANE_UPDATE_DATA_CMD})
install(PROGRAMS ${MORVANE_UPDATE_DATA_CMD} DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)
# Japan Post's file beside the programs: the last folder the programs look in, so that the
# first search works and the person's own copy in %LOCALAPPDATA%\Morvane wins once there.
install_data_file(.)

set(CPACK_GENERATOR NSIS ZIP)
# The NSIS snippets below reach makensis exactly as written, backslashes included.
set(CPACK_VERBATIM_VARIABLES ON)
set(CPACK_PACKAGE_NAME Morvane)
set(CPACK_PACKAGE_VENDOR Morvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_FILE_NAME Morvane-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Japanese postal code lookup")
set(CPACK_PACKAGE_INSTALL_DIRECTORY Morvane)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Morvane)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY OFF)
# Debug information stays in the build folder; the package ships stripped programs.
set(CPACK_STRIP_FILES ON)

# A 64-bit installer: a 32-bit one needs 32-bit Wine to run at all, and without it silently
# does nothing. The Unicode target also keeps the Japanese shortcut name intact.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Morvane)
set(CPACK_NSIS_DISPLAY_NAME Morvane)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
if(TARGET morvane)
  set(CPACK_NSIS_INSTALLED_ICON_NAME morvane.exe)
endif()
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# The installer's own template (packaging/windows/NSIS.template.in): Japanese, and the
# shortcuts in the Start-menu folder the person chooses. CPackOptions.cmake writes the finish
# page, which names the edition of the data when cpack runs.
list(PREPEND CMAKE_MODULE_PATH ${CMAKE_CURRENT_LIST_DIR})
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/CPackOptions.cmake)
set(CPACK_MORVANE_DATA_FILE ${MORVANE_DATA_DIR}/KEN_ALL.CSV)
set(CPACK_MORVANE_DATA_ZIP ${MORVANE_DATA_ZIP})
# The program reads ken_all.csv in its current folder first, so the shortcut starts it in the
# person's data folder, where morvane-update-data.cmd puts the file (and where none is, the
# program goes on to its own folder). NSIS takes a shortcut's working folder from the output
# path. The template puts these in the installing person's Start menu, in the folder chosen.
set(CPACK_NSIS_CREATE_ICONS_EXTRA [[
  CreateDirectory "$LOCALAPPDATA\Morvane"
  SetOutPath "$LOCALAPPDATA\Morvane"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\Morvane.lnk" "$INSTDIR\morvane.exe"
  CreateShortCut "$SMPROGRAMS\$STARTMENU_FOLDER\郵便番号データの更新.lnk" "$INSTDIR\morvane-update-data.cmd" "--pause"
]])
# The data folder is the person's: the uninstaller leaves it.
set(CPACK_NSIS_DELETE_ICONS_EXTRA [[
  Delete "$SMPROGRAMS\$MUI_TEMP\Morvane.lnk"
  Delete "$SMPROGRAMS\$MUI_TEMP\郵便番号データの更新.lnk"
]])
include(CPack)

# The installer and the ZIP as a new user meets them, under Wine in the tests' session.
if(MORVANE_BUILD_TESTS)
  add_test(NAME windows_package
           COMMAND ${PROJECT_SOURCE_DIR}/scripts/windows-package-test.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(windows_package PROPERTIES
    LABELS "package;wine" RUN_SERIAL ON SKIP_RETURN_CODE 77 TIMEOUT 900
    FIXTURES_REQUIRED wine_session)
endif()
