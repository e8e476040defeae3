#include "app/main_window.h"

#include <QAbstractButton>
#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QCheckBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdio>

#include "app/about_box.h"
#include "app/calendar_page.h"
#include "app/help_dialog.h"  // the dialogs the window owns go with it
#include "app/help_text.h"
#include "app/main_window_layout.h"
#include "app/reading_links.h"
#include "app/settings_dialog.h"
#include "app/shell_messages.h"
#include "calendar/calendar_arithmetic.h"
#include "calendar/cp1251.h"
#include "platform/autostart.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/program_directory.h"
#include "reports/forms/easter_dlg.h"
#include "reports/forms/report_viewer.h"
#include "reports/forms/saints_page.h"
#include "reports/forms/search_dlg.h"
#include "reports/forms/velmar_dlg.h"
#include "reports/paschalion_table.h"
#include "texts/day_entries.h"
#include "texts/rtf_writer.h"
#include "trayicon/image_list.h"
#include "trayicon/tray_icon_ex.h"
#include "widgets/application.h"
#include "widgets/ccalendar.h"
#include "widgets/cspin_edit.h"
#include "widgets/readable_colours.h"
#include "widgets/rich_edit.h"
#include "widgets/shell.h"
#include "widgets/window_frame.h"

namespace velmar {
namespace {

QString FromCp1251(std::string_view text) { return QString::fromStdString(Cp1251ToUtf8(text)); }

QString FromFileName(const std::string& name) { return QFile::decodeName(name.c_str()); }

// The day's colour as specified, or a shade of it that reads on the theme.
void SetTextColour(QWidget* widget, Rgb rgb) {
  SetReadableTextColour(widget, QColor(rgb.red, rgb.green, rgb.blue));
}

}  // namespace

TForm1::TForm1(lumora::TrayShell* trayShell, QWidget* parent)
    : QWidget(parent), app_(Application::Instance()) {
  BuildDesign(trayShell);
  ConnectHandlers();
  // The Calendar page shows the grid's date; Today and Tomorrow the date
  // recorded when they were filled.
  Readings = new ReadingLinks(this, {RichEdit1, RichEdit2, RichEdit3}, PopupMenu3, [this](ViewKind page) {
    const CivilDate today = ShownDate(shownDay, shownMonth, Today());
    if (page == ViewKind::Today) return today;
    if (page == ViewKind::Tomorrow) {
      const Date next = NextDay(today.day, today.month, today.year);
      return CivilDate{next.day, next.month, next.year};
    }
    return CivilDate{static_cast<std::uint16_t>(CCalendar1->Day()), static_cast<std::uint16_t>(CCalendar1->Month()),
                     static_cast<std::uint16_t>(CCalendar1->Year())};
  });
  if (app_ != nullptr) {
    app_->SetMainWindow(this);
    // Minimising hides the window into the tray only while the icon is in
    // one (a tray may come late, or go with its panel); a tray given by the
    // caller is always there.
    app_->SetTrayAvailable(trayShell != nullptr ? std::function<bool()>([] { return true; }) : nullptr);
  }

  TrayIconEx->SetHint(QStringLiteral("Днесловник"));
  LoadWindowPosition(*this);
  LoadSettings(*this);
  autostartMark_ = Autostart::IsOn();
  NStartup->setChecked(autostartMark_);
  ApplyMainFont();
  CCalendar1->SetStartOfWeek(AppSettings.startOfWeek);
  ShowTodayAndTomorrow(*this);

  const CivilDate today = Today();
  shownDay = today.day;
  shownMonth = today.month;
  ComboBox1->setCurrentIndex(today.month - 1);
  CSpinEdit1->SetValue(today.year);
  ShowDayOfGrid();
  CSpinEdit2->SetValue(today.year);
  StringGrid1->setColumnWidth(0, kPaschalionCaptionColumnDesignWidth);
  for (int row = 1; row <= 10; ++row)
    StringGrid1->item(row, 0)->setText(FromCp1251(PaschalionRowCaption(row, false)));
  FillPaschalionGrid();  // the page shows this year's Paschalion from the start
  ComboBox2->setCurrentIndex(18);
  FitToFont();
  BuildComforts();
  Timer1->start();
}

TForm1::~TForm1() {
  // The tray icon points to the image list and the tray menu: it goes first.
  delete TrayIconEx;
  TrayIconEx = nullptr;
  delete ImageList1;
  if (app_ != nullptr && app_->MainWindow() == this) app_->SetMainWindow(nullptr);
}

void TForm1::ConnectHandlers() {
  connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm1::Button3Click);
  connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
  connect(CCalendar1, &CCalendar::Changed, this, &TForm1::CCalendar1Change);
  connect(CCalendar1, &CCalendar::DoubleClicked, this, &TForm1::CCalendar1Change);
  // A key that moves the grid into another month takes the month list and
  // the year field along, so that they agree with it.
  connect(CCalendar1, &CCalendar::KeyMovedMonth, this, [this] {
    ComboBox1->setCurrentIndex(CCalendar1->Month() - 1);
    CSpinEdit1->SetValue(CCalendar1->Year());
  });
  // Only the user's choice moves the grid; setting the list from code doesn't.
  connect(ComboBox1, &QComboBox::activated, this, &TForm1::ComboBox1Change);
  connect(SpeedButton6, &QToolButton::clicked, this, &TForm1::SpeedButton6Click);
  connect(SpeedButton2, &QToolButton::clicked, this, &TForm1::SpeedButton2Click);
  connect(SpeedButton3, &QToolButton::clicked, this, &TForm1::SpeedButton3Click);
  connect(RunFile1, &QToolButton::clicked, this, &TForm1::RunFile1Click);
  connect(RunFile2, &QToolButton::clicked, this, &TForm1::RunFile2Click);
  connect(SpeedButton4, &QToolButton::clicked, this, &TForm1::SpeedButton4Click);
  connect(SpeedButton1, &QToolButton::clicked, this, &TForm1::SpeedButton1Click);
  // The style's switch recomputes the grid (one of the pair is toggled on).
  connect(RadioButton1, &QRadioButton::toggled, this, &TForm1::FillPaschalionGrid);
  connect(BitBtn1, &QPushButton::clicked, this, &TForm1::BitBtn1Click);
  connect(Edit1, &QLineEdit::returnPressed, BitBtn1, &QPushButton::click);
  connect(ListBox1, &QListWidget::itemDoubleClicked, this, &TForm1::ListBox1DblClick);
  connect(CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
  DrawSaintsListEntries(ListBox1);
  SaintsNames = new SaintsNameList({CheckBox1, ComboBox2, RadioButton3, RadioButton4, RadioButton5, ListBox1,
                                    ComboBox3, Label5, DateTimePicker1, Label8, DateTimePicker1->parentWidget()},
                                   [this] { return CCalendar1->Year(); }, this);

  connect(N1, &QAction::triggered, this, &TForm1::N1Click);
  connect(N10, &QAction::triggered, this, [this] { ShowPage(Page::Today); });
  connect(N11, &QAction::triggered, this, [this] { ShowPage(Page::Tomorrow); });
  connect(N12, &QAction::triggered, this, [this] { ShowPage(Page::Calendar); });
  connect(N15, &QAction::triggered, this, [this] { ShowPage(Page::Easter); });
  connect(N22, &QAction::triggered, this, [this] { ShowPage(Page::Search); });
  connect(N38, &QAction::triggered, this, &TForm1::N38Click);
  connect(N39, &QAction::triggered, this, &TForm1::N39Click);
  connect(N40, &QAction::triggered, this, &TForm1::N40Click);
  connect(N18, &QAction::triggered, this, &TForm1::N18Click);
  connect(NStartup, &QAction::triggered, this, &TForm1::NStartupClick);
  connect(NSettings, &QAction::triggered, this, &TForm1::NSettingsClick);
  connect(NHelp, &QAction::triggered, this, [this] { ShowHelp({}); });
  connect(NSigns, &QAction::triggered, this, [this] { ShowHelp(kHelpSigns); });
  connect(N14, &QAction::triggered, this, &TForm1::N14Click);

  connect(N8, &QAction::triggered, this, &TForm1::N8Click);
  connect(N2, &QAction::triggered, this, [this] { RestoreAndShowPage(Page::Today); });
  connect(N3, &QAction::triggered, this, [this] { RestoreAndShowPage(Page::Tomorrow); });
  connect(N4, &QAction::triggered, this, [this] { RestoreAndShowPage(Page::Calendar); });
  connect(N16, &QAction::triggered, this, [this] { RestoreAndShowPage(Page::Easter); });
  connect(N21, &QAction::triggered, this, [this] { RestoreAndShowPage(Page::Search); });
  connect(N19, &QAction::triggered, this, &TForm1::N18Click);
  connect(N6, &QAction::triggered, this, &TForm1::N14Click);

  connect(N24, &QAction::triggered, this, &TForm1::N24Click);
  connect(N23, &QAction::triggered, this, &TForm1::N23Click);
  connect(N26, &QAction::triggered, this, &TForm1::N26Click);
  connect(N27, &QAction::triggered, this, &TForm1::N27Click);
  connect(N28, &QAction::triggered, this, &TForm1::N28Click);
  connect(N31, &QAction::triggered, this, &TForm1::N31Click);

  for (QMenu* menu : {PopupMenu1, PopupMenu2, PopupMenu3, PopupMenu4})
    connect(menu, &QMenu::aboutToShow, this, &TForm1::PopupMenu1Popup);
  for (RichEdit* text : {RichEdit1, RichEdit2, RichEdit3}) {
    connect(text, &QWidget::customContextMenuRequested, this, [this, text](const QPoint& at) {
      PopupMenu3->popup(text->viewport()->mapToGlobal(at));
    });
  }
  connect(Edit1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu4->popup(Edit1->mapToGlobal(at)); });
  // Edit1's mouse presses and the window's shortcuts pass the filter.
  QCoreApplication::instance()->installEventFilter(this);
}

