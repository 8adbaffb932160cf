// The Qt window end to end, offscreen: the real widgets, clicked and typed
// into as a player would, with a PNG of each screen saved in the build folder.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDialog>
#include <QInputMethodEvent>
#include <QMenu>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRawFont>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/calibration.h"
#include "state/app_state.h"
#include "tests/deadline.h"
#include "tests/search_gate.h"
#include "text/cp932.h"
#include "ui/qt/qt_window.h"
#include "ui/search_job.h"
#include "ui/resources/templates.h"

namespace {

// Receives the documents the window hands to the desktop.
class DocumentCatcher : public QObject {
  Q_OBJECT

 public:
  std::vector<QUrl> urls;

 public slots:
  void open(const QUrl& url) { urls.push_back(url); }
};

std::string sj(const std::string& utf8) { return utf8ToCp932(utf8); }

// Qt's own waits (exposure, QTRY_*) end at the tests' deadline too.
constexpr int kWaitMilliseconds = int(std::chrono::milliseconds(kTestWaitDeadline).count());

// Notes the search's percent at each paint event of the widget it watches.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(const AppState& app) : app_(app) {}
  int paintedPercent = -1;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) paintedPercent = app_.eggSearch.percent;
    return false;
  }

 private:
  const AppState& app_;
};

std::vector<std::string> fileLines(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

class QtWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    oldDir_ = std::filesystem::current_path();
    dir_ = std::filesystem::temp_directory_path() /
           ("quillmar-qt-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    write("default.txt", "45,49,49,45,65,65\n");
    write("pokemon.dat", sj("45,49,49,45,65,65,フシギダネ\n100,100,100,100,100,100,ミュウ\n"));
    std::filesystem::current_path(dir_);
    window_ = quillmarqt::createMainWindow(*app_, ".");
    window_->show();
    QApplication::setActiveWindow(window_);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_, kWaitMilliseconds));
    QDesktopServices::setUrlHandler("file", &catcher_, "open");
  }

  void TearDown() override {
    QDesktopServices::unsetUrlHandler("file");
    delete window_;
    std::filesystem::current_path(oldDir_);
    std::filesystem::remove_all(dir_);
  }

  void write(const char* name, const std::string& bytes) {
    std::ofstream out(dir_ / name, std::ios::binary);
    out << bytes;
  }

  AppState& app() { return *app_; }

  QWidget* widget(ControlHandle h) {
    QWidget* w = quillmarqt::widgetOf(h);
    EXPECT_NE(w, nullptr);
    return w;
  }

  template <typename T>
  T* as(ControlHandle h) {
    QWidget* w = widget(h);
    if (auto* t = qobject_cast<T*>(w)) return t;
    return w != nullptr ? w->findChild<T*>() : nullptr;  // the button inside a framed button
  }

  // Types as a player does: ASCII key by key, Japanese as an input-method commit.
  void type(ControlHandle h, const QString& text) {
    auto* edit = as<QLineEdit>(h);
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    bool latin = true;
    for (QChar c : text) latin = latin && c.unicode() < 0x80;
    if (latin) {
      QTest::keyClicks(edit, text);
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(text);
      QApplication::sendEvent(edit, &commit);
    }
  }

  void click(ControlHandle h) {
    auto* button = as<QAbstractButton>(h);
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
  }

  // Opens the IV dialog, types 5 in its first edit and hands it to `keys`
  // (which must end it); the dialog is closed if it is still open after.
  void typeFiveInIvDialog(const std::function<void(QWidget*)>& keys) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      ASSERT_NE(dialog, nullptr);
      seen = true;
      QList<QLineEdit*> edits = dialog->findChildren<QLineEdit*>();
      ASSERT_FALSE(edits.empty());
      QTest::keyClicks(edits[0], "5");
      keys(dialog);
      if (QApplication::activeModalWidget() == dialog) dialog->close();  // never hang the test
    });
    click(app().screen1.ivEntryButton);
    EXPECT_TRUE(seen);
  }

  void chooseRow(ControlHandle h, int row) {
    auto* list = as<QComboBox>(h);
    ASSERT_NE(list, nullptr);
    list->showPopup();
    QAbstractItemView* view = list->view();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(view->window(), kWaitMilliseconds));
    view->scrollTo(view->model()->index(row, 0));
    QRect r = view->visualRect(view->model()->index(row, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, r.center());
    QTRY_COMPARE_WITH_TIMEOUT(list->currentIndex(), row, kWaitMilliseconds);
  }

  void chooseMenu(int index) {
    QMenuBar* bar = quillmarqt::menuBar();
    QMenu* menu = bar->actions().at(0)->menu();
    menu->actions().at(index)->trigger();
  }

  QString textOf(ControlHandle h) {
    auto* edit = as<QLineEdit>(h);
    return edit != nullptr ? edit->text() : QString();
  }

  void screenshot(const char* name) {
    QApplication::processEvents();
    QImage image = window_->grab().toImage();
    std::string path = std::string(QUILLMAR_SCREENSHOT_DIR) + "/" + name;
    EXPECT_TRUE(image.save(QString::fromStdString(path)));
  }

  // Runs the event loop (timer ticks, paints) until `done`: false when the
  // deadline passes first.
  template <typename Done>
  [[nodiscard]] bool waitFor(Done done) {
    const auto until = std::chrono::steady_clock::now() + kTestWaitDeadline;
    while (!done()) {
      if (std::chrono::steady_clock::now() >= until) return false;
      QTest::qWait(10);
    }
    return true;
  }

  std::filesystem::path oldDir_;
  std::filesystem::path dir_;
  std::unique_ptr<AppState> app_ = std::make_unique<AppState>();
  QWidget* window_ = nullptr;
  DocumentCatcher catcher_;
};

