#pragma once
// What the three report dialogs share: the outcome marker that a report
// command resets before showing its dialog and reads afterwards (the dialog's
// own modal result is not consulted), the year typed into a spin edit, the
// system font face, and centring on the screen.
//
// The marker is kept as the horizontal position of the dialog's prompt label,
// 19 at design time, so each value is also a place in pixels.

#include <string>

class QLabel;
class QSpinBox;
class QWidget;

namespace velmar {

enum class DialogOutcome { Reset = 19, Cancelled = 20, Rejected = 21 };

// Stores the marker in the prompt label's horizontal position.
void SetOutcomeMarker(QLabel* prompt, DialogOutcome outcome);
// The marker read back from the prompt label.
DialogOutcome OutcomeMarker(const QLabel* prompt);

// Takes in the number the user has typed into a spin edit, clamped into the
// spin edit's limits (the control itself only does so when it loses the
// focus), and returns the value. Text that holds no number leaves the value.
int CommitTypedValue(QSpinBox* spin);

// Sets the font face of a widget (and of the children that follow its font)
// to a face name given in Windows-1251, such as AppSettings.sysFont.
void SetFontFace(QWidget* widget, const std::string& faceCp1251);

// Places a top-level widget in the middle of the screen it is on.
void CentreOnScreen(QWidget* widget);

}  // namespace velmar
