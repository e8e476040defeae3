#include "reports/forms/report_viewer.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QStatusBar>
#include <string>

#include "app/settings.h"
#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "reports/forms/find_bar.h"
#include "texts/rtf_writer.h"
#include "widgets/rich_edit.h"

namespace velmar {

QString WithDefaultRtfSuffix(const QString& path) { return WithDefaultSuffix(path, QStringLiteral("rtf")); }

TForm2::TForm2(std::function<QString()> mainCaption, QWidget* parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      mainCaption_(std::move(mainCaption)) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Просмотр - Днесловник"));
  // Closing the viewer must not end the program while the main window sits
  // in the tray.
  setAttribute(Qt::WA_QuitOnClose, false);
  move(349, 162);
  resize(578, 406);

  RichEdit1 = new RichEdit(this);
  RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
  RichEdit1->SetReadOnly(true);
  RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setCentralWidget(RichEdit1);

  StatusBar1 = statusBar();
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  ProgressBar1 = new QProgressBar(StatusBar1);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setFormat(QStringLiteral("Загрузка: %p%"));
  ProgressBar1->setMaximumWidth(220);
  StatusBar1->addPermanentWidget(ProgressBar1);
  ProgressBar1->hide();
  connect(RichEdit1, &RichEdit::LoadProgress, this, &TForm2::LoadProgress);
  connect(RichEdit1, &RichEdit::LoadFinished, this, &TForm2::LoadFinished);

  SaveDialog1 = new QFileDialog(this);
  SaveDialog1->setObjectName(QStringLiteral("SaveDialog1"));
  SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
  SaveDialog1->setFileMode(QFileDialog::AnyFile);
  SaveDialog1->setOption(QFileDialog::DontConfirmOverwrite, true);

  FindBar1 = new FindBar(RichEdit1, this);
  addToolBar(Qt::BottomToolBarArea, FindBar1);
  FindBar1->hide();
  BuildMenus();
}

TForm2::~TForm2() = default;

void TForm2::BuildMenus() {
  // PopupMenu1, the menu of the text.
  PopupMenu1 = new QMenu(this);
  N1 = PopupMenu1->addAction(QStringLiteral("&Отмена"));
  N2 = PopupMenu1->addSeparator();
  N4 = PopupMenu1->addAction(QStringLiteral("&Выделить все"));
  N3 = PopupMenu1->addAction(QStringLiteral("&Копировать"));
  connect(N4, &QAction::triggered, this, [this] { N4Click(); });
  connect(N3, &QAction::triggered, this, [this] { N3Click(); });
  RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(RichEdit1, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    PopupMenu1->popup(RichEdit1->viewport()->mapToGlobal(at));
  });

  // MainMenu1.
  MainMenu1 = menuBar();
  N5 = MainMenu1->addMenu(QStringLiteral("&Файл"));
  N8 = N5->addAction(QStringLiteral("&Сохранить как..."));
  N8->setStatusTip(QStringLiteral("Сохранить текст как ..."));
  N9 = N5->addAction(QStringLiteral("&Печатать"));
  N9->setStatusTip(QStringLiteral("Напечатать текст на принтере"));
  N9->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  N10 = N5->addSeparator();
  N7 = N5->addAction(QStringLiteral("&Закрыть"));
  N7->setStatusTip(QStringLiteral("Закрыть это окно и вернуться к Календарю"));

  N6 = MainMenu1->addMenu(QStringLiteral("&Правка"));
  N11 = N6->addAction(QStringLiteral("Выделить &все"));
  N11->setStatusTip(QStringLiteral("Выделить весь текст"));
  N11->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  N12 = N6->addAction(QStringLiteral("&Копировать"));
  N12->setStatusTip(QStringLiteral("Копировать выделенный фрагмент в буфер обмена"));
  N12->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  N13 = N6->addSeparator();
  N14 = N6->addAction(QStringLiteral("&Редактировать"));
  N14->setStatusTip(
      QStringLiteral("Включить/отключить возможность вносить исправления в текст"));
  N14->setCheckable(true);
  N14->setChecked(false);