TEST_F(QtWindowTest, ClientAreaIsExactly800By600BelowTheMenuBar) {
  QWidget* canvas = quillmarqt::clientArea();
  EXPECT_EQ(canvas->size(), QSize(800, 600));
  QMenuBar* bar = quillmarqt::menuBar();
  EXPECT_EQ(canvas->y(), bar->height());
  EXPECT_EQ(window_->height(), bar->height() + 600);
  EXPECT_EQ(window_->width(), 800);
  EXPECT_EQ(window_->windowTitle(), QStringLiteral("quillmar"));
  ASSERT_EQ(bar->actions().size(), 1);
  EXPECT_EQ(bar->actions().at(0)->text(), QStringLiteral("ステップ"));
  QMenu* menu = bar->actions().at(0)->menu();
  ASSERT_EQ(menu->actions().size(), 7);
  EXPECT_EQ(menu->actions().at(0)->text(), QStringLiteral("1~2"));
  EXPECT_EQ(menu->actions().at(1)->text(), QString::fromUtf8("3\xEF\xBD\x9E" "4"));  // full-width tilde
  EXPECT_EQ(menu->actions().at(2)->text(), QString::fromUtf8("5\xEF\xBD\x9E" "6"));
  EXPECT_EQ(menu->actions().at(3)->text(), QString::fromUtf8("7\xEF\xBD\x9E" "8"));
  EXPECT_EQ(menu->actions().at(4)->text(), QString::fromUtf8("9\xEF\xBD\x9E" "10"));
  EXPECT_EQ(menu->actions().at(5)->text(), QString::fromUtf8("11\xEF\xBD\x9E" "12"));
  EXPECT_EQ(menu->actions().at(6)->text(), QString::fromUtf8("13\xEF\xBD\x9E" "14"));
  // Controls sit at their client coordinates; a list shows only its closed box.
  EXPECT_EQ(widget(app().screen1.speciesEdit)->geometry(), QRect(140, 5, 90, 22));
  EXPECT_EQ(widget(app().screen1.ivEntryButton)->geometry(), QRect(740, 185, 40, 20));
  EXPECT_EQ(widget(app().screen1.natureCombo)->geometry(), QRect(430, 60, 120, 22));
  EXPECT_GE(as<QComboBox>(app().screen1.natureCombo)->maxVisibleItems(), 8);
  EXPECT_EQ(as<QComboBox>(app().screen1.natureCombo)->count(), 25);
}

TEST_F(QtWindowTest, TheFontDrawsJapanese) {
  QRawFont raw = QRawFont::fromFont(QApplication::font());
  for (char32_t c : {U'個', U'値', U'測', U'～', U'♂', U'○', U'↑'}) EXPECT_TRUE(raw.supportsCharacter(c)) << int(c);
}

TEST_F(QtWindowTest, TabMovesOnlyBetweenTabStopEdits) {
  as<QLineEdit>(app().screen1.speciesEdit)->setFocus();
  QTRY_VERIFY_WITH_TIMEOUT(widget(app().screen1.speciesEdit)->hasFocus(), kWaitMilliseconds);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), widget(app().screen1.baseStatEdits[0]));
  for (int i = 0; i < 6; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), widget(app().screen1.levelEdit));

  // After a measurement and "リセット" the base-stat edits are skipped.
  type(app().screen1.levelEdit, "5");
  click(app().screen1.addButton);
  click(app().screen1.resetButton);
  ASSERT_NE(app().screen1.baseStatEdits[0], 0);
  as<QLineEdit>(app().screen1.speciesEdit)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), widget(app().screen1.levelEdit));
}

TEST_F(QtWindowTest, JapaneseTypingIsReadAsCp932CutToTheReadLength) {
  type(app().screen1.speciesEdit, QStringLiteral("ミュウ"));
  click(app().screen1.speciesButton);
  EXPECT_EQ(textOf(app().screen1.baseStatEdits[0]), QStringLiteral("100"));
  EXPECT_EQ(textOf(app().screen1.baseStatEdits[5]), QStringLiteral("100"));
  type(app().screen1.speciesEdit, QStringLiteral("フシギダネ"));
  click(app().screen1.speciesButton);
  EXPECT_EQ(textOf(app().screen1.baseStatEdits[1]), QStringLiteral("49"));
  // Six characters: the first five (10 bytes) are compared.
  type(app().screen1.speciesEdit, QStringLiteral("フシギダネ種"));
  type(app().screen1.baseStatEdits[1], QStringLiteral("1"));
  click(app().screen1.speciesButton);
  EXPECT_EQ(textOf(app().screen1.baseStatEdits[1]), QStringLiteral("49"));
}

TEST_F(QtWindowTest, AStepThroughAllFourSteps) {
  // Step 1: species, nature, two measurements (level 50 and 100) of a
  // creature with IVs 10,12,22,0,7,29 and nature ひかえめ (C up, A down).
  type(app().screen1.speciesEdit, QStringLiteral("ミュウ"));
  click(app().screen1.speciesButton);
  chooseRow(app().screen1.natureCombo, 15);
  type(app().screen1.levelEdit, "50");
  const char* level50[] = {"165", "99", "116", "105", "118", "119"};
  for (int i = 0; i < 6; ++i) type(app().screen1.statEdits[i], level50[i]);
  click(app().screen1.addButton);
  ASSERT_EQ(app().measure.measurementCount, 1);
  EXPECT_EQ(app().measure.natureIndex, 15);
  EXPECT_EQ(quillmarqt::widgetOf(app().screen1.natureCombo), nullptr);
  type(app().screen1.levelEdit, "100");
  const char* level100[] = {"320", "195", "227", "205", "233", "234"};
  for (int i = 0; i < 6; ++i) type(app().screen1.statEdits[i], level100[i]);
  click(app().screen1.addButton);
  ASSERT_EQ(app().measure.measurementCount, 2);
  int ivs[] = {10, 12, 22, 0, 7, 29};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(app().measure.ivRanges[i].low, ivs[i]) << i;
    EXPECT_EQ(app().measure.ivRanges[i].high, ivs[i]) << i;
  }

  // Step 2.
  click(app().screen1.searchButton);
  ASSERT_EQ(app().pids.pidCandidateCount, 1);
  ASSERT_NE(app().screen1.candidateButtons[0], 0);
  EXPECT_EQ(widget(app().screen1.candidateButtons[0])->geometry(), QRect(670, 208, 120, 22));
  EXPECT_TRUE(widget(app().screen1.candidateButtons[0])->isVisible());
  screenshot("quillmar-screen1.png");

  // The candidate's seed goes to step 3.
  click(app().screen1.candidateButtons[0]);
  ASSERT_EQ(app().screenMode, ScreenMode::kTwo);
  EXPECT_EQ(textOf(app().screen2.currentSeedEdit), QStringLiteral("0x2684AD1F"));
  type(app().screen2.hourEdit, "52");
  click(app().screen2.seedSearchButton);
  ASSERT_EQ(app().seeds.seedCandidateCount, 4);
  EXPECT_EQ(textOf(app().screen2.seedResultEdits[0]), QStringLiteral("0x12345678"));
  EXPECT_EQ(textOf(app().screen2.seedResultEdits[3]), QStringLiteral("0x0334FF52"));
  EXPECT_EQ(widget(app().screen2.seedResultEdits[1])->geometry(), QRect(110, 125, 120, 22));

  // Step 4: seed 0, 13 frames, nature filter うっかりや (row 20), shown offscreen
  // as a hand-over to the desktop.
  type(app().screen2.initialSeedEdit, "0x0");
  type(app().screen2.frameCountEdit, "13");
  type(app().screen2.tidEdit, "0");
  type(app().screen2.sidEdit, "0");
  chooseRow(app().screen2.natureFilterCombo, 20);
  screenshot("quillmar-screen2.png");
  click(app().screen2.outputButton);
  std::vector<std::string> lines = fileLines(dir_ / "result.txt");
  ASSERT_EQ(lines.size(), 2u);  // the header and frame 0, the only うっかりや among frames 0..12
  EXPECT_EQ(lines[0], sj("回数,なつき+コイン,性格値,性格,特性,性別値,色"));
  EXPECT_EQ(lines[1], sj("0,0+0回,8C7F0AAC,うっかりや,1,172,"));
  ASSERT_EQ(catcher_.urls.size(), 1u);
  EXPECT_EQ(catcher_.urls[0], QUrl::fromLocalFile(QString::fromStdString((dir_ / "result.txt").string())));

  // Back to screen 1 from the menu: a fresh step 1.
  chooseMenu(0);
  EXPECT_EQ(app().screenMode, ScreenMode::kOne);
  EXPECT_EQ(app().measure.measurementCount, 0);
  EXPECT_EQ(textOf(app().screen1.baseStatEdits[0]), QStringLiteral("100"));
  EXPECT_EQ(quillmarqt::widgetOf(app().screen2.currentSeedEdit), nullptr);
}

