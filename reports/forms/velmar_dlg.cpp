#include "reports/forms/velmar_dlg.h"

#include <QColor>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "reports/forms/report_viewer.h"
#include "widgets/fit_to_font.h"
#include "widgets/readable_colours.h"

namespace velmar {

namespace {

constexpr int kFirstYear = 1800;
constexpr int kLastYear = 2100;

const char* const kMonthItems[12] = {" Январь", " Февраль", " Март",     " Апрель",
                                     " Май",    " Июнь",    " Июль",     " Август",
                                     " Сентябрь", " Октябрь", " Ноябрь", " Декабрь"};

enum Kind { kCurrentWeek = 0, kNextWeek = 1, kMonth = 2, kYear = 3, kPeriod = 4 };

QComboBox* MakeList(QWidget* parent, const QRect& place) {
  auto* list = new QComboBox(parent);
  list->setGeometry(place);
  list->setMaxVisibleItems(12);
  return list;
}

QSpinBox* MakeYear(QWidget* parent, const QRect& place) {
  auto* spin = new QSpinBox(parent);
  spin->setGeometry(place);
  spin->setRange(kFirstYear, kLastYear);
  // A number typed below the lower limit becomes the limit when the field is
  // left, not the value before the typing.
  spin->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  return spin;
}

}  // namespace

TVelmarDlg::TVelmarDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("VelmarDlg"));
  setWindowTitle(QStringLiteral("Сервис"));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFixedSize(377, 213);

  Label3 = new QLabel(QStringLiteral("Составить календарь на"), this);
  Label3->setGeometry(static_cast<int>(DialogOutcome::Reset), 16, 156, 20);
  ComboBox1 = MakeList(this, {178, 13, 190, 24});
  ComboBox1->addItems({QStringLiteral("Текущую неделю"), QStringLiteral("Следующую неделю"),
                       QStringLiteral("Месяц"), QStringLiteral("Год"),
                       QStringLiteral("Период ...")});

  GroupBox1 = new QGroupBox(this);
  GroupBox1->setGeometry(8, 46, 361, 124);
  Label1 = new QLabel(QStringLiteral("Начальная дата:"), GroupBox1);
  Label1->setGeometry(12, 16, 200, 18);
  ComboBox2 = MakeList(GroupBox1, {12, 36, 58, 24});
  ComboBox3 = MakeList(GroupBox1, {76, 36, 150, 24});
  CSpinEdit1 = MakeYear(GroupBox1, {232, 36, 116, 24});
  Label2 = new QLabel(QStringLiteral("Конечная дата:"), GroupBox1);
  Label2->setGeometry(12, 66, 200, 18);
  ComboBox4 = MakeList(GroupBox1, {12, 86, 58, 24});
  ComboBox5 = MakeList(GroupBox1, {76, 86, 150, 24});
  CSpinEdit2 = MakeYear(GroupBox1, {232, 86, 116, 24});
  for (const char* month : kMonthItems) {
    ComboBox3->addItem(QString::fromUtf8(month));
    ComboBox5->addItem(QString::fromUtf8(month));
  }

  OKBtn = new QPushButton(QStringLiteral("&Ок"), this);
  OKBtn->setGeometry(210, 180, 75, 25);
  OKBtn->setDefault(true);
  CancelBtn = new QPushButton(QStringLiteral("Отмена"), this);
  CancelBtn->setGeometry(293, 180, 75, 25);

  // Both dates today, both years this year.
  const CivilDate today = Today();
  const int year = std::clamp(static_cast<int>(today.year), kFirstYear, kLastYear);
  const int month = std::clamp(static_cast<int>(today.month), 1, 12);
  for (QComboBox* monthList : {ComboBox3, ComboBox5}) monthList->setCurrentIndex(month - 1);
  for (QComboBox* dayList : {ComboBox2, ComboBox4}) {
    dayList->setCurrentIndex(-1);
    RebuildDays(dayList, month, year);
    dayList->setCurrentIndex(std::min(static_cast<int>(today.day), dayList->count()) - 1);
  }
  CSpinEdit1->setValue(year);
  CSpinEdit2->setValue(year);
  CSpinEdit2->setMinimum(year);

  // Lists report changes by the user only; spin edits every change.
  connect(ComboBox1, &QComboBox::activated, this, [this] { ComboBox1Change(); });
  connect(ComboBox2, &QComboBox::activated, this, [this] { ComboBox2Change(); });
  connect(ComboBox3, &QComboBox::activated, this, [this] { ComboBox3Change(); });
  connect(ComboBox4, &QComboBox::activated, this, [this] { ComboBox4Change(); });
  connect(ComboBox5, &QComboBox::activated, this, [this] { ComboBox5Change(); });
  connect(CSpinEdit1, &QSpinBox::valueChanged, this, [this] { CSpinEdit1Change(); });
  connect(CSpinEdit2, &QSpinBox::valueChanged, this, [this] { CSpinEdit2Change(); });
  connect(OKBtn, &QPushButton::clicked, this, [this] {
    OKBtnClick();
    accept();
  });
  connect(CancelBtn, &QPushButton::clicked, this, [this] { CancelBtnClick(); });

  ComboBox1->setCurrentIndex(kCurrentWeek);
  ComboBox1Change();
  // At a bigger font the controls and the dialog grow to fit their texts.
  KeepFittedToFont(this);
}

