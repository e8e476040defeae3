#include "app/help_dialog.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QFile>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include "app/help_text.h"
#include "platform/program_directory.h"
#include "texts/database.h"
#include "widgets/program_icon.h"

namespace velmar {

THelpDlg::THelpDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("HelpDlg"));
  setWindowTitle(QStringLiteral("Справка - Днесловник"));
  setWindowIcon(ProgramIcon());
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  // Closing it must not end the program while the main window is in the tray.
  setAttribute(Qt::WA_QuitOnClose, false);
  Browser = new QTextBrowser(this);
  Browser->setObjectName(QStringLiteral("HelpText"));
  Browser->setOpenExternalLinks(false);
  Browser->setOpenLinks(true);  // the anchors of the page itself
  Buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  Buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("&Закрыть"));
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Browser, 1);
  layout->addWidget(Buttons);
  // A page of some 70 characters and 30 lines, whatever the font.
  const QFontMetrics metrics(Browser->font());
  resize(std::max(560, metrics.averageCharWidth() * 76), std::max(480, metrics.lineSpacing() * 32));
  Fill();
}

void THelpDlg::Fill() {
  const QColor base = palette().color(QPalette::Base);
  HelpPlaces places;
  places.databaseFolder = QFile::decodeName(DatabaseDirectory().c_str()).toStdString();
  places.settingsFile = QFile::decodeName(SettingsFilePath().c_str()).toStdString();
  places.darkBase = base.lightness() < 128;
  // The links in a blue that reads on this background, whatever the
  // palette's own link colour.
  const std::string_view link = HelpLinkColour(places.darkBase);
  Browser->document()->setDefaultStyleSheet(
      QStringLiteral("a { color: %1; }").arg(QString::fromLatin1(link.data(), static_cast<qsizetype>(link.size()))));
  Browser->setHtml(QString::fromStdString(HelpHtml(places)));
}

void THelpDlg::ShowSection(std::string_view anchor) {
  Fill();
  show();
  raise();
  activateWindow();
  if (anchor.empty()) {
    Browser->verticalScrollBar()->setValue(0);  // the whole help, from its top
  } else {
    Browser->scrollToAnchor(QString::fromUtf8(anchor.data(), static_cast<qsizetype>(anchor.size())));
  }
}

void THelpDlg::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // A palette of another kind (the desktop's theme changed, shown or not):
  // the colours anew, the place in the text kept.
  if (event->type() == QEvent::PaletteChange) {
    const int value = Browser->verticalScrollBar()->value();
    Fill();
    Browser->verticalScrollBar()->setValue(value);
  }
}

}  // namespace velmar
