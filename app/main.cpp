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

#include "app/main_window.h"
#include "app/program_forms.h"
#include "platform/program_directory.h"
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
    const auto forms = velmar::CreateProgramForms();
    velmar::TForm1* form1 = forms->form1.get();
    QObject::connect(&instance, &velmar::SingleInstance::ShowRequested, form1, &velmar::TForm1::N8Click);
    form1->show();
    result = QCoreApplication::exec();
  } catch (const std::exception& e) {
    QMessageBox::critical(nullptr, app.Title(), QString::fromLocal8Bit(e.what()));
  }

  velmar::SetMessageSink(previousSink);
  lumora::FinalizePackage();
  return result;
}
