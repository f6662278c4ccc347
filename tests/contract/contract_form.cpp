#include "contract_form.h"

#include "contract_driver.h"
#include "platform/resource_registry.h"
#include "test_support.h"

namespace contract {

void RegisterFormTemplate() {
  using platform::WindowKind;
  constexpr DWORD kEditStyle = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
  platform::DialogTemplate form{
      kFormTemplate,
      "Form",
      WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT,
      0,
      200,
      120,
      test_support::Cp932("ＭＳ ゴシック"),
      9,
      {
          {kEdit, WindowKind::Edit, "", kEditStyle, 10, 10, 80, 14},
          {kRightEdit, WindowKind::Edit, "", kEditStyle | ES_RIGHT, 10, 30, 80, 14},
          {kList, WindowKind::ListBox, "",
           LBS_NOTIFY | LBS_DISABLENOSCROLL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER |
               WS_TABSTOP,
           10, 50, 180, 40},
          {105, WindowKind::PushButton, "OK", BS_PUSHBUTTON | WS_TABSTOP, 10, 95, 50, 14},
          {106, WindowKind::PushButton, "Cancel", BS_PUSHBUTTON | WS_TABSTOP, 70, 95, 50, 14},
      }};
  platform::RegisterDialogTemplate(std::move(form));
}

}  // namespace contract
