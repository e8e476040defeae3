#include "app/about_box.h"

#include <QBoxLayout>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <algorithm>

#include "app/about_links.h"
#include "app/settings.h"
#include "app/shell_messages.h"
#include "app/system_name.h"
#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "widgets/program_icon.h"
#include "widgets/readable_colours.h"
#include "widgets/shell.h"
#include "widgets/window_frame.h"

namespace velmar {
namespace {

QString FromCp1251(std::string_view text) { return QString::fromStdString(Cp1251ToUtf8(text)); }

QLabel* TextLabel(const QString& text, const QString& face, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setFamily(face);
  label->setFont(font);
  return label;
}

// The link's colour, or a shade of it that reads on the theme.
void SetColour(QLabel* label, const QColor& colour) { SetReadableTextColour(label, colour); }

QFrame* Bevel(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

QColor TAboutBox::LinkColour() { return QColor(0, 0, 255); }

QColor TAboutBox::HoverLinkColour() { return QColor(0, 128, 255); }

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("О себе..."));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setModal(true);

  const QString arial = QStringLiteral("Arial");
  const QString sansSerif = QStringLiteral("MS Sans Serif");
  Image1 = new QLabel(this);
  Image1->setPixmap(ProgramIcon().pixmap(32, 32));
  Image1->setFixedSize(32, 32);
  ProductName = TextLabel(QStringLiteral("ДНЕСЛОВНИК"), arial, this);
  QFont big = ProductName->font();
  big.setPointSize(14);
  big.setBold(true);
  ProductName->setFont(big);
  // The system it runs on, as the system names itself.
  ProductName2 = TextLabel(FromCp1251(SystemCaption(ReadOsRelease(),
                                                    QGuiApplication::platformName().toStdString(),
                                                    qEnvironmentVariable("XDG_SESSION_TYPE").toStdString())),
                           arial, this);
  Version = TextLabel(QStringLiteral("Версия:"), arial, this);
  Label1 = TextLabel(QStringLiteral("Разработчики:"), arial, this);
  Label2 = TextLabel(QStringLiteral("Команда разработчиков Velmar32"), arial, this);
  Label3 = TextLabel(QStringLiteral("и пользователи программы"), arial, this);
  Label4 = TextLabel(QStringLiteral("© Команда разработчиков Velmar32. Все права защищены. "
                                    "Программа распространяется бесплатно."),
                     arial, this);
  Label4->setWordWrap(true);
  HLink1 = TextLabel(QStringLiteral("Наш сайт в Интернете"), sansSerif, this);
  HLink2 = TextLabel(QStringLiteral("Зеркало сайта"), sansSerif, this);
  HLink3 = TextLabel(QStringLiteral("Пишите нам..."), sansSerif, this);
  HLink3URL = new QLabel(QString::fromStdString(MailLink()), this);
  HLink3URL->hide();
  for (QLabel* link : {HLink1, HLink2, HLink3}) {
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    SetColour(link, LinkColour());
    link->setCursor(Qt::PointingHandCursor);
  }
  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, [this] { done(1); });
  Bevel1 = Bevel(this);
  Bevel2 = Bevel(this);

  auto* head = new QGridLayout;
  head->setHorizontalSpacing(14);
  head->addWidget(Image1, 0, 0, 3, 1, Qt::AlignTop);
  head->addWidget(ProductName, 0, 1);
  head->addWidget(ProductName2, 1, 1);
  head->addWidget(Version, 2, 1);
  head->setColumnStretch(1, 1);

  auto* makers = new QGridLayout;
  makers->setHorizontalSpacing(10);
  makers->addWidget(Label1, 0, 0, Qt::AlignTop);
  makers->addWidget(Label2, 0, 1);
  makers->addWidget(Label3, 1, 1);
  makers->setColumnStretch(1, 1);

  auto* links = new QVBoxLayout;
  links->setSpacing(2);
  links->addWidget(HLink1);
  links->addWidget(HLink2);
  links->addWidget(HLink3);
  auto* bottom = new QHBoxLayout;
  bottom->addLayout(links);
  bottom->addStretch(1);
  bottom->addWidget(OKButton, 0, Qt::AlignBottom);