TEST_F(QtWindowTest, RangeSearchShowsSixteenLinesAndFifteenButtons) {
  type(app().screen1.levelEdit, "5");
  click(app().screen1.addButton);  // a measurement: zero stats narrow nothing
  app().measure.natureIndex = 15;
  IvRange ranges[6] = {{0, 31}, {0, 31}, {22, 22}, {0, 0}, {7, 7}, {29, 29}};
  for (int i = 0; i < 6; ++i) app().measure.ivRanges[i] = ranges[i];
  click(app().screen1.searchButton);
  ASSERT_EQ(app().pids.pidCandidateCount, 16);
  int buttons = 0;
  for (QPushButton* b : quillmarqt::clientArea()->findChildren<QPushButton*>()) {
    int id = b->property("quillmarId").toInt();
    if (id >= kCmdFirstCandidate && id < kCmdFirstCandidate + 20 && b->isVisible()) ++buttons;
  }
  EXPECT_EQ(buttons, 15);
  EXPECT_EQ(widget(app().screen1.candidateButtons[14])->geometry(), QRect(670, 558, 120, 22));
  screenshot("quillmar-screen1-range.png");
}

TEST_F(QtWindowTest, CheckBoxesAreReadWhenTicked) {
  chooseMenu(1);
  ASSERT_EQ(app().screenMode, ScreenMode::kTwo);
  auto* box = as<QCheckBox>(app().screen2.marriageCheck);
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(7, box->height() / 2));
  EXPECT_TRUE(box->isChecked());
  type(app().screen2.frameCountEdit, "1");
  click(app().screen2.outputButton);
  EXPECT_EQ(app().eggList.settings.internationalMarriage, 1);
  EXPECT_EQ(app().eggList.settings.shinyOnly, 0);
}

TEST_F(QtWindowTest, IvDialogFixesTheTypedIvs) {
  chooseRow(app().screen1.natureCombo, 15);
  bool seen = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    seen = true;
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("個体値手動入力"));
    QList<QLineEdit*> edits = dialog->findChildren<QLineEdit*>();
    ASSERT_EQ(edits.size(), 6);
    const char* ivs[] = {"10", "12", "22", "0", "7", "29"};
    for (QLineEdit* edit : edits) {
      int id = edit->property("quillmarId").toInt();
      edit->setFocus();
      QTest::keyClicks(edit, ivs[id - kIvDialogFirstEdit]);
    }
    QImage image = dialog->grab().toImage();
    EXPECT_TRUE(image.save(QStringLiteral(QUILLMAR_SCREENSHOT_DIR "/quillmar-iv-dialog.png")));
    for (QPushButton* b : dialog->findChildren<QPushButton*>())
      if (b->isDefault()) QTest::mouseClick(b, Qt::LeftButton);
  });
  click(app().screen1.ivEntryButton);
  EXPECT_TRUE(seen);
  EXPECT_EQ(app().measure.measurementCount, 1);
  EXPECT_EQ(app().measure.ivRanges[0].low, 10);
  EXPECT_EQ(app().measure.ivRanges[5].high, 29);
  EXPECT_EQ(app().screen1.baseStatEdits[0], 0);
  click(app().screen1.searchButton);
  EXPECT_EQ(app().pids.pidCandidateCount, 1);
  EXPECT_EQ(app().pids.pidCandidates[0].pid, 0x84EA0B71u);
}

