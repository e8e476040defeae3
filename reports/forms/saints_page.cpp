#include "reports/forms/saints_page.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <algorithm>
#include <string>

#include "calendar/cp1251.h"
#include "reports/menologion_search.h"
#include "texts/day_entries.h"

namespace velmar {

void SaintsSearch(QLineEdit* Edit1, QListWidget* ListBox1, QComboBox* ComboBox3, QLabel* Label5,
                  int calendarYear) {
  const std::string text = Utf8ToCp1251(Edit1->text().toStdString());
  if (!SearchTextLengthOk(text)) return;
  HighlightText = text;
  ListBox1->clear();
  ComboBox3->clear();
  const SaintsSearchResult found =
      SearchSaints(text, static_cast<u16>(std::clamp(calendarYear, 1800, 2100)));
  for (std::size_t i = 0; i < found.items.size() && i < found.months.size(); ++i) {
    ListBox1->addItem(QString::fromStdString(Cp1251ToUtf8(found.items[i])));
    ComboBox3->addItem(QString::number(found.months[i]));
  }
  Label5->setText(QStringLiteral("Всего:  %1 совпадений").arg(found.count));
}

std::optional<std::pair<int, int>> SaintsListChoice(const QListWidget* ListBox1,
                                                    const QComboBox* ComboBox3) {
  const int row = ListBox1->currentRow();
  if (row < 0 || row >= ListBox1->count() || ListBox1->currentItem() == nullptr ||
      !ListBox1->currentItem()->isSelected())
    return std::nullopt;
  bool dayOk = false;
  bool monthOk = false;
  const int day = ListBox1->item(row)->text().left(2).trimmed().toInt(&dayOk);
  const int month = ComboBox3->itemText(row).toInt(&monthOk);
  if (!dayOk || !monthOk || day < 1 || day > 31 || month < 1 || month > 12) return std::nullopt;
  return std::pair{day, month};
}

}  // namespace velmar
