# Read by cpack before it makes the installer: the finish page says which edition of Japan
# Post's file the package carries (the date Japan Post gave the file in ken_all.zip, and its
# lines) and how to bring it up to date.

# The date of KEN_ALL.CSV in the archive's first entry (a ZIP local header: the DOS date at
# byte 12, the name at byte 30); nothing when the archive holds something else there.
function(data_edition_date zip out)
  set(${out} "" PARENT_SCOPE)
  if(NOT EXISTS "${zip}")
    return()
  endif()
  file(READ "${zip}" header LIMIT 41 HEX)
  string(LENGTH "${header}" length)
  if(NOT length EQUAL 82 OR NOT header MATCHES "^504b0304")
    return()
  endif()
  string(SUBSTRING "${header}" 60 22 name)
  if(NOT name STREQUAL "4b454e5f414c4c2e435356")  # KEN_ALL.CSV
    return()
  endif()
  string(SUBSTRING "${header}" 24 2 low)
  string(SUBSTRING "${header}" 26 2 high)
  math(EXPR date "0x${high}${low}")
  math(EXPR year "(${date} >> 9) + 1980")
  math(EXPR month "(${date} >> 5) & 15")
  math(EXPR day "${date} & 31")
  set(${out} "${year}年${month}月${day}日" PARENT_SCOPE)
endfunction()

if(CPACK_GENERATOR STREQUAL "NSIS")
  set(edition "")
  data_edition_date("${CPACK_MORVANE_DATA_ZIP}" date)
  if(date)
    string(APPEND edition "${date}付")
  endif()
  find_program(wc_program wc)
  if(wc_program AND EXISTS "${CPACK_MORVANE_DATA_FILE}")
    execute_process(COMMAND ${wc_program} -l "${CPACK_MORVANE_DATA_FILE}"
                    OUTPUT_VARIABLE lines OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(lines MATCHES "^ *([0-9]+)")
      if(edition)
        string(APPEND edition "、")
      endif()
      set(count "${CMAKE_MATCH_1}")
      while(count MATCHES "^([0-9]+)([0-9][0-9][0-9])(,.*)?$")
        set(count "${CMAKE_MATCH_1},${CMAKE_MATCH_2}${CMAKE_MATCH_3}")
      endwhile()
      string(APPEND edition "${count} 行")
    endif()
  endif()
  if(edition)
    set(edition "（${edition}）")
  endif()
  # The template's Modern UI shows the page through InstallOptions, which reads "\r\n" as a
  # line break and "\\" as a backslash.
  set(CPACK_NSIS_FINISH_PAGE_TEXT
      "Morvane をインストールしました。\\r\\n\\r\\n日本郵便の郵便番号データ KEN_ALL.CSV${edition}を同梱していますので、すぐに検索できます。\\r\\n\\r\\n郵便番号データは毎月末に更新されます。最新のデータにするには、スタート メニューの「郵便番号データの更新」を実行してください。日本郵便のサイトから取得して %LOCALAPPDATA%\\\\Morvane に置き、以後はそちらを使います。")
endif()