  // A link without a target is not shown (the project has no web address
  // yet); with none of them, the OK button stands alone under the notice.
  HLink1->setVisible(!kSiteLink.empty());
  HLink2->setVisible(!kMirrorLink.empty());
  HLink3->setVisible(!kContactAddress.empty());

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(12, 10, 12, 10);
  layout->addLayout(head);
  layout->addWidget(Bevel1);
  layout->addLayout(makers);
  layout->addWidget(Label4);
  layout->addWidget(Bevel2);
  layout->addLayout(bottom);

  // Every part of the box reports mouse moves, so that a link falls back to
  // pure blue when the mouse leaves it over the form or another label.
  setMouseTracking(true);
  installEventFilter(this);
  for (QWidget* child : findChildren<QWidget*>()) {
    child->setMouseTracking(true);
    child->installEventFilter(this);
  }
  resize(354, 232);
}

void TAboutBox::Prepare() {
  const QString face = FromCp1251(AppSettings.sysFont);
  for (QLabel* label : {Label1, Label2, Label3, Label4, HLink1, HLink2, HLink3, ProductName,
                        ProductName2, Version}) {
    QFont font = label->font();
    font.setFamily(face);
    label->setFont(font);
  }
  Version->setText(FromCp1251(VersionCaption()));
  HLink3URL->setText(QString::fromStdString(MailLink()));

  FitSize();
}

void TAboutBox::FitSize() {
  layout()->invalidate();  // measured afresh, at the labels' fonts of now
  Label2->adjustSize();
  outerWidth_ = std::max(Label2->sizeHint().width() + 90, 364);
  // At a big font, at least as wide as the texts need.
  outerWidth_ = std::max(outerWidth_, layout()->totalMinimumSize().width() +
                                          FrameOrDesign(this, kDialogDesignFrame).width());
  // The width is an outer width: the keeper takes the frame off it, the
  // real one once the desktop has framed the box.
  KeepOuterSize(this, [this] { return QSize(outerWidth_, 0); }, kDialogDesignFrame);
  const int clientWidth = width();
  const int contentHeight = layout()->hasHeightForWidth()
                                ? layout()->totalHeightForWidth(clientWidth)
                                : layout()->totalMinimumSize().height();
  setFixedHeight(std::max(232, contentHeight));
}

void TAboutBox::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  // The sizes follow a new font or style, once the labels have taken it.
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
    QMetaObject::invokeMethod(this, [this] { FitSize(); }, Qt::QueuedConnection);
}

int TAboutBox::OuterWidth() const { return width() + FrameOrDesign(this, kDialogDesignFrame).width(); }

void TAboutBox::Hover(QLabel* link) {
  for (QLabel* each : {HLink1, HLink2, HLink3})
    SetColour(each, each == link ? HoverLinkColour() : LinkColour());
}

void TAboutBox::HLink1MouseMove() { Hover(HLink1); }

void TAboutBox::HLink2MouseMove() { Hover(HLink2); }

void TAboutBox::HLink3MouseMove() { Hover(HLink3); }

void TAboutBox::FormMouseMove() { Hover(nullptr); }

void TAboutBox::OpenLink(const QString& link) {
  if (link.isEmpty()) return;  // a link without a target
  const int result = Shell::OpenLink(QUrl::fromEncoded(link.toUtf8()));
  const std::string message = ShellOpenMessage(result);
  if (!message.empty()) ShowMessage(message);
}

void TAboutBox::HLink1Click() { OpenLink(QString::fromUtf8(kSiteLink.data(), kSiteLink.size())); }

void TAboutBox::HLink2Click() { OpenLink(QString::fromUtf8(kMirrorLink.data(), kMirrorLink.size())); }

void TAboutBox::HLink3Click() { OpenLink(HLink3URL->text()); }

bool TAboutBox::eventFilter(QObject* watched, QEvent* event) {
  // A link takes its own mouse events; those of any other part of the box
  // count as moves over the form.
  const bool onLink = watched == HLink1 || watched == HLink2 || watched == HLink3;
  if (event->type() == QEvent::MouseMove) {
    if (watched == HLink1) HLink1MouseMove();
    if (watched == HLink2) HLink2MouseMove();
    if (watched == HLink3) HLink3MouseMove();
    if (!onLink) FormMouseMove();
    return onLink;
  }
  if (event->type() == QEvent::MouseButtonRelease && onLink) {
    if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
      if (watched == HLink1) HLink1Click();
      if (watched == HLink2) HLink2Click();
      if (watched == HLink3) HLink3Click();
    }
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace velmar
