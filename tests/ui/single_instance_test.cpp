#include "widgets/single_instance.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace velmar {
namespace {

// A running program: a SingleInstance that claimed the name and serves it
// on a thread of its own, as another process would.
class RunningProgram {
 public:
  explicit RunningProgram(const QString& folder) {
    thread_.start();
    instance_ = new SingleInstance(folder);
    instance_->moveToThread(&thread_);
    QMetaObject::invokeMethod(
        instance_, [this] { outcome_ = instance_->Claim(); }, Qt::BlockingQueuedConnection);
    QObject::connect(instance_, &SingleInstance::ShowRequested, instance_, [this] { ++shown; },
                     Qt::DirectConnection);
  }
  ~RunningProgram() {
    QMetaObject::invokeMethod(instance_, [this] { delete instance_; }, Qt::BlockingQueuedConnection);
    thread_.quit();
    thread_.wait();
  }
  SingleInstance::Outcome outcome() const { return outcome_; }
  std::atomic<int> shown{0};

 private:
  QThread thread_;
  SingleInstance* instance_ = nullptr;
  SingleInstance::Outcome outcome_ = SingleInstance::Outcome::NoAnswer;
};

class SingleInstanceTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(runtime.isValid());
    previous = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
  }
  void TearDown() override { qputenv("XDG_RUNTIME_DIR", previous); }

  QTemporaryDir runtime;
  QTemporaryDir folderA, folderB;
  QByteArray previous;
};

TEST_F(SingleInstanceTest, ASecondStartAsksTheFirstToShowItsWindow) {
  RunningProgram first(folderA.path());
  ASSERT_EQ(first.outcome(), SingleInstance::Outcome::First);
  SingleInstance second(folderA.path());
  EXPECT_EQ(second.Claim(), SingleInstance::Outcome::Shown);
  // The running program raises its event right after it answered.
  for (int i = 0; i < 100 && first.shown == 0; ++i) QThread::msleep(10);
  EXPECT_EQ(first.shown, 1);
  // The name lives in the user's runtime folder and names the user.
  EXPECT_TRUE(second.ServerName().startsWith(runtime.path() + "/velmar32-" + QString::number(getuid()) + "-"));
}

TEST_F(SingleInstanceTest, TwoProgramFoldersDontSeeEachOther) {
  RunningProgram first(folderA.path());
  ASSERT_EQ(first.outcome(), SingleInstance::Outcome::First);
  SingleInstance other(folderB.path());
  EXPECT_NE(other.ServerName(), SingleInstance(folderA.path()).ServerName());
  EXPECT_EQ(other.Claim(), SingleInstance::Outcome::First);
  EXPECT_EQ(first.shown, 0);
}

// A program that crashed left its socket behind: nobody answers on it, and
// the next start takes its place.
TEST_F(SingleInstanceTest, ASocketLeftByACrashedProgramIsTakenOver) {
  SingleInstance probe(folderA.path());
  const QByteArray path = QFile::encodeName(probe.ServerName());
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
  ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
  ::close(fd);  // never listened; the file stays
  ASSERT_TRUE(QFile::exists(probe.ServerName()));

  RunningProgram next(folderA.path());
  EXPECT_EQ(next.outcome(), SingleInstance::Outcome::First);
  SingleInstance after(folderA.path());
  EXPECT_EQ(after.Claim(), SingleInstance::Outcome::Shown);
}

}  // namespace
}  // namespace velmar
