#include "reports/forms/easter_dlg.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <optional>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "platform/clock.h"
#include "reports/forms/report_viewer.h"
#include "reports/paschalion_table.h"
#include "widgets/fit_to_font.h"

namespace velmar {

namespace {

// Keeps the number typed into a spin box as it stood before the box put it
// back within its limits: that happens as the box loses the focus (a click
// on "&Ок"), takes Enter or is hidden with its dialog, before anyone reads it.
class TypedNumberWatch : public QObject {
 public:
  explicit TypedNumberWatch(QSpinBox* spin) : spin_(spin) { spin_->installEventFilter(this); }
  ~TypedNumberWatch() override { spin_->removeEventFilter(this); }
  TypedNumberWatch(const TypedNumberWatch&) = delete;
  TypedNumberWatch& operator=(const TypedNumberWatch&) = delete;

  // The number in the box now, or as typed before it was corrected when the
  // box has kept the corrected value since.
  std::optional<int> Typed() const {
    if (typed_ && spin_->value() == correctedTo_) return typed_;
    bool ok = false;
    const int now = spin_->locale().toInt(spin_->cleanText(), &ok);
    return ok ? std::optional<int>(now) : std::nullopt;
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    const bool enter = event->type() == QEvent::KeyPress &&
                       (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return ||
                        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Enter);
    if (watched == spin_ && (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide || enter)) {
      bool ok = false;
      const int number = spin_->locale().toInt(spin_->cleanText(), &ok);
      typed_.reset();
      if (ok && number < spin_->minimum()) {
        typed_ = number;
        correctedTo_ = spin_->minimum();
      }
    }
    return false;
  }

 private:
  QSpinBox* spin_;
  std::optional<int> typed_;
  int correctedTo_ = 0;
};

constexpr int kNewStyleFirst = 1800;
constexpr int kNewStyleLast = 2100;
constexpr int kOldStyleFirst = 325;
constexpr int kOldStyleLast = 2325;

}  // namespace

TEasterDlg::TEasterDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("EasterDlg"));
  setWindowTitle(QStringLiteral("Сервис"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(377, 176);

  Label1 = new QLabel(QStringLiteral("Составить Пасхалию с"), this);
  Label1->setGeometry(static_cast<int>(DialogOutcome::Reset), 17, 150, 20);
  CSpinEdit1 = new QSpinBox(this);
  CSpinEdit1->setGeometry(172, 14, 76, 24);
  Label2 = new QLabel(QStringLiteral("по"), this);
  Label2->setGeometry(256, 17, 24, 20);
  CSpinEdit2 = new QSpinBox(this);
  CSpinEdit2->setGeometry(284, 14, 76, 24);
  // A number typed below the lower limit becomes the limit when the field is
  // left, not the value before the typing.
  CSpinEdit1->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  CSpinEdit2->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);

  GroupBox1 = new QGroupBox(this);
  GroupBox1->setGeometry(8, 46, 361, 86);
  Label3 = new QLabel(QStringLiteral("Обсчет производить по:"), GroupBox1);
  Label3->setGeometry(12, 10, 330, 18);
  RadioButton1 = new QRadioButton(QStringLiteral("Григорианскому календарю (н.ст.)"), GroupBox1);
  RadioButton1->setGeometry(24, 32, 320, 20);
  RadioButton2 = new QRadioButton(QStringLiteral("Юлианскому календарю (ст.ст.)"), GroupBox1);
  RadioButton2->setGeometry(24, 56, 320, 20);
  RadioButton1->setChecked(true);

  OKBtn = new QPushButton(QStringLiteral("&Ок"), this);
  OKBtn->setGeometry(210, 142, 75, 25);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("Отмена"), this);
  CancelBtn->setGeometry(293, 142, 75, 25);

  // This year and eight years on; the last year never below the first.
  const int year = Today().year;
  CSpinEdit1->setRange(kNewStyleFirst, kNewStyleLast);
  CSpinEdit1->setValue(year);
  CSpinEdit2->setRange(CSpinEdit1->value(), kNewStyleLast);
  CSpinEdit2->setValue(year + 8);

  connect(CSpinEdit1, &QSpinBox::valueChanged, this, [this] { CSpinEdit1Change(); });
  connect(RadioButton1, &QRadioButton::clicked, this, [this] { RadioButton1Click(); });
  connect(RadioButton2, &QRadioButton::clicked, this, [this] { RadioButton2Click(); });
  connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });
  // At a bigger font the controls and the dialog grow to fit their texts.
  KeepFittedToFont(this);
}

bool TEasterDlg::OldStyle() const { return RadioButton2->isChecked(); }

void TEasterDlg::CSpinEdit1Change() {
  // Raises a lower last year to the first year as well.
  CSpinEdit2->setMinimum(CSpinEdit1->value());
}

void TEasterDlg::RadioButton1Click() {
  CSpinEdit1->setRange(kNewStyleFirst, kNewStyleLast);  // clamps the first year
  CSpinEdit2->setRange(CSpinEdit1->value(), kNewStyleLast);
}

void TEasterDlg::RadioButton2Click() {
  CSpinEdit1->setRange(kOldStyleFirst, kOldStyleLast);
  CSpinEdit2->setRange(CSpinEdit1->value(), kOldStyleLast);
}

void TEasterDlg::CancelBtnClick() {
  SetOutcome(DialogOutcome::Cancelled);
  QDialog::reject();
}

void TEasterDlg::reject() {
  SetOutcome(DialogOutcome::Cancelled);
  QDialog::reject();
}

void TEasterDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(this);
}

void RunPaschalionCommand(TEasterDlg& dialog, TForm2& viewer) {
  dialog.SetOutcome(DialogOutcome::Reset);
  for (QWidget* widget :
       {static_cast<QWidget*>(dialog.Label1), static_cast<QWidget*>(dialog.Label2),
        static_cast<QWidget*>(dialog.Label3), static_cast<QWidget*>(dialog.CSpinEdit1),
        static_cast<QWidget*>(dialog.CSpinEdit2), static_cast<QWidget*>(dialog.RadioButton1),
        static_cast<QWidget*>(dialog.RadioButton2)})
    SetFontFace(widget, AppSettings.sysFont);
  std::optional<int> typedLast;
  {
    const TypedNumberWatch watch(dialog.CSpinEdit2);
    dialog.exec();
    typedLast = watch.Typed();  // before the field raises it to the first year
  }
  if (dialog.Outcome() == DialogOutcome::Cancelled) return;

  const bool oldStyle = dialog.OldStyle();
  int first = CommitTypedValue(dialog.CSpinEdit1);
  int last = CommitTypedValue(dialog.CSpinEdit2);
  ClampPaschalionYears(first, last, oldStyle);
  dialog.CSpinEdit1->setValue(first);
  dialog.CSpinEdit2->setValue(last);
  WritePaschalionReport(static_cast<u16>(first), static_cast<u16>(last), oldStyle);
  viewer.SetReportPeriod(std::nullopt);
  viewer.ShowReport(false);
  // The report has the first year alone: say why, over it.
  if (typedLast && *typedLast < first) {
    const std::string f = std::to_string(first);
    ShowMessage(std::string("Неверно задан период: последний год ("_cp) + std::to_string(*typedLast) +
                std::string(") раньше первого ("_cp) + f +
                std::string("). Пасхалия составлена только на "_cp) + f + std::string(" год."_cp));
  }
}

}  // namespace velmar