// Step 5 to step 4: a small search (two delays of 2026, eight frames, ひかえめ)
// lists its hits and opens search.txt; a hit's seed goes to step 6, which lists
// its moments, and on to step 4, whose list shows the hit's egg at its frame.
TEST_F(QtWindowTest, SearchPickAHitGetItsMomentsAndListItsFramesInStepFour) {
  chooseMenu(2);
  ASSERT_EQ(app().screenMode, ScreenMode::kThree);
  type(app().screen3.yearEdit, "2026");
  type(app().screen3.searchTidEdit, "12345");
  type(app().screen3.searchSidEdit, "54321");
  type(app().screen3.maxFrameEdit, "8");
  type(app().screen3.delayMinEdit, "3909");
  type(app().screen3.delayMaxEdit, "3910");
  chooseRow(app().screen3.searchNatureCombo, 16);
  screenshot("quillmar-screen3-before.png");
  click(app().screen3.eggSearchButton);
  ASSERT_TRUE(waitFor([&] { return app().eggSearch.status != SearchStatus::kRunning; })) << "the search never ended";
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  ASSERT_EQ(app().eggSearch.hitCount, 14);
  EXPECT_EQ(app().eggSearch.hitTotal, 1000);
  ASSERT_EQ(catcher_.urls.size(), 1u);
  EXPECT_EQ(catcher_.urls[0], QUrl::fromLocalFile(QString::fromStdString((dir_ / "search.txt").string())));
  std::vector<std::string> hits = fileLines(dir_ / "search.txt");
  ASSERT_EQ(hits.size(), 1001u);
  for (int i = 0; i < 14; ++i) {
    ASSERT_NE(app().screen3.hitButtons[i], 0);
    EXPECT_TRUE(widget(app().screen3.hitButtons[i])->isVisible());
    EXPECT_EQ(widget(app().screen3.hitButtons[i])->geometry().top(), 135 + 25 * i);
  }
  screenshot("quillmar-screen3-hits.png");

  // Hit 5: "0xSEED,FRAME,..." in the file.
  const SearchHit hit = app().eggSearch.hits[5];
  click(app().screen3.hitButtons[5]);
  char seed[16];
  std::snprintf(seed, sizeof seed, "0x%08X", hit.seed);
  EXPECT_EQ(textOf(app().screen3.momentSeedEdit), QString::fromLatin1(seed));
  ASSERT_GT(app().moments.momentCount, 0);
  EXPECT_EQ(app().moments.moments[0].delay, hit.delay);
  screenshot("quillmar-screen3-moments.png");

  click(app().screen3.toStepFourButton);
  ASSERT_EQ(app().screenMode, ScreenMode::kTwo);
  EXPECT_EQ(textOf(app().screen2.initialSeedEdit), QString::fromLatin1(seed));
  EXPECT_EQ(textOf(app().screen2.tidEdit), QStringLiteral("12345"));
  type(app().screen2.frameCountEdit, "8");
  click(app().screen2.outputButton);
  std::vector<std::string> list = fileLines(dir_ / "result.txt");
  std::string line = hits[6].substr(std::string(seed).size() + 1);   // without "0xSEED,"
  line = line.substr(0, line.rfind(',', line.rfind(',') - 1));        // without ",moment,delay"
  ASSERT_GT(list.size(), static_cast<std::size_t>(hit.frame + 1));
  EXPECT_EQ(list[static_cast<std::size_t>(hit.frame) + 1], line);
}

// The first shiny egg of 2026 with 国際結婚 for IDs 12345 / 54321 (delay 300,
// frame 0 of 0x09160146: PID E5D201DA after the marriage rerolls, 68CF4965
// without them), handed through step 6 to step 4: its boxes come ticked as
// the search had them, and step 4's list shows frame 0 with the hit's line.
TEST_F(QtWindowTest, AHitWithInternationalMarriageReachesStepFourWithItsSearchsSettings) {
  chooseMenu(2);
  type(app().screen3.yearEdit, "2026");
  type(app().screen3.searchTidEdit, "12345");
  type(app().screen3.searchSidEdit, "54321");
  type(app().screen3.delayMinEdit, "300");
  type(app().screen3.delayMaxEdit, "300");
  for (ControlHandle h : {app().screen3.searchMarriageCheck, app().screen3.searchShinyOnlyCheck}) {
    auto* box = as<QCheckBox>(h);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(7, box->height() / 2));
  }
  click(app().screen3.eggSearchButton);
  ASSERT_TRUE(waitFor([&] { return app().eggSearch.status != SearchStatus::kRunning; })) << "the search never ended";
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  std::vector<std::string> hits = fileLines(dir_ / "search.txt");
  ASSERT_GE(hits.size(), 2u);
  const std::string first = sj("0x09160146,0,0+0回,E5D201DA,しんちょう,1,218,★,");
  EXPECT_EQ(hits[1].substr(0, first.size()), first);
  click(app().screen3.hitButtons[0]);
  click(app().screen3.toStepFourButton);
  ASSERT_EQ(app().screenMode, ScreenMode::kTwo);
  EXPECT_EQ(textOf(app().screen2.initialSeedEdit), QStringLiteral("0x09160146"));
  EXPECT_TRUE(as<QCheckBox>(app().screen2.marriageCheck)->isChecked());
  EXPECT_TRUE(as<QCheckBox>(app().screen2.shinyOnlyCheck)->isChecked());
  type(app().screen2.frameCountEdit, "1");
  click(app().screen2.outputButton);
  std::vector<std::string> list = fileLines(dir_ / "result.txt");
  ASSERT_EQ(list.size(), 2u);
  const std::string line = hits[1].substr(std::string("0x09160146,").size());
  EXPECT_EQ(list[1], line.substr(0, line.rfind(',', line.rfind(',') - 1)));
}

// Screen 5: step 10 over one delay of 2026 for n = 0 with H at 31 from
// parents with 31 there; a hit's "日時へ" lists its moments in step 6, and
// "狙う" makes one step 7's target.
TEST_F(QtWindowTest, AStepTenHitGoesThroughStepSixToTheTarget) {
  chooseMenu(4);
  ASSERT_EQ(app().screenMode, ScreenMode::kFive);
  for (int i = 0; i < 6; ++i) {
    type(app().screen5.ivParentAEdits[i], i == 0 ? "31" : "0");
    type(app().screen5.ivParentBEdits[i], i == 0 ? "31" : "0");
  }
  type(app().screen5.ivMinEdits[0], "31");
  type(app().screen5.ivYearEdit, "2026");
  type(app().screen5.ivMaxFrameEdit, "1");
  type(app().screen5.ivDelayMinEdit, "3909");
  type(app().screen5.ivDelayMaxEdit, "3909");
  click(app().screen5.ivSearchButton);
  ASSERT_TRUE(waitFor([&] { return app().ivSearch.status != SearchStatus::kRunning; })) << "the search never ended";
  ASSERT_EQ(app().ivSearch.status, SearchStatus::kFinished);
  ASSERT_GT(app().ivSearch.hitCount, 0);
  EXPECT_TRUE(widget(app().screen5.ivHitButtons[0])->isVisible());
  screenshot("quillmar-screen5.png");
  const uint32_t seed = app().ivSearch.hits[0].seed;
  click(app().screen5.ivHitButtons[0]);
  ASSERT_EQ(app().screenMode, ScreenMode::kThree);
  EXPECT_EQ(app().moments.momentSeed, seed);
  ASSERT_GT(app().moments.momentCount, 0);
  click(app().screen3.aimButtons[0]);
  ASSERT_EQ(app().screenMode, ScreenMode::kFour);
  EXPECT_EQ(app().aim.targetSeed, seed);
}

