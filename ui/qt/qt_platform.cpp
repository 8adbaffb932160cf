// The Qt side of ui/platform.h. Handles are small integers handed out once and
// never reused, mapped to the widgets they name; a destroyed control leaves the
// map, so a stale handle reaches nothing.
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QUrl>
#include <QValidator>
#include <QVariant>
#include <QWidget>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "text/cp932.h"
#include "ui/platform.h"
#include "ui/qt/qt_window.h"

namespace {

// The closed height of a drop-down list; the rest of its rectangle is the list.
constexpr int kClosedListHeight = 22;

struct Control {
  QPointer<QWidget> outer;  // what is placed and destroyed
  QPointer<QWidget> inner;  // what holds the text (the button inside a frame)
};

std::unordered_map<ControlHandle, Control> gControls;
ControlHandle gNextHandle = 1;

ControlHandle remember(QWidget* outer, QWidget* inner) {
  ControlHandle h = gNextHandle++;
  gControls[h] = Control{outer, inner};
  return h;
}

void forget(ControlHandle handle) { gControls.erase(handle); }

QWidget* innerOf(ControlHandle handle) {
  auto it = gControls.find(handle);
  return it == gControls.end() ? nullptr : it->second.inner.data();
}

QWidget* clientAreaOf(const AppState& app) { return reinterpret_cast<QWidget*>(app.mainWindow); }

std::string toCp932(const QString& text) { return utf8ToCp932(text.toStdString()); }

// QLineEdit keeps this many pixels inside its contents on either side.
constexpr int kInnerMargin = 2;

// An edit does not scroll, as a Windows edit without automatic scrolling: a
// change is refused once its text would no longer fit the edit's width, so the
// text shown always starts with its first character, the one read first. The
// room is the edit's contents rectangle less its text margins, the inner
// margins and one pixel for the cursor, the width beyond which QLineEdit
// scrolls.
class FitsWidthValidator : public QValidator {
 public:
  explicit FitsWidthValidator(QLineEdit* edit) : QValidator(edit), edit_(edit) {}

  State validate(QString& input, int&) const override { return fits(input) ? Acceptable : Invalid; }

 private:
  bool fits(const QString& text) const {
    QStyleOptionFrame option;
    option.initFrom(edit_);
    option.lineWidth = edit_->hasFrame() ? edit_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit_) : 0;
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    QRect room = edit_->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit_);
    room = room.marginsRemoved(edit_->textMargins());
    return edit_->fontMetrics().horizontalAdvance(text) + 1 <= room.width() - 2 * kInnerMargin;
  }

  QLineEdit* edit_;
};

// The window's edits are sized for Windows, whose edits keep almost no room
// around their text: negative text margins give the inner margins back, so
// that as many characters fit as the fields are meant to hold (two digits in
// 20 pixels).
QLineEdit* newEdit(const QString& text, QWidget* parent) {
  auto* edit = new QLineEdit(text, parent);
  edit->setTextMargins(-kInnerMargin, 0, -kInnerMargin, 0);
  edit->setValidator(new FitsWidthValidator(edit));
  return edit;
}

// A modal dialog built from a template; it ends once, with its outcome.
class TemplateDialog : public QDialog {
 public:
  TemplateDialog(QWidget* parent, AppState& app, DialogEndHandler onEnd) : QDialog(parent), app_(app), onEnd_(onEnd) {}

  void finish(DialogOutcome outcome) {
    onEnd_(app_, outcome);
    done(0);
  }
  // Escape and the close box.
  void reject() override { finish(DialogOutcome::kCancel); }

 protected:
  // Enter presses the button that has the focus ("キャンセル" cancels), as on
  // Windows; from an edit it presses the default button, OK.
  void keyPressEvent(QKeyEvent* event) override {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && event->modifiers() == Qt::NoModifier) {
      if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
        button->click();
        return;
      }
    }
    QDialog::keyPressEvent(event);
  }

 private:
  AppState& app_;
  DialogEndHandler onEnd_;
};

struct DialogItem {
  ControlHandle dialog;
  int32_t id;
  ControlHandle item;
};
std::vector<DialogItem> gDialogItems;

}  // namespace

QString quillmarqt::fromCp932(const char* text) { return QString::fromStdString(cp932ToUtf8(text)); }

