#include "app/settings_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "calendar/cp1251.h"
#include "platform/messages.h"
#include "platform/program_directory.h"
#include "widgets/program_icon.h"

namespace velmar {

TSettingsDlg::TSettingsDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SettingsDlg"));
  setWindowTitle(QStringLiteral("Параметры - Днесловник"));
  setWindowIcon(ProgramIcon());
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setModal(true);

  TextsBox = new QGroupBox(QStringLiteral("Тексты дня"), this);
  SignsCheck = new QCheckBox(QStringLiteral("Каждая память с новой строки, со знаками · и •"), TextsBox);
  SignsCheck->setToolTip(QStringLiteral("Иначе памяти дня идут одним абзацем, без знаков · и • "
                                        "(знаки служб со славословием и выше остаются). AgiosLine"));
  IconsCheck = new QCheckBox(QStringLiteral("Чтимые иконы Божией Матери"), TextsBox);
  IconsCheck->setToolTip(QStringLiteral("Дополнительные записи месяцеслова с кодом i. Menologion"));
  GreyCheck = new QCheckBox(QStringLiteral("Дополнительные записи — серым"), TextsBox);
  GreyCheck->setToolTip(QStringLiteral("MenologGray"));
  FastingCheck = new QCheckBox(QStringLiteral("Указание о посте (из dbase/Fasting.db)"), TextsBox);
  FastingCheck->setToolTip(QStringLiteral("Fasting"));
  ReadingsCheck = new QCheckBox(QStringLiteral("Чтения дня из Священного Писания"), TextsBox);
  ReadingsCheck->setToolTip(QStringLiteral("Readings"));
  FullRadio = new QRadioButton(QStringLiteral("полностью, как в церковном календаре"), TextsBox);
  ShortRadio = new QRadioButton(QStringLiteral("кратко (2 Тим. 3:16–4:4)"), TextsBox);
  FullRadio->setToolTip(QStringLiteral("ReadingsForm=Full"));
  ShortRadio->setToolTip(QStringLiteral("ReadingsForm=Short"));
  FullRadio->setChecked(true);
  SizeLabel = new QLabel(QStringLiteral("&Размер шрифта:"), TextsBox);
  SizeSpin = new QDoubleSpinBox(TextsBox);
  SizeSpin->setLocale(QLocale(QLocale::Russian, QLocale::Russia));
  SizeSpin->setDecimals(1);
  SizeSpin->setSingleStep(0.5);
  SizeSpin->setRange(kLeastRtfSize / 2.0, kMostRtfSize / 2.0);
  SizeSpin->setSuffix(QStringLiteral(" пт"));
  SizeSpin->setToolTip(QStringLiteral("Размер текстов дня и отчетов в пунктах. RTFSize"));
  SizeLabel->setBuddy(SizeSpin);
  connect(ReadingsCheck, &QCheckBox::toggled, FullRadio, &QWidget::setEnabled);
  connect(ReadingsCheck, &QCheckBox::toggled, ShortRadio, &QWidget::setEnabled);
  {
    auto* form = new QHBoxLayout;
    form->addWidget(FullRadio);
    form->addWidget(ShortRadio);
    form->addStretch(1);
    auto* indented = new QHBoxLayout;
    indented->addSpacing(24);
    indented->addLayout(form, 1);
    auto* size = new QHBoxLayout;
    size->addWidget(SizeLabel);
    size->addWidget(SizeSpin);
    size->addStretch(1);
    auto* layout = new QVBoxLayout(TextsBox);
    layout->addWidget(SignsCheck);
    layout->addWidget(IconsCheck);
    layout->addWidget(GreyCheck);
    layout->addWidget(FastingCheck);
    layout->addWidget(ReadingsCheck);
    layout->addLayout(indented);
    layout->addLayout(size);
  }

  ProgramBox = new QGroupBox(QStringLiteral("Программа"), this);
  AutostartCheck = new QCheckBox(QStringLiteral("Запускать при входе в систему"), ProgramBox);
  (new QVBoxLayout(ProgramBox))->addWidget(AutostartCheck);

