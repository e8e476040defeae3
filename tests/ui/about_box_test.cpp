#include "app/about_box.h"

#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QPushButton>
#include <gtest/gtest.h>

#include <algorithm>

#include "app/settings.h"
#include "tests/ui/ui_test_support.h"
#include "widgets/readable_colours.h"

namespace velmar {
namespace {

using testing::Workspace;

QColor ColourOf(const QLabel* label) { return label->palette().color(QPalette::WindowText); }

void MoveMouseOver(QWidget* widget) {
  QMouseEvent move(QEvent::MouseMove, QPointF(2, 2), widget->mapToGlobal(QPointF(2, 2)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &move);
}

TEST(AboutBox, PreparingSetsVersionMailLinkFontsAndWidth) {
  Workspace space({7, 1, 2003});
  AppSettings.sysFont = "Arial Cyr";
  TAboutBox box;
  box.HLink3URL->setText(QStringLiteral("mailto:old@example.org?subject=old"));
  box.Prepare();
  EXPECT_EQ(box.Version->text().toStdString(), "Версия: 2.0 pre-release сборка 278");
  EXPECT_EQ(box.HLink3URL->text().toStdString(), "");  // no contact address yet
  for (const QLabel* label : {box.Label1, box.Label4, box.HLink2, box.ProductName, box.Version})
    EXPECT_EQ(label->font().family().toStdString(), "Arial Cyr");
  EXPECT_EQ(box.windowTitle().toStdString(), "О себе...");
  EXPECT_EQ(box.ProductName->text().toStdString(), "ДНЕСЛОВНИК");
  EXPECT_EQ(box.OuterWidth(), 364);  // the makers' line is short
}

TEST(AboutBox, LongMakersLineWidensTheBox) {
  Workspace space({7, 1, 2003});
  TAboutBox box;
  box.Label2->setText(QString(60, QChar(u'Ж')));
  box.Prepare();
  const int labelWidth = box.Label2->sizeHint().width();
  ASSERT_GT(labelWidth, 274);
  // Label2 + 90, or wider where the makers' caption beside it and the
  // margins need more at the font of the day: the name is never cut.
  const int needed = box.layout()->totalMinimumSize().width() + 6;
  EXPECT_EQ(box.OuterWidth(), std::max(labelWidth + 90, needed));
  EXPECT_GE(box.Label2->width(), labelWidth);
}

// The links keep their specified colours (pure blue, the lighter blue under
// the mouse), drawn in the nearest shade that reads on the palette.
TEST(AboutBox, TheLinkUnderTheMouseIsLighter) {
  Workspace space({7, 1, 2003});
  TAboutBox box;
  const QColor window = box.palette().color(QPalette::Window);
  const auto expectColour = [&](const QLabel* link, const QColor& specified) {
    EXPECT_EQ(SpecifiedTextColour(link), specified);
    EXPECT_EQ(ColourOf(link), ReadableOnWindow(specified, window));
  };
  for (const QLabel* link : {box.HLink1, box.HLink2, box.HLink3}) {
    expectColour(link, QColor(0, 0, 255));
    EXPECT_TRUE(link->font().underline());
  }
  MoveMouseOver(box.HLink1);
  expectColour(box.HLink1, QColor(0, 128, 255));
  EXPECT_GT(ContrastRatio(ColourOf(box.HLink1), Qt::black), ContrastRatio(ColourOf(box.HLink2), Qt::black));
  MoveMouseOver(box.HLink2);  // straight from one link onto the next
  expectColour(box.HLink1, QColor(0, 0, 255));
  expectColour(box.HLink2, QColor(0, 128, 255));
  expectColour(box.HLink3, QColor(0, 0, 255));
  MoveMouseOver(box.Label4);  // over the form outside the links
  for (const QLabel* link : {box.HLink1, box.HLink2, box.HLink3}) expectColour(link, QColor(0, 0, 255));
}

TEST(AboutBox, NamesTheRunningSystemAndShowsNoLinkWithoutATarget) {
  Workspace space({7, 1, 2003});
  TAboutBox box;
  box.Prepare();
  const std::string system = box.ProductName2->text().toStdString();
  EXPECT_EQ(system.rfind("ОС: ", 0), 0u) << system;
  EXPECT_EQ(system.find("Windows"), std::string::npos) << system;
  // The project has no web site, mirror or contact address: no link shows,
  // and a click on one (from code) opens nothing and says nothing.
  for (const QLabel* link : {box.HLink1, box.HLink2, box.HLink3}) EXPECT_TRUE(link->isHidden());
  box.HLink1Click();
  box.HLink2Click();
  box.HLink3Click();
  EXPECT_TRUE(space.opened.empty());
  EXPECT_TRUE(space.Messages().empty());
}

TEST(AboutBox, OkButtonEndsTheDialogWithResultOne) {
  Workspace space({7, 1, 2003});
  TAboutBox box;
  box.open();
  box.OKButton->click();
  EXPECT_EQ(box.result(), 1);
  EXPECT_FALSE(box.isVisible());
}

}  // namespace
}  // namespace velmar
