#pragma once
// A temporary folder for the files of the RichEdit tests, removed with it.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace velmar::testing {

class TempFolder {
 protected:
  QString Folder() const { return dir_.path(); }
  QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }

  // Writes bytes to the folder's file name; its path.
  QString WriteFile(const char* name, const QByteArray& bytes) const {
    QFile f(Path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return Path(name);
  }

  static QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

 private:
  QTemporaryDir dir_;
};

}  // namespace velmar::testing
