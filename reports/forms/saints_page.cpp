#include "reports/forms/saints_page.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDate>
#include <QDateEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <algorithm>
#include <string>

#include "calendar/cp1251.h"
#include "reports/menologion_search.h"
#include "reports/name_search.h"
#include "texts/day_entries.h"
#include "texts/rtf_text.h"
#include "texts/word_match.h"

namespace velmar {
namespace {

// What an item keeps beside its text.
constexpr int kEntriesRole = Qt::UserRole + 1;    // the matching entries, plain text
constexpr int kHighlightRole = Qt::UserRole + 2;  // Windows-1251 bytes to mark

QString FromCp1251(std::string_view text) { return QString::fromStdString(Cp1251ToUtf8(text)); }

// Draws the item's text as the list does, then its entries after it in the
// colour of secondary text, cut to the width that is left.
class EntriesDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    const QString entries = index.data(kEntriesRole).toString();
    if (entries.isEmpty()) return;
    const QFontMetrics metrics(option.font);
    const int gap = metrics.horizontalAdvance(QStringLiteral("    "));
    QRect rect = option.rect.adjusted(metrics.horizontalAdvance(index.data().toString()) + gap + 4, 0, -2, 0);
    if (rect.width() <= gap) return;
    painter->save();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    QColor colour = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
    if (!selected) colour.setAlphaF(0.65f);
    painter->setPen(colour);
    painter->setFont(option.font);
    painter->drawText(rect, Qt::AlignVCenter | Qt::AlignLeft,
                      metrics.elidedText(entries, Qt::ElideRight, rect.width()));
    painter->restore();
  }
};

void AddItem(QListWidget* ListBox1, QComboBox* ComboBox3, const QString& text, int month,
             const SaintsItemDetail* detail) {
  auto* item = new QListWidgetItem(text, ListBox1);
  if (detail != nullptr) {
    const QString entries = QString::fromStdString(FragmentPlainText(detail->entries));
    item->setData(kEntriesRole, entries);
    item->setToolTip(entries);
    item->setData(kHighlightRole, QByteArray::fromStdString(detail->highlight));
  }
  ComboBox3->addItem(QString::number(month));
}

}  // namespace

void ShowSaintsList(const SaintsSearchResult& found, QListWidget* ListBox1, QComboBox* ComboBox3,
                    QLabel* Label5) {
  ListBox1->clear();
  ComboBox3->clear();
  const std::size_t n = std::min(found.items.size(), found.months.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (i == found.exactItems && i > 0) {
      // Where the exact matches end and the others begin: an item that
      // can't be chosen, month 0.
      auto* rule = new QListWidgetItem(QStringLiteral("Найдено без учета падежа:"), ListBox1);
      rule->setFlags(Qt::NoItemFlags);
      QFont italic = rule->font();
      italic.setItalic(true);
      rule->setFont(italic);
      ComboBox3->addItem(QStringLiteral("0"));
    }
    AddItem(ListBox1, ComboBox3, QString::fromStdString(Cp1251ToUtf8(found.items[i])), found.months[i],
            i < found.details.size() ? &found.details[i] : nullptr);
  }
  if (found.exactItems == 0 && n > 0) {
    Label5->setText(QStringLiteral("Всего:  %1 совпадений. Найдено без учета падежа").arg(found.looseCount + found.count));
  } else {
    Label5->setText(QStringLiteral("Всего:  %1 совпадений").arg(found.count));
  }
}

void SaintsSearch(QLineEdit* Edit1, QListWidget* ListBox1, QComboBox* ComboBox3, QLabel* Label5,
                  int calendarYear) {
  const std::string text = Utf8ToCp1251(Edit1->text().toStdString());
  if (!SearchTextLengthOk(text)) return;
  HighlightText = text;
  const SaintsSearchResult found =
      SearchSaints(text, static_cast<u16>(std::clamp(calendarYear, 1800, 2100)));
  ShowSaintsList(found, ListBox1, ComboBox3, Label5);
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

void SaintsListHighlight(const QListWidget* ListBox1) {
  const QListWidgetItem* item = ListBox1->currentItem();
  if (item == nullptr) return;
  const QByteArray mark = item->data(kHighlightRole).toByteArray();
  if (!mark.isEmpty()) HighlightText = mark.toStdString();
}

void DrawSaintsListEntries(QListWidget* ListBox1) {
  ListBox1->setItemDelegate(new EntriesDelegate(ListBox1));
  ListBox1->setTextElideMode(Qt::ElideNone);
}

SaintsNameList::SaintsNameList(const Widgets& widgets, std::function<int()> calendarYear, QObject* parent)
    : QObject(parent), w_(widgets), calendarYear_(std::move(calendarYear)) {
  w_.CheckBox1->setEnabled(NamesFilePresent());
  w_.Birthday->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
  w_.Birthday->setCalendarPopup(true);
  w_.Birthday->setDateRange(QDate(1800, 1, 1), QDate(2100, 12, 31));
  connect(w_.ComboBox2, &QComboBox::activated, this, &SaintsNameList::ShowName);
  for (QRadioButton* kind : {w_.RadioButton3, w_.RadioButton4, w_.RadioButton5}) {
    connect(kind, &QRadioButton::toggled, this, [this](bool on) {
      if (on && w_.CheckBox1->isChecked()) FillNames();
    });
  }
  connect(w_.Birthday, &QDateEdit::dateChanged, this, [this] { ShowNameday(); });
  w_.Birthday->installEventFilter(this);
}

bool SaintsNameList::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto* key = static_cast<const QKeyEvent*>(event);
  if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return QObject::eventFilter(watched, event);
  if (watched == w_.Birthday) {
    w_.Birthday->interpretText();
    ShowNameday();
    return true;
  }
  if (w_.ComboBox2->lineEdit() != nullptr && watched == w_.ComboBox2->lineEdit()) {
    ShowTyped(w_.ComboBox2->lineEdit()->text());
    return true;
  }
  return QObject::eventFilter(watched, event);
}

