// Every menu of the main window compared with the design, item by item: the
// caption, the shortcut, separators in their places, submenus, the check
// item, the default item of the tray menu; and the menus the text areas and
// Edit1 open.
#include <QAction>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "tests/trayicon/fake_tray_shell.h"
#include "tests/ui/menu_layout.h"
#include "tests/ui/ui_test_support.h"
#include "trayicon/tray_icon_ex.h"
#include "widgets/rich_edit.h"

namespace velmar {
namespace {

using testing::MenuLayout;

class MenusTest : public ::testing::Test {
 protected:
  testing::Workspace space{{7, 1, 2003}};
  lumora::FakeTrayShell tray;
  TForm1 form{&tray};
};

TEST_F(MenusTest, WindowMenuAsDesigned) {
  const std::vector<std::string> expected = {
      "С&вернуть [Esc]", "-", "&Сегодня [F1]", "&Завтра [F2]", "&Календарь [F3]", "&Пасхалия [F4]",
      "Свя&тцы [F5]", "-", "Се&рвис ... >", "  Составить &календарь [Ctrl+K]",
      "  Составить &пасхалию [Ctrl+P]", "  Поиск в файл [Ctrl+S]", "-", "&Настройка >",
      "  &Редактирование ini-файла [F9]", "  &Параметры...", "  Запускать при &входе в систему (check)",
      "Спр&авка [Shift+F1]", "-", "В&ыход [Alt+Q]"};
  EXPECT_EQ(MenuLayout(form.PopupMenu1), expected);
  // Its shortcuts work wherever the focus is in the window.
  for (QAction* action : {form.N1, form.N10, form.N11, form.N12, form.N15, form.N22, form.N38, form.N39,
                          form.N40, form.N18, form.NHelp, form.N14})
    EXPECT_TRUE(form.actions().contains(action)) << action->text().toStdString();
}

TEST_F(MenusTest, TrayMenuAsDesignedWithItsDefaultItem) {
  const std::vector<std::string> expected = {"&Развернуть", "-", "&Сегодня", "&Завтра", "&Календарь",
                                             "&Пасхалия", "Свя&тцы", "-", "&Настройка", "-", "В&ыход"};
  EXPECT_EQ(MenuLayout(form.PopupMenu2), expected);
  EXPECT_EQ(form.PopupMenu2->defaultAction(), form.N8);
  EXPECT_TRUE(form.N8->font().bold());
  EXPECT_EQ(form.TrayIconEx->PopupMenu(), form.PopupMenu2);
  // The tray component got the menu for trays that show it themselves.
  ASSERT_FALSE(tray.menus.empty());
  EXPECT_EQ(tray.menus.back().second, form.PopupMenu2);
}

TEST_F(MenusTest, TextAndFieldMenusAsDesigned) {
  EXPECT_EQ(MenuLayout(form.PopupMenu3),
            (std::vector<std::string>{"&Отменить", "-", "&Выделить все", "&Копировать", "-", "&Знаки...", "-", "&Читать"}));
  EXPECT_EQ(MenuLayout(form.PopupMenu4), (std::vector<std::string>{"&Отменить", "-", "&Вырезать", "&Копировать",
                                                               "Вст&авить", "-", "Выделить в&се"}));
  // The items without an action do nothing and stay enabled.
  EXPECT_TRUE(form.N35->isEnabled());
  EXPECT_TRUE(form.N33->isEnabled());
}

// The text areas open PopupMenu3, Edit1 opens PopupMenu4; each menu at the
// mouse, and the window's own menu elsewhere.
TEST_F(MenusTest, EachAreaOpensItsMenu) {
  form.show();
  const auto opens = [&](QWidget* area, QMenu* menu) {
    QWidget* target = area;
    if (auto* text = qobject_cast<QAbstractScrollArea*>(area)) target = text->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5), target->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(target, &event);
    const bool shown = menu->isVisible();
    menu->hide();
    return shown;
  };
  form.PageControl1->setCurrentWidget(form.TabSheet1);
  EXPECT_TRUE(opens(form.RichEdit1, form.PopupMenu3));
  form.PageControl1->setCurrentWidget(form.TabSheet3);
  EXPECT_TRUE(opens(form.RichEdit3, form.PopupMenu3));
  form.PageControl1->setCurrentWidget(form.TabSheet5);
  EXPECT_TRUE(opens(form.Edit1, form.PopupMenu4));
  EXPECT_TRUE(opens(form.Button1, form.PopupMenu1));
}

}  // namespace
}  // namespace velmar
