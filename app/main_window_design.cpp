// The main window's design: its widgets, menus, timer and tray icon, as the
// form is laid out before any settings are read.
#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include "app/main_window.h"
#include "trayicon/image_list.h"
#include "trayicon/tray_icon_ex.h"
#include "widgets/ccalendar.h"
#include "widgets/cspin_edit.h"
#include "widgets/program_icon.h"
#include "widgets/readable_colours.h"
#include "widgets/rich_edit.h"

namespace velmar {
namespace {

// Sample names of the name list of the Saints page (its list mode is not in
// use; the list is there for its design).
const char* const kSampleNames[] = {
    "Авраамий",  "Агафья",   "Александр", "Алексий",   "Анастасия", "Андрей",
    "Анна",      "Антоний",  "Варвара",   "Василий",   "Вера",      "Георгий",
    "Григорий",  "Димитрий", "Евдокия",   "Екатерина", "Елена",     "Иоанн",
    "Ирина",     "Ксения",   "Любовь",    "Мария",     "Надежда",   "Николай",
    "Ольга",     "Петр",     "Сергий",    "Татиана",
};

const char* const kMonths[] = {"Январь", "Февраль", "Март",     "Апрель",  "Май",    "Июнь",
                               "Июль",   "Август",  "Сентябрь", "Октябрь", "Ноябрь", "Декабрь"};

QToolButton* SpeedButton(QWidget* parent, QStyle::StandardPixmap glyph, const QString& hint) {
  auto* button = new QToolButton(parent);
  button->setIcon(parent->style()->standardIcon(glyph));
  button->setToolTip(hint);
  button->setAutoRaise(true);
  return button;
}

QAction* Separator(QMenu* menu) { return menu->addSeparator(); }

}  // namespace

void TForm1::BuildDesign(lumora::TrayShell* trayShell) {
  setWindowIcon(ProgramIcon());
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setMinimumSize(QSize(342, 393) - kDesignFrame);  // an outer size of 342 x 393 with the usual frame
  resize(363, 411);
  move(kDesignLeft, kDesignTop);

  PageControl1 = new QTabWidget(this);
  BuildPages();

  Button1 = new QPushButton(QStringLiteral("&Ок"), this);
  Button1->setDefault(true);
  Button2 = new QPushButton(QStringLiteral("&Выход"), this);
  Button3 = new QPushButton(QStringLiteral("О &себе..."), this);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  buttons->addWidget(Button3);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 6);
  layout->addWidget(PageControl1, 1);
  layout->addLayout(buttons);

  BuildMenus();

  Timer1 = new QTimer(this);
  Timer1->setInterval(60000);

  ImageList1 = new lumora::ImageList;
  ImageList1->Add(ProgramIcon());
  TrayIconEx = new lumora::TTrayIconEx(this, trayShell);
  TrayIconEx->SetIcons(ImageList1);
  TrayIconEx->SetPopupMenu(PopupMenu2);
  TrayIconEx->SetPopupMenuOn(lumora::arRightClick);
  TrayIconEx->SetFirstIconAnimate(false);
  TrayIconEx->SetInterval(1000);
  TrayIconEx->Loaded();
}

