#pragma once
// The application object: QApplication with what the program and the tray
// package expect of it. It keeps the application title, shows, minimises,
// hides and restores the main window (which carries the taskbar entry here),
// raises the minimise and restore events for the tray package, ends the
// program after the current event, and shows an exception that escapes an
// event handler in a message box instead of ending the program.

#include <QApplication>
#include <QElapsedTimer>
#include <QString>
#include <QTranslator>
#include <functional>

#include "trayicon/application_object.h"

class QWidget;

namespace velmar {

class Application : public QApplication, public lumora::ApplicationObject {
  Q_OBJECT

 public:
  // Installs itself as the tray package's application object.
  Application(int& argc, char** argv);
  ~Application() override;

  // The running application object; nullptr when the QApplication is another.
  static Application* Instance();

  // The application title: "Velmar32" at start. Shown as the main window's
  // title, which is what the desktop's taskbar shows.
  const QString& Title() const { return title_; }
  void SetTitle(const QString& title);

  // The main window (not owned).
  void SetMainWindow(QWidget* window);
  QWidget* MainWindow() const { return mainWindow_; }

  // Whether minimising may hide the window into the tray: while this says
  // no, OnMinimize isn't raised and the window is minimised as usual. By
  // default, whether the program's tray icons can be seen and clicked now
  // (lumora::TrayIconsReachable).
  void SetTrayAvailable(std::function<bool()> available);
  bool TrayAvailable() const;

  // Minimises the application as the user's minimise would: the window is
  // minimised, then OnMinimize (the tray hides it).
  void Minimize();
  // Shows, restores and raises the window, then raises OnRestore.
  void Restore();
  // Ends the event loop once the current event has been handled; windows
  // aren't asked to close.
  void Terminate();

  // The main window reports its state changes here; a change made by the
  // user or the platform raises OnMinimize or OnRestore.
  void MainWindowStateChanged(Qt::WindowStates before, Qt::WindowStates now);

  // lumora::ApplicationObject
  QIcon Icon() const override;
  void ShowWindow(int command) override;
  void SetForeground() override;

  bool notify(QObject* receiver, QEvent* event) override;

 private:
  void ShowHidden();  // shows the main window, not minimised
  void RaiseMinimize();
  void RaiseRestore();

  QString title_;
  QWidget* mainWindow_ = nullptr;
  std::function<bool()> trayAvailable_;
  int windowCommandDepth_ = 0;  // inside ShowWindow, Minimize or Restore
  // For this long after the window is shown from hidden, a minimise reported
  // by the desktop is its late answer to the one before the hide.
  static constexpr int kLateAnswerMs = 1000;
  QElapsedTimer shownFromHidden_;
};

// The program-wide look of a start: the Russian locale and Qt's Russian texts
// (loaded into qtTexts, which must live as long as the application), the
// program icon on every window, the desktop entry the windows belong to, and
// the nearest free faces for the Windows font names that Velmar32.ini uses.
void SetUpDesktop(QTranslator& qtTexts);

}  // namespace velmar
