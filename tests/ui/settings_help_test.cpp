// The settings dialog, the help and the signs explained, from the main
// window.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/help_dialog.h"
#include "app/main_window.h"
#include "app/settings_dialog.h"
#include "app/sign_hints.h"
#include "reports/forms/report_viewer.h"
#include "tests/trayicon/fake_tray_shell.h"
#include "tests/ui/ui_test_support.h"
#include "widgets/ccalendar.h"
#include "widgets/cspin_edit.h"
#include "widgets/rich_edit.h"

namespace velmar {
namespace {

using testing::ReadBytes;
using testing::Workspace;

// Runs what a modal dialog shows: the steps once it is up, then "Ок".
void WhenShown(QDialog* dialog, std::function<void()> steps) {
  QTimer::singleShot(0, dialog, [dialog, steps] {
    steps();
    dialog->accept();
  });
}

class SettingsHelpTest : public ::testing::Test {
 protected:
  lumora::FakeTrayShell tray;
};

TEST_F(SettingsHelpTest, SettingsAreWrittenIntoTheFileAndInForceAtOnce) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  form.CCalendar1->SetDate(2003, 3, 10);  // the user's own day on the Calendar page
  form.ComboBox1->setCurrentIndex(2);
  const std::string before = ReadBytes(space.program() / "Velmar32.ini");
  ASSERT_NE(form.RichEdit1->toPlainText().indexOf(QStringLiteral("·")), -1);  // the signs · are there
  TSettingsDlg* dialog = form.SettingsDialog();
  WhenShown(dialog, [&] {
    EXPECT_TRUE(dialog->SignsCheck->isChecked());   // as the shipped file says
    EXPECT_TRUE(dialog->IconsCheck->isChecked());
    EXPECT_FALSE(dialog->AutostartCheck->isChecked());
    EXPECT_DOUBLE_EQ(dialog->SizeSpin->value(), 10.0);
    dialog->SignsCheck->setChecked(false);
    dialog->SizeSpin->setValue(12.5);
    dialog->AutostartCheck->setChecked(true);
  });
  form.NSettingsClick();
  const std::string after = ReadBytes(space.program() / "Velmar32.ini");
  // Only the two values changed, the comments and the rest kept.
  std::string expected = before;
  expected.replace(expected.find("AgiosLine=Yes"), 13, "AgiosLine=No");
  expected.replace(expected.find("RTFSize=20"), 10, "RTFSize=25");
  EXPECT_EQ(after, expected);
  EXPECT_EQ(AppSettings.agiosLine, "No");
  EXPECT_EQ(AppSettings.rtfSize, 25);
  // In force at once: the day texts without · and at the new size, the
  // Calendar page still on its day, autostart on.
  EXPECT_EQ(form.RichEdit1->toPlainText().indexOf(QStringLiteral("·")), -1);
  EXPECT_EQ(form.CCalendar1->Day(), 10);
  EXPECT_EQ(form.CCalendar1->Month(), 3);
  EXPECT_EQ(form.ComboBox1->currentIndex(), 2);
  EXPECT_NE(Cp1251ToUtf8(ReadBytes(space.program() / "velmar32.tmp")).find("\\fs25"), std::string::npos);
  EXPECT_TRUE(form.NStartup->isChecked());
  EXPECT_TRUE(std::filesystem::exists(space.autostartEntry()));
  EXPECT_TRUE(space.Messages().empty());

  // Nothing changed: nothing written.
  std::filesystem::remove(space.program() / "Velmar32.ini");
  WhenShown(dialog, [] {});
  form.NSettingsClick();
  EXPECT_FALSE(std::filesystem::exists(space.program() / "Velmar32.ini"));
}

TEST_F(SettingsHelpTest, AFileThatCannotBeWrittenIsSaidAndTheSettingsHoldAllTheSame) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  // The settings file's place is taken by a folder.
  std::filesystem::remove(space.program() / "Velmar32.ini");
  std::filesystem::create_directory(space.program() / "Velmar32.ini");
  TSettingsDlg* dialog = form.SettingsDialog();
  WhenShown(dialog, [&] { dialog->FastingCheck->setChecked(false); });
  form.NSettingsClick();
  ASSERT_EQ(space.Messages().size(), 1u);
  EXPECT_NE(space.Messages()[0].find("Не удалось записать файл настроек"), std::string::npos);
  EXPECT_NE(space.Messages()[0].find("действуют до выхода из программы"), std::string::npos);
  EXPECT_FALSE(AppSettings.fasting);
}

