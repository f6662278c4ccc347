// Speed of the searches over the real data file. Run from anywhere:
//   build/bin/orvek-bench [DATA_DIR]    (default: the build's data folder)
// Never run as a test: timings are reported, not asserted.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "orvek/orvek.h"
#include "platform/encoding.h"
#include "search.h"

namespace {

#ifdef O_BINARY
constexpr int kBinary = O_BINARY;  // Windows: the C runtime's text mode would rewrite the file
#else
constexpr int kBinary = 0;
#endif

std::string Key(const char* utf8) {
  // Appended in order: a quote inserted in front of the temporary makes gcc 12 -O3 warn.
  std::string key(1, '"');
  key += platform::Utf8ToCp932(utf8).value();
  key += '"';
  return key;
}

// Counts rows, so that only the pass over the file is timed.
class CountingSink final : public orvek::detail::RowSink {
 public:
  void AddRow(const char* /*row*/) override { ++rows; }
  long rows = 0;
};

using SearchFunction = bool (*)(int, const orvek::detail::SearchKeys&, orvek::detail::RowSink&);

void RunPass(benchmark::State& state, SearchFunction search,
             const orvek::detail::SearchKeys& keys) {
  long rows = 0;
  for (auto _ : state) {
    const int fd = ::open("KEN_ALL.CSV", O_RDONLY | kBinary);
    if (fd < 0) {
      state.SkipWithError("KEN_ALL.CSV is not in the data folder");
      return;
    }
    CountingSink sink;
    search(fd, keys, sink);
    ::close(fd);
    rows = sink.rows;
  }
  state.counters["rows"] = static_cast<double>(rows);
}

// The library's whole call: open, pass, rows into a list box, cleaning pass. The list box is
// made once, as a dialog's is, and emptied before each call: on Windows making a window costs
// more than a code search, and the program never makes one per search.
template <typename Call>
void RunCall(benchmark::State& state, Call call) {
  long rows = 0;
  CListBox list;
  list.Create(0, RECT{0, 0, 0, 0}, nullptr, 1);
  for (auto _ : state) {
    list.ResetContent();
    COrvek_Bango_Kensaku search;
    if (call(search, list) != 0) {
      state.SkipWithError("no data file");
      return;
    }
    rows = list.GetCount();
  }
  state.counters["rows"] = static_cast<double>(rows);
}

const std::string kCode = "\"1000001\"";
const std::string kHokkaido = Key("北海道");
const std::string kTokyo = Key("東京都");
const std::string kChiyoda = Key("千代田区");

void CodeSearch(benchmark::State& state) {
  RunCall(state, [](COrvek_Bango_Kensaku& search, CListBox& list) {
    std::string code = kCode;
    return search.fnGetChimei(code.data(), &list);
  });
}

void PrefectureMode5(benchmark::State& state) {
  RunCall(state, [](COrvek_Bango_Kensaku& search, CListBox& list) {
    std::string pref = kHokkaido;
    std::string empty;
    return search.fnGetOrvek(pref.data(), empty.data(), empty.data(), 5, &list);
  });
}

void CityMode2(benchmark::State& state) {
  RunCall(state, [](COrvek_Bango_Kensaku& search, CListBox& list) {
    std::string pref = kTokyo;
    std::string city = kChiyoda;
    std::string empty;
    return search.fnGetOrvek(pref.data(), city.data(), empty.data(), 2, &list);
  });
}

void FastPassCode(benchmark::State& state) {
  RunPass(state, orvek::detail::SearchFast,
          orvek::detail::SearchKeys::ForPostalCode(kCode.c_str()));
}
void FastPassPrefectureMode5(benchmark::State& state) {
  RunPass(state, orvek::detail::SearchFast,
          orvek::detail::SearchKeys::ForAddress(kHokkaido.c_str(), "", "", 5));
}
// The fast pass held to SSE2, as on a processor without AVX2.
bool SearchFastSse2(int fd, const orvek::detail::SearchKeys& keys, orvek::detail::RowSink& sink) {
  return orvek::detail::SearchFast(fd, keys, sink, orvek::detail::Simd::kSse2);
}
void FastPassCodeSse2(benchmark::State& state) {
  RunPass(state, SearchFastSse2, orvek::detail::SearchKeys::ForPostalCode(kCode.c_str()));
}
void LiteralPassCode(benchmark::State& state) {
  RunPass(state, orvek::detail::SearchLiteral,
          orvek::detail::SearchKeys::ForPostalCode(kCode.c_str()));
}
void LiteralPassPrefectureMode5(benchmark::State& state) {
  RunPass(state, orvek::detail::SearchLiteral,
          orvek::detail::SearchKeys::ForAddress(kHokkaido.c_str(), "", "", 5));
}

BENCHMARK(CodeSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(PrefectureMode5)->Unit(benchmark::kMillisecond);
BENCHMARK(CityMode2)->Unit(benchmark::kMillisecond);
BENCHMARK(FastPassCode)->Unit(benchmark::kMillisecond);
BENCHMARK(FastPassPrefectureMode5)->Unit(benchmark::kMillisecond);
BENCHMARK(FastPassCodeSse2)->Unit(benchmark::kMillisecond);
BENCHMARK(LiteralPassCode)->Unit(benchmark::kMillisecond);
BENCHMARK(LiteralPassPrefectureMode5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const char* data_dir = argc > 1 ? argv[1] : ORVEK_BENCH_DATA_DIR;
  if (::chdir(data_dir) != 0) {
    std::fprintf(stderr, "orvek-bench: cannot enter the data folder %s\n", data_dir);
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