  FileLabel = new QLabel(this);
  FileLabel->setWordWrap(true);
  FileLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  EditIniButton = new QPushButton(QStringLiteral("&Файл настроек..."), this);
  EditIniButton->setToolTip(QStringLiteral("Открыть Velmar32.ini в текстовом редакторе: шрифты, первый день "
                                           "недели, страница при запуске (F9)"));
  EditIniButton->setAutoDefault(false);
  connect(EditIniButton, &QPushButton::clicked, this, &TSettingsDlg::EditIniRequested);

  Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  Buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("&Ок"));
  Buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Отмена"));
  connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* file = new QHBoxLayout;
  file->addWidget(FileLabel, 1);
  file->addWidget(EditIniButton, 0, Qt::AlignTop);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(TextsBox);
  layout->addWidget(ProgramBox);
  layout->addLayout(file);
  layout->addStretch(1);
  layout->addWidget(Buttons);
  // Never smaller than its texts at the font in use; wider at a glance.
  layout->setSizeConstraint(QLayout::SetMinimumSize);
  setMinimumWidth(420);
}

void TSettingsDlg::SetValues(const EditableSettings& v, bool autostart) {
  SignsCheck->setChecked(v.signs);
  IconsCheck->setChecked(v.icons);
  GreyCheck->setChecked(v.grey);
  FastingCheck->setChecked(v.fasting);
  ReadingsCheck->setChecked(v.readings);
  FullRadio->setEnabled(v.readings);
  ShortRadio->setEnabled(v.readings);
  (v.readingsShort ? ShortRadio : FullRadio)->setChecked(true);
  shownRtfSize_ = v.rtfSize;
  SizeSpin->setValue(std::clamp(v.rtfSize, kLeastRtfSize, kMostRtfSize) / 2.0);
  AutostartCheck->setChecked(autostart);
}

EditableSettings TSettingsDlg::Values() const {
  EditableSettings v;
  v.signs = SignsCheck->isChecked();
  v.icons = IconsCheck->isChecked();
  v.grey = GreyCheck->isChecked();
  v.fasting = FastingCheck->isChecked();
  v.readings = ReadingsCheck->isChecked();
  v.readingsShort = ShortRadio->isChecked();
  const int halves = static_cast<int>(std::lround(SizeSpin->value() * 2));
  // A size the field could not show stays as it was unless the user moved it.
  const int shown = std::clamp(shownRtfSize_, kLeastRtfSize, kMostRtfSize);
  v.rtfSize = halves == shown ? shownRtfSize_ : halves;
  return v;
}

bool TSettingsDlg::AutostartOn() const { return AutostartCheck->isChecked(); }

void TSettingsDlg::SetSettingsFile(const QString& path) {
  FileLabel->setText(QStringLiteral("Параметры записываются в файл %1 и действуют сразу; "
                                    "прочие настройки — в том же файле.")
                         .arg(path));
}

SettingsOutcome ApplySettingsDialog(const TSettingsDlg& dialog, bool autostartOn) {
  SettingsOutcome outcome;
  outcome.accepted = true;
  const EditableSettings wanted = dialog.Values();
  outcome.autostart = dialog.AutostartOn() != autostartOn;
  const std::vector<SettingChange> changes = ChangesFor(AppSettings, wanted);
  if (changes.empty()) return outcome;
  const std::string failure = WriteSettingsFile(SettingsFilePath(), changes);
  if (!failure.empty())
    ShowMessage(failure + std::string("\n\nПараметры действуют до выхода из программы."_cp));
  ApplyEditable(AppSettings, wanted);
  outcome.documents = true;
  return outcome;
}

SettingsOutcome RunSettingsCommand(TSettingsDlg& dialog, bool autostartOn) {
  dialog.SetValues(EditableFrom(AppSettings), autostartOn);
  dialog.SetSettingsFile(QFile::decodeName(SettingsFilePath().c_str()));
  if (dialog.exec() != QDialog::Accepted) return {};
  return ApplySettingsDialog(dialog, autostartOn);
}

}  // namespace velmar