TEST_F(SettingsHelpTest, DialogGrowsWithItsFontAndKeepsTheReadingsFormWithTheReadings) {
  Workspace space({7, 1, 2003});
  TSettingsDlg dialog;
  dialog.SetValues(EditableSettings{}, false);
  EXPECT_TRUE(dialog.FullRadio->isEnabled());
  dialog.ReadingsCheck->setChecked(false);
  EXPECT_FALSE(dialog.ShortRadio->isEnabled());
  // A size the field can't show stays as it came unless it is moved.
  EditableSettings odd;
  odd.rtfSize = 200;
  dialog.SetValues(odd, false);
  EXPECT_EQ(dialog.Values().rtfSize, 200);
  dialog.SizeSpin->setValue(11);
  EXPECT_EQ(dialog.Values().rtfSize, 22);
  // Every text fits at a big font.
  QFont big = dialog.font();
  big.setPointSize(16);
  dialog.setFont(big);
  dialog.show();
  dialog.adjustSize();
  for (QCheckBox* check : dialog.findChildren<QCheckBox*>())
    EXPECT_GE(check->width(), check->sizeHint().width()) << check->text().toStdString();
  for (QRadioButton* radio : dialog.findChildren<QRadioButton*>())
    EXPECT_GE(radio->width(), radio->sizeHint().width()) << radio->text().toStdString();
  dialog.hide();
}

TEST_F(SettingsHelpTest, HelpOpensAtItsSectionFromTheMenusAndF1ElsewhereKeepsTheTodayPage) {
  Workspace space({7, 1, 2003});
  TForm1 form(&tray);
  TForm2 viewer;
  form.PageControl1->setCurrentIndex(2);
  form.NSigns->trigger();
  THelpDlg* help = form.HelpDialog();
  ASSERT_TRUE(help->isVisible());
  EXPECT_TRUE(help->Browser->toPlainText().contains(QStringLiteral("Совершается служба с полиелеем")));
  EXPECT_TRUE(help->Browser->toPlainText().contains(QString::fromStdString((space.program() / "dbase").string())));
  help->close();
  // F1 in the viewer is the help; in the main window it is still the Today page.
  viewer.show();
  QTest::keyClick(viewer.RichEdit1, Qt::Key_F1);
  EXPECT_TRUE(help->isVisible());
  help->close();
  form.show();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  QTest::keyClick(form.PageControl1, Qt::Key_F1);
  EXPECT_EQ(form.PageControl1->currentIndex(), 0);
  EXPECT_FALSE(help->isVisible());
  form.NHelp->trigger();
  EXPECT_TRUE(help->isVisible());
  help->close();
}

TEST_F(SettingsHelpTest, HelpColoursFollowAPaletteChangedLater) {
  Workspace space({7, 1, 2003});
  THelpDlg help;
  EXPECT_TRUE(help.Browser->toHtml().contains(QStringLiteral("#c00000")));
  QPalette dark = help.palette();
  dark.setColor(QPalette::Base, QColor(0x24, 0x24, 0x24));
  dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
  help.setPalette(dark);  // hidden, as a theme changes under a closed window
  EXPECT_TRUE(help.Browser->toHtml().contains(QStringLiteral("#ff9e96")));
  EXPECT_FALSE(help.Browser->toHtml().contains(QStringLiteral("#c00000")));
  EXPECT_TRUE(help.Browser->document()->defaultStyleSheet().contains(QStringLiteral("#8ab4f8")));
}

TEST_F(SettingsHelpTest, ASignInTheDayTextSaysWhatItMeans) {
  Workspace space({7, 1, 2001});  // Nativity: (+) and the other signs
  TForm1 form(&tray);
  form.show();
  form.PageControl1->setCurrentIndex(0);
  RichEdit* text = form.RichEdit1;
  QStringList hints;
  for (QTextBlock b = text->document()->begin(); b.isValid(); b = b.next()) {
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment f = it.fragment();
      if (!f.charFormat().fontFixedPitch() || f.text().trimmed().isEmpty()) continue;
      const int offset = static_cast<int>(f.text().indexOf(f.text().trimmed().front()));
      QTextCursor c(text->document());
      c.setPosition(f.position() + offset);
      hints << SignHints::HintAt(text, text->cursorRect(c).center() + QPoint(2, 0));
    }
  }
  ASSERT_FALSE(hints.isEmpty());
  EXPECT_TRUE(hints.contains(QStringLiteral("(+) — Совершается великое всенощное бдение"))) << hints.join("|").toStdString();
  // Over the text itself, nothing.
  QTextCursor plain(text->document());
  plain.movePosition(QTextCursor::End);
  plain.movePosition(QTextCursor::Left, QTextCursor::MoveAnchor, 3);
  EXPECT_TRUE(SignHints::HintAt(text, text->cursorRect(plain).center()).isEmpty());
}

}  // namespace
}  // namespace velmar
