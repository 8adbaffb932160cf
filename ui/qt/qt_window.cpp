#include "ui/qt/qt_window.h"

#include <QApplication>
#include <QFont>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QTimerEvent>
#include <QVBoxLayout>
#include <QWidget>

#include "ui/resources/templates.h"
#include "ui/shell.h"

namespace {

// Pixel size of the one font. IPAGothic draws half-width characters at half
// this width; 13 px keeps every fixed label clear of the controls beside it.
constexpr int kFontPixelSize = 13;

// The client area: white, painted by the shell; clicks on its controls and the
// menu's choices reach the shell through it.
class Canvas : public QWidget {
 public:
  explicit Canvas(AppState& app) : app_(app) {
    setFixedSize(quillmarqt::kClientWidth, quillmarqt::kClientHeight);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

  void command(int32_t id) { shellCommand(app_, id); }

  void startTicks(int32_t milliseconds) {
    stopTicks();
    // Precise: the timer's countdown needs its ticks within a few ms of their period.
    timerId_ = startTimer(milliseconds < 1 ? 1 : milliseconds, Qt::PreciseTimer);
  }
  void stopTicks() {
    if (timerId_ != 0) killTimer(timerId_);
    timerId_ = 0;
  }

 protected:
  void timerEvent(QTimerEvent* event) override {
    if (event->timerId() == timerId_) shellTimer(app_);
  }

  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setFont(font());
    shellPaint(app_, reinterpret_cast<PaintSurface>(&painter));
  }

 private:
  AppState& app_;
  int timerId_ = 0;
};

// The top-level window. Closing it, or deleting it unclosed, first lets the
// shell end the work it runs off the window's thread.
class MainWindow : public QWidget {
 public:
  explicit MainWindow(AppState& app) : app_(app) {}
  ~MainWindow() override { shellClose(app_); }

 protected:
  void closeEvent(QCloseEvent* event) override {
    shellClose(app_);
    QWidget::closeEvent(event);
  }

 private:
  AppState& app_;
};

QPointer<Canvas> gCanvas;

// The keyboard reaches the menu as on Windows: F10, or Alt pressed and
// released alone, opens "ステップ" (then the arrows and Enter choose, Escape
// leaves). Watches the key events of every widget of the main window while
// no dialog or popup is open.
class MenuKeys : public QObject {
 public:
  MenuKeys(QWidget* window, QMenuBar* bar) : QObject(window), window_(window), bar_(bar) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress) altAlone_ = false;
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != window_ || QApplication::activeModalWidget() != nullptr ||
        QApplication::activePopupWidget() != nullptr)
      return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat()) return false;
    const bool altKey = key->key() == Qt::Key_Alt;
    if (type == QEvent::KeyPress) {
      // Alt may come with or without its own modifier bit, and a key event
      // that nobody takes is seen again by each parent on its way up.
      altAlone_ = altKey && (key->modifiers() & ~Qt::AltModifier) == Qt::NoModifier;
      if (key->key() == Qt::Key_F10 && key->modifiers() == Qt::NoModifier) return openMenu();
      return false;
    }
    if (altKey && altAlone_) {
      altAlone_ = false;
      return openMenu();
    }
    return false;
  }

 private:
  bool openMenu() {
    if (bar_ == nullptr || bar_->actions().isEmpty()) return false;
    bar_->setActiveAction(bar_->actions().first());
    return true;
  }

  QWidget* window_;
  QPointer<QMenuBar> bar_;
  bool altAlone_ = false;
};

}  // namespace

namespace quillmarqt {

void setUpApplication(QApplication& application) {
  QFont font(QStringLiteral("IPAGothic"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kFontPixelSize);
  QApplication::setFont(font);
  // Edits with a plain one-pixel frame and small inner margins, so that two
  // digits fit 20 pixels; list popups that honour their row count.
  application.setStyleSheet(QStringLiteral(
      "QLineEdit { border: 1px solid black; padding: 0px 1px; background: white; }"
      "QComboBox { combobox-popup: 0; }"));
}

QWidget* createMainWindow(AppState& app, const char* directory) {
  auto* window = new MainWindow(app);
  window->setWindowTitle(fromCp932(texts::kTextWindowTitle));
  // A title and a close box only: no minimise, maximise or sizing.
  window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  // The client area is exactly 800 x 600 below the menu bar; the window's
  // outer size follows from it.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  auto* canvas = new Canvas(app);
  auto* bar = new QMenuBar(window);
  QMenu* menu = bar->addMenu(fromCp932(kStepMenu.popupText));
  for (const MenuItemTemplate& item : kStepMenu.items) {
    QAction* action = menu->addAction(fromCp932(item.text));
    int32_t id = item.id;
    QObject::connect(action, &QAction::triggered, canvas, [canvas, id] { canvas->command(id); });
  }
  layout->setMenuBar(bar);
  QApplication::instance()->installEventFilter(new MenuKeys(window, bar));
  layout->addWidget(canvas);
  gCanvas = canvas;
  app.mainWindow = reinterpret_cast<std::intptr_t>(static_cast<QWidget*>(canvas));
  shellStart(app, directory);
  return window;
}

void clicked(QWidget* clientArea, int32_t id) { static_cast<Canvas*>(clientArea)->command(id); }

void startShellTimer(QWidget* clientArea, int32_t milliseconds) {
  static_cast<Canvas*>(clientArea)->startTicks(milliseconds);
}

void stopShellTimer(QWidget* clientArea) { static_cast<Canvas*>(clientArea)->stopTicks(); }

QWidget* clientArea() { return gCanvas; }
QMenuBar* menuBar() { return gCanvas != nullptr ? gCanvas->window()->findChild<QMenuBar*>() : nullptr; }

}  // namespace quillmarqt
