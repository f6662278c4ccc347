#include "search_timing.h"

#include <cstdio>
#include <string>

namespace platform::search_timing {
namespace {

struct State {
  std::wstring file;
  LARGE_INTEGER pressed{};
  ULONGLONG cpu_at_press = 0;
  bool pending = false;
};

// The processor time the process has used, in 100 ns units.
ULONGLONG ProcessCpuTime() {
  FILETIME created{};
  FILETIME ended{};
  FILETIME kernel{};
  FILETIME user{};
  if (!::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user)) return 0;
  const auto value = [](const FILETIME& time) {
    return (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
  };
  return value(kernel) + value(user);
}

State* Timing() {
  static State* const state = []() -> State* {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"MORVANE_TIMING", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    static State timing;
    timing.file.assign(path, length);
    return &timing;
  }();
  return state;
}

}  // namespace

bool Enabled() {
  return Timing() != nullptr;
}

void ButtonPressed() {
  State* state = Timing();
  if (state == nullptr) return;
  ::QueryPerformanceCounter(&state->pressed);
  state->cpu_at_press = ProcessCpuTime();
  state->pending = true;
}

void ListPainted(HWND list) {
  State* state = Timing();
  if (state == nullptr || !state->pending) return;
  state->pending = false;
  LARGE_INTEGER now{};
  LARGE_INTEGER frequency{};
  ::QueryPerformanceCounter(&now);
  ::QueryPerformanceFrequency(&frequency);
  const double ms = 1000.0 * static_cast<double>(now.QuadPart - state->pressed.QuadPart) /
                    static_cast<double>(frequency.QuadPart);
  const double cpu_ms = static_cast<double>(ProcessCpuTime() - state->cpu_at_press) / 10000.0;
  const auto rows = static_cast<long long>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
  if (FILE* out = ::_wfopen(state->file.c_str(), L"a")) {
    std::fprintf(out, "%.1f %.1f %lld\n", ms, cpu_ms, rows);
    std::fclose(out);
  }
}

}  // namespace platform::search_timing
