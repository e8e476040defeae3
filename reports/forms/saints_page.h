#pragma once
// The Saints page's search, for the main window to call with its widgets:
// the list of days whose commemorations hold a text, and the day a list item
// stands for.

#include <optional>
#include <utility>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;

namespace velmar {

// "Искать!": when Edit1's text has 2..62 characters (Windows-1251), makes it
// the highlight text, lists in ListBox1 every day with a matching entry (its
// new-style date in calendarYear, the Calendar page's year), puts each day's
// new-style month number at the same index of the hidden ComboBox3, and
// shows the count in Label5 ("Всего:  N совпадений"). A text of another
// length is ignored and the page stays as it was.
void SaintsSearch(QLineEdit* Edit1, QListWidget* ListBox1, QComboBox* ComboBox3, QLabel* Label5,
                  int calendarYear);

// The new-style day (1..31, from the first two characters of the selected
// item) and month (1..12, from ComboBox3 at the same index) of the chosen
// list item; nothing when no item is selected or the item can't be read.
std::optional<std::pair<int, int>> SaintsListChoice(const QListWidget* ListBox1,
                                                    const QComboBox* ComboBox3);

}  // namespace velmar