// Screen 6: step 12 over one delay of 2026, advances 0..2, gifts of one nature;
// a hit's "日時へ" lists its moments in step 6, whose "狙う" makes step 8's target.
TEST_F(QtWindowTest, AStepTwelveHitGoesThroughStepSixToTheTarget) {
  chooseMenu(5);
  ASSERT_EQ(app().screenMode, ScreenMode::kSix);
  chooseRow(app().screen6.natureCombo, 1 + 13);  // ようき
  type(app().screen6.searchYearEdit, "2026");
  type(app().screen6.searchAdvanceEdit, "3");
  type(app().screen6.searchDelayMinEdit, "300");
  type(app().screen6.searchDelayMaxEdit, "300");
  click(app().screen6.searchButton);
  ASSERT_TRUE(waitFor([&] { return app().wildSearch.status != SearchStatus::kRunning; })) << "the search never ended";
  ASSERT_EQ(app().wildSearch.status, SearchStatus::kFinished);
  ASSERT_EQ(app().wildSearch.hitCount, kMaxShownWildHits);
  screenshot("quillmar-screen6-search.png");
  const uint32_t seed = app().wildSearch.hits[0].seed;
  click(app().screen6.hitButtons[0]);
  ASSERT_EQ(app().screenMode, ScreenMode::kThree);
  EXPECT_EQ(app().moments.momentSeed, seed);
  ASSERT_GT(app().moments.momentCount, 0);
  click(app().screen3.aimButtons[0]);
  ASSERT_EQ(app().screenMode, ScreenMode::kFour);
  EXPECT_EQ(app().aim.targetSeed, seed);
  EXPECT_EQ(app().timer.settings.target.delay, 300);
}

// Screen 7: step 13 lists a moment's IDs; step 14 finds the seed of one
// delay whose IDs are those; its "日時へ" and "狙う" make it step 7's target.
TEST_F(QtWindowTest, AStepFourteenHitGoesThroughStepSixToTheTarget) {
  chooseMenu(6);
  ASSERT_EQ(app().screenMode, ScreenMode::kSeven);
  type(app().screen7.momentEdit, "2026-03-01 12:00:00");
  click(app().screen7.listButton);
  ASSERT_EQ(app().idList.lineCount, kMaxShownIdLines);
  const IdLine line = app().idList.lines[3];
  type(app().screen7.yearEdit, "2026");
  type(app().screen7.searchDelayMinEdit, QString::number(line.delay));
  type(app().screen7.searchDelayMaxEdit, QString::number(line.delay));
  type(app().screen7.tidEdit, QString::number(line.tid));
  type(app().screen7.sidEdit, QString::number(line.sid));
  click(app().screen7.searchButton);
  ASSERT_TRUE(waitFor([&] { return app().idSearch.status != SearchStatus::kRunning; })) << "the search never ended";
  ASSERT_EQ(app().idSearch.hitCount, 1);
  EXPECT_EQ(app().idSearch.hits[0].seed, line.seed);
  EXPECT_TRUE(widget(app().screen7.hitUseButtons[0])->isVisible());
  screenshot("quillmar-screen7.png");
  click(app().screen7.hitButtons[0]);
  ASSERT_EQ(app().screenMode, ScreenMode::kThree);
  ASSERT_GT(app().moments.momentCount, 0);
  click(app().screen3.aimButtons[0]);
  ASSERT_EQ(app().screenMode, ScreenMode::kFour);
  EXPECT_EQ(app().aim.targetSeed, line.seed);
}

// Screen 6: step 3 finds the seed of a state five draws on; typed into step
// 11 it lists Platinum's stationary creatures, whose nature is draw n + 1 / 2622
// and whose PID the first pair of draws after it with that nature; cries heard
// from advance 2 mark its line.
TEST_F(QtWindowTest, AStepThreeSeedListsItsStationaryCreaturesInStepEleven) {
  const uint32_t initial = 0x3F0C9A21u;  // hour byte 12
  std::vector<uint32_t> draws;
  for (uint32_t s = initial; draws.size() < 2000;) draws.push_back((s = s * 0x41C64E6Du + 0x6073u) >> 16);
  uint32_t current = initial;
  for (int i = 0; i < 5; ++i) current = current * 0x41C64E6Du + 0x6073u;
  chooseMenu(1);
  type(app().screen2.currentSeedEdit, QString::asprintf("0x%08X", current));
  type(app().screen2.hourEdit, "12");
  click(app().screen2.seedSearchButton);
  QString seedText;
  for (int i = 0; i < app().seeds.seedCandidateCount; ++i)
    if (app().seeds.seedCandidates[i].stepIndex == 4) seedText = textOf(app().screen2.seedResultEdits[i]);
  ASSERT_EQ(seedText, QStringLiteral("0x3F0C9A21"));
  chooseMenu(5);
  ASSERT_EQ(app().screenMode, ScreenMode::kSix);
  EXPECT_FALSE(widget(app().screen6.levelMinEdit)->isEnabled());
  chooseRow(app().screen6.kindCombo, 3);  // なみのり: levels of its own
  ASSERT_TRUE(waitFor([&] { return widget(app().screen6.levelMinEdit)->isEnabled(); })) << "the greying never followed";
  chooseRow(app().screen6.kindCombo, 1);  // 固定
  ASSERT_TRUE(waitFor([&] { return !widget(app().screen6.levelMinEdit)->isEnabled(); }));
  type(app().screen6.seedEdit, seedText);
  QString cries;
  for (int k = 3; k <= 18; ++k) cries += QChar(draws[k - 1] % 8192 <= 2730 ? 'L' : draws[k - 1] % 8192 <= 5461 ? 'M' : 'H');
  type(app().screen6.cueEdit, cries);
  click(app().screen6.outputButton);
  std::vector<std::string> lines = fileLines(dir_ / "wild.txt");
  ASSERT_EQ(lines.size(), 101u);
  for (int n : {0, 1}) {
    const uint32_t nature = draws[n] / 2622;
    int k = n + 1;
    uint32_t pid = draws.at(k + 1) << 16 | draws.at(k);
    while (pid % 25 != nature) k += 2, pid = draws.at(k + 1) << 16 | draws.at(k);
    char start[32];
    std::snprintf(start, sizeof start, "%d\t%08X\t", n, pid);
    EXPECT_EQ(lines[n + 1].rfind(start, 0), 0u) << lines[n + 1];
  }
  EXPECT_EQ(app().wild.startCount, 1);
  ASSERT_EQ(catcher_.urls.size(), 1u);
  screenshot("quillmar-screen6.png");
}

