// Device contexts, as far as the program paints: the icon of a minimised window.
#pragma once

#include "platform/wintypes.h"

class CWnd;

class CDC {
 public:
  HDC GetSafeHdc() const { return m_hDC; }
  BOOL DrawIcon(int x, int y, HICON icon);

  HDC m_hDC = nullptr;
};

// Begins painting a window on construction and ends it on destruction.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC();
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  PAINTSTRUCT m_ps{};

 private:
  HWND m_hWnd;
};
