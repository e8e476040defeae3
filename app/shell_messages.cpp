#include "app/shell_messages.h"

namespace velmar {
namespace {

std::string CommonMessage(int result) {
  switch (result) {
    case kShellPathNotFound: return "Path not found";
    case kShellBadFormat: return "Bad format";
    case kShellNoAssociation:
      return "There is no application associated with the given filename extension.";
    default: return {};
  }
}

}  // namespace

std::string DocumentOpenMessage(int result, std::string_view fileName) {
  if (result == kShellFileNotFound) return "File " + std::string(fileName) + " not found";
  return CommonMessage(result);
}

std::string ShellOpenMessage(int result) {
  if (result == kShellFileNotFound) return "File not found";
  return CommonMessage(result);
}

}  // namespace velmar
