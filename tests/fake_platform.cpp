#include "tests/fake_platform.h"

#include "text/cp932.h"
#include "ui/shell.h"

FakePlatform& fake() {
  static FakePlatform instance;
  return instance;
}

void fakeReset() { fake() = FakePlatform{}; }

FakeControl& fakeControl(ControlHandle handle) { return fake().controls.at(static_cast<std::size_t>(handle - 1)); }

std::vector<ControlHandle> fakeLiveControls() {
  std::vector<ControlHandle> out;
  for (std::size_t i = 0; i < fake().controls.size(); ++i)
    if (fake().controls[i].alive && !fake().controls[i].dialogItem) out.push_back(static_cast<ControlHandle>(i + 1));
  return out;
}

ControlHandle fakeFindLive(int32_t id) {
  for (ControlHandle h : fakeLiveControls())
    if (fakeControl(h).id == id) return h;
  return 0;
}

void fakeType(ControlHandle handle, const std::string& utf8) { fakeControl(handle).text = utf8ToCp932(utf8); }

std::vector<PaintOp> fakePaint(AppState& app) {
  fake().paint.clear();
  shellPaint(app, 1);
  return fake().paint;
}

namespace {

FakeControl* live(ControlHandle handle) {
  if (handle <= 0 || static_cast<std::size_t>(handle) > fake().controls.size()) return nullptr;
  FakeControl& c = fakeControl(handle);
  return c.alive ? &c : nullptr;
}

ControlHandle add(FakeControl c) {
  fake().controls.push_back(std::move(c));
  return static_cast<ControlHandle>(fake().controls.size());
}

}  // namespace

ControlHandle platformCreateControl(const AppState&, ControlKind kind, int32_t id, ControlRect rect,
                                    const char* caption) {
  FakeControl c{kind, id, rect, kind == ControlKind::kDropDownList ? "" : caption, {}, -1, false, true, false};
  return add(std::move(c));
}

void platformDestroyControl(ControlHandle& handle) {
  if (handle == 0) {
    ++fake().destroyCallsOnCleared;
    return;
  }
  if (FakeControl* c = live(handle)) c->alive = false;
  handle = 0;
}

void platformSetText(ControlHandle handle, const char* text) {
  if (FakeControl* c = live(handle)) c->text = text;
}

int32_t platformGetText(ControlHandle handle, char* buffer, int32_t n) {
  fake().reads.push_back(handle);
  std::string text;
  if (FakeControl* c = live(handle)) text = c->text;
  return copyCp932Cut(text, buffer, n);
}

void platformAddListRow(ControlHandle handle, const char* text) {
  if (FakeControl* c = live(handle)) c->rows.emplace_back(text);
}

void platformSelectListRow(ControlHandle handle, int32_t row) {
  if (FakeControl* c = live(handle)) c->selected = (row >= 0 && row < static_cast<int32_t>(c->rows.size())) ? row : -1;
}

int32_t platformSelectedListRow(ControlHandle handle) {
  FakeControl* c = live(handle);
  return c ? c->selected : -1;
}

bool platformIsChecked(ControlHandle handle) {
  FakeControl* c = live(handle);
  return c != nullptr && c->checked;
}

void platformSetChecked(ControlHandle handle, bool checked) {
  if (FakeControl* c = live(handle)) c->checked = checked;
}

void platformInvalidate(const AppState&) { ++fake().invalidations; }

void platformPaintFrameRect(PaintSurface, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  fake().paint.push_back(PaintOp{PaintOp::Kind::kFrame, left, top, right, bottom, ""});
}

void platformPaintText(PaintSurface, int32_t x, int32_t y, const char* text) {
  fake().paint.push_back(PaintOp{PaintOp::Kind::kText, x, y, 0, 0, text});
}

void platformPaintLine(PaintSurface, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  fake().paint.push_back(PaintOp{PaintOp::Kind::kLine, x0, y0, x1, y1, ""});
}

void platformPaintLargeText(PaintSurface, int32_t x, int32_t y, const char* text) {
  fake().paint.push_back(PaintOp{PaintOp::Kind::kLargeText, x, y, 0, 0, text});
}

void platformPaintFilledRect(PaintSurface, int32_t left, int32_t top, int32_t right, int32_t bottom) {
  fake().paint.push_back(PaintOp{PaintOp::Kind::kFilledRect, left, top, right, bottom, ""});
}

void platformRunModalDialog(AppState& app, const DialogTemplate& dialogTemplate, DialogInitHandler onInit,
                            DialogEndHandler onEnd) {
  FakePlatform& f = fake();
  ++f.dialogsRun;
  f.dialogTemplate = &dialogTemplate;
  // The dialog itself is a control whose items follow it; they die with it.
  FakeControl frame{ControlKind::kPlainEdit, dialogTemplate.resourceId, {0, 0, 0, 0}, "", {}, -1, false, true, true};
  ControlHandle dialog = add(frame);
  std::vector<ControlHandle> items;
  for (const DialogItemTemplate& item : dialogTemplate.items) {
    FakeControl c{ControlKind::kPlainEdit, item.id, {item.x, item.y, item.width, item.height},
                  item.text,           {},      -1,     0,
                  true,                true};
    items.push_back(add(c));
  }
  onInit(app, dialog);
  if (f.dialogInput) f.dialogInput(app, dialog);
  onEnd(app, f.dialogOutcome);
  for (ControlHandle h : items) fakeControl(h).alive = false;
  fakeControl(dialog).alive = false;
}

ControlHandle platformDialogItem(ControlHandle dialog, int32_t id) {
  FakeControl* d = live(dialog);
  if (d == nullptr) return 0;
  for (std::size_t i = static_cast<std::size_t>(dialog); i < fake().controls.size(); ++i) {
    const FakeControl& c = fake().controls[i];
    if (!c.dialogItem) break;
    if (c.alive && c.id == id) return static_cast<ControlHandle>(i + 1);
  }
  return 0;
}

// The timer never fires by itself: a test calls shellTimer as the loop would.
void platformStartTimer(const AppState&, int32_t milliseconds) { fake().timerPeriod = milliseconds < 1 ? 1 : milliseconds; }

void platformStopTimer(const AppState&) { fake().timerPeriod = 0; }

void platformOpenDocument(const char* path) { fake().openedDocuments.emplace_back(path); }

int64_t platformNowMilliseconds() { return fake().now; }

void platformStartCues(const TimedCue* cues, int32_t count) {
  fake().cueStarts.emplace_back(cues, cues + (count < kMaxTimedCues ? count : kMaxTimedCues));
}

void platformStopCues() { ++fake().cueStops; }

SoundState platformSoundState() { return fake().soundState; }

void platformEnableControl(ControlHandle handle, bool enabled) {
  if (handle != 0) fakeControl(handle).enabled = enabled;
}

void platformFocusControl(ControlHandle handle) {
  if (handle != 0) fake().focused = handle;
}