void TForm1::ApplyMainFont() {
  const QString face = FromCp1251(AppSettings.mainFont);
  const QWidget* const controls[] = {
      PageControl1, GroupBox1,    GroupBox2,    GroupBox3,    GroupBox4,    GroupBox5,
      Label1,       Label2,       Label3,       Label4,       Label5,       Label6,
      Label7,       ComboBox1,    CCalendar1,   CSpinEdit1,   CSpinEdit2,   RadioButton1,
      RadioButton2, RadioButton3, RadioButton4, RadioButton5, StringGrid1,  Edit1,
      BitBtn1,      CheckBox1,    ListBox1};
  for (const QWidget* control : controls) {
    QWidget* w = const_cast<QWidget*>(control);
    QFont font = w->font();
    font.setFamily(face);
    w->setFont(font);
  }
}

bool TForm1::FormCloseQuery() { return true; }

void TForm1::FormClose() {
  DeleteReportFile();
  SaveWindowPosition(*this);
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  event->accept();
  Terminate();  // closing the main window ends the program
}

void TForm1::DeleteReportFile() { std::remove(ReportFilePath().c_str()); }

void TForm1::FormResize() {
  const int outer = OuterWidth();
  StringGrid1->setColumnWidth(0, std::max(0, PaschalionCaptionColumnWidth(outer, gridFit_)));
  for (RichEdit* text : {RichEdit1, RichEdit2, RichEdit3}) text->viewport()->update();
  const bool longCaptions = LongPaschalionCaptions(outer, gridFit_);
  for (int row = 1; row <= 10; ++row)
    StringGrid1->item(row, 0)->setText(FromCp1251(PaschalionRowCaption(row, longCaptions)));
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ApplyPendingOuterSize();
  FormResize();
}

