// The contract suites' form for the Windows tests, and the message pump between a person's
// actions.
#pragma once

#include "contract_form.h"

namespace win32_test {

using contract::kFormTemplate;
using contract::RecordingDialog;
using contract::RegisterFormTemplate;

// Delivers the messages waiting for this thread, as the modal loop would between a person's
// actions.
inline void Pump() {
  MSG msg;
  while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
}

}  // namespace win32_test
