// The RTF reader and its text output on any bytes: never a crash, never a hang.
#include <cstdint>
#include <string_view>

#include "texts/rtf_reader.h"
#include "texts/rtf_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<velmar::RtfProblem> problems;
  const velmar::RtfDocument document = velmar::ReadRtf(bytes, &problems);
  for (const velmar::RtfProblem& p : problems)
    if (p.position > size) __builtin_trap();  // a problem always points into the data
  (void)velmar::RenderRtfForTerminal(document, true);
  (void)velmar::PlainText(document);
  return 0;
}
