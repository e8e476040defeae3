#pragma once
// The program's message sink: each message in a modal message box with an OK
// button, captioned with the application title. Messages arrive in
// Windows-1251 and are shown in Unicode.

#include "platform/messages.h"

namespace velmar {

class MessageBoxSink : public MessageSink {
 public:
  void Show(std::string_view text) override;
};

}  // namespace velmar