// Step 6's "狙う" on a typed seed's moment, then the coin's ten flips of a try
// one second late and two frames long, typed as the console shows them (表 and
// 裏): step 7 marks that cell and names the delay to aim for next time.
TEST_F(QtWindowTest, TheCoinsTenFlipsTypedIntoStepSevenFindTheLateCell) {
  chooseMenu(2);
  type(app().screen3.momentSeedEdit, "0x00000F5F");
  type(app().screen3.momentYearEdit, "2026");
  click(app().screen3.momentButton);
  ASSERT_GT(app().moments.momentCount, 2);
  int slot = app().moments.moments[0].second < 59 ? 0 : 1;
  const ConsoleMoment aimed = app().moments.moments[slot];
  click(app().screen3.aimButtons[slot]);
  ASSERT_EQ(app().screenMode, ScreenMode::kFour);
  ASSERT_EQ(app().aim.targetSeed, 0x00000F5Fu);

  CalibrationCell late{};
  ASSERT_TRUE(calibrationCellAt(CalibrationTable{aimed, 1, 10}, 1, 2, late));
  std::mt19937 twister(late.seed);  // the game's twister: an odd output is heads
  QString flips;
  for (int i = 0; i < 10; ++i) flips += twister() % 2 == 1 ? QString::fromUtf8("表") : QString::fromUtf8("裏");
  type(app().screen4.coinEdit, flips);
  click(app().screen4.calibrateButton);
  EXPECT_EQ(app().aim.matchSeed, late.seed);
  EXPECT_EQ(app().aim.matchSecond, 1);
  EXPECT_EQ(app().aim.matchDelay, 2);
  EXPECT_EQ(app().aim.aimDelay, aimed.delay - 2);
  // The shown part holds the target's column and the next: the late cell is marked.
  EXPECT_EQ(app().aim.cellMatched[1 - app().aim.shownFirstSecond][2 - app().aim.shownFirstDelay], 1);
  screenshot("quillmar-screen4-coin.png");
}

// The player's loop in the window: a hit's moment aimed for with "狙う"
// opens step 7; the try lands one second late and two frames long; step 3
// finds that seed from a state five steps on, and step 7 names the cell and
// the delay to aim for next time.
TEST_F(QtWindowTest, AimAMomentThenStepSevenFindsTheMissedTryAmongStepThreesCandidates) {
  chooseMenu(2);
  type(app().screen3.yearEdit, "2026");
  type(app().screen3.maxFrameEdit, "1");
  type(app().screen3.delayMinEdit, "3909");
  type(app().screen3.delayMaxEdit, "3909");
  click(app().screen3.eggSearchButton);
  ASSERT_TRUE(waitFor([&] { return app().eggSearch.status != SearchStatus::kRunning; })) << "the search never ended";
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  click(app().screen3.hitButtons[0]);
  ASSERT_GT(app().moments.momentCount, 2);
  // A moment whose second is below 59, so that one second later only AA moves on.
  int slot = app().moments.moments[0].second < 59 ? 0 : 1;
  const ConsoleMoment aimed = app().moments.moments[slot];
  ASSERT_NE(app().screen3.aimButtons[slot], 0);
  EXPECT_TRUE(widget(app().screen3.aimButtons[slot])->isVisible());
  screenshot("quillmar-screen3-aim.png");
  click(app().screen3.aimButtons[slot]);
  ASSERT_EQ(app().screenMode, ScreenMode::kFour);
  EXPECT_EQ(app().aim.targetSeed, app().eggSearch.hits[0].seed);
  screenshot("quillmar-screen4-target.png");

  uint32_t aa = (static_cast<uint32_t>(aimed.month * aimed.day + aimed.minute + aimed.second + 1)) & 0xFFu;
  uint32_t late = aa << 24 | static_cast<uint32_t>(aimed.hour) << 16 | ((aimed.delay + 2 + 26) & 0xFFFF);
  uint32_t state = late;
  for (int i = 0; i < 5; ++i) state = state * 0x41C64E6Du + 0x6073u;
  chooseMenu(1);
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", state);
  type(app().screen2.currentSeedEdit, text);
  type(app().screen2.hourEdit, std::to_string(aimed.hour).c_str());
  click(app().screen2.seedSearchButton);
  ASSERT_GT(app().seeds.seedCandidateCount, 0);
  chooseMenu(3);
  ASSERT_EQ(app().screenMode, ScreenMode::kFour);
  ASSERT_EQ(app().aim.matchCount, 1);
  EXPECT_EQ(app().aim.matchSeed, late);
  EXPECT_EQ(app().aim.matchSecond, 1);
  EXPECT_EQ(app().aim.matchDelay, 2);
  EXPECT_EQ(app().aim.aimDelay, aimed.delay - 2);
  screenshot("quillmar-screen4-match.png");

  // Step 8 plans for the target; applying step 7's correction makes phase 2
  // two frames (1000 / 59.8261 ms each) shorter.
  ASSERT_EQ(app().timer.planOutcome, TimerPlanOutcome::kPlanned);
  EXPECT_EQ(app().timer.planSecondPhase, std::llround(aimed.delay * 1000 / 59.8261));
  click(app().screen4.applyCorrectionButton);
  EXPECT_EQ(app().timer.settings.delayCalibration, -2);
  EXPECT_EQ(app().timer.planSecondPhase, std::llround((aimed.delay - 2) * 1000 / 59.8261));
  screenshot("quillmar-screen4-corrected.png");

  // The countdown runs on the window's timer: started, it shows phase 1 in
  // large digits, and the button (which keeps the focus) stops it.
  click(app().screen4.timerButton);
  ASSERT_EQ(app().timer.countdownRunning, 1);
  auto* focused = qobject_cast<QPushButton*>(window_->focusWidget());
  ASSERT_NE(focused, nullptr);
  EXPECT_TRUE(focused->text().startsWith(QString::fromUtf8("スタート")));
  ASSERT_TRUE(waitFor([&] { return app().timer.countdownElapsed > 0; })) << "the countdown never ticked";
  EXPECT_EQ(app().timer.countdownPhase, CountdownPhase::kFirst);
  EXPECT_LT(app().timer.countdownRemaining, app().timer.planFirstPhase);
  screenshot("quillmar-screen4-countdown.png");
  click(app().screen4.timerButton);
  EXPECT_EQ(app().timer.countdownRunning, 0);
}

