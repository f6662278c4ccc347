# Installing Morvane on Windows: cpack in build-win64 makes Morvane-1.0.0.1-win64.exe (NSIS:
# Program Files, Start-menu shortcuts, an uninstaller) and Morvane-1.0.0.1-win64.zip (the same
# files, to unpack anywhere). The programs are linked statically against the C++ runtime, so
# the folder holds everything they need beside the system's DLLs.
set(morvane_windows_programs orvek_cli orvek platform_win32)
if(TARGET morvane)
  list(PREPEND morvane_windows_programs morvane)
endif()
install(TARGETS ${morvane_windows_programs}
  RUNTIME DESTINATION .
  LIBRARY DESTINATION .
  ARCHIVE EXCLUDE_FROM_ALL)
install(PROGRAMS ${CMAKE_CURRENT_SOURCE_DIR}/windows/morvane-update-data.cmd DESTINATION .)

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
# The program reads ken_all.csv in its current folder, so the shortcut starts it in the
# person's data folder, where morvane-update-data.cmd puts the file. NSIS takes a shortcut's
# working folder from the output path; the shortcuts belong to the person who installs.
set(CPACK_NSIS_CREATE_ICONS_EXTRA [[
  SetShellVarContext current
  CreateDirectory "$LOCALAPPDATA\Morvane"
  CreateDirectory "$SMPROGRAMS\Morvane"
  SetOutPath "$LOCALAPPDATA\Morvane"
  CreateShortCut "$SMPROGRAMS\Morvane\Morvane.lnk" "$INSTDIR\morvane.exe"
  CreateShortCut "$SMPROGRAMS\Morvane\郵便番号データの更新.lnk" "$INSTDIR\morvane-update-data.cmd"
  SetOutPath "$INSTDIR"
  ; back to the context the installer chose for its own shortcuts
  UserInfo::GetAccountType
  Pop $0
  StrCmp $0 "Admin" 0 +2
    SetShellVarContext all
  StrCmp $0 "Power" 0 +2
    SetShellVarContext all
]])
# The data folder is the person's: the uninstaller leaves it.
set(CPACK_NSIS_DELETE_ICONS_EXTRA [[
  SetShellVarContext current
  Delete "$SMPROGRAMS\Morvane\Morvane.lnk"
  Delete "$SMPROGRAMS\Morvane\郵便番号データの更新.lnk"
  RMDir "$SMPROGRAMS\Morvane"
  ; back to the context the installer chose for its own shortcuts
  UserInfo::GetAccountType
  Pop $0
  StrCmp $0 "Admin" 0 +2
    SetShellVarContext all
  StrCmp $0 "Power" 0 +2
    SetShellVarContext all
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
