// Velmar32, the desktop program: the application object, Qt's Russian
// texts, one program per user and program folder (a second start shows the
// running window and ends), the tray package, the message boxes, then the
// six forms in their order; the event loop runs until the main window ends it.
#include <QFile>
#include <QMessageBox>
#include <QTranslator>
#include <cstdio>
#include <exception>
#include <memory>

#include "app/about_box.h"
#include "app/main_window.h"
#include "platform/program_directory.h"
#include "reports/forms/easter_dlg.h"
#include "reports/forms/report_viewer.h"
#include "reports/forms/search_dlg.h"
#include "reports/forms/velmar_dlg.h"
#include "trayicon/package.h"
#include "widgets/application.h"
#include "widgets/message_box.h"
#include "widgets/single_instance.h"

int main(int argc, char** argv) {
  QCoreApplication::setApplicationName(QStringLiteral("Velmar32"));
  velmar::Application app(argc, argv);
  QTranslator qtTexts;
  velmar::SetUpDesktop(qtTexts);

  velmar::SingleInstance instance(QFile::decodeName(velmar::ProgramDirectory().c_str()));
  switch (instance.Claim()) {
    case velmar::SingleInstance::Outcome::First: break;
    case velmar::SingleInstance::Outcome::Shown:
      std::fputs("Velmar32 is already running: its window has been shown.\n", stderr);
      return 0;
    case velmar::SingleInstance::Outcome::NoAnswer:
      std::fputs("Velmar32 is already running but does not answer.\n", stderr);
      return 1;
  }

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
    QObject::connect(&instance, &velmar::SingleInstance::ShowRequested, form1.get(), &velmar::TForm1::N8Click);
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
