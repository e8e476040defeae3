#pragma once
// The Saints page's search, for the main window to call with its widgets:
// the list of days whose commemorations hold a text, and the day a list item
// stands for; and its list mode, the names of dbase/Names.db with their days
// and name days.

#include <QObject>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "texts/names_db.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QWidget;

namespace velmar {

struct SaintsSearchResult;

// "Искать!": when Edit1's text has 2..62 characters (Windows-1251), makes it
// the highlight text, lists in ListBox1 every day with a matching entry (its
// new-style date in calendarYear, the Calendar page's year), puts each day's
// new-style month number at the same index of the hidden ComboBox3, and
// shows the count in Label5 ("Всего:  N совпадений"). A text of another
// length is ignored and the page stays as it was.
//
// With dbase/Names.db, the days that the search ignoring case and endings
// finds follow the exact ones under the item "Найдено без учета падежа:"
// (month "0" in ComboBox3; it can't be chosen), or make the whole list when
// the exact search finds nothing, and Label5 then says so. Each item keeps
// the matching entries (drawn beside the date) and what its day view marks.
void SaintsSearch(QLineEdit* Edit1, QListWidget* ListBox1, QComboBox* ComboBox3, QLabel* Label5,
                  int calendarYear);

// Fills ListBox1, ComboBox3 and Label5 from a search's result.
void ShowSaintsList(const SaintsSearchResult& found, QListWidget* ListBox1, QComboBox* ComboBox3,
                    QLabel* Label5);

// The new-style day (1..31, from the first two characters of the selected
// item) and month (1..12, from ComboBox3 at the same index) of the chosen
// list item; nothing when no item is selected or the item can't be read.
std::optional<std::pair<int, int>> SaintsListChoice(const QListWidget* ListBox1,
                                                    const QComboBox* ComboBox3);

// Makes what the chosen item matched the highlight text of its day view;
// an item that keeps none leaves the highlight text as it is.
void SaintsListHighlight(const QListWidget* ListBox1);

// Draws each item of ListBox1 with its matching entries beside the date
// (the item's text stays the date alone) and gives it their tooltip.
void DrawSaintsListEntries(QListWidget* ListBox1);

// The list mode ("Список"): switched on by CheckBox1, which is enabled only
// when dbase/Names.db is there. ComboBox2 offers the male names, the female
// names or the icons of the Theotokos (RadioButton3, 4, 5), with the name's
// other spellings found as it is typed; choosing one lists its days in
// ListBox1 as a search does; a birthday (DateEdit) gives the name day,
// shown in NamedayLabel and chosen in the list.
class SaintsNameList : public QObject {
  Q_OBJECT

 public:
  struct Widgets {
    QCheckBox* CheckBox1 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QComboBox* ComboBox3 = nullptr;
    QLabel* Label5 = nullptr;
    QDateEdit* Birthday = nullptr;
    QLabel* NamedayLabel = nullptr;
    QWidget* BirthdayRow = nullptr;  // shown in the list mode
  };
  // calendarYear: the year of the Calendar page, for the new-style dates.
  SaintsNameList(const Widgets& widgets, std::function<int()> calendarYear, QObject* parent = nullptr);

  // CheckBox1 turned the list mode on or off: fills the name list for the
  // chosen kind, or hides the birthday.
  void ListModeChanged(bool on);

  // The names of the chosen kind into ComboBox2 (none chosen).
  void FillNames();

  // Lists the days of the name at ComboBox2's index, and its name day.
  void ShowName(int index);

  // The name day of the name shown for the birthday given, or none.
  void ShowNameday();

 protected:
  // Enter in the name field or the birthday applies them (and goes no
  // further, to the window's default button).
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Lists the name typed in ComboBox2, by any of its spellings.
  void ShowTyped(const QString& text);

  Widgets w_;
  std::function<int()> calendarYear_;
  NamesFile names_;                          // read when the list is filled
  std::vector<const NameRecord*> listed_;    // at ComboBox2's indices
  std::shared_ptr<const SaintsSearchResult> days_;  // of the name listed
  bool icon_ = false;                        // the name listed is an icon
  QLineEdit* typedField_ = nullptr;          // ComboBox2's field, once editable
};

}  // namespace velmar
