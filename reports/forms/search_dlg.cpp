#include "reports/forms/search_dlg.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "reports/forms/report_viewer.h"
#include "reports/menologion_search.h"
#include "widgets/fit_to_font.h"
#include "widgets/window_frame.h"

namespace velmar {

namespace {

constexpr int kClientWidth = 403;

}  // namespace

TSearchDlg::TSearchDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SearchDlg"));
  setWindowTitle(QStringLiteral("Сервис"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

  Label1 = new QLabel(QStringLiteral("Искать строку:"), this);
  Label1->setGeometry(static_cast<int>(DialogOutcome::Reset), 10, 200, 18);
  Edit1 = new QLineEdit(QStringLiteral("Авра"), this);
  Edit1->setGeometry(16, 31, 371, 26);
  QFont fixed(QStringLiteral("Courier New Cyr"));
  fixed.setStyleHint(QFont::TypeWriter);
  fixed.setFixedPitch(true);
  // Where that face is missing, the desktop's fixed-pitch font.
  if (!QFontInfo(fixed).fixedPitch()) fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  Edit1->setFont(fixed);

  OKBtn = new QPushButton(QStringLiteral("&Ок"), this);
  OKBtn->setGeometry(231, 74, 75, 25);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("Отмена"), this);
  CancelBtn->setGeometry(312, 74, 75, 25);

  Bevel1 = new QFrame(this);
  Bevel1->setFrameShape(QFrame::HLine);
  Bevel1->setFrameShadow(QFrame::Sunken);
  Bevel1->setGeometry(8, 108, kClientWidth - 16, 2);
  Label2 = new QLabel(QStringLiteral("Подсказка"), this);
  Label2->setGeometry(16, 112, kClientWidth - 32, 46);
  Label2->setWordWrap(true);
  Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  setFixedWidth(kClientWidth);  // grows with the font (KeepFittedToFont)
  // The heights are outer heights; the keeper takes the title bar off them
  // (the real one once the desktop has framed the dialog).
  KeepOuterSize(this, [this] { return QSize(0, dialogHeight_ + FitGrowth(this).height()); }, kDialogDesignFrame);
  SetDialogHeight(kCompactHeight);
  // At a bigger font the controls and the dialog grow to fit their texts.
  KeepFittedToFont(this);

  connect(OKBtn, &QPushButton::clicked, this, [this] {
    OKBtnClick();
    accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
}

void TSearchDlg::SetDialogHeight(int outerHeight) {
  dialogHeight_ = outerHeight;
  ApplyOuterSize(this);
  Bevel1->setVisible(outerHeight >= kExpandedHeight);
}

std::string TSearchDlg::SearchText() const { return Utf8ToCp1251(Edit1->text().toStdString()); }

void TSearchDlg::OKBtnClick() {
  if (!SearchTextLengthOk(SearchText())) SetOutcome(DialogOutcome::Rejected);
}

void TSearchDlg::CancelBtnClick() {
  SetOutcome(DialogOutcome::Cancelled);
  QDialog::reject();
}

void TSearchDlg::reject() {
  SetOutcome(DialogOutcome::Cancelled);
  QDialog::reject();
}

void TSearchDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(this);
}

void RunSearchCommand(TSearchDlg& dialog, TForm2& viewer, int calendarYear) {
  dialog.SetDialogHeight(TSearchDlg::kCompactHeight);
  dialog.SetOutcome(DialogOutcome::Reset);
  SetFontFace(dialog.Label1, AppSettings.sysFont);
  SetFontFace(dialog.Label2, AppSettings.sysFont);
  dialog.Label2->clear();
  for (;;) {
    dialog.exec();
    if (dialog.Outcome() == DialogOutcome::Cancelled) return;
    if (dialog.Outcome() != DialogOutcome::Rejected) break;
    dialog.SetDialogHeight(TSearchDlg::kExpandedHeight);
    dialog.Label2->setText(QStringLiteral(
        "Слишком длинная либо слишком короткая строка поиска. Поиск может осуществляться "
        "по строке от двух до шестидесяти двух символов."));
    dialog.SetOutcome(DialogOutcome::Reset);
  }
  WriteSearchReport(dialog.SearchText(), static_cast<u16>(std::clamp(calendarYear, 1800, 2100)));
  viewer.SetReportPeriod(std::nullopt);
  viewer.ShowReport(true);
}

}  // namespace velmar
