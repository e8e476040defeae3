#include "app/program_forms.h"

#include "app/about_box.h"
#include "app/main_window.h"
#include "reports/forms/easter_dlg.h"
#include "reports/forms/report_viewer.h"
#include "reports/forms/search_dlg.h"
#include "reports/forms/velmar_dlg.h"

namespace velmar {

ProgramForms::ProgramForms() = default;

ProgramForms::~ProgramForms() {
  searchDlg.reset();
  easterDlg.reset();
  velmarDlg.reset();
  aboutBox.reset();
  form2.reset();
  form1.reset();
}

std::unique_ptr<ProgramForms> CreateProgramForms(lumora::TrayShell* trayShell) {
  auto forms = std::make_unique<ProgramForms>();
  forms->form1 = std::make_unique<TForm1>(trayShell);
  forms->form2 = std::make_unique<TForm2>(&TForm1::Caption);
  forms->aboutBox = std::make_unique<TAboutBox>();
  forms->velmarDlg = std::make_unique<TVelmarDlg>();
  forms->easterDlg = std::make_unique<TEasterDlg>();
  forms->searchDlg = std::make_unique<TSearchDlg>();
  TForm1& main = *forms->form1;
  main.Form2 = forms->form2.get();
  main.AboutBox = forms->aboutBox.get();
  main.VelmarDlg = forms->velmarDlg.get();
  main.EasterDlg = forms->easterDlg.get();
  main.SearchDlg = forms->searchDlg.get();
  return forms;
}

}  // namespace velmar
