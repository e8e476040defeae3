#pragma once
// RichEdit: the rich-text control that shows our RTF documents.
//
// Loading reads the RTF bytes with the core's reader (texts/rtf_reader) and
// builds the QTextDocument from its model: paragraphs with their fonts,
// sizes, colours, bold, italic and underline, and tables. The loaded bytes
// are kept: saving an unedited document writes them back unchanged; after an
// edit, RTF is generated from the document (Windows-1251 text, fonts with
// \fcharset204, a colour table, tables) and reads back through the same
// reader to the same text and formatting. Printing lays the document out on
// the printer's pages without page numbers; copying puts the selection on
// the clipboard as HTML, RTF ("text/rtf") and plain text.

#include <QByteArray>
#include <QString>
#include <QTextEdit>

class QMimeData;
class QPrinter;
class QTextDocument;

namespace velmar {

class RichEdit : public QTextEdit {
  Q_OBJECT

 public:
  explicit RichEdit(QWidget* parent = nullptr);

  // Clears, reads the RTF file and shows it. False (and the control left
  // empty) when the file can't be read.
  bool LoadFromFile(const QString& path);

  // Clears and shows RTF bytes (anything else shows as plain text).
  void LoadFromBytes(const QByteArray& rtf);

  // Writes the loaded bytes unchanged when nothing was edited since the
  // load, else ToRtf(). Atomic: the file is replaced only when the whole
  // document was written. False on failure (the old file is then kept).
  bool SaveToFile(const QString& path);

  // RTF generated from the current document.
  QByteArray ToRtf() const;

  // The document as RTF: the loaded bytes when nothing was edited since the
  // load, else ToRtf().
  QByteArray CurrentRtf() const;

  // Prints the whole document (or the printer's page range) with jobTitle
  // as the document name; no page numbers.
  void Print(QPrinter* printer, const QString& jobTitle);

  // Gives the control the focus and selects all its text.
  void SelectAll();

  // Copies the selection (nothing when there is none).
  void CopyToClipboard();

  // Read-only still lets the user select and copy, by mouse and keyboard.
  void SetReadOnly(bool readOnly);

  // On: lines wrap at the control's width; off: no line wraps, table cells
  // neither (their columns take the width of their text).
  void SetWordWrap(bool on);
  bool WordWrap() const;

  // Empties the control and forgets the loaded bytes.
  void Clear();

  // True when the text or its formatting changed since the last load.
  bool IsModifiedSinceLoad() const;

 protected:
  QMimeData* createMimeDataFromSelection() const override;

 private:
  void ApplyWrapToTables();

  QByteArray loaded_;
  bool hasLoaded_ = false;
  int defaultTabTwips_ = 720;
};

// RTF of a whole QTextDocument, as RichEdit::ToRtf writes it.
QByteArray DocumentToRtf(const QTextDocument& document, int defaultTabTwips = 720);

}  // namespace velmar
