#include "platform/qt_backend.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEventLoop>
#include <QInputMethod>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <QTranslator>
#include <QWindow>

#include "accessibility.h"
#include "dialog_widget.h"
#include "edit_widget.h"
#include "fonts.h"
#include "platform/clipboard.h"
#include "platform/dialogwindow.h"
#include "platform/ime.h"
#include "text.h"

namespace platform {
namespace {

// While the QApplication is made, Qt's messages are held back: a display that cannot be
// opened gives several lines about plugins and then a fatal message, which aborts. The
// program's handler says it in one line instead, with the display that was tried and Qt's own
// reasons; otherwise the held messages are shown as they would have been.
struct HeldMessage {
  QtMsgType type;
  QByteArray category;
  QString text;
};
std::vector<HeldMessage>* g_held_messages = nullptr;
QtBackend::NoDisplayHandler g_on_no_display = nullptr;

// NAME=value for a variable that is set and not empty.
QString Setting(const char* name) {
  const QString value = qEnvironmentVariable(name);
  return value.isEmpty() ? QString() : QStringLiteral("%1=%2").arg(QLatin1String(name), value);
}

// What the window system plugins said, in one line. A plugin that was found but did not load
// is also reported in a line of its own, which says nothing more once its reason is there.
QString ReasonOf(const std::vector<HeldMessage>& held) {
  QStringList reasons;
  QStringList not_loaded;
  for (const HeldMessage& message : held) {
    QString text = message.text.simplified();
    while (text.endsWith(QLatin1Char('.'))) text.chop(1);
    if (text.isEmpty() || reasons.contains(text) || not_loaded.contains(text)) continue;
    (text.endsWith(QLatin1String("even though it was found")) ? not_loaded : reasons) << text;
  }
  return (reasons.isEmpty() ? not_loaded : reasons).join(QLatin1String("; "));
}

// "DISPLAY is not set, nor is WAYLAND_DISPLAY", or the settings that named a display (or a
// platform) and why none could be opened.
std::string NoDisplayReport(const std::vector<HeldMessage>& held) {
  QStringList tried;
  for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"}) {
    if (QString setting = Setting(name); !setting.isEmpty()) tried << setting;
  }
  if (tried.isEmpty()) return "DISPLAY is not set, nor is WAYLAND_DISPLAY";
  QString report = tried.takeLast();
  if (!tried.isEmpty()) report = tried.join(QLatin1String(", ")) + QLatin1String(" and ") + report;
  report += QLatin1String(" cannot be opened");
  if (const QString reason = ReasonOf(held); !reason.isEmpty())
    report += QLatin1String(": ") + reason;
  return report.toStdString();
}

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) g_on_no_display(NoDisplayReport(*g_held_messages));
  g_held_messages->push_back({type, QByteArray(context.category), text});
}

std::unique_ptr<QApplication> MakeApplication(int& argc, char** argv,
                                              QtBackend::NoDisplayHandler on_no_display) {
  if (on_no_display == nullptr) return std::make_unique<QApplication>(argc, argv);
  std::vector<HeldMessage> held;
  g_held_messages = &held;
  g_on_no_display = on_no_display;
  const QtMessageHandler previous = qInstallMessageHandler(HoldMessage);
  auto app = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previous);
  g_held_messages = nullptr;
  for (const HeldMessage& message : held) {
    const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
    if (previous != nullptr) {
      previous(message.type, context, message.text);
    } else {
      qt_message_output(message.type, context, message.text);
    }
  }
  return app;
}

}  // namespace

QtBackend::QtBackend(int& argc, char** argv, NoDisplayHandler on_no_display)
    : previous_(CurrentBackend()) {
  if (QApplication::instance() == nullptr) app_ = MakeApplication(argc, argv, on_no_display);
  qt::InstallFontSubstitutions();
  qt::InstallAccessibleFactory();
  // The program is Japanese whatever the locale, and so are Qt's own texts (an edit's context
  // menu): Qt's shipped translation, not texts of ours.
  translator_ = std::make_unique<QTranslator>();
  if (translator_->load(QStringLiteral("qtbase_ja"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator_.get());
  }
  // A safety net for EndDialog called outside a person's action (a timer, a test): the loops
  // are also checked after every action, which is where it normally happens.
  loop_watch_ = new QTimer();
  loop_watch_->setInterval(50);
  QObject::connect(loop_watch_, &QTimer::timeout, [this] { QuitEndedLoops(); });
  SetBackend(this);
}

QtBackend::~QtBackend() {
  SetBackend(previous_);
  delete loop_watch_;
  QCoreApplication::removeTranslator(translator_.get());
  // Widgets of windows the core still holds go first, while the application exists.
  std::vector<QWidget*> dialogs;
  for (auto& [window, widget] : widgets_) {
    if (window->Parent() == nullptr) dialogs.push_back(widget);
  }
  for (QWidget* widget : dialogs) delete widget;
}

QtBackend* QtBackend::Instance() {
  return dynamic_cast<QtBackend*>(CurrentBackend());
}

void QtBackend::Register(const Window* window, QWidget* widget) {
  widgets_[window] = widget;
}

void QtBackend::Unregister(const Window* window) {
  widgets_.erase(window);
}

QWidget* QtBackend::WidgetOf(const Window* window) const {
  auto it = widgets_.find(window);
  return it == widgets_.end() ? nullptr : it->second;
}

POINT QtBackend::BaseUnits(const DialogWindow* dialog) {
  return qt::BaseUnitsOf(qt::DialogFont(dialog->FontName(), dialog->PointSize()));
}

POINT QtBackend::ScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return Backend::ScreenSize();
  return POINT{screen->geometry().width(), screen->geometry().height()};
}

