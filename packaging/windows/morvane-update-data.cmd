@echo off
rem Fills Morvane's data folder with Japan Post's nationwide postal-code file (KEN_ALL.CSV).
rem   morvane-update-data                 download ken_all.zip from Japan Post
rem   morvane-update-data FILE.zip        use a ken_all.zip already on this computer
rem   --data-dir FOLDER                   another folder (default %LOCALAPPDATA%\Morvane)
rem   --pause                             wait for a key at the end (the Start-menu shortcut)
rem Uses curl.exe and tar.exe, which Windows 10 and later ship. The new file replaces the old
rem one only when orvek info finds it whole and Japan Post's; its line count and date come
rem from that check.
rem This file is kept in UTF-8; the build writes the shipped copy in CP932, the code page in
rem which cmd reads a batch file on Japanese Windows, so that the messages show right.
setlocal EnableExtensions DisableDelayedExpansion
set "url=https://www.post.japanpost.jp/service/search/zipcode/download/kogaki/zip/ken_all.zip"
set "data_dir=%LOCALAPPDATA%\Morvane"
if defined MORVANE_DATA_DIR set "data_dir=%MORVANE_DATA_DIR%"
set "zip="
set "pause_at_end="
set "folder_given="
set "status=1"

:next_argument
if "%~1"=="" goto arguments_done
if /i "%~1"=="-h" goto usage
if /i "%~1"=="--help" goto usage
if "%~1"=="/?" goto usage
if /i "%~1"=="--pause" (
  set "pause_at_end=1"
  shift
  goto next_argument
)
if /i not "%~1"=="--data-dir" goto not_data_dir
if "%~2"=="" (
  >&2 echo morvane-update-data: --data-dir の後にフォルダーを指定してください。
  set "status=2"
  goto finish
)
set "data_dir=%~2"
set "folder_given=1"
shift
shift
goto next_argument
:not_data_dir
set "argument=%~1"
if "%argument:~0,1%"=="-" (
  >&2 echo morvane-update-data: %~1 というオプションはありません。
  set "status=2"
  goto finish
)
set "zip=%~f1"
shift
goto next_argument

:usage
echo 日本郵便の郵便番号データ KEN_ALL.CSV で、Morvane のデータ フォルダーを更新します。
echo   morvane-update-data                 日本郵便から ken_all.zip をダウンロードして使う
echo   morvane-update-data ファイル.zip    このコンピューターにある ken_all.zip を使う
echo   --data-dir フォルダー               別のフォルダーを更新する（既定は %%LOCALAPPDATA%%\Morvane）
echo   --pause                             終わったらキーが押されるまで待つ
set "status=0"
goto finish

:arguments_done
rem The tools, found before anything is touched: Wine and Windows before 10 have neither.
set "tar="
for %%T in (tar.exe) do set "tar=%%~$PATH:T"
if not defined tar goto no_tar
set "work=%TEMP%\morvane-update-%RANDOM%%RANDOM%"
mkdir "%work%"
if not exist "%work%\" (
  >&2 echo morvane-update-data: 作業用のフォルダー %work% を作れません。
  goto by_hand
)

if defined zip goto have_zip
set "curl="
for %%T in (curl.exe) do set "curl=%%~$PATH:T"
if not defined curl goto no_curl
echo 日本郵便からダウンロードしています: %url%
"%curl%" -fL --retry 2 -o "%work%\ken_all.zip" "%url%"
if errorlevel 1 goto download_failed
set "zip=%work%\ken_all.zip"
:have_zip
if not exist "%zip%" (
  >&2 echo morvane-update-data: ファイルがありません: %zip%
  goto failed
)

rem Unpack beside the old file and swap it in only when the new one is whole.
"%tar%" -xf "%zip%" -C "%work%" KEN_ALL.CSV
if errorlevel 1 goto no_csv
if not exist "%work%\KEN_ALL.CSV" goto no_csv
for %%F in ("%work%\KEN_ALL.CSV") do if %%~zF==0 goto no_csv
rem The orvek.exe installed beside this script, else the one on the PATH.
set "orvek=%~dp0orvek.exe"
if not exist "%orvek%" set "orvek=orvek.exe"
"%orvek%" info --data-dir "%work%" >"%work%\info.txt"
if errorlevel 1 goto not_japan_post
set "lines="
set "modified="
for /f "usebackq tokens=1,2" %%A in ("%work%\info.txt") do (
  if "%%A"=="lines:" set "lines=%%B"
  if "%%A"=="modified:" set "modified=%%B"
)
if not exist "%data_dir%\" mkdir "%data_dir%"
if not exist "%data_dir%\" (
  >&2 echo morvane-update-data: フォルダー %data_dir% を作れません。
  goto failed
)
rem Checked by the files themselves: not every cmd sets the error level on a failed move.
move /y "%work%\KEN_ALL.CSV" "%data_dir%\KEN_ALL.CSV.new" >nul
if not exist "%data_dir%\KEN_ALL.CSV.new" goto cannot_move
move /y "%data_dir%\KEN_ALL.CSV.new" "%data_dir%\KEN_ALL.CSV" >nul
if exist "%data_dir%\KEN_ALL.CSV.new" goto cannot_move
rmdir /s /q "%work%"
echo 郵便番号データを更新しました。
echo   ファイル: %data_dir%\KEN_ALL.CSV
if defined lines echo   行数: %lines% 行
if defined modified echo   日付: %modified:~0,10%
if not defined folder_given echo Morvane は次の検索からこのデータを使います。
set "status=0"
goto finish

:no_tar
>&2 echo morvane-update-data: tar.exe が見つかりません。ken_all.zip を展開できません。
>&2 echo   tar.exe は Windows 10 以降に付属しています。Wine や古い Windows にはありません。
goto by_hand
:no_curl
>&2 echo morvane-update-data: curl.exe が見つかりません。ダウンロードできません。
>&2 echo   curl.exe は Windows 10 以降に付属しています。Wine や古い Windows にはありません。
goto failed
:download_failed
>&2 echo morvane-update-data: ダウンロードできませんでした。
goto failed
:no_csv
>&2 echo morvane-update-data: %zip% に KEN_ALL.CSV が入っていないか、壊れています。
goto failed
:not_japan_post
>&2 echo morvane-update-data: %zip% の KEN_ALL.CSV は、日本郵便の郵便番号データの完全なファイルではありません。
goto failed
:cannot_move
>&2 echo morvane-update-data: KEN_ALL.CSV を %data_dir% に置けません。
if exist "%data_dir%\KEN_ALL.CSV.new" del /q "%data_dir%\KEN_ALL.CSV.new"
:failed
rmdir /s /q "%work%" 2>nul
:by_hand
>&2 echo.
>&2 echo 郵便番号データは更新されていません。%data_dir% の中は元のままです。
>&2 echo 手作業で更新するには、次のアドレスから ken_all.zip をブラウザーでダウンロードし、
>&2 echo   %url%
>&2 echo 中にある KEN_ALL.CSV を次のフォルダーに置いてください:
>&2 echo   %data_dir%
>&2 echo ダウンロードした ken_all.zip をこのコマンドに渡しても更新できます:
>&2 echo   morvane-update-data ダウンロードしたフォルダー\ken_all.zip
set "status=1"

:finish
if not defined pause_at_end exit /b %status%
echo.
echo 何かキーを押すと、このウィンドウを閉じます。
pause >nul
exit /b %status%
