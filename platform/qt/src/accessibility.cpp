#include "accessibility.h"

#include <QAccessibleWidget>
#include <utility>

#include "dialog_widget.h"
#include "listbox_widget.h"
#include "platform/dialogwindow.h"
#include "platform/qt_backend.h"
#include "platform/resource_registry.h"
#include "static_widget.h"
#include "text.h"

namespace platform::qt {
namespace {

QAccessibleInterface* DialogInterface(const QString& /*class_name*/, QObject* object) {
  auto* dialog = dynamic_cast<DialogWidget*>(object);
  return dialog != nullptr ? new QAccessibleWidget(dialog, QAccessible::Dialog) : nullptr;
}

// The name the dialog's template gives the control, empty for none.
std::string TemplateName(const DialogWindow* dialog, const Window* control) {
  const DialogTemplate* found = FindDialogTemplate(dialog->TemplateId());
  if (found == nullptr || control->Id() == -1) return {};
  for (const ControlTemplate& row : found->controls) {
    if (row.id == control->Id()) return row.accessible_name;
  }
  return {};
}

}  // namespace

void InstallAccessibleFactory() {
  static const bool installed = [] {
    QAccessible::installFactory(DialogInterface);
    return true;
  }();
  (void)installed;
}

void NameControls(DialogWindow* dialog) {
  QtBackend* backend = QtBackend::Instance();
  if (backend == nullptr) return;
  const Window* before = nullptr;
  for (Window* child : dialog->Children()) {
    const Window* previous = std::exchange(before, child);
    if (child->Kind() != WindowKind::Edit && child->Kind() != WindowKind::ListBox) continue;
    QWidget* widget = backend->WidgetOf(child);
    if (widget == nullptr) continue;
    if (const std::string own = TemplateName(dialog, child); !own.empty()) {
      if (auto* list = dynamic_cast<ListBoxWidget*>(widget)) {
        list->SetCountedName(ToQString(own));
      } else {
        widget->setAccessibleName(ToQString(own));
      }
      continue;
    }
    if (previous == nullptr || previous->Kind() != WindowKind::StaticText) continue;
    if (auto* label = dynamic_cast<StaticWidget*>(backend->WidgetOf(previous))) {
      label->LabelFor(widget);
    }
  }
}

}  // namespace platform::qt
