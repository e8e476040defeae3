#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // No desktop tray of any kind: no session bus to find one on.
  qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/velmar32-test-bus");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
