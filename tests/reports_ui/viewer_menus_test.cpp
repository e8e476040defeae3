// The report viewer's menus compared with the design, item by item.
#include <QMenuBar>
#include <gtest/gtest.h>

#include "reports/forms/report_viewer.h"
#include "tests/ui/menu_layout.h"

namespace velmar {
namespace {

using testing::MenuLayout;

TEST(ViewerMenus, MainMenuAndTextMenuAsDesigned) {
  TForm2 viewer;
  const QList<QAction*> bar = viewer.MainMenu1->actions();
  ASSERT_EQ(bar.size(), 3);
  EXPECT_EQ(bar[0]->text().toStdString(), "&Файл");
  EXPECT_EQ(bar[1]->text().toStdString(), "&Правка");
  EXPECT_EQ(bar[2]->text().toStdString(), "По&иск");  // beside the designed two
  EXPECT_EQ(MenuLayout(viewer.NSearch),
            (std::vector<std::string>{"&Найти... [Ctrl+F]", "Найти &далее [F3]", "Найти &назад [Shift+F3]"}));
  EXPECT_EQ(MenuLayout(viewer.N5),
            (std::vector<std::string>{"&Сохранить как...", "&Печатать [Ctrl+P]", "-", "&Закрыть"}));
  EXPECT_EQ(MenuLayout(viewer.N6), (std::vector<std::string>{"Выделить &все [Ctrl+A]", "&Копировать [Ctrl+C]",
                                                             "-", "&Редактировать (check)"}));
  EXPECT_FALSE(viewer.N14->isChecked());
  EXPECT_EQ(MenuLayout(viewer.PopupMenu1),
            (std::vector<std::string>{"&Отмена", "-", "&Выделить все", "&Копировать"}));
}

}  // namespace
}  // namespace velmar