void TForm1::BuildPages() {
  // Сегодня and Завтра: the day's captions over its text.
  auto dayPage = [this](QWidget*& sheet, QGroupBox*& group, QLabel*& oldStyle, QLabel*& title,
                        QLabel*& tone, QToolButton*& runFile, RichEdit*& text) {
    sheet = new QWidget;
    group = new QGroupBox(sheet);
    oldStyle = new QLabel(group);
    title = new QLabel(group);
    title->setWordWrap(true);
    tone = new QLabel(group);
    runFile = SpeedButton(group, QStyle::SP_FileDialogInfoView,
                          QStringLiteral("Дополнительные сведения"));
    runFile->setEnabled(false);
    auto* grid = new QGridLayout(group);
    grid->setContentsMargins(8, 4, 4, 6);
    grid->setVerticalSpacing(2);
    grid->addWidget(oldStyle, 0, 0);
    grid->addWidget(title, 1, 0);
    grid->addWidget(tone, 2, 0);
    grid->addWidget(runFile, 0, 1, 3, 1, Qt::AlignTop | Qt::AlignRight);
    grid->setColumnStretch(0, 1);
    text = new RichEdit(sheet);
    text->SetReadOnly(true);
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(group);
    layout->addWidget(text, 1);
  };
  dayPage(TabSheet1, GroupBox1, Label1, Label2, Label6, RunFile1, RichEdit1);
  dayPage(TabSheet2, GroupBox2, Label3, Label4, Label7, RunFile2, RichEdit2);

  // Календарь: month, year and today over the month grid and the day's text.
  TabSheet3 = new QWidget;
  ComboBox1 = new QComboBox(TabSheet3);
  for (const char* month : kMonths) ComboBox1->addItem(QString::fromUtf8(month));
  CSpinEdit1 = new CSpinEdit(TabSheet3);
  CSpinEdit1->SetMinValue(1800);
  CSpinEdit1->SetMaxValue(2100);
  CSpinEdit1->SetValue(2000);
  SpeedButton6 = SpeedButton(TabSheet3, QStyle::SP_DialogApplyButton, QStringLiteral("Применить год"));
  SpeedButton2 = SpeedButton(TabSheet3, QStyle::SP_BrowserReload,
                             QStringLiteral("Установить текущую дату"));
  SpeedButton3 = SpeedButton(TabSheet3, QStyle::SP_FileDialogInfoView,
                             QStringLiteral("Дополнительные сведения"));
  SpeedButton3->setEnabled(false);
  CCalendar1 = new CCalendar(TabSheet3);
  CCalendar1->setCursor(Qt::PointingHandCursor);
  CCalendar1->setMinimumHeight(140);
  RichEdit3 = new RichEdit(TabSheet3);
  RichEdit3->SetReadOnly(true);
  {
    auto* controls = new QHBoxLayout;
    controls->addWidget(ComboBox1);
    controls->addWidget(CSpinEdit1);
    controls->addWidget(SpeedButton6);
    controls->addWidget(SpeedButton2);
    controls->addStretch(1);
    controls->addWidget(SpeedButton3);
    auto* layout = new QVBoxLayout(TabSheet3);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(controls);
    layout->addWidget(CCalendar1, 3);
    layout->addWidget(RichEdit3, 4);
  }

  // Пасхалия: year and style over the grid of four years.
  TabSheet4 = new QWidget;
  CSpinEdit2 = new CSpinEdit(TabSheet4);
  CSpinEdit2->SetMinValue(1);
  CSpinEdit2->SetMaxValue(9999);
  CSpinEdit2->SetValue(2000);
  SpeedButton4 = SpeedButton(TabSheet4, QStyle::SP_ArrowRight, QStringLiteral("Высчитать пасхалию"));
  SpeedButton1 = SpeedButton(TabSheet4, QStyle::SP_BrowserReload,
                             QStringLiteral("Установить текущий год"));
  GroupBox4 = new QGroupBox(QStringLiteral("Календарь"), TabSheet4);
  RadioButton1 = new QRadioButton(QStringLiteral("Григорианский (н.ст.)"), GroupBox4);
  RadioButton1->setChecked(true);
  RadioButton2 = new QRadioButton(QStringLiteral("Юлианский (ст.ст.)"), GroupBox4);
  {
    auto* styles = new QHBoxLayout(GroupBox4);
    styles->setContentsMargins(8, 2, 4, 4);
    styles->addWidget(RadioButton1);
    styles->addWidget(RadioButton2);
    styles->addStretch(1);
  }
  StringGrid1 = new QTableWidget(11, 5, TabSheet4);
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  StringGrid1->verticalHeader()->setDefaultSectionSize(18);
  StringGrid1->verticalHeader()->setMinimumSectionSize(12);
  StringGrid1->horizontalHeader()->setMinimumSectionSize(8);
  StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setFixedHeight(11 * 18 + 2 * StringGrid1->frameWidth());
  for (int column = 1; column < 5; ++column) StringGrid1->setColumnWidth(column, 60);
  for (int row = 0; row < 11; ++row) {
    for (int column = 0; column < 5; ++column) {
      auto* cell = new QTableWidgetItem;
      if (row == 0 || column == 0) cell->setFlags(Qt::ItemIsEnabled);
      StringGrid1->setItem(row, column, cell);
    }
  }
  // The fixed row and column, as the headers of the table, in the colours of
  // the palette at the time.
  StringGrid1->setItemDelegate(new FixedCellsDelegate(1, 1, StringGrid1));
  {
    auto* controls = new QHBoxLayout;
    controls->addWidget(CSpinEdit2);
    controls->addWidget(SpeedButton4);
    controls->addWidget(SpeedButton1);
    controls->addStretch(1);
    auto* layout = new QVBoxLayout(TabSheet4);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(controls);
    layout->addWidget(GroupBox4);
    layout->addWidget(StringGrid1);
    layout->addStretch(1);
  }

  // Святцы: the text to look for over the list of days that have it.
  TabSheet5 = new QWidget;
  GroupBox3 = new QGroupBox(QStringLiteral("Поиск:"), TabSheet5);
  Edit1 = new QLineEdit(QStringLiteral("Авраама"), GroupBox3);
  BitBtn1 = new QPushButton(QStringLiteral("Искать!"), GroupBox3);
  CheckBox1 = new QCheckBox(QStringLiteral("Список"), GroupBox3);
  CheckBox1->setEnabled(false);
  ComboBox2 = new QComboBox(GroupBox3);
  for (const char* name : kSampleNames) ComboBox2->addItem(QString::fromUtf8(name));
  ComboBox2->hide();
  {
    auto* search = new QGridLayout(GroupBox3);
    search->setContentsMargins(8, 4, 6, 6);
    search->addWidget(Edit1, 0, 0);
    search->addWidget(ComboBox2, 0, 0);
    search->addWidget(BitBtn1, 0, 1);
    search->addWidget(CheckBox1, 1, 0, 1, 2);
    search->setColumnStretch(0, 1);
  }
  GroupBox5 = new QGroupBox(QStringLiteral("Список:"), TabSheet5);
  RadioButton3 = new QRadioButton(QStringLiteral("Мужское имя"), GroupBox5);
  RadioButton3->setChecked(true);
  RadioButton4 = new QRadioButton(QStringLiteral("Женское имя"), GroupBox5);
  RadioButton5 = new QRadioButton(QStringLiteral("Икона Богородицы"), GroupBox5);
  for (QRadioButton* r : {RadioButton3, RadioButton4, RadioButton5}) r->setEnabled(false);
  // The list mode's birthday and its name day, in a row of their own that the
  // list mode shows.
  auto* birthdayRow = new QWidget(GroupBox5);
  DateTimePicker1 = new QDateEdit(birthdayRow);
  DateTimePicker1->setToolTip(
      QStringLiteral("Именины — первый день памяти святого с этим именем в день рождения или после него"));
  Label8 = new QLabel(birthdayRow);
  Label8->setWordWrap(true);
  auto* birthdayCaption = new QLabel(QStringLiteral("&День рождения:"), birthdayRow);
  birthdayCaption->setBuddy(DateTimePicker1);
  {
    auto* birthday = new QHBoxLayout(birthdayRow);
    birthday->setContentsMargins(0, 0, 0, 0);
    birthday->addWidget(birthdayCaption);
    birthday->addWidget(DateTimePicker1);
    birthday->addWidget(Label8, 1);
  }
  birthdayRow->hide();
  {
    auto* list = new QVBoxLayout(GroupBox5);
    list->setContentsMargins(8, 2, 4, 4);
    list->setSpacing(0);
    // The three kinds in two rows, so that they fit the designed width.
    auto* kinds = new QGridLayout;
    kinds->setVerticalSpacing(0);
    kinds->addWidget(RadioButton3, 0, 0);
    kinds->addWidget(RadioButton4, 0, 1);
    kinds->addWidget(RadioButton5, 1, 0, 1, 2);
    kinds->setColumnStretch(2, 1);
    list->addLayout(kinds);
    list->addWidget(birthdayRow);
  }
  ListBox1 = new QListWidget(TabSheet5);
  Label5 = new QLabel(QStringLiteral("Всего:  0 совпадений"), TabSheet5);
  ComboBox3 = new QComboBox(TabSheet5);
  ComboBox3->hide();
  // A speed button of the page without a role in this release.
  SpeedButton5 = SpeedButton(TabSheet5, QStyle::SP_FileDialogInfoView, QString());
  SpeedButton5->hide();
  {
    auto* layout = new QVBoxLayout(TabSheet5);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(GroupBox3);
    layout->addWidget(GroupBox5);
    layout->addWidget(ListBox1, 1);
    layout->addWidget(Label5);
  }

  PageControl1->addTab(TabSheet1, QStringLiteral("Сегодня"));
  PageControl1->addTab(TabSheet2, QStringLiteral("Завтра"));
  PageControl1->addTab(TabSheet3, QStringLiteral("Календарь"));
  PageControl1->addTab(TabSheet4, QStringLiteral("Пасхалия"));
  PageControl1->addTab(TabSheet5, QStringLiteral("Святцы"));

  // These keep their design fonts when the window's font is applied.
  for (QWidget* w : std::initializer_list<QWidget*>{RichEdit1, RichEdit2, RichEdit3, ComboBox2, ComboBox3})
    w->setFont(font());
}

