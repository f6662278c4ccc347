#include "platform/headless_backend.h"

#include <cstdio>

#include "platform/encoding.h"

namespace platform {

HeadlessBackend::HeadlessBackend() : previous_(CurrentBackend()) {
  SetBackend(this);
}

HeadlessBackend::~HeadlessBackend() {
  SetBackend(previous_);
}

int HeadlessBackend::ShowMessageBox(const std::string& caption, const std::string& text,
                                    UINT type) {
  message_boxes_.push_back(ShownMessageBox{caption, text, type});
  if (echo_) {
    // Nobody can press OK: say it where a person will read it.
    std::fprintf(stderr, "%s: %s\n", Cp932ToLocale(caption).c_str(), Cp932ToLocale(text).c_str());
    std::fflush(stderr);
  }
  return IDOK;
}

}  // namespace platform
