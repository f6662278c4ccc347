// Device contexts, as far as the program paints: the icon of a minimised window.
#pragma once

#include "platform/wintypes.h"

class CWnd;

class CDC {
 public:
  explicit CDC(CWnd* window) : m_pWnd(window) {}
  HDC GetSafeHdc() const { return reinterpret_cast<HDC>(const_cast<CDC*>(this)); }
  BOOL DrawIcon(int x, int y, HICON icon);

  CWnd* m_pWnd;
};

// Begins painting a window on construction and ends it on destruction.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* window);
  ~CPaintDC();
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;
};

int GetSystemMetrics(int index);
