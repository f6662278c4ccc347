// Message boxes without anyone to press OK: the command line and tests. Each box goes to
// stderr (in the console's code page) and is recorded.
#pragma once

#include <string>
#include <vector>

#include "platform/backend.h"

namespace platform {

struct ShownMessageBox {
  std::string caption;  // CP932
  std::string text;     // CP932
  UINT type;
};

class HeadlessBackend : public Backend {
 public:
  // Installs itself as the current backend for its lifetime.
  HeadlessBackend();
  ~HeadlessBackend() override;
  HeadlessBackend(const HeadlessBackend&) = delete;
  HeadlessBackend& operator=(const HeadlessBackend&) = delete;

  int ShowMessageBox(const std::string& caption, const std::string& text, UINT type) override;

  const std::vector<ShownMessageBox>& MessageBoxes() const { return message_boxes_; }
  void SetEchoToStderr(bool echo) { echo_ = echo; }

 private:
  Backend* previous_;
  std::vector<ShownMessageBox> message_boxes_;
  bool echo_ = true;
};

}  // namespace platform
