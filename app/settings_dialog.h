#pragma once
// TSettingsDlg, "Параметры": what people change in Velmar32.ini without an
// editor — the signs and the run of the entries, the icons of the Theotokos
// and the grey of additional entries, the fast note, the readings and their
// form, the size of the day texts — and the autostart at login. "Ок" writes
// the changed keys into the settings file, keeping the rest of it, and puts
// them in force at once.

#include <QDialog>

#include "app/settings_writer.h"

class QCheckBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace velmar {

class TSettingsDlg : public QDialog {
  Q_OBJECT

 public:
  explicit TSettingsDlg(QWidget* parent = nullptr);

  // Shows these values (the size clamped into what the field offers).
  void SetValues(const EditableSettings& values, bool autostart);
  EditableSettings Values() const;
  bool AutostartOn() const;
  // The settings file named under the choices.
  void SetSettingsFile(const QString& path);

  // Components.
  QGroupBox *TextsBox = nullptr, *ProgramBox = nullptr;
  QCheckBox *SignsCheck = nullptr, *IconsCheck = nullptr, *GreyCheck = nullptr, *FastingCheck = nullptr,
            *ReadingsCheck = nullptr, *AutostartCheck = nullptr;
  QRadioButton *FullRadio = nullptr, *ShortRadio = nullptr;
  QLabel* SizeLabel = nullptr;
  QDoubleSpinBox* SizeSpin = nullptr;  // points, in halves
  QLabel* FileLabel = nullptr;
  QPushButton* EditIniButton = nullptr;  // the settings file in the text editor
  QDialogButtonBox* Buttons = nullptr;

 signals:
  void EditIniRequested();

 private:
  int shownRtfSize_ = 20;  // the size as it came, when the field can't show it
};

// What "Ок" changed.
struct SettingsOutcome {
  bool accepted = false;
  bool documents = false;  // the day texts and reports look otherwise: show them anew
  bool autostart = false;  // the autostart switch is to be flipped
};

// Shows the dialog with the settings in force (AppSettings and the autostart
// mark given); on "Ок" writes the changed keys into SettingsFilePath() (a
// failure is said: the settings then hold until the program ends) and puts
// them in force in AppSettings.
SettingsOutcome RunSettingsCommand(TSettingsDlg& dialog, bool autostartOn);

// The part of RunSettingsCommand after the dialog: the dialog's values
// against AppSettings and the autostart mark.
SettingsOutcome ApplySettingsDialog(const TSettingsDlg& dialog, bool autostartOn);

}  // namespace velmar
