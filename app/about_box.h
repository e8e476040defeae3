#pragma once
// TAboutBox, the modal "about" dialog: the program's name and icon, the
// version and build, the makers, a rights notice, and three links (the web
// site, its mirror and a mail link). Created once at start; the main window
// prepares it before every showing (Prepare) and shows it modally.

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;

namespace velmar {

class TAboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutBox(QWidget* parent = nullptr);

  // Before each showing: the text labels take the face AppSettings.sysFont,
  // the version line and the mail link are set, and the box's outer width
  // becomes the width of Label2 + 90 pixels, at least 364.
  void Prepare();

  // Outer width in pixels: the client width and the frame (the design's
  // usual dialog frame until the desktop has framed the box).
  int OuterWidth() const;

  // The colour of a link's text as the mouse left it.
  static QColor LinkColour();       // pure blue
  static QColor HoverLinkColour();  // lighter blue, the link under the mouse

  // Components.
  QLabel* Image1 = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* ProductName2 = nullptr;
  QLabel* Version = nullptr;
  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
  QLabel *HLink1 = nullptr, *HLink2 = nullptr, *HLink3 = nullptr;
  QLabel* HLink3URL = nullptr;  // hidden: the mail link HLink3 opens
  QPushButton* OKButton = nullptr;
  QFrame *Bevel1 = nullptr, *Bevel2 = nullptr;

  // Handlers.
  void HLink1MouseMove();
  void HLink2MouseMove();
  void HLink3MouseMove();
  void FormMouseMove();
  void HLink1Click();
  void HLink2Click();
  void HLink3Click();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Hover(QLabel* link);  // nullptr: no link under the mouse
  void OpenLink(const QString& link);
  void FitSize();  // the width and height of Prepare's step 4

  int outerWidth_ = 364;
};

}  // namespace velmar
