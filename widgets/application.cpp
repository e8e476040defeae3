#include "widgets/application.h"

#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QStringList>
#include <initializer_list>

#include <QMessageBox>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>
#include <exception>

#include "trayicon/desktop_tray.h"
#include "widgets/program_icon.h"

namespace velmar {
namespace {

// Counts the window commands in progress: the state changes they cause are
// the program's own and raise no events.
class CommandScope {
 public:
  explicit CommandScope(int& depth) : depth_(depth) { ++depth_; }
  ~CommandScope() { --depth_; }
  CommandScope(const CommandScope&) = delete;
  CommandScope& operator=(const CommandScope&) = delete;

 private:
  int& depth_;
};

}  // namespace

Application::Application(int& argc, char** argv)
    : QApplication(argc, argv), title_(QStringLiteral("Velmar32")) {
  // The main window ends the program itself; a message box closed while the
  // window sits in the tray must not.
  setQuitOnLastWindowClosed(false);
  lumora::SetApplicationObject(this);
}

Application::~Application() {
  if (lumora::GetApplicationObject() == this) lumora::SetApplicationObject(nullptr);
}

Application* Application::Instance() { return qobject_cast<Application*>(QCoreApplication::instance()); }

void Application::SetTitle(const QString& title) {
  title_ = title;
  if (mainWindow_ != nullptr) mainWindow_->setWindowTitle(title_);
}

void Application::SetMainWindow(QWidget* window) {
  mainWindow_ = window;
  shownFromHidden_.invalidate();
  if (mainWindow_ != nullptr) mainWindow_->setWindowTitle(title_);
}

void Application::SetTrayAvailable(std::function<bool()> available) {
  trayAvailable_ = std::move(available);
}

bool Application::TrayAvailable() const {
  return trayAvailable_ ? trayAvailable_() : lumora::TrayIconsReachable();
}

void Application::Minimize() {
  if (mainWindow_ == nullptr) return;
  {
    CommandScope scope(windowCommandDepth_);
    mainWindow_->showMinimized();
  }
  RaiseMinimize();
}

void Application::Restore() {
  if (mainWindow_ == nullptr) return;
  {
    CommandScope scope(windowCommandDepth_);
    ShowHidden();
    mainWindow_->showNormal();
    SetForeground();
  }
  RaiseRestore();
}

void Application::Terminate() {
  QMetaObject::invokeMethod(this, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void Application::MainWindowStateChanged(Qt::WindowStates before, Qt::WindowStates now) {
  if (windowCommandDepth_ > 0) return;
  // A hidden window can't be minimised or restored by the user: what the
  // desktop reports about it is its bookkeeping of the hide (the withdrawn
  // window is no longer minimised), which must not bring it back.
  if (mainWindow_ != nullptr && !mainWindow_->isVisible()) return;
  const bool wasMinimized = before.testFlag(Qt::WindowMinimized);
  const bool isMinimized = now.testFlag(Qt::WindowMinimized);
  if (!wasMinimized && isMinimized && shownFromHidden_.isValid() &&
      shownFromHidden_.elapsed() < kLateAnswerMs) {
    // The desktop's late answer to the minimise before the window was hidden
    // (openbox under load gives it after the window is back): not the user
    // minimising, which would hide the window again at once. Undo it.
    QTimer::singleShot(0, this, [this] {
      if (mainWindow_ == nullptr || !mainWindow_->isMinimized()) return;
      CommandScope scope(windowCommandDepth_);
      mainWindow_->showNormal();
      SetForeground();
    });
    return;
  }
  if (!wasMinimized && isMinimized) RaiseMinimize();
  if (wasMinimized && !isMinimized) RaiseRestore();
}

void Application::RaiseMinimize() {
  if (!TrayAvailable()) return;
  lumora::NotifyEvent handler = OnMinimize;
  if (handler) handler(this);
}

void Application::RaiseRestore() {
  lumora::NotifyEvent handler = OnRestore;
  if (handler) handler(this);
}

void Application::ShowHidden() {
  // A window hidden while minimised would be mapped minimised again, and the
  // desktop's late answer to that would read as the user minimising it.
  if (!mainWindow_->isVisible()) {
    mainWindow_->setWindowState(mainWindow_->windowState() & ~Qt::WindowMinimized);
    shownFromHidden_.start();
  }
  mainWindow_->show();
}

QIcon Application::Icon() const { return ProgramIcon(); }

void Application::ShowWindow(int command) {
  if (mainWindow_ == nullptr) return;
  CommandScope scope(windowCommandDepth_);
  switch (command) {
    case lumora::SwHide: mainWindow_->hide(); break;
    case lumora::SwShow: ShowHidden(); break;
    case lumora::SwMinimize: mainWindow_->showMinimized(); break;
    case lumora::SwRestore: mainWindow_->showNormal(); break;
    default: break;
  }
}

void Application::SetForeground() {
  if (mainWindow_ == nullptr || !mainWindow_->isVisible()) return;
  mainWindow_->raise();
  mainWindow_->activateWindow();
}

bool Application::notify(QObject* receiver, QEvent* event) {
  QString problem;
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    problem = QString::fromLocal8Bit(e.what());
  } catch (...) {
    problem = QStringLiteral("Unknown error");
  }
  QMessageBox::critical(activeWindow(), title_, problem);
  return false;
}

void SetUpDesktop(QTranslator& qtTexts) {
  QApplication::setWindowIcon(ProgramIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.velmar32"));
  QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
  if (qtTexts.load(QStringLiteral("qtbase_ru"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QCoreApplication::installTranslator(&qtTexts);
  // A face that isn't there at all falls back to the desktop's font quietly.
  const auto add = [](const char* face, std::initializer_list<const char*> substitutes) {
    QStringList list;
    for (const char* substitute : substitutes) list << QString::fromLatin1(substitute);
    QFont::insertSubstitutions(QString::fromLatin1(face), list);
  };
  add("Times New Roman Cyr", {"Times New Roman", "Liberation Serif", "Tinos", "Nimbus Roman", "DejaVu Serif"});
  add("Arial Cyr", {"Arial", "Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans"});
  add("Courier New Cyr", {"Courier New", "Liberation Mono", "Cousine", "Nimbus Mono PS", "DejaVu Sans Mono"});
  add("MS Sans Serif", {"Liberation Sans", "Arimo", "Nimbus Sans", "DejaVu Sans"});
}

}  // namespace velmar