int TVelmarDlg::StartMonth() const { return ComboBox3->currentIndex() + 1; }
int TVelmarDlg::EndMonth() const { return ComboBox5->currentIndex() + 1; }

void TVelmarDlg::RebuildDays(QComboBox* days, int month, int year) {
  const int kept = days->currentIndex();  // -1: no selection, taken as past the end
  const int length = MonthLength(month, year);
  days->clear();
  for (int day = 1; day <= length; ++day) days->addItem(QString::number(day));
  days->setCurrentIndex(kept >= 0 && kept < length ? kept : length - 1);
}

void TVelmarDlg::ApplySameMonthRule() {
  if (CSpinEdit1->value() == CSpinEdit2->value() && StartMonth() == EndMonth() &&
      ComboBox4->currentIndex() < ComboBox2->currentIndex())
    ComboBox4->setCurrentIndex(std::min(ComboBox2->currentIndex(), ComboBox4->count() - 1));
}

void TVelmarDlg::ComboBox1Change() {
  const int kind = ComboBox1->currentIndex();
  const bool week = kind == kCurrentWeek || kind == kNextWeek;
  GroupBox1->setEnabled(!week);
  // Grey 808080 or black, or shades of them that read on the theme (the
  // grey of the disabled group a little less).
  const QColor text = week ? QColor(0x80, 0x80, 0x80) : QColor(0, 0, 0);
  SetReadableTextColour(GroupBox1, text, week ? kDisabledContrast : kReadableContrast);

  Label1->setText(kind == kMonth  ? QStringLiteral("Установите месяц:")
                  : kind == kYear ? QStringLiteral("Установите год:")
                                  : QStringLiteral("Начальная дата:"));
  Label1->setEnabled(!week);
  Label2->setEnabled(kind == kPeriod);
  const bool secondRow = week || kind == kPeriod;
  for (QWidget* control : {static_cast<QWidget*>(ComboBox2), static_cast<QWidget*>(ComboBox4),
                           static_cast<QWidget*>(ComboBox5), static_cast<QWidget*>(Label2),
                           static_cast<QWidget*>(CSpinEdit2)})
    control->setVisible(secondRow);
  ComboBox3->setVisible(kind != kYear);
  CSpinEdit1->setVisible(true);
}

void TVelmarDlg::ComboBox2Change() { ApplySameMonthRule(); }
void TVelmarDlg::ComboBox4Change() { ApplySameMonthRule(); }

void TVelmarDlg::ComboBox3Change() {
  RebuildDays(ComboBox2, StartMonth(), CSpinEdit1->value());
  if (CSpinEdit1->value() == CSpinEdit2->value() && EndMonth() < StartMonth()) {
    ComboBox5->setCurrentIndex(StartMonth() - 1);
    RebuildDays(ComboBox4, EndMonth(), CSpinEdit2->value());
  }
  ApplySameMonthRule();
}

