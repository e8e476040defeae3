#pragma once
// TForm1, the main window: five pages (Сегодня, Завтра, Календарь, Пасхалия,
// Святцы), three buttons, four context menus, the one-minute timer that
// notices the change of date, the tray icon and the autostart switch.
//
// The window is the host of the day views (texts/day_views.h): they write the
// day documents and tell it what to show; and the settings files
// (app/settings.h) read and write its bounds through SettingsWindow. The
// widgets are built in main_window_design.cpp; the handlers live here.

#include <QWidget>
#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "app/main_window_layout.h"
#include "app/settings.h"
#include "texts/day_views.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolButton;

namespace lumora {
class ImageList;
class TrayShell;
class TTrayIconEx;
}  // namespace lumora

namespace velmar {

class Application;
class CCalendar;
class CSpinEdit;
class ReadingLinks;
class RichEdit;
class SaintsNameList;
class SignHints;
class TAboutBox;
class THelpDlg;
class TSettingsDlg;
class TEasterDlg;
class TForm2;
class TSearchDlg;
class TVelmarDlg;

class TForm1 : public QWidget, public DayViewHost, public SettingsWindow {
  Q_OBJECT

 public:
  // Builds the window in the order of a start: design, tray hint,
  // Position.ini, Velmar32.ini, autostart mark, fonts, start of week, the day
  // pages, the Calendar and Paschalion pages. trayShell: the notification
  // area to use (not owned); nullptr for the desktop's.
  explicit TForm1(lumora::TrayShell* trayShell = nullptr, QWidget* parent = nullptr);
  ~TForm1() override;

  // The designed position of the window's top left corner.
  static constexpr int kDesignLeft = 284;
  static constexpr int kDesignTop = 140;
  // The usual frame of the design (4 pixels a side, borders and title bar
  // 30 pixels high), assumed until the desktop has framed the window: the
  // designed client area of 363 x 411 is an outer 371 x 441.
  static constexpr QSize kDesignFrame{8, 30};

  // The form's own caption, "Днесловник" (the title of printed reports; the
  // window's title shows the application title).
  static QString Caption();

  // The other forms, created after this one and set by the program.
  TForm2* Form2 = nullptr;
  TAboutBox* AboutBox = nullptr;
  TVelmarDlg* VelmarDlg = nullptr;
  TEasterDlg* EasterDlg = nullptr;
  TSearchDlg* SearchDlg = nullptr;

  // Components.
  QTabWidget* PageControl1 = nullptr;
  QWidget *TabSheet1 = nullptr, *TabSheet2 = nullptr, *TabSheet3 = nullptr,
          *TabSheet4 = nullptr, *TabSheet5 = nullptr;
  QGroupBox *GroupBox1 = nullptr, *GroupBox2 = nullptr, *GroupBox3 = nullptr,
            *GroupBox4 = nullptr, *GroupBox5 = nullptr;
  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr,
         *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr;
  RichEdit *RichEdit1 = nullptr, *RichEdit2 = nullptr, *RichEdit3 = nullptr;
  QToolButton *RunFile1 = nullptr, *RunFile2 = nullptr;
  QToolButton *SpeedButton1 = nullptr, *SpeedButton2 = nullptr, *SpeedButton3 = nullptr,
              *SpeedButton4 = nullptr, *SpeedButton5 = nullptr, *SpeedButton6 = nullptr;
  CCalendar* CCalendar1 = nullptr;
  QComboBox *ComboBox1 = nullptr, *ComboBox2 = nullptr, *ComboBox3 = nullptr;
  CSpinEdit *CSpinEdit1 = nullptr, *CSpinEdit2 = nullptr;
  QTableWidget* StringGrid1 = nullptr;
  QRadioButton *RadioButton1 = nullptr, *RadioButton2 = nullptr, *RadioButton3 = nullptr,
               *RadioButton4 = nullptr, *RadioButton5 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QListWidget* ListBox1 = nullptr;
  // The list mode of the Святцы page: a birthday and its name day.
  QDateEdit* DateTimePicker1 = nullptr;
  QLabel* Label8 = nullptr;
  SaintsNameList* SaintsNames = nullptr;
  QPushButton *Button1 = nullptr, *Button2 = nullptr, *Button3 = nullptr;

  // PopupMenu1, the window's menu (its shortcuts work wherever the focus is).
  QMenu* PopupMenu1 = nullptr;
  QMenu* N37Menu = nullptr;  // "Се&рвис ..."
  QMenu* N25Menu = nullptr;  // "&Настройка"
  QAction *N1 = nullptr, *N9 = nullptr, *N10 = nullptr, *N11 = nullptr, *N12 = nullptr,
          *N15 = nullptr, *N22 = nullptr, *N29 = nullptr, *N37 = nullptr, *N38 = nullptr,
          *N39 = nullptr, *N40 = nullptr, *N13 = nullptr, *N25 = nullptr, *N18 = nullptr,
          *NStartup = nullptr, *N17 = nullptr, *N14 = nullptr;
  QAction* NSettings = nullptr;  // "&Параметры..." beside N18: the settings dialog
  QAction* NHelp = nullptr;      // "Спр&авка" (Shift+F1; F1 stays the Today page)
  // PopupMenu2, the tray icon's menu; N8 is its default item.
  QMenu* PopupMenu2 = nullptr;
  QAction *N8 = nullptr, *N7 = nullptr, *N2 = nullptr, *N3 = nullptr, *N4 = nullptr,
          *N16 = nullptr, *N21 = nullptr, *N5 = nullptr, *N19 = nullptr, *N20 = nullptr,
          *N6 = nullptr;
  // PopupMenu3, the menu of the three day texts.
  QMenu* PopupMenu3 = nullptr;
  QAction *N35 = nullptr, *N34 = nullptr, *N24 = nullptr, *N23 = nullptr;
  QAction* NSigns = nullptr;  // "&Знаки...": the signs explained
  // PopupMenu4, the menu of Edit1.
  QMenu* PopupMenu4 = nullptr;
  QAction *N33 = nullptr, *N32 = nullptr, *N26 = nullptr, *N27 = nullptr, *N28 = nullptr,
          *N30 = nullptr, *N31 = nullptr;

