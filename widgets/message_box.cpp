#include "widgets/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QWidget>

#include "calendar/cp1251.h"
#include "widgets/application.h"

namespace velmar {

void MessageBoxSink::Show(std::string_view text) {
  const Application* app = Application::Instance();
  const QString title = app != nullptr ? app->Title() : QApplication::applicationName();
  QWidget* parent = QApplication::activeWindow();
  if (parent == nullptr && app != nullptr && app->MainWindow() != nullptr &&
      app->MainWindow()->isVisible())
    parent = app->MainWindow();
  QMessageBox box(QMessageBox::NoIcon, title, QString::fromStdString(Cp1251ToUtf8(text)),
                  QMessageBox::Ok, parent);
  box.exec();
}

}  // namespace velmar