void SaintsNameList::ShowTyped(const QString& text) {
  const std::string folded = FoldCase(Utf8ToCp1251(text.trimmed().toStdString()));
  for (std::size_t i = 0; i < listed_.size(); ++i) {
    for (const std::string& spelling : listed_[i]->spellings) {
      if (FoldCase(spelling) != folded) continue;
      w_.ComboBox2->setCurrentIndex(static_cast<int>(i));
      ShowName(static_cast<int>(i));
      return;
    }
  }
}

void SaintsNameList::ListModeChanged(bool on) {
  if (w_.BirthdayRow != nullptr) w_.BirthdayRow->setVisible(on);
  if (!on) return;
  if (!w_.Birthday->property("velmarSet").toBool()) {
    const CivilDate today = Today();
    w_.Birthday->setDate(QDate(today.year, today.month, today.day));
    w_.Birthday->setProperty("velmarSet", true);
  }
  FillNames();
}

void SaintsNameList::FillNames() {
  const NameKind kind = w_.RadioButton5->isChecked()   ? NameKind::Icon
                        : w_.RadioButton4->isChecked() ? NameKind::Female
                                                       : NameKind::Male;
  names_ = LoadNamesFile();
  listed_ = names_.OfKind(kind);
  w_.ComboBox2->clear();
  QStringList shown;
  for (const NameRecord* name : listed_) shown << FromCp1251(name->spellings.front());
  w_.ComboBox2->addItems(shown);
  w_.ComboBox2->setCurrentIndex(-1);
  w_.ComboBox2->setEditable(true);
  w_.ComboBox2->setInsertPolicy(QComboBox::NoInsert);
  // Typing finds a name, by any of its spellings.
  QStringList spellings;
  for (const NameRecord* name : listed_)
    for (const std::string& s : name->spellings) spellings << FromCp1251(s);
  auto* completer = new QCompleter(spellings, w_.ComboBox2);
  completer->setCaseSensitivity(Qt::CaseInsensitive);
  completer->setCompletionMode(QCompleter::PopupCompletion);
  w_.ComboBox2->setCompleter(completer);
  connect(completer, qOverload<const QString&>(&QCompleter::activated), this, &SaintsNameList::ShowTyped);
  // Enter: through the filter, or from the completer's popup, which hands
  // the key to the field itself.
  if (w_.ComboBox2->lineEdit() != typedField_) {
    typedField_ = w_.ComboBox2->lineEdit();
    typedField_->installEventFilter(this);
    connect(typedField_, &QLineEdit::returnPressed, this, [this] { ShowTyped(typedField_->text()); });
  }
  const bool people = kind != NameKind::Icon;
  w_.Birthday->setEnabled(people);
  w_.NamedayLabel->setEnabled(people);
  w_.NamedayLabel->clear();
}

void SaintsNameList::ShowName(int index) {
  if (index < 0 || index >= static_cast<int>(listed_.size())) return;
  const NameRecord& name = *listed_[static_cast<std::size_t>(index)];
  auto days = std::make_shared<SaintsSearchResult>(
      SearchName(name, static_cast<u16>(std::clamp(calendarYear_(), 1800, 2100))));
  ShowSaintsList(*days, w_.ListBox1, w_.ComboBox3, w_.Label5);
  if (!days->details.empty()) HighlightText = days->details.front().highlight;
  days_ = std::move(days);
  icon_ = name.kind == NameKind::Icon;
  ShowNameday();
}

void SaintsNameList::ShowNameday() {
  w_.NamedayLabel->clear();
  if (!days_ || icon_ || !w_.Birthday->isEnabled()) return;
  const QDate b = w_.Birthday->date();
  const CivilDate birthday{static_cast<u16>(b.day()), static_cast<u16>(b.month()), static_cast<u16>(b.year())};
  const std::optional<Nameday> nameday = NamedayAfter(*days_, birthday);
  if (!nameday) {
    w_.NamedayLabel->setText(QStringLiteral("Именины: нет дня памяти святого с этим именем"));
    return;
  }
  w_.NamedayLabel->setText(QStringLiteral("Именины: ") + FromCp1251(NamedayHeading(*nameday)));
  // The day in the list (the list has no separator item here).
  if (nameday->item < static_cast<std::size_t>(w_.ListBox1->count())) {
    w_.ListBox1->setCurrentRow(static_cast<int>(nameday->item));
    w_.ListBox1->scrollToItem(w_.ListBox1->currentItem(), QAbstractItemView::PositionAtCenter);
  }
}

}  // namespace velmar
