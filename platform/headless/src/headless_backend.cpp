#include "platform/headless_backend.h"

#include <cstdio>

#include "platform/encoding.h"

namespace platform {

HeadlessBackend::HeadlessBackend() : previous_(CurrentBackend()) { SetBackend(this); }

HeadlessBackend::~HeadlessBackend() { SetBackend(previous_); }

int HeadlessBackend::ShowMessageBox(const std::string& caption, const std::string& text,
                                    UINT type) {
  message_boxes_.push_back({caption, text, type});
  if (echo_) {
    // A line break in the text is kept: the box shows it as two lines, and so does stderr.
    std::fprintf(stderr, "%s: %s\n", Cp932ToLocale(caption).c_str(), Cp932ToLocale(text).c_str());
  }
  return IDOK;
}

}  // namespace platform