  NSearch = MainMenu1->addMenu(QStringLiteral("По&иск"));
  NFind = NSearch->addAction(QStringLiteral("&Найти..."));
  NFind->setStatusTip(QStringLiteral("Найти текст в отчете"));
  NFind->setShortcut(QKeySequence::Find);
  NFindNext = NSearch->addAction(QStringLiteral("Найти &далее"));
  NFindNext->setStatusTip(QStringLiteral("Найти текст дальше по отчету"));
  NFindNext->setShortcut(QKeySequence(Qt::Key_F3));
  NFindPrevious = NSearch->addAction(QStringLiteral("Найти &назад"));
  NFindPrevious->setStatusTip(QStringLiteral("Найти текст ближе к началу отчета"));
  NFindPrevious->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
  connect(NFind, &QAction::triggered, FindBar1, &FindBar::Open);
  connect(NFindNext, &QAction::triggered, this, [this] { FindBar1->FindNext(false); });
  connect(NFindPrevious, &QAction::triggered, this, [this] { FindBar1->FindNext(true); });

  connect(N8, &QAction::triggered, this, [this] { N8Click(); });
  connect(N9, &QAction::triggered, this, [this] { N9Click(); });
  connect(N7, &QAction::triggered, this, [this] { N7Click(); });
  connect(N11, &QAction::triggered, this, [this] { N4Click(); });
  connect(N12, &QAction::triggered, this, [this] { N3Click(); });
  // A checkable action flips its own mark before it reports the click; the
  // handler decides from the mark as it was.
  connect(N14, &QAction::triggered, this, [this](bool checked) {
    N14->setChecked(!checked);
    N14Click();
  });
}

void TForm2::SetMainCaptionSource(std::function<QString()> mainCaption) {
  mainCaption_ = std::move(mainCaption);
}

QString TForm2::PrintJobTitle() const {
  if (mainCaption_) return mainCaption_();
  return QGuiApplication::applicationDisplayName();
}

void TForm2::ShowReport(bool wordWrap) {
  RichEdit1->Clear();
  RichEdit1->SetWordWrap(wordWrap);
  const QString file = QFile::decodeName(QByteArray::fromStdString(ReportFilePath()));
  bool loaded = RichEdit1->LoadFromFile(file);
  if (loaded && AppSettings.windowsNT) loaded = RichEdit1->LoadFromFile(file);
  if (!loaded) {
    hide();  // no empty window
    std::string text;
    const std::string name = Utf8ToCp1251(QDir::toNativeSeparators(file).toStdString());
    const std::string megabytes = std::to_string((QFileInfo(file).size() + (1 << 19)) >> 20);
    switch (RichEdit1->LastLoadFailure()) {
      case RichEdit::LoadFailure::TooLarge:
        text = "The report is too large to show: " + megabytes + " MB (the viewer holds up to " +
               std::to_string(RichEdit::MaxLoadBytes() >> 20) + " MB). It stays in " + name + ".";
        break;
      case RichEdit::LoadFailure::OutOfMemory:
        text = "Not enough memory to show the report (" + megabytes + " MB). It stays in " + name + ".";
        break;
      default:
        text = "Cannot read the report file " + name + ".";
        break;
    }
    ShowMessage(text);
    return;
  }
  show();
  raise();
  activateWindow();
}

void TForm2::LoadProgress(int percent) {
  ProgressBar1->setValue(percent);
  ProgressBar1->show();
}

void TForm2::LoadFinished(bool complete) {
  ProgressBar1->hide();
  if (!complete && RichEdit1->LastLoadFailure() == RichEdit::LoadFailure::FileChanged)
    ShowMessage("The report file changed while it was loading: only its first part is shown.");
}

