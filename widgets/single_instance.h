#pragma once
// One running program per user and program folder.
//
// The first start listens on a local socket whose name carries the user and
// a digest of the program folder, in the user's runtime folder
// ($XDG_RUNTIME_DIR, private to the user) or else the temporary folder. A
// later start connects to it, asks the running program to show its window
// ("show"), waits for its "ok" and ends; the running program raises
// ShowRequested. Two users, or two program folders, use different names and
// never see each other.
//
// A socket left behind by a program that crashed answers nobody: the next
// start takes its place.

#include <QObject>
#include <QString>

class QLocalServer;

namespace velmar {

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  enum class Outcome {
    First,        // this start serves as the program: go on
    Shown,        // a running program showed its window: end with status 0
    NoAnswer,     // a running program took the call but didn't answer: end with an error
  };

  // programDirectory: the folder that tells two installations apart.
  explicit SingleInstance(const QString& programDirectory, QObject* parent = nullptr);
  ~SingleInstance() override;

  // Hands "show" to a running program, or starts listening as the first.
  // Where no socket can be made at all, the program runs unguarded (First).
  Outcome Claim();

  // The socket's full path.
  const QString& ServerName() const { return serverName_; }

  // The milliseconds a second start waits for the connection and the answer.
  static constexpr int kAnswerTimeoutMs = 5000;

 signals:
  // A later start asked for the window.
  void ShowRequested();

 private:
  enum class Call { Answered, NoServer, NoAnswer };
  Call AskRunningToShow() const;
  void ServeConnection();

  QString serverName_;
  QLocalServer* server_ = nullptr;
};

}  // namespace velmar