// Step 5's notes below the list: a search cut at 1000 hits whose search.txt
// is a folder, and (set by hand: the shell tests make it happen) a search that
// could not start. All three lines lie left of step 6's line at x 570 and
// within the 535 pixels the Win32 window has.
TEST_F(QtWindowTest, TheNotesOfASearchFitBelowItsList) {
  std::filesystem::create_directory(dir_ / "search.txt");
  chooseMenu(2);
  type(app().screen3.yearEdit, "2026");
  type(app().screen3.maxFrameEdit, "8");
  type(app().screen3.delayMinEdit, "3909");
  type(app().screen3.delayMaxEdit, "3910");
  chooseRow(app().screen3.searchNatureCombo, 16);
  click(app().screen3.eggSearchButton);
  ASSERT_TRUE(waitFor([&] { return app().eggSearch.status != SearchStatus::kRunning; })) << "the search never ended";
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  ASSERT_EQ(app().eggSearch.hitsCut, 1);
  ASSERT_NE(app().eggSearch.hitFileError, 0);
  app().eggSearch.notStarted = 1;
  quillmarqt::clientArea()->update();
  screenshot("quillmar-screen3-notes.png");
  QImage canvas = quillmarqt::clientArea()->grab().toImage();
  auto inkIn = [&](int left, int top, int right, int bottom) {
    int dark = 0;
    for (int y = top; y < bottom; ++y)
      for (int x = left; x < right; ++x) dark += qGray(canvas.pixel(x, y)) < 128;
    return dark;
  };
  for (int line = 0; line < 3; ++line) EXPECT_GT(inkIn(10, 485 + 16 * line, 100, 485 + 16 * line + 14), 20) << line;
  EXPECT_EQ(inkIn(540, 483, 568, 600), 0);  // nothing reaches step 6's line
  EXPECT_EQ(inkIn(0, 535, 568, 600), 0);
}

// A search (every hour, the last 36 delays, frames 0..99) held at the gate,
// which lets its rows through a percent at a time: the window paints each
// percent while the search runs, and closing it ends the search.
TEST_F(QtWindowTest, TheWindowPaintsWhileALongSearchRunsAndClosingItEndsTheSearch) {
  chooseMenu(2);
  type(app().screen3.searchTidEdit, "12345");
  type(app().screen3.searchSidEdit, "54321");
  type(app().screen3.delayMinEdit, "65500");
  type(app().screen3.delayMaxEdit, "65535");
  auto* shiny = as<QCheckBox>(app().screen3.searchShinyOnlyCheck);
  QTest::mouseClick(shiny, Qt::LeftButton, {}, QPoint(7, shiny->height() / 2));
  chooseRow(app().screen3.searchNatureCombo, 16);
  chooseRow(app().screen3.searchGenderCombo, 1);
  chooseRow(app().screen3.searchAbilityCombo, 1);
  PaintWatch watch(app());
  quillmarqt::clientArea()->installEventFilter(&watch);
  SearchGate gate;
  click(app().screen3.eggSearchButton);
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kRunning);
  // Percent p of the 24 x 36 rows is reached at row ceil(p * rows / 100); a
  // tick that finds it asks for a repaint, which paints it.
  const int64_t rows = 24 * 36;
  for (int percent = 1; percent <= 3; ++percent) {
    const int64_t through = (percent * rows + 99) / 100;
    gate.letThrough(through - gate.passed());
    ASSERT_TRUE(gate.waitForRows(through)) << "rows did not go through";
    ASSERT_TRUE(waitFor([&] { return watch.paintedPercent == percent; })) << "percent " << percent << " never painted";
    ASSERT_EQ(app().eggSearch.status, SearchStatus::kRunning);
  }
  window_->close();  // the gate still holds the search
  EXPECT_EQ(app().eggSearch.status, SearchStatus::kStopped);
  EXPECT_TRUE(catcher_.urls.empty());
}

// Counts the timer events of the object it watches.
class TickCounter : public QObject {
 public:
  int ticks = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Timer) ++ticks;
    return false;
  }
};

// The IV dialog's event loop delivers the window's timer ticks: a search that
// returns while the dialog is open is taken in after the dialog, not inside it.
TEST_F(QtWindowTest, ASearchThatEndsWhileTheIvDialogIsOpenIsTakenInAfterIt) {
  chooseMenu(2);
  type(app().screen3.yearEdit, "2026");
  type(app().screen3.maxFrameEdit, "8");
  type(app().screen3.delayMinEdit, "3909");
  type(app().screen3.delayMaxEdit, "3910");
  click(app().screen3.eggSearchButton);
  ASSERT_EQ(app().eggSearch.status, SearchStatus::kRunning);
  chooseMenu(0);
  TickCounter counter;
  quillmarqt::clientArea()->installEventFilter(&counter);
  bool seen = false;
  QTimer::singleShot(0, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    seen = true;
    EXPECT_TRUE(waitFor([] { return searchJobReturned(SearchKind::kEgg); })) << "the search never returned";
    const int before = counter.ticks;
    EXPECT_TRUE(waitFor([&] { return counter.ticks >= before + 2 || app().eggSearch.status != SearchStatus::kRunning; }))
        << "no tick in the dialog";
    EXPECT_EQ(app().eggSearch.status, SearchStatus::kRunning);
    EXPECT_TRUE(catcher_.urls.empty());
    dialog->close();
  });
  click(app().screen1.ivEntryButton);
  EXPECT_TRUE(seen);
  ASSERT_TRUE(waitFor([&] { return app().eggSearch.status != SearchStatus::kRunning; })) << "the search never ended";
  EXPECT_EQ(app().eggSearch.status, SearchStatus::kFinished);
  EXPECT_EQ(catcher_.urls.size(), 1u);
}

