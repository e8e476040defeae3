#include "reports/forms/report_export.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPageSize>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTemporaryFile>
#include <QTextBlock>
#include <QTextDocument>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <sys/stat.h>

#include "reports/ical_export.h"
#include "texts/rtf_reader.h"
#include "texts/rtf_text.h"
#include "widgets/rich_edit.h"

namespace velmar {
namespace {

struct TypeInfo {
  ReportFileType type;
  const char* filter;
  const char* suffix;
};

// The RTF filter keeps the wording the save dialog always had.
constexpr TypeInfo kTypes[] = {
    {ReportFileType::Rtf, "Rich Text Files (*.rtf)", "rtf"},
    {ReportFileType::Pdf, "PDF (*.pdf)", "pdf"},
    {ReportFileType::Html, "HTML (*.html)", "html"},
    {ReportFileType::Text, "Текст (*.txt)", "txt"},
    {ReportFileType::ICalendar, "iCalendar (*.ics)", "ics"},
};

const TypeInfo& InfoOf(ReportFileType type) {
  for (const TypeInfo& info : kTypes)
    if (info.type == type) return info;
  return kTypes[0];
}

// The text of the document's first line that has any, blanks made one.
QString DocumentTitle(const QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const QString text = block.text().simplified();
    if (!text.isEmpty()) return text;
  }
  return {};
}

// Writes bytes to path through a file beside it that replaces it when whole.
bool WriteWhole(const QString& path, const QByteArray& bytes, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    if (error != nullptr) *error = file.errorString();
    file.cancelWriting();
    return false;
  }
  if (!file.commit()) {
    if (error != nullptr) *error = file.errorString();
    return false;
  }
  return true;
}

// The page size of the system's locale: Letter where it measures in inches.
QPageSize LocalePageSize() {
  return QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize(QPageSize::Letter)
                                                                              : QPageSize(QPageSize::A4);
}

bool SavePdf(RichEdit& text, const QString& path, const QString& jobTitle, QString* error) {
  // QPrinter writes to a name of its own: a temporary file beside the
  // target, renamed over it once the printer has finished.
  QTemporaryFile temporary(QFileInfo(path).absolutePath() + QStringLiteral("/.velmar32-XXXXXX.pdf"));
  if (!temporary.open()) {
    if (error != nullptr) *error = temporary.errorString();
    return false;
  }
  temporary.close();
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(temporary.fileName());
    printer.setPageSize(LocalePageSize());
    printer.setCreator(QStringLiteral("Velmar32"));
    printer.setFontEmbeddingEnabled(true);
    text.Print(&printer, jobTitle);
  }
  QFile written(temporary.fileName());
  if (!written.open(QIODevice::ReadOnly) || !written.read(5).startsWith("%PDF")) {
    if (error != nullptr) *error = QStringLiteral("the PDF could not be written");
    return false;
  }
  written.close();
  // The temporary file is private (0600): the PDF gets the permissions the
  // other types get, those of the file it replaces, else the usual ones.
  const QByteArray target = QFile::encodeName(path);
  struct stat existing {};
  mode_t mode = 0;
  if (::stat(target.constData(), &existing) == 0) {
    mode = existing.st_mode & 07777;
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  ::chmod(QFile::encodeName(temporary.fileName()).constData(), mode);
  // rename() replaces an existing file in one step; the temporary file is
  // no longer there to remove then.
  if (std::rename(QFile::encodeName(temporary.fileName()).constData(), QFile::encodeName(path).constData()) != 0) {
    if (error != nullptr) *error = QString::fromLocal8Bit(std::strerror(errno));
    return false;
  }
  temporary.setAutoRemove(false);
  return true;
}

bool SaveICalendar(const Period& period, const QString& path, QString* error) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    if (error != nullptr) *error = file.errorString();
    return false;
  }
  const bool written = WriteICalendar(period, static_cast<long long>(std::time(nullptr)), [&](std::string_view piece) {
    return file.write(piece.data(), static_cast<qint64>(piece.size())) == static_cast<qint64>(piece.size());
  });
  if (!written || !file.commit()) {
    if (error != nullptr) *error = file.errorString();
    file.cancelWriting();
    return false;
  }
  return true;
}

}  // namespace

QString FileTypeFilter(ReportFileType type) { return QString::fromUtf8(InfoOf(type).filter); }

QString FileTypeSuffix(ReportFileType type) { return QString::fromLatin1(InfoOf(type).suffix); }

std::optional<ReportFileType> FileTypeOfFilter(const QString& filter) {
  for (const TypeInfo& info : kTypes)
    if (filter == QString::fromUtf8(info.filter)) return info.type;
  return std::nullopt;
}

