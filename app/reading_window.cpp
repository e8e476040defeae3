#include "app/reading_window.h"

#include <QComboBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "app/settings.h"
#include "calendar/calendar_arithmetic.h"
#include "calendar/cp1251.h"
#include "platform/program_directory.h"
#include "texts/day_views.h"
#include "texts/scripture_text.h"

namespace velmar {
namespace {

QString FromCp1251(std::string_view text) { return QString::fromStdString(Cp1251ToUtf8(text)); }

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString SlotName(ReadingSlot slot) {
  switch (slot) {
    case ReadingSlot::Matins: return QStringLiteral("Утреня");
    case ReadingSlot::Hour1: return QStringLiteral("1-й час");
    case ReadingSlot::Hour3: return QStringLiteral("3-й час");
    case ReadingSlot::Hour6: return QStringLiteral("6-й час");
    case ReadingSlot::Hour9: return QStringLiteral("9-й час");
    case ReadingSlot::Vespers: return QStringLiteral("Вечерня");
    case ReadingSlot::Apostol: return QStringLiteral("Апостол");
    case ReadingSlot::Gospel: return QStringLiteral("Евангелие");
  }
  return {};
}

// "28:21", "28:21–25", "3:16–4:4".
QString SpanText(const VerseSpan& s) {
  QString out = QStringLiteral("%1:%2").arg(s.fromChapter).arg(s.fromVerse);
  if (s.toChapter != s.fromChapter) return out + QStringLiteral("–%1:%2").arg(s.toChapter).arg(s.toVerse);
  if (s.toVerse != s.fromVerse) return out + QStringLiteral("–%1").arg(s.toVerse);
  return out;
}

QString Paragraph(const QString& html) {
  return QStringLiteral("<p style=\"margin-top:3px; margin-bottom:3px\">%1</p>").arg(html);
}

QString Note(const QString& text) { return Paragraph(QStringLiteral("<i>%1</i>").arg(text.toHtmlEscaped())); }

QString NoBibleHtml() {
  return Paragraph(QStringLiteral("<b>Библия для чтения не установлена.</b>")) +
         Note(QStringLiteral("Текст чтения берётся из модулей Библии программ SWORD. Установите русский "
                             "Синодальный перевод (модуль RusSynodal) или церковнославянскую Библию "
                             "(модуль CSlElizabeth) из хранилища CrossWire: в BibleTime — через менеджер "
                             "книжной полки, в Xiphos — через менеджер модулей.")) +
         Note(QStringLiteral("Английскую Библию короля Якова можно установить командой:")) +
         QStringLiteral("<pre>sudo apt install sword-text-kjv</pre>") +
         Note(QStringLiteral("Затем откройте чтение снова."));
}

// The module chosen last time, "" when none was.
std::string RememberedBible() {
  QFile file(QFile::decodeName(ReadingWindow::ChoiceFilePath().c_str()));
  if (!file.open(QIODevice::ReadOnly)) return {};
  while (!file.atEnd()) {
    const QByteArray line = file.readLine(4096).trimmed();
    if (line.startsWith("Bible=")) return line.mid(6).trimmed().toStdString();
  }
  return {};
}

// Written beside its target and renamed over it: never half-written. A
// choice that can't be kept is only forgotten.
void RememberBible(const std::string& name) {
  QSaveFile file(QFile::decodeName(ReadingWindow::ChoiceFilePath().c_str()));
  if (!file.open(QIODevice::WriteOnly)) return;
  file.write("; The Bible module of the reading window (its SWORD name).\r\nBible=");
  file.write(name.c_str());
  file.write("\r\n");
  file.commit();
}

}  // namespace

ReadingWindow::ReadingWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setWindowTitle(QStringLiteral("Чтение - Днесловник"));
  setObjectName(QStringLiteral("ReadingWindow"));
  DateLabel = new QLabel(this);
  Heading = new QLabel(this);
  Heading->setWordWrap(true);
  Heading->setTextInteractionFlags(Qt::TextSelectableByMouse);
  QFont bold = Heading->font();
  bold.setBold(true);
  bold.setPointSizeF(bold.pointSizeF() * 1.15);
  Heading->setFont(bold);
  BibleLabel = new QLabel(QStringLiteral("&Библия:"), this);
  BibleBox = new QComboBox(this);
  BibleBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  BibleLabel->setBuddy(BibleBox);
  Text = new QTextBrowser(this);
  Text->setOpenLinks(false);
  CloseButton = new QPushButton(QStringLiteral("&Закрыть"), this);

