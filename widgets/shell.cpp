#include "widgets/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#include "app/shell_messages.h"

namespace velmar {
namespace {

Shell::Opener& CurrentOpener() {
  static Shell::Opener opener;
  return opener;
}

bool Hand(const QUrl& url) {
  const Shell::Opener& opener = CurrentOpener();
  if (opener) return opener(url);
  // xdg-open reports only that it started, not whether anything opened the
  // file: ask first whether something will.
  if (url.isLocalFile() && !Shell::DesktopHasApplicationFor(url.toLocalFile())) return false;
  return QDesktopServices::openUrl(url);
}

// 2 or 3 when the file or its folder is missing, 0 when it is there.
int CheckFile(const QString& path) {
  const QFileInfo file(path);
  if (file.isFile()) return 0;
  if (path.isEmpty() || !file.absoluteDir().exists()) return kShellPathNotFound;
  return kShellFileNotFound;
}

}  // namespace

int Shell::Open(const QString& path) {
  QString local = path;
  local.replace(QLatin1Char('\\'), QLatin1Char('/'));
  if (const int missing = CheckFile(local)) return missing;
  return Hand(QUrl::fromLocalFile(QFileInfo(local).absoluteFilePath())) ? kShellSuccess
                                                                         : kShellNoAssociation;
}

int Shell::OpenLink(const QUrl& url) {
  if (!url.isValid()) return kShellFileNotFound;
  return Hand(url) ? kShellSuccess : kShellNoAssociation;
}

int Shell::Edit(const QString& path) {
  // The desktop opens a text file with its text editor.
  return Open(path);
}

bool Shell::DesktopHasApplicationFor(const QString& path) {
  if (QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty()) return true;
  if (!qEnvironmentVariableIsEmpty("BROWSER")) return true;  // xdg-open falls back on it
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdgMime.isEmpty()) return true;  // nothing to ask: xdg-open may know
  const QMimeType type = QMimeDatabase().mimeTypeForFile(path);
  QStringList types{type.name()};
  types += type.allAncestors();
  for (const QString& name : types) {
    QProcess query;
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), name});
    if (!query.waitForFinished(3000)) {
      query.kill();
      query.waitForFinished(1000);
      return true;  // no answer: let xdg-open try
    }
    if (!query.readAllStandardOutput().trimmed().isEmpty()) return true;
  }
  return false;
}

Shell::Opener Shell::SetOpener(Opener opener) {
  Opener previous = std::move(CurrentOpener());
  CurrentOpener() = std::move(opener);
  return previous;
}

}  // namespace velmar