void TForm1::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  ApplyPendingOuterSize();
}

void TForm1::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) FitToFont();
  if (event->type() == QEvent::WindowStateChange && app_ != nullptr) {
    const auto* change = static_cast<QWindowStateChangeEvent*>(event);
    app_->MainWindowStateChanged(change->oldState(), windowState());
  }
}

void TForm1::contextMenuEvent(QContextMenuEvent* event) { PopupMenu1->popup(event->globalPos()); }

// Enter that no control took: in a year field, the year is applied; a
// focused button is pressed (as the desktop's dialogs do); otherwise the
// default button Button1. Edit1 has searched on its own Enter already.
void TForm1::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (!enter || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
    QWidget::keyPressEvent(event);
    return;
  }
  event->accept();
  QWidget* focus = focusWidget();
  if (focus == Edit1) return;
  // In a year field Enter applies the year it holds, as its button does.
  const auto inField = [focus](const QWidget* field) {
    return focus != nullptr && (focus == field || field->isAncestorOf(focus));
  };
  if (inField(CSpinEdit1)) {
    SpeedButton6->click();
    return;
  }
  if (inField(CSpinEdit2)) {
    SpeedButton4->click();
    return;
  }
  if (auto* button = qobject_cast<QAbstractButton*>(focus); button != nullptr && button->isEnabled()) {
    button->click();
    return;
  }
  Button1->click();
}

