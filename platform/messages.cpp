#include "platform/messages.h"

#include <cstdio>
#include <set>

#include "calendar/cp1251.h"

namespace velmar {
namespace {

MessageSink* g_sink = nullptr;
int g_distinctDepth = 0;
std::size_t g_asked = 0;
std::set<std::string, std::less<>> g_shown;

}  // namespace

std::size_t MessagesAsked() { return g_asked; }

void ShowMessage(std::string_view text) {
  ++g_asked;
  if (g_distinctDepth > 0) {
    if (g_shown.find(text) != g_shown.end()) return;
    g_shown.emplace(text);
  }
  if (g_sink != nullptr) {
    g_sink->Show(text);
    return;
  }
  const std::string utf8 = Cp1251ToUtf8(text);
  std::fprintf(stderr, "%s\n", utf8.c_str());
}

MessageSink* SetMessageSink(MessageSink* sink) {
  MessageSink* previous = g_sink;
  g_sink = sink;
  return previous;
}

DistinctMessagesScope::DistinctMessagesScope() : outer_(g_distinctDepth == 0) {
  ++g_distinctDepth;
}

DistinctMessagesScope::~DistinctMessagesScope() {
  --g_distinctDepth;
  if (outer_) g_shown.clear();
}

RecordingMessageSink::RecordingMessageSink() : previous_(SetMessageSink(this)) {}

RecordingMessageSink::~RecordingMessageSink() { SetMessageSink(previous_); }

}  // namespace velmar