  // The readings of the day pages open their text (app/reading_links.h).
  ReadingLinks* Readings = nullptr;

  QTimer* Timer1 = nullptr;  // 60 000 ms
  lumora::ImageList* ImageList1 = nullptr;
  lumora::TTrayIconEx* TrayIconEx = nullptr;

  // Handlers.
  bool FormCloseQuery();  // always true
  void FormClose();       // deletes the report file, writes Position.ini
  void FormResize();
  void Button1Click();  // minimise the application
  void Button2Click();  // delete the report file, write Position.ini, end
  void Button3Click();  // the about box
  void Timer1Timer();
  void CCalendar1Change();
  void ComboBox1Change();
  void SpeedButton6Click();  // apply the year
  void SpeedButton2Click();  // back to today
  void RunFile1Click();
  void RunFile2Click();
  void SpeedButton3Click();
  void Edit1MouseDown();
  void PopupMenu1Popup();
  void N1Click();
  void N8Click();
  void N14Click();  // end at once
  void N18Click();  // Velmar32.ini in the text editor
  void N23Click();
  void N24Click();
  void N26Click();
  void N27Click();
  void N28Click();
  void N31Click();
  void N38Click();
  void N39Click();
  void N40Click();
  void NStartupClick();
  void SpeedButton4Click();  // compute the Paschalion grid
  void SpeedButton1Click();  // this year's Paschalion
  void FillPaschalionGrid();
  void BitBtn1Click();       // the Saints page's search
  void ListBox1DblClick();   // the chosen day on the Calendar page, text marked
  void CheckBox1Click();     // name list instead of the text field
  void NSettingsClick();     // the settings dialog; what changed is in force at once
  // The help at a section (kHelpPages, kHelpSigns ...): in its own window,
  // or in front of a modal dialog that asked for it.
  void ShowHelp(std::string_view anchor);
  TSettingsDlg* SettingsDialog();  // made when first asked for
  THelpDlg* HelpDialog();
  void ShowPage(Page page);             // N10.., the pages of PopupMenu1
  void RestoreAndShowPage(Page page);   // N2.., the pages of PopupMenu2

  // DayViewHost
  void ClearTodayAndTomorrowTexts() override;
  void SetCaptions(ViewKind page, const DayCaptions& captions) override;
  void LoadDayText(ViewKind page, const std::string& reportFile) override;
  void SetAdditionalInfo(ViewKind page, const AdditionalInfoSlot& slot) override;
  void ResetCalendarControls(const CivilDate& today) override;
  void SetApplicationTitle(std::string_view title) override;
  void Terminate() override;

  // SettingsWindow: the outer bounds include the window frame once the
  // desktop has given it one.
  int OuterWidth() const override;
  int OuterHeight() const override;
  int Left() const override;
  int Top() const override;
  void SetOuterWidth(int width) override;
  void SetOuterHeight(int height) override;
  void SetLeft(int left) override;
  void SetTop(int top) override;
  void SelectPage(Page page) override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildDesign(lumora::TrayShell* trayShell);  // main_window_design.cpp
  void BuildPages();
  void BuildMenus();
  void ConnectHandlers();
  void ApplyMainFont();
  void OpenAdditionalInfo(ViewKind page);
  void DeleteReportFile();
  void ShowDayOfGrid();
  void ApplyPendingOuterSize();
  void FitToFont();  // main_window_fit.cpp
  // main_window_comforts.cpp: the signs' tooltips, the tray's tooltip of the
  // day, the settings dialog and the help.
  void BuildComforts();
  bool HelpKeyElsewhere(QObject* watched, QEvent* event);  // F1 in another window
  void UpdateTrayToolTip();  // today's date, feast and fast on the tray icon
  void RefreshDays();        // the three day texts anew, the Calendar page's day kept
  RichEdit* ShowingDayText() const;
  bool IsPopupMenu1Shortcut(const QKeyEvent* key) const;

  Application* app_ = nullptr;
  SignHints* signHints_ = nullptr;
  std::unique_ptr<TSettingsDlg> settingsDlg_;
  std::unique_ptr<THelpDlg> helpDlg_;
  std::array<std::string, 4> infoFiles_;  // by view kind 1..3
  bool autostartMark_ = false;
  int pendingOuterWidth_ = 0;   // outer size asked for before the frame was known
  int pendingOuterHeight_ = 0;
  int requestedLeft_ = kDesignLeft;  // the position last asked for
  int requestedTop_ = kDesignTop;
  PaschalionGridFit gridFit_;
};

}  // namespace velmar