void TVelmarDlg::ComboBox5Change() {
  RebuildDays(ComboBox4, EndMonth(), CSpinEdit2->value());
  if (CSpinEdit1->value() == CSpinEdit2->value() && EndMonth() < StartMonth()) {
    ComboBox5->setCurrentIndex(StartMonth() - 1);
    RebuildDays(ComboBox4, EndMonth(), CSpinEdit2->value());
  }
  ApplySameMonthRule();
}

void TVelmarDlg::CSpinEdit1Change() {
  // Raising the lower limit raises a lower end year, which runs CSpinEdit2Change.
  CSpinEdit2->setMinimum(CSpinEdit1->value());
  const bool sameYear = CSpinEdit1->value() == CSpinEdit2->value();
  if (sameYear && EndMonth() < StartMonth()) ComboBox5->setCurrentIndex(StartMonth() - 1);
  if (StartMonth() == 2) RebuildDays(ComboBox2, 2, CSpinEdit1->value());
  if (sameYear && EndMonth() <= StartMonth()) {
    ComboBox5->setCurrentIndex(StartMonth() - 1);
    RebuildDays(ComboBox4, EndMonth(), CSpinEdit2->value());
  }
  ApplySameMonthRule();
}

void TVelmarDlg::CSpinEdit2Change() {
  if (EndMonth() == 2) RebuildDays(ComboBox4, 2, CSpinEdit2->value());
  if (CSpinEdit1->value() == CSpinEdit2->value() && EndMonth() <= StartMonth()) {
    ComboBox5->setCurrentIndex(StartMonth() - 1);
    RebuildDays(ComboBox4, EndMonth(), CSpinEdit2->value());
  }
  ApplySameMonthRule();
}

void TVelmarDlg::CancelBtnClick() {
  SetOutcome(DialogOutcome::Cancelled);
  QDialog::reject();
}

void TVelmarDlg::reject() {
  SetOutcome(DialogOutcome::Cancelled);
  QDialog::reject();
}

void TVelmarDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CentreOnScreen(this);
}

Period TVelmarDlg::ChosenPeriod(const Date& today) {
  // Typed years count as if the field had been left: clamped into its limits
  // (the end year not below the start year), and the handlers fit the dates.
  CommitTypedValue(CSpinEdit1);
  CommitTypedValue(CSpinEdit2);

  const auto startYear = static_cast<u16>(CSpinEdit1->value());
  switch (ComboBox1->currentIndex()) {
    case kCurrentWeek: return CurrentWeekPeriod(today);
    case kNextWeek: return NextWeekPeriod(today);
    case kMonth: return MonthPeriod(static_cast<u16>(StartMonth()), startYear);
    case kYear: return YearPeriod(startYear);
    default:
      return {{static_cast<u16>(ComboBox2->currentIndex() + 1), static_cast<u16>(StartMonth()),
               startYear},
              {static_cast<u16>(ComboBox4->currentIndex() + 1), static_cast<u16>(EndMonth()),
               static_cast<u16>(CSpinEdit2->value())}};
  }
}

void RunPeriodCalendarCommand(TVelmarDlg& dialog, TForm2& viewer) {
  for (QWidget* widget : {static_cast<QWidget*>(dialog.Label3),
                          static_cast<QWidget*>(dialog.ComboBox1),
                          static_cast<QWidget*>(dialog.GroupBox1),
                          static_cast<QWidget*>(dialog.Label1), static_cast<QWidget*>(dialog.Label2)})
    SetFontFace(widget, AppSettings.sysFont);
  dialog.SetOutcome(DialogOutcome::Reset);
  dialog.exec();
  if (dialog.Outcome() == DialogOutcome::Cancelled) return;

  const CivilDate today = Today();
  const Period period = dialog.ChosenPeriod({today.day, today.month, today.year});
  if (!IsValidPeriodDate(period.start) || !IsValidPeriodDate(period.end) ||
      StartsAfterEnd(period)) {
    ShowMessage("ОШИБКА: Неверно задан период!"_cp);
    return;
  }
  WritePeriodCalendar(period.start.day, period.start.month, period.start.year, period.end.day,
                      period.end.month, period.end.year);
  viewer.SetReportPeriod(period);
  viewer.ShowReport(true);
}

}  // namespace velmar