bool TForm1::IsPopupMenu1Shortcut(const QKeyEvent* key) const {
  const QKeySequence pressed(key->keyCombination());
  for (const QAction* action : {N1, N10, N11, N12, N15, N22, N38, N39, N40, N18, NHelp, N14}) {
    if (!action->shortcut().isEmpty() &&
        action->shortcut().matches(pressed) == QKeySequence::ExactMatch)
      return true;
  }
  return false;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // The window's shortcuts win over a text field's own (Ctrl+K deletes to
    // the end of the line in a text field otherwise).
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (widget != nullptr && widget->window() == this &&
        IsPopupMenu1Shortcut(static_cast<QKeyEvent*>(event))) {
      event->ignore();
      return true;
    }
  } else if (event->type() == QEvent::MouseButtonPress && watched == Edit1) {
    Edit1MouseDown();
  } else if (HelpKeyElsewhere(watched, event)) {
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TForm1::Button1Click() {
  if (app_ != nullptr) {
    app_->Minimize();
  } else {
    showMinimized();
  }
}

void TForm1::Button2Click() {
  DeleteReportFile();
  SaveWindowPosition(*this);
  Terminate();
}

void TForm1::Button3Click() {
  if (AboutBox == nullptr) return;
  AboutBox->Prepare();
  AboutBox->exec();
}

void TForm1::Timer1Timer() {
  const CivilDate today = Today();
  if (today.day == shownDay && today.month == shownMonth) return;
  ShowTodayAndTomorrow(*this);
  ShowDayOfGrid();
  UpdateTrayToolTip();
}

void TForm1::ShowDayOfGrid() {
  ShowCalendarDay(*this, static_cast<std::uint16_t>(CCalendar1->Year()),
                  static_cast<std::uint16_t>(CCalendar1->Month()),
                  static_cast<std::uint16_t>(CCalendar1->Day()));
}

void TForm1::CCalendar1Change() {
  ShowDayOfGrid();
  SearchHighlight = false;
}

void TForm1::ComboBox1Change() {
  const int m = ComboBox1->currentIndex();
  if (m < 0) return;
  const int day = DayBeforeMonthChange(CCalendar1->Day(), m);
  if (day != CCalendar1->Day()) CCalendar1->SetDay(day);
  CCalendar1->SetMonth(m + 1);
}

void TForm1::SpeedButton6Click() {
  const YearChange change = YearChangeFor(CSpinEdit1->Value(), CCalendar1->Day(), CCalendar1->Month());
  CSpinEdit1->SetValue(change.year);
  if (change.day != CCalendar1->Day()) CCalendar1->SetDay(change.day);
  CCalendar1->SetYear(change.year);
}

void TForm1::SpeedButton2Click() {
  const CivilDate today = Today();
  CCalendar1->SwitchToCurrentDate();
  ComboBox1->setCurrentIndex(today.month - 1);
  CSpinEdit1->SetValue(today.year);
  ShowDayOfGrid();  // switching to today raises no change event
}

void TForm1::OpenAdditionalInfo(ViewKind page) {
  const std::string& name = infoFiles_[static_cast<std::size_t>(page)];
  const QString path = FromFileName(ProgramDirectory()) + FromCp1251(name);
  const std::string message = DocumentOpenReport(Shell::Open(path), name, Utf8ToCp1251(path.toStdString()));
  if (!message.empty()) ShowMessage(message);
}

void TForm1::RunFile1Click() { OpenAdditionalInfo(ViewKind::Today); }

void TForm1::RunFile2Click() { OpenAdditionalInfo(ViewKind::Tomorrow); }

void TForm1::SpeedButton3Click() { OpenAdditionalInfo(ViewKind::Calendar); }

void TForm1::Edit1MouseDown() {
  const bool selection = Edit1->hasSelectedText();
  N26->setEnabled(selection);
  N27->setEnabled(selection);
}

void TForm1::PopupMenu1Popup() {
  if (app_ != nullptr) app_->SetForeground();
}

void TForm1::N1Click() { Button1Click(); }

void TForm1::N8Click() {
  if (app_ != nullptr) {
    app_->Restore();
  } else {
    showNormal();
  }
}

void TForm1::N14Click() { Terminate(); }

void TForm1::N18Click() {
  const std::string settings = SettingsFilePath();
  const int result = Shell::Edit(FromFileName(settings));
  const std::string message = SettingsEditReport(result, Utf8ToCp1251(FromFileName(settings).toStdString()));
  if (!message.empty()) ShowMessage(message);
}

RichEdit* TForm1::ShowingDayText() const {
  switch (PageControl1->currentIndex()) {
    case 0: return RichEdit1;
    case 1: return RichEdit2;
    case 2: return RichEdit3;
    default: return nullptr;
  }
}

void TForm1::N23Click() {
  if (RichEdit* text = ShowingDayText()) text->CopyToClipboard();
}

void TForm1::N24Click() {
  if (RichEdit* text = ShowingDayText()) {
    text->setFocus();
    text->SelectAll();
  }
}

void TForm1::N26Click() { Edit1->cut(); }

void TForm1::N27Click() { Edit1->copy(); }

void TForm1::N28Click() { Edit1->paste(); }

void TForm1::N31Click() {
  Edit1->setFocus();
  Edit1->selectAll();
}

void TForm1::N38Click() {
  if (VelmarDlg != nullptr && Form2 != nullptr) RunPeriodCalendarCommand(*VelmarDlg, *Form2);
}

void TForm1::N39Click() {
  if (EasterDlg != nullptr && Form2 != nullptr) RunPaschalionCommand(*EasterDlg, *Form2);
}

void TForm1::N40Click() {
  if (SearchDlg != nullptr && Form2 != nullptr) RunSearchCommand(*SearchDlg, *Form2, CCalendar1->Year());
}

void TForm1::SpeedButton4Click() { FillPaschalionGrid(); }

void TForm1::SpeedButton1Click() {
  CSpinEdit2->SetValue(Today().year);
  FillPaschalionGrid();
}

void TForm1::FillPaschalionGrid() {
  const int first = ClampGridYear(CSpinEdit2->Value());
  CSpinEdit2->SetValue(first);
  const bool oldStyle = !RadioButton1->isChecked();
  for (int column = 1; column <= 4; ++column) {
    const auto cells = PaschalionGridColumn(static_cast<u16>(first + column - 1), oldStyle);
    for (int row = 0; row < static_cast<int>(cells.size()); ++row)
      StringGrid1->item(row, column)->setText(FromCp1251(cells[static_cast<std::size_t>(row)]));
  }
}

void TForm1::BitBtn1Click() { SaintsSearch(Edit1, ListBox1, ComboBox3, Label5, CCalendar1->Year()); }

void TForm1::ListBox1DblClick() {
  const auto choice = SaintsListChoice(ListBox1, ComboBox3);
  if (!choice) return;
  SaintsListHighlight(ListBox1);
  const auto [day, month] = *choice;
  SearchHighlight = true;
  if (CCalendar1->Day() == day && CCalendar1->Month() == month) {
    ShowDayOfGrid();
  } else {
    // One move, so that the one rendering it causes carries the mark.
    CCalendar1->SetDate(CCalendar1->Year(), month, day);
    ComboBox1->setCurrentIndex(month - 1);
  }
  SearchHighlight = false;
  PageControl1->setCurrentWidget(TabSheet3);
}

void TForm1::CheckBox1Click() {
  const bool list = CheckBox1->isChecked();
  BitBtn1->setVisible(!list);
  Edit1->setVisible(!list);
  ComboBox2->setVisible(list);
  for (QRadioButton* kind : {RadioButton3, RadioButton4, RadioButton5}) kind->setEnabled(list);
  SaintsNames->ListModeChanged(list);
}

void TForm1::NStartupClick() {
  // The mark follows the click, whether or not the entry could be written.
  autostartMark_ = !autostartMark_;
  if (autostartMark_) {
    Autostart::Add(ExecutablePath());
  } else {
    Autostart::Remove();
  }
  NStartup->setChecked(autostartMark_);
}

QString TForm1::Caption() { return QStringLiteral("Днесловник"); }

void TForm1::ShowPage(Page page) { PageControl1->setCurrentIndex(static_cast<int>(page)); }

void TForm1::RestoreAndShowPage(Page page) {
  N8Click();
  ShowPage(page);
}

void TForm1::ClearTodayAndTomorrowTexts() {
  RichEdit1->Clear();
  RichEdit2->Clear();
}

void TForm1::SetCaptions(ViewKind page, const DayCaptions& captions) {
  const bool today = page == ViewKind::Today;
  QGroupBox* group = today ? GroupBox1 : GroupBox2;
  QLabel* labels[] = {today ? Label1 : Label3, today ? Label2 : Label4, today ? Label6 : Label7};
  group->setTitle(FromCp1251(captions.groupCaption));
  SetTextColour(group, captions.groupColour);
  labels[0]->setText(FromCp1251(captions.oldStyle));
  labels[1]->setText(FromCp1251(captions.title));
  labels[2]->setText(FromCp1251(captions.tone));
  for (QLabel* label : labels) SetTextColour(label, captions.labelColour);
}

void TForm1::LoadDayText(ViewKind page, const std::string& reportFile) {
  RichEdit* text = page == ViewKind::Today ? RichEdit1 : page == ViewKind::Tomorrow ? RichEdit2 : RichEdit3;
  text->LoadFromFile(FromFileName(reportFile));
}

void TForm1::SetAdditionalInfo(ViewKind page, const AdditionalInfoSlot& slot) {
  QToolButton* button = page == ViewKind::Today      ? RunFile1
                        : page == ViewKind::Tomorrow ? RunFile2
                                                     : SpeedButton3;
  infoFiles_[static_cast<std::size_t>(page)] = slot.reference;
  button->setEnabled(slot.enabled);
  button->setToolTip(FromCp1251(slot.hint));
}

void TForm1::ResetCalendarControls(const CivilDate& today) {
  CCalendar1->SwitchToCurrentDate();
  ComboBox1->setCurrentIndex(today.month - 1);
  CSpinEdit1->SetValue(today.year);
}

void TForm1::SetApplicationTitle(std::string_view title) {
  if (app_ != nullptr) app_->SetTitle(FromCp1251(title));
}

void TForm1::Terminate() {
  if (app_ != nullptr) {
    app_->Terminate();
  } else {
    QMetaObject::invokeMethod(this, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  }
}

int TForm1::OuterWidth() const { return width() + FrameOrDesign(this, kDesignFrame).width(); }

int TForm1::OuterHeight() const { return height() + FrameOrDesign(this, kDesignFrame).height(); }

// Where the desktop doesn't tell a program where its window is (Wayland),
// the position read from Position.ini is kept, so that writing the file
// keeps it for the next start on a desktop that does.
int TForm1::Left() const { return ProgramsPlaceWindows() ? frameGeometry().x() : requestedLeft_; }

int TForm1::Top() const { return ProgramsPlaceWindows() ? frameGeometry().y() : requestedTop_; }

void TForm1::SetOuterWidth(int width) {
  if (WindowFrame(this).isNull()) pendingOuterWidth_ = width;  // the frame isn't known yet
  resize(std::max(width - FrameOrDesign(this, kDesignFrame).width(), minimumWidth()), height());
}

void TForm1::SetOuterHeight(int height) {
  if (WindowFrame(this).isNull()) pendingOuterHeight_ = height;
  resize(width(), std::max(height - FrameOrDesign(this, kDesignFrame).height(), minimumHeight()));
}

void TForm1::SetLeft(int left) {
  requestedLeft_ = left;
  move(left, frameGeometry().y());
}

void TForm1::SetTop(int top) {
  requestedTop_ = top;
  move(frameGeometry().x(), top);
}

void TForm1::ApplyPendingOuterSize() {
  if (pendingOuterWidth_ == 0 && pendingOuterHeight_ == 0) return;
  const QSize frame = WindowFrame(this);
  if (!isVisible() || frame.isNull()) return;
  // The desktop has framed the window: the sizes read from Position.ini were
  // outer sizes, so the real frame comes off them now.
  const int w = pendingOuterWidth_ != 0 ? pendingOuterWidth_ - frame.width() : width();
  const int h = pendingOuterHeight_ != 0 ? pendingOuterHeight_ - frame.height() : height();
  pendingOuterWidth_ = pendingOuterHeight_ = 0;
  resize(std::max(w, minimumWidth()), std::max(h, minimumHeight()));
}

void TForm1::SelectPage(Page page) { ShowPage(page); }

}  // namespace velmar
