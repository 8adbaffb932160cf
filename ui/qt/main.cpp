// quillmar: the calculator's window. No arguments; "default.txt" and
// "pokemon.dat" are read from the working directory, "result.txt" written there.
// An installed window first makes the player's own folder its working
// directory (ui/qt/player_folder.h).
#include <QApplication>
#include <QWidget>

#include <cstdio>

#include "state/app_state.h"
#include "text/cp932.h"
#include "ui/qt/player_folder.h"
#include "ui/qt/qt_window.h"

namespace {
AppState gState;  // zero-filled, lives as long as the process
}

int main(int argc, char** argv) {
  // Every label is CP932 inside: without a converter the window would show none.
  if (const char* problem = cp932ConverterProblem()) {
    std::fprintf(stderr, "quillmar: error: no CP932 converter: %s\n", problem);
    return 1;
  }
  QApplication application(argc, argv);
  quillmarqt::setUpApplication(application);
  quillmarqt::enterPlayerFolder(QCoreApplication::applicationDirPath());
  QWidget* window = quillmarqt::createMainWindow(gState, ".");
  window->show();
  int code = application.exec();
  delete window;
  return code;
}
