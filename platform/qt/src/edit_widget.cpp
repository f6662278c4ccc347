#include "edit_widget.h"

#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>

#include "platform/ime.h"
#include "platform/user_input.h"
#include "text.h"

namespace platform::qt {

EditWidget::EditWidget(Window* window, POINT base_units, QWidget* parent)
    : QLineEdit(parent), ControlView(window, this, base_units) {
  const DWORD style = window->Style();
  if ((style & 0x3) == ES_RIGHT) setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  if ((style & 0x3) == ES_CENTER) setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  setReadOnly((style & ES_READONLY) != 0);
  setFrame((style & WS_BORDER) != 0);
  setFocusPolicy(Qt::StrongFocus);
  caret_scrolls_ = Edit()->CaretScrolls();
  ShowCore();
  ApplyState();
  connect(this, &QLineEdit::textEdited, this, &EditWidget::PersonEdited);
  connect(this, &QLineEdit::textChanged, this, &EditWidget::TextSetElsewhere);
  connect(this, &QLineEdit::cursorPositionChanged, this, &EditWidget::PersonMovedCaret);
  connect(this, &QLineEdit::selectionChanged, this, &EditWidget::PersonMovedCaret);
}

void EditWidget::TextChanged() {
  ShowCore();
}

void EditWidget::SelectionChanged() {
  ShowCore();
}

void EditWidget::StateChanged() {
  if (window_ == nullptr) return;
  ApplyState();
  if (Edit()->CaretScrolls() != caret_scrolls_) {
    caret_scrolls_ = Edit()->CaretScrolls();
    ShowCore();  // placing the cursor scrolls it into view
  }
}

void EditWidget::ShowCore() {
  if (window_ == nullptr) return;
  showing_ = true;
  const std::string& bytes = Edit()->Text();
  const QString shown = ToQString(bytes);
  if (text() != shown) setText(shown);
  const std::vector<int> offsets = ByteOffsets(bytes);
  // Byte offsets to positions in the shown text (an offset inside a character rounds up).
  const auto position = [&offsets](int byte) {
    for (std::size_t i = 0; i < offsets.size(); ++i) {
      if (offsets[i] >= byte) return static_cast<int>(i);
    }
    return static_cast<int>(offsets.size()) - 1;
  };
  const int start = position(Edit()->SelectionStart());
  const int end = position(Edit()->SelectionEnd());
  if (start == end) {
    if (hasSelectedText()) deselect();
    setCursorPosition(end);
  } else {
    setSelection(start, end - start);
  }
  showing_ = false;
}

void EditWidget::PersonEdited(const QString& edited) {
  if (showing_ || window_ == nullptr) return;
  HandOver(edited, cursorPosition());
}

void EditWidget::TextSetElsewhere() {
  if (showing_ || window_ == nullptr || text() == ToQString(Edit()->Text())) return;
  HandOver(text(), std::nullopt);
}

void EditWidget::HandOver(const QString& edited, std::optional<qsizetype> typed_at) {
  const std::string before_bytes = Edit()->Text();
  const QString before = ToQString(before_bytes);
  // The changed range: what lies between the common start and the common end. Typing ended
  // at the cursor (typing 'a' into "aa" inserted at the cursor), so the range reaches it.
  const qsizetype cursor = typed_at.value_or(edited.size());
  const qsizetype shortest = std::min(before.size(), edited.size());
  qsizetype prefix = 0;
  while (prefix < shortest && before[prefix] == edited[prefix]) ++prefix;
  prefix = std::min(prefix, cursor);
  qsizetype suffix = 0;
  while (suffix < shortest - prefix &&
         before[before.size() - 1 - suffix] == edited[edited.size() - 1 - suffix] &&
         (!typed_at || edited.size() - suffix > cursor)) {
    ++suffix;
  }
  const QString inserted = edited.mid(prefix, edited.size() - suffix - prefix);
  const std::optional<std::string> bytes = ToCp932(inserted);
  if (!bytes || (!typed_at && isReadOnly())) {
    // A character that CP932 cannot hold is refused, not changed into another one.
    QApplication::beep();
    ShowCore();
    return;
  }
  const std::vector<int> offsets = ByteOffsets(before_bytes);
  const int start = offsets[static_cast<std::size_t>(prefix)];
  const int end = offsets[static_cast<std::size_t>(before.size() - suffix)];
  if (typed_at) {
    Edit()->UserSelect(start, end);
    user::Type(window_, *bytes);
  } else {
    user::EditRange(window_, start, end, *bytes);
  }
  ShowCore();
  AfterAction();
}

void EditWidget::PersonMovedCaret() {
  if (showing_ || window_ == nullptr) return;
  // Qt moves the cursor of an edit before it reports the edit itself; PersonEdited places it.
  const std::string& bytes = Edit()->Text();
  if (text() != ToQString(bytes)) return;
  const std::vector<int> offsets = ByteOffsets(bytes);
  const auto byte = [&offsets](qsizetype position) {
    return offsets[static_cast<std::size_t>(
        std::clamp<qsizetype>(position, 0, static_cast<qsizetype>(offsets.size()) - 1))];
  };
  if (hasSelectedText()) {
    const qsizetype start = selectionStart();
    Edit()->UserSelect(byte(start), byte(start + selectedText().size()));
  } else {
    Edit()->UserSelect(byte(cursorPosition()), byte(cursorPosition()));
  }
}

QVariant EditWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
  if (query == Qt::ImEnabled) {
    const InputContext* context =
        window_ != nullptr ? InputContextOf(window_->TopLevel()) : nullptr;
    return context != nullptr && context->open && !isReadOnly();
  }
  return QLineEdit::inputMethodQuery(query);
}

void EditWidget::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  FocusArrived();
}

void EditWidget::keyPressEvent(QKeyEvent* event) {
  // Copying is the control's WM_COPY, so the core's clipboard holds what the system's does.
  if (window_ != nullptr &&
      (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Cut))) {
    window_->Dispatch(WM_COPY, 0, 0);
    if (event->matches(QKeySequence::Copy)) return;
  }
  QLineEdit::keyPressEvent(event);
}

}  // namespace platform::qt