void TForm1::BuildMenus() {
  PopupMenu1 = new QMenu(this);
  N1 = PopupMenu1->addAction(QStringLiteral("С&вернуть"));
  N1->setShortcut(Qt::Key_Escape);
  N9 = Separator(PopupMenu1);
  N10 = PopupMenu1->addAction(QStringLiteral("&Сегодня"));
  N10->setShortcut(Qt::Key_F1);
  N11 = PopupMenu1->addAction(QStringLiteral("&Завтра"));
  N11->setShortcut(Qt::Key_F2);
  N12 = PopupMenu1->addAction(QStringLiteral("&Календарь"));
  N12->setShortcut(Qt::Key_F3);
  N15 = PopupMenu1->addAction(QStringLiteral("&Пасхалия"));
  N15->setShortcut(Qt::Key_F4);
  N22 = PopupMenu1->addAction(QStringLiteral("Свя&тцы"));
  N22->setShortcut(Qt::Key_F5);
  N29 = Separator(PopupMenu1);
  N37Menu = PopupMenu1->addMenu(QStringLiteral("Се&рвис ..."));
  N37 = N37Menu->menuAction();
  N38 = N37Menu->addAction(QStringLiteral("Составить &календарь"));
  N38->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_K));
  N39 = N37Menu->addAction(QStringLiteral("Составить &пасхалию"));
  N39->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  N40 = N37Menu->addAction(QStringLiteral("Поиск в файл"));
  N40->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  N13 = Separator(PopupMenu1);
  N25Menu = PopupMenu1->addMenu(QStringLiteral("&Настройка"));
  N25 = N25Menu->menuAction();
  N18 = N25Menu->addAction(QStringLiteral("&Редактирование ini-файла"));
  N18->setShortcut(Qt::Key_F9);
  NSettings = N25Menu->addAction(QStringLiteral("&Параметры..."));
  NStartup = N25Menu->addAction(QStringLiteral("Запускать при &входе в систему"));
  NStartup->setCheckable(true);
  NHelp = PopupMenu1->addAction(QStringLiteral("Спр&авка"));
  NHelp->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
  N17 = Separator(PopupMenu1);
  N14 = PopupMenu1->addAction(QStringLiteral("В&ыход"));
  N14->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Q));
  // The shortcuts work wherever the focus is in the window.
  addActions({N1, N10, N11, N12, N15, N22, N38, N39, N40, N18, NHelp, N14});

  PopupMenu2 = new QMenu(this);
  N8 = PopupMenu2->addAction(QStringLiteral("&Развернуть"));
  QFont bold = N8->font();
  bold.setBold(true);
  N8->setFont(bold);
  PopupMenu2->setDefaultAction(N8);
  N7 = Separator(PopupMenu2);
  N2 = PopupMenu2->addAction(QStringLiteral("&Сегодня"));
  N3 = PopupMenu2->addAction(QStringLiteral("&Завтра"));
  N4 = PopupMenu2->addAction(QStringLiteral("&Календарь"));
  N16 = PopupMenu2->addAction(QStringLiteral("&Пасхалия"));
  N21 = PopupMenu2->addAction(QStringLiteral("Свя&тцы"));
  N5 = Separator(PopupMenu2);
  N19 = PopupMenu2->addAction(QStringLiteral("&Настройка"));
  N20 = Separator(PopupMenu2);
  N6 = PopupMenu2->addAction(QStringLiteral("В&ыход"));

  PopupMenu3 = new QMenu(this);
  N35 = PopupMenu3->addAction(QStringLiteral("&Отменить"));
  N34 = Separator(PopupMenu3);
  N24 = PopupMenu3->addAction(QStringLiteral("&Выделить все"));
  N23 = PopupMenu3->addAction(QStringLiteral("&Копировать"));
  PopupMenu3->addSeparator();
  NSigns = PopupMenu3->addAction(QStringLiteral("&Знаки..."));

  PopupMenu4 = new QMenu(this);
  N33 = PopupMenu4->addAction(QStringLiteral("&Отменить"));
  N32 = Separator(PopupMenu4);
  N26 = PopupMenu4->addAction(QStringLiteral("&Вырезать"));
  N27 = PopupMenu4->addAction(QStringLiteral("&Копировать"));
  N28 = PopupMenu4->addAction(QStringLiteral("Вст&авить"));
  N30 = Separator(PopupMenu4);
  N31 = PopupMenu4->addAction(QStringLiteral("Выделить в&се"));

  for (RichEdit* text : {RichEdit1, RichEdit2, RichEdit3}) text->setContextMenuPolicy(Qt::CustomContextMenu);
  Edit1->setContextMenuPolicy(Qt::CustomContextMenu);
}

}  // namespace velmar