// Waits, with the progress shown, until the report loading is all in. False
// when a newer report took its place meanwhile, or the report file changed
// before it was all read (a message says so).
bool TForm2::WaitForLoad() {
  if (!RichEdit1->IsLoading()) {
    if (RichEdit1->FinishLoading()) return true;
    ShowMessage("The report file changed while it was loading: the report is not all there.");
    return false;
  }
  waiting_ = true;
  QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  const bool whole = RichEdit1->FinishLoading();  // a file that changed meanwhile says so itself
  QGuiApplication::restoreOverrideCursor();
  waiting_ = false;
  return whole;
}

bool TForm2::SaveReportAs(const QString& path) { return SaveReportAs(path, ReportFileType::Rtf); }

bool TForm2::SaveReportAs(const QString& path, ReportFileType type) {
  // The calendar file is built from the period, not from the text.
  if (type != ReportFileType::ICalendar && !WaitForLoad()) return false;
  const QString target = WithDefaultSuffix(path, FileTypeSuffix(type));
  QString reason;
  if (SaveReport(*RichEdit1, type, target, PrintJobTitle(), period_, &reason)) return true;
  std::string text = "Cannot save file ";
  text += Utf8ToCp1251(target.toStdString());
  text += ".";
  if (!reason.isEmpty()) text += " " + Utf8ToCp1251(reason.toStdString()) + ".";
  ShowMessage(text);
  return false;
}

void TForm2::N3Click() {
  if (waiting_) return;
  // Copying what Select all selected waits for the load.
  const bool loading = RichEdit1->IsLoading();
  waiting_ = true;
  if (loading) QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  RichEdit1->CopyToClipboard();
  if (loading) QGuiApplication::restoreOverrideCursor();
  waiting_ = false;
}

void TForm2::N4Click() {
  RichEdit1->setFocus();
  RichEdit1->SelectAll();
}

void TForm2::N7Click() { close(); }

void TForm2::N8Click() {
  if (waiting_) return;
  // RTF first and chosen, as ever; iCalendar for a period calendar only.
  QStringList filters;
  for (const ReportFileType type :
       {ReportFileType::Rtf, ReportFileType::Pdf, ReportFileType::Html, ReportFileType::Text}) {
    filters << FileTypeFilter(type);
  }
  if (period_) filters << FileTypeFilter(ReportFileType::ICalendar);
  const QString allFiles = QStringLiteral("All Files (*)");
  filters << allFiles;
  SaveDialog1->setNameFilters(filters);
  SaveDialog1->selectNameFilter(filters.front());
  SaveDialog1->setDefaultSuffix(QStringLiteral("rtf"));
  // The suffix added to a bare name follows the filter chosen.
  const auto follow = [this](const QString& filter) {
    const std::optional<ReportFileType> type = FileTypeOfFilter(filter);
    SaveDialog1->setDefaultSuffix(FileTypeSuffix(type.value_or(ReportFileType::Rtf)));
  };
  const QMetaObject::Connection following = connect(SaveDialog1, &QFileDialog::filterSelected, this, follow);
  const int result = SaveDialog1->exec();
  disconnect(following);
  if (result != QDialog::Accepted) return;
  const QStringList chosen = SaveDialog1->selectedFiles();
  if (chosen.isEmpty() || chosen.front().isEmpty()) return;
  SaveReportAs(chosen.front(), ChosenFileType(SaveDialog1->selectedNameFilter(), chosen.front()));
}

void TForm2::N9Click() {
  if (waiting_) return;
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  QPrintDialog dialog(printer_.get(), this);
  if (dialog.exec() != QDialog::Accepted) return;
  if (!WaitForLoad()) return;
  RichEdit1->Print(printer_.get(), PrintJobTitle());
}

void TForm2::N14Click() {
  if (N14->isChecked()) {
    N14->setChecked(false);
    RichEdit1->SetReadOnly(true);
  } else {
    N14->setChecked(true);
    RichEdit1->SetReadOnly(false);
  }
}

void TForm2::FormResize() { RichEdit1->viewport()->update(); }

void TForm2::FormClose() { RichEdit1->SetWordWrap(true); }

void TForm2::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
}

void TForm2::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
}

}  // namespace velmar
