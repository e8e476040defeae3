#pragma once
// The modal message box seam. The core describes a problem with a text
// (Windows-1251) and hands it to the process-wide sink: a QMessageBox in the
// window, stderr in the CLI, a recorder in tests. The call returns when the
// user has acknowledged the message.

#include <string>
#include <string_view>
#include <vector>

namespace velmar {

class MessageSink {
 public:
  virtual ~MessageSink() = default;
  virtual void Show(std::string_view text) = 0;  // text in Windows-1251
};

// Shows a message through the current sink (stderr when none is installed).
void ShowMessage(std::string_view text);

// How many messages were asked for so far, shown or held back as repeats:
// whether an operation met a problem.
std::size_t MessagesAsked();

// Installs a sink; returns the previous one. Not owned.
MessageSink* SetMessageSink(MessageSink* sink);

// Within one scope, shows each distinct text only once (long reports would
// otherwise repeat one database message for every day). Scopes nest.
class DistinctMessagesScope {
 public:
  DistinctMessagesScope();
  ~DistinctMessagesScope();
  DistinctMessagesScope(const DistinctMessagesScope&) = delete;
  DistinctMessagesScope& operator=(const DistinctMessagesScope&) = delete;

 private:
  bool outer_;
};

// Sink that keeps the texts, for tests; installs itself for its lifetime.
class RecordingMessageSink : public MessageSink {
 public:
  RecordingMessageSink();
  ~RecordingMessageSink() override;
  void Show(std::string_view text) override { texts.emplace_back(text); }
  std::vector<std::string> texts;

 private:
  MessageSink* previous_;
};

}  // namespace velmar
