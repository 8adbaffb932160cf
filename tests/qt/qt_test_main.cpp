// Runs the Qt window tests without a display (offscreen platform) unless the
// environment asks for another platform.
#include <gtest/gtest.h>

#include <QApplication>

#include "ui/qt/qt_window.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  quillmarqt::setUpApplication(application);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
