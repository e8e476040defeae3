#pragma once
// The program's forms, created in their order and wired to the main window:
// TForm1 (the main window), TForm2 (the report viewer), TAboutBox,
// TVelmarDlg, TEasterDlg and TSearchDlg. They live until the object goes;
// the forms go in the reverse order of their creation, the main window last.
// A new form of the program is created here, so that the program and the
// tests that walk every form (the look under light and dark palettes, the
// fit at the user's font) have it alike.

#include <memory>

namespace lumora {
class TrayShell;
}

namespace velmar {

class TAboutBox;
class TEasterDlg;
class TForm1;
class TForm2;
class TSearchDlg;
class TVelmarDlg;

struct ProgramForms {
  ProgramForms();
  ~ProgramForms();
  ProgramForms(const ProgramForms&) = delete;
  ProgramForms& operator=(const ProgramForms&) = delete;

  std::unique_ptr<TForm1> form1;
  std::unique_ptr<TForm2> form2;
  std::unique_ptr<TAboutBox> aboutBox;
  std::unique_ptr<TVelmarDlg> velmarDlg;
  std::unique_ptr<TEasterDlg> easterDlg;
  std::unique_ptr<TSearchDlg> searchDlg;
};

// trayShell: the notification area for the main window (not owned);
// nullptr for the desktop's.
std::unique_ptr<ProgramForms> CreateProgramForms(lumora::TrayShell* trayShell = nullptr);

}  // namespace velmar
