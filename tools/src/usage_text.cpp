#include "command_line.h"

namespace orvek_cli {

const char* UsageText() {
  return R"(Usage: orvek code POSTAL-CODE [OPTIONS]
  or:  orvek address [--pref NAME] [--city NAME] [--town NAME] [--mode N] [OPTIONS]
  or:  orvek find TEXT... [OPTIONS]
  or:  orvek info [--data-dir DIR] [--format json]

Searches Japan Post's postal-code file ken_all.csv, read whole on every search, and
prints one row per matching record, in the order of the file: postal code, prefecture,
city and town area in fixed columns, or whole records as TSV, CSV, JSON or JSON Lines.

Commands:
  code POSTAL-CODE  every address with this code: seven digits, 1000001 or 100-0001
  address           every record whose names equal the given ones, byte for byte:
                    write each name as the file does (東京都, not 東京)
  find TEXT...      every record that has each word of TEXT in its address (prefecture,
                    city and town area as one text) or in its reading; words are split on
                    spaces. Half- and full-width forms are the same, hiragana finds the
                    katakana readings, a voiced kana is one character (ひか does not find
                    ヒガシ); in names hiragana and katakana are the same, and so are が, ガ,
                    ケ, ヶ and ヵ (霞ヶ関, 霞が関); a word of digits (100-00) also finds the
                    postal codes that start with it
  info              the data file that a search would read: its full path, size,
                    modification time, lines and records (split town areas joined), and
                    whether it is a whole Japan Post file (exit 0) or why not (exit 1)

Address options:
  --pref NAME       prefecture, e.g. 東京都
  --city NAME       city, ward, town or village, e.g. 千代田区
  --town NAME       town area, e.g. 千代田
  --mode N          match mode instead of the one chosen from the names given:
                    1 all three equal, 2 prefecture and city, 3 prefecture and town area,
                    4 city and town area, 5 any one of the three; other numbers match nothing

Options:
  --format FORMAT   text (default: the fixed columns), tsv, csv (RFC 4180), json (an
                    array of objects) or jsonl (one object per line); the machine formats
                    have every column, readings in full-width katakana
  --join, --no-join
                    join the lines that the file splits a long town area over into one
                    record (default for find and the machine formats)
  --clean, --no-clean
                    empty the town area 以下に掲載がない場合 (default for find and the
                    machine formats)
  --limit N         print at most N rows
  --count           print only the number of rows
  --data-dir DIR    folder that holds ken_all.csv (or KEN_ALL.CSV); default: the current
                    one when it holds the file, else the first data folder that does
                    (see Files)
  --encoding ENC    output encoding: utf-8 or cp932 (text, tsv and csv); default: utf-8
                    (on Windows, the console's code page; JSON is always UTF-8)
  --                end of the options: what follows is a word or a code
  -h, --help        show this help
  --version         show the version

Exit status:
  0  the data file was read, also when nothing matched
  1  the data file could not be opened or read to its end, is not Japan Post's
     KEN_ALL.CSV (empty, an archive, a web page, the UTF-8 edition, a cut copy: the
     message says which), the rows could not be written, or a word of find has no
     Shift-JIS form, so that no record can hold it
  2  wrong usage

Files:
  ken_all.csv (or KEN_ALL.CSV), Japan Post's file, is read from the folder that --data-dir
  names. Without it, from the current folder or, when that has none, from the first data
  folder that has one: $XDG_DATA_HOME/morvane (~/.local/share/morvane, where
  morvane-update-data puts it; $MORVANE_DATA_DIR in its place when set), then each folder
  of $XDG_DATA_DIRS with /morvane (/usr/local/share/morvane, /usr/share/morvane, where the
  package puts it). On Windows: %LOCALAPPDATA%\Morvane (where 郵便番号データの更新, or
  morvane-update-data.cmd, puts it), then the folder of orvek.exe.

Examples:
  orvek code 100-0001
)"
#ifdef _WIN32
         R"(  orvek --data-dir %USERPROFILE%\ken_all code 4520961
)"
#else
         R"(  orvek --data-dir ~/ken_all code 4520961
)"
#endif
         R"(  orvek address --pref 東京都 --city 千代田区
  orvek address --city 府中市 --count
  orvek find 千代田 丸の内
  orvek find ちよだく --format json
  orvek find 100-00 --format csv --limit 5
)"
#ifdef _WIN32
         R"(  orvek info --data-dir %LOCALAPPDATA%\Morvane
)";
#else
         R"(  orvek info --data-dir ~/.local/share/morvane
)";
#endif
}

}  // namespace orvek_cli