bool QtBackend::DialogCreated(DialogWindow* dialog) {
  new qt::DialogWidget(dialog);  // deletes itself when the core destroys the window
  return true;
}

void QtBackend::RunModalLoop(DialogWindow* dialog) {
  if (QWidget* widget = WidgetOf(dialog)) {
    PaintNow(widget);
    SaveScreenshot(dialog, widget);
  }
  QEventLoop loop;
  loops_.push_back({dialog, &loop});
  loop_watch_->start();
  while (!dialog->ModalEnded()) {
    loop.exec();
    if (!dialog->ModalEnded()) {
      // The application is quitting every loop: nobody can answer this dialog any more.
      dialog->EndModal(-1);
    }
  }
  std::erase_if(loops_, [&loop](const Loop& entry) { return entry.loop == &loop; });
  if (loops_.empty()) loop_watch_->stop();
}

void QtBackend::QuitEndedLoops() {
  for (const Loop& entry : loops_) {
    if (entry.dialog->ModalEnded()) entry.loop->quit();
  }
}

void QtBackend::PaintNow(QWidget* widget) {
  widget->show();
  // The window system maps the window in its own time; input waits, painting does not. The
  // wait sleeps until the next event rather than polling: the window server and the window
  // manager need the processor to map the window.
  QWindow* window = widget->windowHandle();
  if (window != nullptr && !window->isExposed()) {
    QTimer limit;
    limit.setSingleShot(true);
    limit.start(2000);
    while (!window->isExposed() && limit.isActive()) {
      QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                      QEventLoop::WaitForMoreEvents);
    }
  }
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  widget->repaint();
  // Pushed to the server and waited for, since the caller may block the thread right away.
  QGuiApplication::sync();
}

void QtBackend::ModelessShown(DialogWindow* dialog) {
  QWidget* widget = WidgetOf(dialog);
  if (widget == nullptr) return;
  PaintNow(widget);
  SaveScreenshot(dialog, widget);
}

void QtBackend::SaveScreenshot(DialogWindow* dialog, QWidget* widget) {
  const QString folder = qEnvironmentVariable("MORVANE_SCREENSHOT_DIR");
  if (folder.isEmpty()) return;
  QDir().mkpath(folder);
  widget->grab().save(
      QDir(folder).filePath(QStringLiteral("dialog-%1.png").arg(dialog->TemplateId())));
}

void QtBackend::BeginMove(DialogWindow* dialog) {
  // Where the window system offers it; elsewhere the window stays (the title bar still moves it).
  if (QWidget* widget = WidgetOf(dialog); widget != nullptr && widget->windowHandle() != nullptr) {
    widget->windowHandle()->startSystemMove();
  }
}

int QtBackend::ShowMessageBox(const std::string& caption, const std::string& text, UINT type) {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  switch (type & 0xF0) {
    case 0x10:
      icon = QMessageBox::Critical;
      break;
    case 0x20:
      icon = QMessageBox::Question;
      break;
    case 0x30:
      icon = QMessageBox::Warning;
      break;
    case 0x40:
      icon = QMessageBox::Information;
      break;
    default:
      break;
  }
  QString body = qt::ToQString(text);
  body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QWidget* owner = WidgetOf(ActiveWindow());
  QMessageBox box(icon, qt::ToQString(caption), body, QMessageBox::Ok, owner);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
  QuitEndedLoops();
  return IDOK;
}

void QtBackend::ClipboardChanged() {
  QGuiApplication::clipboard()->setText(qt::ToQString(ClipboardText()));
}

void QtBackend::InputMethodChanged(InputContext* context) {
  // Only the focused edit's answer matters to the input method; ask it again when its
  // dialog's status changed.
  auto* edit = dynamic_cast<qt::EditWidget*>(QApplication::focusWidget());
  if (edit == nullptr || edit->CoreWindow() == nullptr) return;
  if (context == nullptr || edit->CoreWindow()->TopLevel() == context->owner) {
    QGuiApplication::inputMethod()->update(Qt::ImEnabled);
  }
}

}  // namespace platform