QWidget* quillmarqt::widgetOf(ControlHandle handle) {
  auto it = gControls.find(handle);
  return it == gControls.end() ? nullptr : it->second.outer.data();
}

using quillmarqt::fromCp932;

ControlHandle platformCreateControl(const AppState& app, ControlKind kind, int32_t id, ControlRect rect,
                                    const char* caption) {
  QWidget* client = clientAreaOf(app);
  if (client == nullptr) return 0;
  QRect geometry(rect.x, rect.y, rect.width, rect.height);
  QWidget* outer = nullptr;
  QWidget* inner = nullptr;
  switch (kind) {
    case ControlKind::kTabStopEdit:
    case ControlKind::kPlainEdit: {
      auto* edit = newEdit(fromCp932(caption), client);
      // Only tab-stop edits are in the Tab chain; the others take focus on a click.
      edit->setFocusPolicy(kind == ControlKind::kTabStopEdit ? Qt::StrongFocus : Qt::ClickFocus);
      outer = inner = edit;
      break;
    }
    case ControlKind::kPushButton:
    case ControlKind::kFramedPushButton: {
      QPushButton* button = nullptr;
      if (kind == ControlKind::kFramedPushButton) {
        auto* frame = new QFrame(client);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(1);
        QPalette palette = frame->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        frame->setPalette(palette);
        button = new QPushButton(frame);
        button->setGeometry(1, 1, rect.width - 2, rect.height - 2);
        outer = frame;
      } else {
        button = new QPushButton(client);
        outer = button;
      }
      button->setText(fromCp932(caption));
      button->setFocusPolicy(Qt::ClickFocus);
      button->setAutoDefault(false);
      QObject::connect(button, &QPushButton::clicked, button, [client, id] { quillmarqt::clicked(client, id); });
      inner = button;
      break;
    }
    case ControlKind::kCheckBox: {
      auto* box = new QCheckBox(client);
      box->setText(fromCp932(caption));
      box->setFocusPolicy(Qt::ClickFocus);
      QObject::connect(box, &QCheckBox::clicked, box, [client, id] { quillmarqt::clicked(client, id); });
      outer = inner = box;
      break;
    }
    case ControlKind::kDropDownList: {
      auto* list = new QComboBox(client);
      list->setFocusPolicy(Qt::ClickFocus);
      // The rectangle's height includes the dropped list: the closed box is
      // one row high and the popup shows as many rows as the rest holds.
      int rowHeight = QFontMetrics(list->font()).height() + 4;
      list->setMaxVisibleItems(std::max(1, (rect.height - kClosedListHeight) / rowHeight));
      geometry.setHeight(std::min(rect.height, kClosedListHeight));
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
// Edits, buttons, check boxes and labels hold their text in the property
// "text", a drop-down list in "currentText"; a dialog's text is its title.
void platformSetText(ControlHandle handle, const char* text) {
  QWidget* w = innerOf(handle);
  if (w == nullptr) return;
  if (w->property("text").isValid()) {
    w->setProperty("text", fromCp932(text));
  } else {
    w->setWindowTitle(fromCp932(text));
  }
}

int32_t platformGetText(ControlHandle handle, char* buffer, int32_t n) {
  if (n < 1) return 0;
  QWidget* w = innerOf(handle);
  QVariant text = w != nullptr ? w->property("text") : QVariant();
  if (!text.isValid() && w != nullptr) text = w->property("currentText");
  return copyCp932Cut(toCp932(text.toString()), buffer, n);
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

bool platformIsChecked(ControlHandle handle) {
  auto* box = qobject_cast<QCheckBox*>(innerOf(handle));
  return box != nullptr && box->isChecked();
}

void platformSetChecked(ControlHandle handle, bool checked) {
  if (auto* box = qobject_cast<QCheckBox*>(innerOf(handle))) box->setChecked(checked);
}

void platformInvalidate(const AppState& app) {
  if (QWidget* client = clientAreaOf(app)) client->update();
}

void platformPaintFrameRect(PaintSurface surface, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  auto* painter = reinterpret_cast<QPainter*>(surface);
  painter->setPen(QPen(Qt::black, 1));
  painter->setBrush(Qt::white);
  // QRect's width and height include the right and bottom edges.
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

void platformPaintLargeText(PaintSurface surface, int32_t x, int32_t y, const char* text) {
  auto* painter = reinterpret_cast<QPainter*>(surface);
  painter->save();
  QFont large = painter->font();
  large.setPixelSize(48);
  painter->setFont(large);
  platformPaintText(surface, x, y, text);
  painter->restore();
}

void platformPaintFilledRect(PaintSurface surface, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  reinterpret_cast<QPainter*>(surface)->fillRect(QRect(left, top, right - left, bottom - top), Qt::black);
}

// CLOCK_MONOTONIC, the clock PulseAudio stamps its timing with: a cue's
// instant in milliseconds is that clock's instant at * 1,000,000 ns exactly.
int64_t platformNowMilliseconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

void platformEnableControl(ControlHandle handle, bool enabled) {
  if (QWidget* w = innerOf(handle)) w->setEnabled(enabled);
}

void platformFocusControl(ControlHandle handle) {
  if (QWidget* w = innerOf(handle)) w->setFocus(Qt::OtherFocusReason);
}

void platformRunModalDialog(AppState& app, const DialogTemplate& dialogTemplate, DialogInitHandler onInit,
                            DialogEndHandler onEnd) {
  TemplateDialog dialog(clientAreaOf(app)->window(), app, onEnd);
  dialog.setWindowTitle(fromCp932(dialogTemplate.caption));
  dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  // The template is laid out for this backend's font: its pixels are used as they are.
  dialog.setFixedSize(dialogTemplate.width, dialogTemplate.height);

  ControlHandle dialogHandle = remember(&dialog, &dialog);
  std::vector<ControlHandle> items;
  for (const DialogItemTemplate& item : dialogTemplate.items) {
    QRect geometry(item.x, item.y, item.width, item.height);
    QWidget* widget = nullptr;
    switch (item.kind) {
      case DialogItemKind::kOkButton:
      case DialogItemKind::kCancelButton: {
        auto* button = new QPushButton(fromCp932(item.text), &dialog);
        bool ok = item.kind == DialogItemKind::kOkButton;
        button->setDefault(ok);
        button->setAutoDefault(false);
        DialogOutcome outcome = ok ? DialogOutcome::kOk : DialogOutcome::kCancel;
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, outcome] { dialog.finish(outcome); });
        widget = button;
        break;
      }
      case DialogItemKind::kLabel: {
        auto* label = new QLabel(fromCp932(item.text), &dialog);
        // A label is never cut: it may run wider than its template box.
        geometry.setWidth(std::max(geometry.width(), label->sizeHint().width()));
        geometry.setHeight(std::max(geometry.height(), label->sizeHint().height()));
        widget = label;
        break;
      }
      case DialogItemKind::kEdit:
        widget = newEdit(fromCp932(item.text), &dialog);
        break;
    }
    widget->setFocusPolicy(item.kind == DialogItemKind::kLabel ? Qt::NoFocus : Qt::StrongFocus);
    widget->setGeometry(geometry);
    widget->setProperty("quillmarId", item.id);
    ControlHandle handle = remember(widget, widget);
    items.push_back(handle);
    gDialogItems.push_back(DialogItem{dialogHandle, item.id, handle});
  }
  onInit(app, dialogHandle);
  // The focus starts on the first item reached with Tab ("OK").
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

void platformStartTimer(const AppState& app, int32_t milliseconds) {
  if (QWidget* area = clientAreaOf(app)) quillmarqt::startShellTimer(area, milliseconds);
}

void platformStopTimer(const AppState& app) {
  if (QWidget* area = clientAreaOf(app)) quillmarqt::stopShellTimer(area);
}

// The URL carries the path's bytes percent-encoded, as the file system holds
// them: a folder name that is not valid UTF-8 has no QString of its own, and
// the viewer decodes the escapes back to the same bytes.
void platformOpenDocument(const char* path) {
  QByteArray bytes(path);
  if (!bytes.startsWith('/')) {
    QByteArray folder(4096, '\0');
    while (getcwd(folder.data(), static_cast<std::size_t>(folder.size())) == nullptr) {
      if (errno != ERANGE) return;  // no working directory: nothing to hand over
      folder.resize(folder.size() * 2);
    }
    folder.truncate(static_cast<qsizetype>(std::strlen(folder.constData())));
    bytes = folder + (folder.endsWith('/') ? "" : "/") + bytes;
  }
  QDesktopServices::openUrl(QUrl::fromEncoded("file://" + bytes.toPercentEncoding("/")));
}
