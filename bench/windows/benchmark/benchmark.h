// The part of Google Benchmark that orvek-bench uses, for the Windows build: Debian ships the
// library for Linux only. It runs each benchmark as Google Benchmark does (iterations grow until
// a run lasts half a second) and prints the same columns, so the two outputs compare line by
// line. --benchmark_filter=TEXT keeps the benchmarks whose names contain TEXT.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace benchmark {

enum TimeUnit { kNanosecond, kMicrosecond, kMillisecond };

class State {
 public:
  explicit State(long iterations) : left_(iterations) {}

  // As in Google Benchmark: `for (auto _ : state)` declares a variable nobody reads.
  struct __attribute__((unused)) Value {};
  class Iterator {
   public:
    explicit Iterator(State* state) : state_(state) {}
    Value operator*() const { return {}; }
    Iterator& operator++() {
      --state_->left_;
      return *this;
    }
    bool operator!=(const Iterator&) const { return state_->left_ > 0 && !state_->error_; }

   private:
    State* state_;
  };
  Iterator begin() { return Iterator(this); }
  Iterator end() { return Iterator(this); }

  void SkipWithError(const char* message) {
    error_ = true;
    message_ = message;
  }
  bool error() const { return error_; }
  const std::string& message() const { return message_; }

  std::map<std::string, double> counters;

 private:
  long left_;
  bool error_ = false;
  std::string message_;
};

namespace internal {

struct Entry {
  const char* name;
  void (*function)(State&);
  TimeUnit unit = kNanosecond;
  Entry* Unit(TimeUnit u) {
    unit = u;
    return this;
  }
};

inline std::vector<Entry*>& Registry() {
  static std::vector<Entry*> entries;
  return entries;
}

inline Entry* Register(const char* name, void (*function)(State&)) {
  Registry().push_back(new Entry{name, function});
  return Registry().back();
}

inline std::string& Filter() {
  static std::string filter;
  return filter;
}

// CPU time of the process, in seconds.
inline double ProcessSeconds() {
  FILETIME creation, exit, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
  auto seconds = [](const FILETIME& t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime) *
           1e-7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace internal

inline void Initialize(int* argc, char** argv) {
  int kept = 1;
  for (int i = 1; i < *argc; ++i) {
    if (std::strncmp(argv[i], "--benchmark_filter=", 19) == 0) {
      internal::Filter() = argv[i] + 19;
    } else {
      argv[kept++] = argv[i];
    }
  }
  *argc = kept;
}

inline void RunSpecifiedBenchmarks() {
  std::printf("%-30s %13s %13s %10s %s\n", "Benchmark", "Time", "CPU", "Iterations",
              "UserCounters...");
  for (internal::Entry* entry : internal::Registry()) {
    if (std::strstr(entry->name, internal::Filter().c_str()) == nullptr) continue;
    long iterations = 1;
    for (;;) {
      State state(iterations);
      const double cpu_start = internal::ProcessSeconds();
      const auto start = std::chrono::steady_clock::now();
      entry->function(state);
      const double wall =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
      const double cpu = internal::ProcessSeconds() - cpu_start;
      if (state.error()) {
        std::printf("%-30s ERROR OCCURRED: '%s'\n", entry->name, state.message().c_str());
        break;
      }
      if (wall < 0.5 && iterations < 1000000000L) {
        // As Google Benchmark: aim for half a second, at most ten times more at once.
        const double factor = wall > 0 ? 0.7 / wall : 10.0;
        iterations = static_cast<long>(iterations * (factor > 10 ? 10 : factor)) + 1;
        continue;
      }
      const double scale = entry->unit == kMillisecond   ? 1e3
                           : entry->unit == kMicrosecond ? 1e6
                                                         : 1e9;
      const char* unit = entry->unit == kMillisecond   ? "ms"
                         : entry->unit == kMicrosecond ? "us"
                                                       : "ns";
      std::string counters;
      for (const auto& [name, value] : state.counters) {
        char text[64];
        std::snprintf(text, sizeof text, " %s=%g", name.c_str(), value);
        counters += text;
      }
      std::printf("%-30s %10.3f %s %10.3f %s %10ld%s\n", entry->name, wall / iterations * scale,
                  unit, cpu / iterations * scale, unit, iterations, counters.c_str());
      break;
    }
  }
}

inline void Shutdown() {}

}  // namespace benchmark

#define BENCHMARK_CONCAT_(a, b) a##b
#define BENCHMARK_CONCAT(a, b) BENCHMARK_CONCAT_(a, b)
#define BENCHMARK(function)                                               \
  [[maybe_unused]] static ::benchmark::internal::Entry* BENCHMARK_CONCAT( \
      benchmark_entry_, __LINE__) = ::benchmark::internal::Register(#function, function)
