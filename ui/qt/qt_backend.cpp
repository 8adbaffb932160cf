// Qt 6 implementation of ui/platform.h. Handles are small integers handed out
// once and never reused, mapped to the widgets they name; a destroyed control
// leaves the map, so a stale handle reaches nothing.
#include "ui/qt/qt_backend.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "text/cp932.h"
#include "ui/platform.h"
#include "ui/resources/templates.h"
#include "ui/shell.h"

namespace {

// Pixel size of the one font. IPAGothic draws half-width characters at half
// this width; 13 px keeps every fixed label clear of the controls beside it.
constexpr int kFontPixelSize = 13;
// The closed height of a drop-down list; the rest of its rectangle is the list.
constexpr int kClosedListHeight = 22;

// Win32 notification codes delivered in the high word of a command.
constexpr std::uintptr_t kEditChange = 0x0300;  // EN_CHANGE
constexpr std::uintptr_t kListSelectionChange = 1;  // CBN_SELCHANGE

struct Control {
  QPointer<QWidget> outer;  // what is placed and destroyed
  QPointer<QWidget> inner;  // what holds the text (the button inside a frame)
};

AppState* gApp = nullptr;
QPointer<QWidget> gWindow;
QPointer<QWidget> gCanvas;
QPointer<QMenuBar> gMenuBar;
std::unordered_map<ControlHandle, Control> gControls;
ControlHandle gNextHandle = 1;

ControlHandle remember(QWidget* outer, QWidget* inner) {
  ControlHandle h = gNextHandle++;
  gControls[h] = Control{outer, inner};
  return h;
}

QWidget* innerOf(ControlHandle handle) {
  auto it = gControls.find(handle);
  return it == gControls.end() ? nullptr : it->second.inner.data();
}

QString fromCp932(const char* text) { return QString::fromStdString(cp932ToUtf8(text)); }
std::string toCp932(const QString& text) { return utf8ToCp932(text.toStdString()); }

void sendCommand(std::uintptr_t wParam) {
  if (gApp != nullptr) shellCommand(*gApp, wParam);
}

// The client area: white, painted by the shell.
class Canvas : public QWidget {
 public:
  Canvas() {
    setFixedSize(quillmarqt::kClientWidth, quillmarqt::kClientHeight);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setFont(font());
    if (gApp != nullptr) shellPaint(*gApp, reinterpret_cast<PaintSurface>(&painter));
  }
};

// A modal dialog built from a template; its commands go to the shell's handler.
class TemplateDialog : public QDialog {
 public:
  TemplateDialog(QWidget* parent, AppState& app, DialogCommandHandler onCommand)
      : QDialog(parent), app_(app), onCommand_(onCommand) {}

  void command(std::uintptr_t wParam) {
    if (onCommand_(app_, wParam)) done(kCmdCancel);
  }
  // Escape and the close box.
  void reject() override { command(kCmdCancel); }

 private:
  AppState& app_;
  DialogCommandHandler onCommand_;
};

struct DialogItem {
  ControlHandle dialog;
  int32_t id;
  ControlHandle item;
};
std::vector<DialogItem> gDialogItems;

void forget(ControlHandle handle) {
  auto it = gControls.find(handle);
  if (it != gControls.end()) gControls.erase(it);
}

}  // namespace

// --- seam -------------------------------------------------------------------

ControlHandle platformCreateControl(const AppState&, ControlKind kind, int32_t id, ControlRect rect,
                                    const char* caption) {
  if (gCanvas == nullptr) return 0;
  QRect geometry(rect.x, rect.y, rect.width, rect.height);
  QWidget* outer = nullptr;
  QWidget* inner = nullptr;
  switch (kind) {
    case ControlKind::kTabStopEdit:
    case ControlKind::kPlainEdit: {
      auto* edit = new QLineEdit(gCanvas);
      edit->setText(fromCp932(caption));
      // Only tab-stop edits are in the Tab chain; the others take focus on a click.
      edit->setFocusPolicy(kind == ControlKind::kTabStopEdit ? Qt::StrongFocus : Qt::ClickFocus);
      QObject::connect(edit, &QLineEdit::textEdited, edit, [id] { sendCommand((kEditChange << 16) | uint32_t(id)); });
      outer = inner = edit;
      break;
    }
    case ControlKind::kPushButton:
    case ControlKind::kFramedPushButton: {
      QPushButton* button = nullptr;
      if (kind == ControlKind::kFramedPushButton) {
        // WS_BORDER: a one-pixel black frame around the button.
        auto* frame = new QFrame(gCanvas);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
        QPalette palette = frame->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        frame->setPalette(palette);
        button = new QPushButton(frame);
        button->setGeometry(1, 1, rect.width - 2, rect.height - 2);
        outer = frame;
      } else {
        button = new QPushButton(gCanvas);
        outer = button;
      }
      button->setText(fromCp932(caption));
      button->setFocusPolicy(Qt::ClickFocus);
      button->setAutoDefault(false);
      QObject::connect(button, &QPushButton::clicked, button, [id] { sendCommand(uint32_t(id)); });
      inner = button;
      break;
    }
    case ControlKind::kCheckBox: {
      auto* box = new QCheckBox(gCanvas);
      box->setText(fromCp932(caption));
      box->setFocusPolicy(Qt::ClickFocus);
      QObject::connect(box, &QCheckBox::clicked, box, [id] { sendCommand(uint32_t(id)); });
      outer = inner = box;
      break;
    }
    case ControlKind::kDropDownList: {
      auto* list = new QComboBox(gCanvas);
      list->setFocusPolicy(Qt::ClickFocus);
      // The rectangle's height includes the dropped list: the closed box is
      // one row high and the popup shows as many rows as the rest holds.
      int rowHeight = QFontMetrics(list->font()).height() + 4;
      list->setMaxVisibleItems(std::max(1, (rect.height - kClosedListHeight) / rowHeight));
      geometry.setHeight(std::min(rect.height, kClosedListHeight));
      QObject::connect(list, &QComboBox::activated, list,
                       [id] { sendCommand((kListSelectionChange << 16) | uint32_t(id)); });
      outer = inner = list;
      break;
    }
  }
  outer->setGeometry(geometry);
  outer->setProperty("quillmarId", id);
  outer->show();
  return remember(outer, inner);
}

