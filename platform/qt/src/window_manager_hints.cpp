#include "window_manager_hints.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstdint>
#include <cstdlib>

#ifdef MORVANE_HAVE_XCB
#include <xcb/xcb.h>

#include <QtGui/qguiapplication_platform.h>
#endif

namespace platform::qt {

void SetFrameFunctions(QWidget* window, bool close_box) {
#ifdef MORVANE_HAVE_XCB
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (x11 == nullptr || x11->connection() == nullptr) return;
  xcb_connection_t* connection = x11->connection();
  constexpr char kName[] = "_MOTIF_WM_HINTS";
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
      connection, xcb_intern_atom(connection, 0, sizeof kName - 1, kName), nullptr);
  if (atom == nullptr) return;
  // flags (functions, decorations), functions, decorations, input mode, status.
  constexpr std::uint32_t kFunctions = 1, kDecorations = 2;
  constexpr std::uint32_t kMove = 4, kClose = 32;
  constexpr std::uint32_t kBorder = 2, kTitle = 8, kMenu = 16;
  const std::uint32_t hints[5] = {kFunctions | kDecorations, kMove | (close_box ? kClose : 0),
                                  kBorder | kTitle | (close_box ? kMenu : 0), 0, 0};
  xcb_change_property(connection, XCB_PROP_MODE_REPLACE, static_cast<xcb_window_t>(window->winId()),
                      atom->atom, atom->atom, 32, 5, hints);
  std::free(atom);
#else
  static_cast<void>(window);
  static_cast<void>(close_box);
#endif
}

}  // namespace platform::qt
