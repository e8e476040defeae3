#include "widgets/shell.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

#include "app/shell_messages.h"

namespace velmar {
namespace {

Shell::Opener& CurrentOpener() {
  static Shell::Opener opener;
  return opener;
}

bool Hand(const QUrl& url) {
  const Shell::Opener& opener = CurrentOpener();
  return opener ? opener(url) : QDesktopServices::openUrl(url);
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

Shell::Opener Shell::SetOpener(Opener opener) {
  Opener previous = std::move(CurrentOpener());
  CurrentOpener() = std::move(opener);
  return previous;
}

}  // namespace velmar