void platformDestroyControl(ControlHandle& handle) {
  if (handle == 0) return;
  auto it = gControls.find(handle);
  if (it != gControls.end()) {
    if (QWidget* w = it->second.outer) {
      // A button may be destroyed by its own click (a candidate button leaving
      // screen 1): hide it now, delete it once its signal has returned.
      w->hide();
      w->deleteLater();
    }
    gControls.erase(it);
  }
  handle = 0;
}

void platformSetText(ControlHandle handle, const char* text) {
  QWidget* w = innerOf(handle);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    edit->setText(fromCp932(text));
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    button->setText(fromCp932(text));
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(fromCp932(text));
  } else if (w != nullptr) {
    w->setWindowTitle(fromCp932(text));
  }
}

int32_t platformGetText(ControlHandle handle, char* buffer, int32_t n) {
  if (n < 1) return 0;
  QWidget* w = innerOf(handle);
  QString text;
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    text = edit->text();
  } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
    text = button->text();
  } else if (auto* list = qobject_cast<QComboBox*>(w)) {
    text = list->currentText();
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    text = label->text();
  }
  std::string bytes = toCp932(text);
  std::size_t length = cp932CutLength(bytes, static_cast<std::size_t>(n - 1));
  std::memcpy(buffer, bytes.data(), length);
  buffer[length] = '\0';
  return static_cast<int32_t>(length);
}

void platformAddListRow(ControlHandle handle, const char* text) {
  if (auto* list = qobject_cast<QComboBox*>(innerOf(handle))) list->addItem(fromCp932(text));
}

void platformSelectListRow(ControlHandle handle, int32_t row) {
  if (auto* list = qobject_cast<QComboBox*>(innerOf(handle))) list->setCurrentIndex(row < list->count() ? row : -1);
}

int32_t platformSelectedListRow(ControlHandle handle) {
  auto* list = qobject_cast<QComboBox*>(innerOf(handle));
  return list != nullptr ? list->currentIndex() : -1;
}

int32_t platformCheckState(ControlHandle handle) {
  auto* box = qobject_cast<QCheckBox*>(innerOf(handle));
  return box != nullptr && box->isChecked() ? 1 : 0;
}

void platformInvalidate(const AppState&) {
  if (gCanvas != nullptr) gCanvas->update();
}

