@echo off
rem Fills Morvane's data folder with Japan Post's nationwide postal-code file (KEN_ALL.CSV).
rem   morvane-update-data                 download ken_all.zip from Japan Post
rem   morvane-update-data FILE.zip        use a ken_all.zip already on this computer
rem   --data-dir FOLDER                   another folder (default %LOCALAPPDATA%\Morvane)
rem Uses curl.exe and tar.exe, which Windows 10 and later ship. The new file replaces the old
rem one only when orvek info finds it whole and Japan Post's.
setlocal EnableExtensions DisableDelayedExpansion
set "url=https://www.post.japanpost.jp/service/search/zipcode/download/kogaki/zip/ken_all.zip"
set "data_dir=%LOCALAPPDATA%\Morvane"
if defined MORVANE_DATA_DIR set "data_dir=%MORVANE_DATA_DIR%"
set "zip="

:next_argument
if "%~1"=="" goto arguments_done
if /i "%~1"=="-h" goto usage
if /i "%~1"=="--help" goto usage
if "%~1"=="/?" goto usage
if /i not "%~1"=="--data-dir" goto not_data_dir
if "%~2"=="" (
  echo morvane-update-data: --data-dir needs a folder 1>&2
  exit /b 2
)
set "data_dir=%~2"
shift
shift
goto next_argument
:not_data_dir
set "argument=%~1"
if "%argument:~0,1%"=="-" (
  echo morvane-update-data: unknown option %~1 1>&2
  exit /b 2
)
set "zip=%~f1"
shift
goto next_argument

:usage
echo Fills Morvane's data folder with Japan Post's nationwide postal-code file (KEN_ALL.CSV).
echo   morvane-update-data                 download ken_all.zip from Japan Post
echo   morvane-update-data FILE.zip        use a ken_all.zip already on this computer
echo   --data-dir FOLDER                   another folder (default %%LOCALAPPDATA%%\Morvane)
exit /b 0

:arguments_done
set "work=%TEMP%\morvane-update-%RANDOM%%RANDOM%"
mkdir "%work%"
if not exist "%work%\" exit /b 1

if defined zip goto have_zip
echo Downloading %url%
curl.exe -fL --retry 2 -o "%work%\ken_all.zip" "%url%"
if errorlevel 1 goto download_failed
set "zip=%work%\ken_all.zip"
:have_zip
if not exist "%zip%" (
  echo morvane-update-data: no such file: %zip% 1>&2
  goto failed
)

rem Unpack beside the old file and swap it in only when the new one is whole.
tar.exe -xf "%zip%" -C "%work%" KEN_ALL.CSV
if errorlevel 1 goto no_csv
if not exist "%work%\KEN_ALL.CSV" goto no_csv
for %%F in ("%work%\KEN_ALL.CSV") do if %%~zF==0 goto no_csv
rem The orvek.exe installed beside this script, else the one on the PATH.
set "orvek=%~dp0orvek.exe"
if not exist "%orvek%" set "orvek=orvek.exe"
"%orvek%" info --data-dir "%work%" >nul
if errorlevel 1 goto not_japan_post
if not exist "%data_dir%\" mkdir "%data_dir%"
if not exist "%data_dir%\" (
  echo morvane-update-data: cannot make the folder %data_dir% 1>&2
  goto failed
)
rem Checked by the files themselves: not every cmd sets the error level on a failed move.
move /y "%work%\KEN_ALL.CSV" "%data_dir%\KEN_ALL.CSV.new" >nul
if not exist "%data_dir%\KEN_ALL.CSV.new" goto cannot_move
move /y "%data_dir%\KEN_ALL.CSV.new" "%data_dir%\KEN_ALL.CSV" >nul
if exist "%data_dir%\KEN_ALL.CSV.new" goto cannot_move
rmdir /s /q "%work%"
for %%F in ("%data_dir%\KEN_ALL.CSV") do echo %data_dir%\KEN_ALL.CSV: %%~zF bytes
exit /b 0

:download_failed
echo morvane-update-data: the download failed 1>&2
goto failed
:no_csv
echo morvane-update-data: %zip% holds no KEN_ALL.CSV 1>&2
goto failed
:not_japan_post
echo morvane-update-data: the KEN_ALL.CSV in %zip% is not a whole Japan Post file 1>&2
goto failed
:cannot_move
echo morvane-update-data: cannot put KEN_ALL.CSV into %data_dir% 1>&2
if exist "%data_dir%\KEN_ALL.CSV.new" del /q "%data_dir%\KEN_ALL.CSV.new"
:failed
rmdir /s /q "%work%" 2>nul
echo   Nothing in %data_dir% was changed. To get Japan Post's file by hand, download 1>&2
echo   %url% 1>&2
echo   in a web browser and run: morvane-update-data path\to\ken_all.zip 1>&2
echo   or unpack KEN_ALL.CSV from it into %data_dir% 1>&2
exit /b 1
