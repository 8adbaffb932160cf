// quillmar: the calculator's window. No arguments; "default.txt" and
// "pokemon.dat" are read from the working directory, "result.txt" written there.
#include <QApplication>
#include <QWidget>

#include "state/app_state.h"
#include "ui/qt/qt_window.h"

namespace {
AppState gState;  // zero-filled, lives as long as the process
}

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  quillmarqt::setUpApplication(application);
  QWidget* window = quillmarqt::createMainWindow(gState, ".");
  window->show();
  int code = application.exec();
  delete window;
  return code;
}
