#include "app/shell_messages.h"

#include "calendar/cp1251.h"

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

namespace {

// A text of the form "before «path» after" (Windows-1251).
std::string AroundPath(std::string_view before, std::string_view path, std::string_view after) {
  std::string text(before);
  text += "«"_cp;
  text += path;
  text += "»"_cp;
  text += after;
  return text;
}

// The Russian explanation, a blank line and the original message; nothing
// when there is no original message (success).
std::string Report(const std::string& russian, const std::string& original) {
  if (original.empty()) return {};
  return russian + "\n\n" + original;
}

}  // namespace

std::string DocumentOpenReport(int result, std::string_view fileName, std::string_view path) {
  const std::string original = DocumentOpenMessage(result, fileName);
  switch (result) {
    case kShellFileNotFound: return Report(AroundPath("Не найден файл "_cp, path, "."), original);
    case kShellPathNotFound: return Report(AroundPath("Не найдена папка файла "_cp, path, "."), original);
    case kShellBadFormat:
      return Report(AroundPath("Файл "_cp, path, " не удалось открыть: неверный формат."_cp), original);
    case kShellNoAssociation:
      return Report(AroundPath("Нет программы, которая открывает файлы такого типа: "_cp, path,
                               ".\nУстановите ее (для страниц о праздниках — веб-браузер) "
                               "или откройте файл сами."_cp),
                    original);
    default: return {};
  }
}

std::string SettingsEditReport(int result, std::string_view path) {
  const std::string original = ShellOpenMessage(result);
  switch (result) {
    case kShellFileNotFound: return Report(AroundPath("Не найден файл настроек "_cp, path, "."), original);
    case kShellPathNotFound:
      return Report(AroundPath("Не найдена папка файла настроек "_cp, path, "."), original);
    case kShellBadFormat:
      return Report(AroundPath("Файл настроек "_cp, path, " не удалось открыть: неверный формат."_cp),
                    original);
    case kShellNoAssociation:
      return Report(AroundPath("Не найден текстовый редактор, чтобы открыть файл настроек "_cp, path,
                               ".\nОткройте его в любом текстовом редакторе или измените "
                               "настройки в окне «Параметры...»."_cp),
                    original);
    default: return {};
  }
}

}  // namespace velmar