ReportFileType FileTypeOfName(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("htm")) return ReportFileType::Html;
  for (const TypeInfo& info : kTypes)
    if (suffix == QLatin1String(info.suffix)) return info.type;
  return ReportFileType::Rtf;
}

ReportFileType ChosenFileType(const QString& filter, const QString& path) {
  const std::optional<ReportFileType> byFilter = FileTypeOfFilter(filter);
  const QString suffix = QFileInfo(path).suffix();
  const bool typedType = !suffix.isEmpty() && (FileTypeOfName(path) != ReportFileType::Rtf ||
                                               suffix.compare(QLatin1String("rtf"), Qt::CaseInsensitive) == 0);
  if (typedType || !byFilter) return FileTypeOfName(path);
  return *byFilter;
}

QString WithDefaultSuffix(const QString& path, const QString& suffix) {
  const QFileInfo info(path);
  if (info.fileName().isEmpty() || !info.suffix().isEmpty()) return path;
  return path.endsWith(QLatin1Char('.')) ? path + suffix : path + QLatin1Char('.') + suffix;
}

QByteArray ReportHtml(RichEdit& text, const QString& title) {
  // A big report is held a slice at a time: the page is the first slice's,
  // with the paragraphs of every other slice's body added to its body.
  QString html;
  QString pageTitle;
  text.ForEachSlice([&](const QTextDocument& slice) {
    const QString part = slice.toHtml();
    if (html.isEmpty()) {
      html = part;
      pageTitle = DocumentTitle(slice);
      return true;
    }
    const qsizetype bodyTag = part.indexOf(QLatin1String("<body"));
    const qsizetype bodyStart = bodyTag < 0 ? -1 : part.indexOf(QLatin1Char('>'), bodyTag);
    const qsizetype bodyEnd = part.lastIndexOf(QLatin1String("</body>"));
    const qsizetype end = html.lastIndexOf(QLatin1String("</body>"));
    if (bodyStart < 0 || bodyEnd < bodyStart || end < 0) return true;
    html.insert(end, QStringView(part).mid(bodyStart + 1, bodyEnd - bodyStart - 1));
    return true;
  });
  if (pageTitle.isEmpty()) pageTitle = title;
  // Qt writes an HTML 4 page without a language or a title.
  static const QRegularExpression doctype(QStringLiteral("^<!DOCTYPE[^>]*>"));
  html.replace(doctype, QStringLiteral("<!DOCTYPE html>"));
  html.replace(QStringLiteral("<html>"), QStringLiteral("<html lang=\"ru\">"));
  html.replace(QStringLiteral("<head>"), QStringLiteral("<head><title>") + pageTitle.toHtmlEscaped() +
                                             QStringLiteral("</title>"));
  // The Windows faces of our documents, with the free faces and the generic
  // family a browser falls back on.
  static const QRegularExpression face(QStringLiteral("font-family:'([^']+) Cyr'"));
  QString out;
  out.reserve(html.size() + html.size() / 8);
  qsizetype at = 0;
  for (auto match = face.globalMatch(html); match.hasNext();) {
    const QRegularExpressionMatch m = match.next();
    const QString base = m.captured(1);
    const QString generic = base.contains(QLatin1String("Courier")) ? QStringLiteral("monospace")
                            : base.contains(QLatin1String("Arial"))  ? QStringLiteral("sans-serif")
                                                                     : QStringLiteral("serif");
    out += QStringView(html).mid(at, m.capturedStart() - at);
    out += QStringLiteral("font-family:'%1 Cyr','%1',%2").arg(base, generic);
    at = m.capturedEnd();
  }
  out += QStringView(html).mid(at);
  return out.toUtf8();
}

QByteArray ReportText(RichEdit& text) {
  const QByteArray rtf = text.CurrentRtf();
  const std::string plain = RenderRtfForTerminal(ReadRtf(std::string_view(rtf.constData(), static_cast<std::size_t>(rtf.size()))), false);
  return QByteArray::fromStdString(plain);
}

bool SaveReport(RichEdit& text, ReportFileType type, const QString& path, const QString& jobTitle,
                const std::optional<Period>& period, QString* error) {
  switch (type) {
    case ReportFileType::Rtf: {
      const bool saved = text.SaveToFile(path);
      if (!saved && error != nullptr) *error = QStringLiteral("the file could not be written");
      return saved;
    }
    case ReportFileType::Pdf: return SavePdf(text, path, jobTitle, error);
    case ReportFileType::Html: return WriteWhole(path, ReportHtml(text, jobTitle), error);
    case ReportFileType::Text: return WriteWhole(path, ReportText(text), error);
    case ReportFileType::ICalendar:
      if (!period) {
        if (error != nullptr) *error = QStringLiteral("the report is no period calendar");
        return false;
      }
      return SaveICalendar(*period, path, error);
  }
  return false;
}

}  // namespace velmar
