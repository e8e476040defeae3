// Velmar32, the desktop program: the application object, Qt's Russian
// texts, the tray package, the message boxes, then the six forms in their
// order; the event loop runs until the main window ends it.
#include <QMessageBox>
#include <QTranslator>
#include <exception>
#include <memory>

#include "app/about_box.h"
#include "app/main_window.h"
#include "platform/application.h"
#include "platform/message_box.h"
#include "reports/forms/easter_dlg.h"
#include "reports/forms/report_viewer.h"
#include "reports/forms/search_dlg.h"
#include "reports/forms/velmar_dlg.h"
#include "trayicon/package.h"

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("Velmar32"));
  velmar::Application app(argc, argv);
  QTranslator qtTexts;
  velmar::SetUpDesktop(qtTexts);

  lumora::InitializePackage();
  velmar::MessageBoxSink messageBoxes;
  velmar::MessageSink* const previousSink = velmar::SetMessageSink(&messageBoxes);

  int result = 1;
  try {
    auto form1 = std::make_unique<velmar::TForm1>();
    auto form2 = std::make_unique<velmar::TForm2>(&velmar::TForm1::Caption);
    auto aboutBox = std::make_unique<velmar::TAboutBox>();
    auto velmarDlg = std::make_unique<velmar::TVelmarDlg>();
    auto easterDlg = std::make_unique<velmar::TEasterDlg>();
    auto searchDlg = std::make_unique<velmar::TSearchDlg>();
    form1->Form2 = form2.get();
    form1->AboutBox = aboutBox.get();
    form1->VelmarDlg = velmarDlg.get();
    form1->EasterDlg = easterDlg.get();
    form1->SearchDlg = searchDlg.get();
    form1->show();
    result = QCoreApplication::exec();
    // The forms go in the reverse order of their creation, the main window last.
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, app.Title(), QString::fromLocal8Bit(e.what()));
  }

  velmar::SetMessageSink(previousSink);
  lumora::FinalizePackage();
  return result;
}