void platformPaintFrameRect(PaintSurface surface, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  auto* painter = reinterpret_cast<QPainter*>(surface);
  painter->setPen(QPen(Qt::black, 1));
  painter->setBrush(Qt::white);
  // Win32 rectangles exclude their right and bottom edges.
  painter->drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void platformPaintText(PaintSurface surface, int32_t x, int32_t y, const char* text) {
  auto* painter = reinterpret_cast<QPainter*>(surface);
  painter->setPen(Qt::black);
  painter->setBackgroundMode(Qt::OpaqueMode);
  painter->setBackground(Qt::white);
  painter->drawText(QPoint(x, y + painter->fontMetrics().ascent()), fromCp932(text));
}

void platformPaintLine(PaintSurface surface, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  auto* painter = reinterpret_cast<QPainter*>(surface);
  painter->setPen(QPen(Qt::black, 1));
  painter->drawLine(x0, y0, x1, y1);
}

void platformRunModalDialog(AppState& app, const DialogTemplate& dialogTemplate, DialogInitHandler onInit,
                            DialogCommandHandler onCommand) {
  TemplateDialog dialog(gWindow, app, onCommand);
  dialog.setWindowTitle(fromCp932(dialogTemplate.caption));
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  // Dialog units: a quarter of the font's average character width across, an
  // eighth of its height down.
  QFontMetrics metrics(dialog.font());
  double unitX = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
                 52.0 / 4.0;
  double unitY = metrics.height() / 8.0;
  auto px = [](int32_t units, double unit) { return static_cast<int>(units * unit + 0.5); };
  dialog.setFixedSize(px(dialogTemplate.width, unitX), px(dialogTemplate.height, unitY));

  ControlHandle dialogHandle = remember(&dialog, &dialog);
  std::vector<ControlHandle> items;
  for (const DialogItemTemplate& item : dialogTemplate.items) {
    QRect geometry(px(item.x, unitX), px(item.y, unitY), px(item.width, unitX), px(item.height, unitY));
    QWidget* widget = nullptr;
    switch (item.itemClass) {
      case DialogItemClass::kButton: {
        auto* button = new QPushButton(fromCp932(item.text), &dialog);
        button->setDefault((item.style & kBsDefPushButton) != 0);
        button->setAutoDefault(false);
        std::uintptr_t id = static_cast<uint32_t>(item.id) & 0xFFFFu;
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, id] { dialog.command(id); });
        widget = button;
        break;
      }
      case DialogItemClass::kStatic: {
        auto* label = new QLabel(fromCp932(item.text), &dialog);
        // A label is never cut: it may run wider than its template box.
        geometry.setWidth(std::max(geometry.width(), label->sizeHint().width()));
        geometry.setHeight(std::max(geometry.height(), label->sizeHint().height()));
        widget = label;
        break;
      }
      case DialogItemClass::kEdit:
        widget = new QLineEdit(fromCp932(item.text), &dialog);
        break;
    }
    widget->setFocusPolicy((item.style & kWsTabStop) != 0 ? Qt::StrongFocus : Qt::NoFocus);
    widget->setGeometry(geometry);
    widget->setProperty("quillmarId", item.id);
    ControlHandle handle = remember(widget, widget);
    items.push_back(handle);
    gDialogItems.push_back(DialogItem{dialogHandle, item.id, handle});
  }
  onInit(app, dialogHandle);
  // The focus starts on the first tab-stop item ("OK").
  for (QWidget* w : dialog.findChildren<QWidget*>())
    if (w->focusPolicy() & Qt::TabFocus) {
      w->setFocus();
      break;
    }
  dialog.exec();

  for (ControlHandle h : items) forget(h);
  forget(dialogHandle);
  std::erase_if(gDialogItems, [dialogHandle](const DialogItem& d) { return d.dialog == dialogHandle; });
}

ControlHandle platformDialogItem(ControlHandle dialog, int32_t id) {
  for (const DialogItem& d : gDialogItems)
    if (d.dialog == dialog && d.id == id) return d.item;
  return 0;
}

void platformOpenDocument(const char* path) {
  QDesktopServices::openUrl(QUrl::fromLocalFile(QDir::current().absoluteFilePath(QString::fromLocal8Bit(path))));
}

// --- window -----------------------------------------------------------------

namespace quillmarqt {

void setUpApplication(QApplication& application) {
  QFont font(QStringLiteral("IPAGothic"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(kFontPixelSize);
  QApplication::setFont(font);
  // Edits as Win32 draws WS_BORDER edits (a plain one-pixel frame, small inner
  // margins, so that two digits fit 20 pixels); list popups that honour their
  // row count.
  application.setStyleSheet(QStringLiteral(
      "QLineEdit { border: 1px solid black; padding: 0px 1px; background: white; }"
      "QComboBox { combobox-popup: 0; }"));
}

QWidget* createMainWindow(AppState& app, const char* directory) {
  gApp = &app;
  auto* window = new QWidget;
  window->setWindowTitle(fromCp932(texts::kTextWindowTitle));
  // WS_SYSMENU only: a title and a close box, no minimise, maximise or sizing.
  window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  auto* layout = new QVBoxLayout(window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  // The client area is exactly 800 x 600 below the menu bar; the window's
  // outer size follows from it.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  auto* bar = new QMenuBar(window);
  QMenu* menu = bar->addMenu(fromCp932(kStepMenu.popupText));
  for (const MenuItemTemplate& item : kStepMenu.items) {
    QAction* action = menu->addAction(fromCp932(item.text));
    std::uintptr_t id = static_cast<uint32_t>(item.id);
    QObject::connect(action, &QAction::triggered, window, [id] { sendCommand(id); });
  }
  layout->setMenuBar(bar);

  auto* canvas = new Canvas;
  layout->addWidget(canvas);
  gWindow = window;
  gCanvas = canvas;
  gMenuBar = bar;
  app.mainWindow = remember(canvas, canvas);
  shellStart(app, directory);
  return window;
}

QWidget* clientArea() { return gCanvas; }
QMenuBar* menuBar() { return gMenuBar; }

QWidget* widgetOf(ControlHandle handle) {
  auto it = gControls.find(handle);
  return it == gControls.end() ? nullptr : it->second.outer.data();
}

}  // namespace quillmarqt