  auto* bibleRow = new QHBoxLayout;
  bibleRow->addWidget(BibleLabel);
  bibleRow->addWidget(BibleBox, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(CloseButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(DateLabel);
  layout->addWidget(Heading);
  layout->addLayout(bibleRow);
  layout->addWidget(Text, 1);
  layout->addLayout(buttons);
  // About seventy letters wide and thirty-four lines high in the window's
  // font, within the screen.
  const QFontMetrics metrics(font());
  QSize size(metrics.averageCharWidth() * 70, metrics.lineSpacing() * 34);
  if (const QScreen* shown = screen(); shown != nullptr)
    size = size.boundedTo(shown->availableGeometry().size() * 0.9);
  resize(size);

  connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
  connect(BibleBox, &QComboBox::currentIndexChanged, this, &ReadingWindow::BibleChosen);
}

ReadingWindow::~ReadingWindow() = default;

std::string ReadingWindow::ChoiceFilePath() { return WritableFilesDirectory() + "Bible.ini"; }

void ReadingWindow::ShowReading(const CivilDate& date, const ReadingEntry& entry) {
  entry_ = entry;
  const int weekday = WeekdayNumber(date.day, date.month, date.year);
  DateLabel->setText(FromCp1251(MakeDayCaptions(date.day, date.month, date.year, weekday).groupCaption));
  Heading->setText(FromCp1251(entry.text));

  library_ = std::make_unique<ScriptureLibrary>();
  const std::string remembered = RememberedBible();
  filling_ = true;
  BibleBox->clear();
  int chosen = 0;
  for (const BibleInfo& b : library_->Bibles()) {
    const QString name = FromUtf8(b.name);
    const QString description = FromUtf8(b.description);
    BibleBox->addItem(description.isEmpty() || description == name ? name
                                                                   : QStringLiteral("%1 (%2)").arg(description, name),
                      name);
    if (b.name == remembered) chosen = BibleBox->count() - 1;
  }
  BibleBox->setCurrentIndex(BibleBox->count() > 0 ? chosen : -1);
  filling_ = false;
  BibleBox->setEnabled(BibleBox->count() > 1);
  BibleLabel->setVisible(BibleBox->count() > 0);
  BibleBox->setVisible(BibleBox->count() > 0);
  ShowText();

  show();
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

QString ReadingWindow::ShownBible() const { return BibleBox->currentData().toString(); }

void ReadingWindow::BibleChosen() {
  if (filling_) return;
  RememberBible(ShownBible().toStdString());
  ShowText();
}

void ReadingWindow::ShowText() {
  const std::string module = ShownBible().toStdString();
  if (library_ == nullptr || module.empty()) {
    Text->setFont(font());
    Text->setHtml(NoBibleHtml());
    return;
  }
  // The module's own font where it names one that is installed (a Church
  // Slavonic text needs one with its letters).
  QFont face = font();
  face.setPointSizeF(face.pointSizeF() * 1.15);
  for (const BibleInfo& b : library_->Bibles()) {
    if (b.name == module && !b.font.empty() && QFontDatabase::hasFamily(FromUtf8(b.font)))
      face.setFamily(FromUtf8(b.font));
  }
  Text->setFont(face);
  Text->setHtml(PassagesHtml(module));
}

QString ReadingWindow::PassagesHtml(const std::string& module) const {
  QString html;
  for (const SlotReading& r : entry_.readings) {
    for (const ScripturePiece& piece : r.reading) {
      html += QStringLiteral("<h4 style=\"margin-top:10px; margin-bottom:4px\">%1: %2</h4>")
                  .arg(SlotName(r.slot).toHtmlEscaped(),
                       FromCp1251(PieceText(piece, AppSettings.readingsShort)).toHtmlEscaped());
      const ScripturePassage passage = library_->Passage(module, piece);
      if (!passage.moduleFound) {
        html += Note(QStringLiteral("Модуль %1 не найден.").arg(FromUtf8(module)));
        continue;
      }
      // Where the module numbers the verses otherwise, its numbers are shown,
      // and said so.
      if (passage.renumbered) {
        const ScriptureVerse* first = nullptr;
        const ScriptureVerse* last = nullptr;
        for (const ScriptureVerse& v : passage.verses) {
          if (v.verse == 0) continue;
          if (first == nullptr) first = &v;
          last = &v;
        }
        if (first != nullptr)
          html += Note(QStringLiteral("В нумерации этой Библии: %1.")
                           .arg(SpanText({first->chapter, first->verse, last->chapter, last->verse})));
      }
      for (const ScriptureVerse& v : passage.verses) {
        const QString text = FromUtf8(v.text).toHtmlEscaped();
        html += v.verse == 0 ? Paragraph(QStringLiteral("<i>%1</i>").arg(text))
                             : Paragraph(QStringLiteral("<b>%1</b>&nbsp;%2").arg(v.verse).arg(text));
      }
      if (passage.bookMissing) {
        html += Note(QStringLiteral("В этой Библии нет книги «%1»; она есть в Синодальном переводе "
                                    "(модуль RusSynodal) и в церковнославянской Библии.")
                         .arg(FromCp1251(piece.book->name)));
        continue;
      }
      for (const VerseSpan& s : passage.missing) {
        const bool one = s.fromChapter == s.toChapter && s.fromVerse == s.toVerse;
        html += Note(one ? QStringLiteral("Стих %1 не найден в этой Библии.").arg(SpanText(s))
                         : QStringLiteral("Стихи %1 не найдены в этой Библии.").arg(SpanText(s)));
      }
    }
  }
  return html;
}

void ReadingWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace velmar