TEST_F(QtWindowTest, IvDialogEscapeCancels) {
  typeFiveInIvDialog([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
  EXPECT_EQ(app().measure.measurementCount, 0);
  EXPECT_EQ(app().measure.ivRanges[0].high, 31);
  EXPECT_NE(quillmarqt::widgetOf(app().screen1.natureCombo), nullptr);
}

// The player's keys in the IV dialog: Enter presses the focused button.
TEST_F(QtWindowTest, IvDialogEnterPressesTheFocusedButton) {
  for (bool toCancel : {true, false}) {
    SCOPED_TRACE(toCancel ? "Tab, Enter" : "Enter");
    typeFiveInIvDialog([toCancel](QWidget* dialog) {
      // The focus starts on OK; Tab moves it to キャンセル.
      QApplication::setActiveWindow(dialog);
      for (QPushButton* b : dialog->findChildren<QPushButton*>())
        if (b->isDefault()) b->setFocus();
      if (toCancel) QTest::keyClick(dialog->focusWidget(), Qt::Key_Tab);
      auto* focused = qobject_cast<QPushButton*>(dialog->focusWidget());
      if (focused != nullptr) {
        EXPECT_EQ(focused->text(), toCancel ? QStringLiteral("キャンセル") : QStringLiteral("OK"));
        QTest::keyClick(focused, Qt::Key_Return);
      } else {
        ADD_FAILURE() << "no button has the focus";
      }
    });
    if (toCancel) {
      EXPECT_EQ(app().measure.measurementCount, 0);  // nothing taken: the ranges stay open
      EXPECT_EQ(app().measure.ivRanges[0].high, 31);
    } else {
      EXPECT_EQ(app().measure.measurementCount, 1);  // the typed H and zeros for the rest
      EXPECT_EQ(app().measure.ivRanges[0].low, 5);
      EXPECT_EQ(app().measure.ivRanges[1].high, 0);
    }
  }
}

// An edit shows what is read: typing stops at its width instead of scrolling
// the first characters out of sight.
TEST_F(QtWindowTest, EditsDoNotScrollSoWhatIsShownIsWhatIsRead) {
  type(app().screen1.levelEdit, "12345");
  const QString shown = textOf(app().screen1.levelEdit);
  EXPECT_LT(shown.size(), 5) << shown.toStdString();
  EXPECT_TRUE(QStringLiteral("12345").startsWith(shown)) << shown.toStdString();
  // The level the measurement takes is the number shown.
  const char* stats[] = {"20", "10", "10", "10", "11", "11"};
  for (int i = 0; i < 6; ++i) type(app().screen1.statEdits[i], stats[i]);
  click(app().screen1.addButton);
  ASSERT_EQ(app().measure.measurementCount, 1);
  EXPECT_EQ(QString::number(app().measure.measurements[0].level), shown);

  // Every edit of both screens, filled with more digits than it can show, shows
  // them from the first one: its picture is that of the same text set from the
  // start with the cursor at the front.
  auto expectUnscrolled = [&](ControlHandle h) {
    auto* edit = as<QLineEdit>(h);
    ASSERT_NE(edit, nullptr);
    type(h, "12345678901234567890");
    edit->clearFocus();
    const QString text = edit->text();
    EXPECT_LT(text.size(), 20);
    QLineEdit reference(edit->parentWidget());
    reference.setGeometry(edit->geometry());
    reference.setTextMargins(edit->textMargins());
    reference.setText(text);
    reference.setCursorPosition(0);
    reference.show();
    QApplication::processEvents();
    EXPECT_EQ(edit->grab().toImage(), reference.grab().toImage()) << text.toStdString();
  };
  expectUnscrolled(app().screen1.levelEdit);
  expectUnscrolled(app().screen1.statEdits[5]);
  chooseMenu(1);
  ASSERT_EQ(app().screenMode, ScreenMode::kTwo);
  for (ControlHandle h : {app().screen2.hourEdit, app().screen2.stepLimitEdit, app().screen2.tidEdit, app().screen2.frameCountEdit,
                          app().screen2.initialSeedEdit})
    expectUnscrolled(h);
}

// The menu from the keyboard: F10, or Alt alone, opens "ステップ".
TEST_F(QtWindowTest, F10AndAltOpenTheMenu) {
  auto chooseScreenTwoByKeys = [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu, quillmarqt::menuBar()->actions().at(0)->menu());
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
  };
  as<QLineEdit>(app().screen1.speciesEdit)->setFocus();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_F10);
  chooseScreenTwoByKeys();
  EXPECT_EQ(app().screenMode, ScreenMode::kTwo);

  chooseMenu(0);
  ASSERT_EQ(app().screenMode, ScreenMode::kOne);
  QWidget* focus = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window_;
  QTest::keyPress(focus, Qt::Key_Alt, Qt::AltModifier);
  QTest::keyRelease(focus, Qt::Key_Alt, Qt::NoModifier);
  chooseScreenTwoByKeys();
  EXPECT_EQ(app().screenMode, ScreenMode::kTwo);

  // Alt as part of a chord opens nothing.
  focus = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : window_;
  QTest::keyPress(focus, Qt::Key_Alt, Qt::AltModifier);
  QTest::keyClick(focus, Qt::Key_X, Qt::AltModifier);
  QTest::keyRelease(focus, Qt::Key_Alt, Qt::NoModifier);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

// The viewer gets result.txt in a working folder whose name is not UTF-8 with
// the folder's own bytes.
TEST_F(QtWindowTest, OutputInAFolderNamedInLatin1HandsOverItsBytes) {
  const std::string folderName = "\xE9t\xE9";  // "été" in ISO 8859-1: no UTF-8
  const std::filesystem::path folder = dir_ / folderName;
  std::filesystem::create_directory(folder);
  std::filesystem::current_path(folder);
  char cwd[4096];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  chooseMenu(1);
  type(app().screen2.frameCountEdit, "1");
  click(app().screen2.outputButton);
  ASSERT_TRUE(std::filesystem::exists(folder / "result.txt"));
  ASSERT_EQ(catcher_.urls.size(), 1u);
  const QUrl& url = catcher_.urls[0];
  EXPECT_EQ(url.scheme(), QStringLiteral("file"));
  // What a viewer opens: the URL's path with its escapes decoded to bytes.
  const QByteArray opened = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
  EXPECT_EQ(opened.toStdString(), std::string(cwd) + "/result.txt");
}

}  // namespace

#include "test_qt_window.moc"
