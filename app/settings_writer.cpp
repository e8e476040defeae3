#include "app/settings_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <set>

#include "calendar/cp1251.h"

namespace velmar {
namespace {

const SettingChange* ChangeOf(const std::vector<SettingChange>& changes, std::string_view key) {
  for (const SettingChange& c : changes)
    if (c.key == key) return &c;
  return nullptr;
}

// The menologion with its class 'i' or without it; the other classes stay,
// each once (the field holds at most 9).
std::string Menologion(const std::string& current, bool icons) {
  std::string out;
  for (const char c : current)
    if (c != kIconsClass && out.find(c) == std::string::npos) out += c;
  if (icons) out += kIconsClass;
  if (out.size() > 9) out.erase(0, out.size() - 9);
  return out;
}

// Why a write failed, in Russian (Windows-1251).
std::string Reason(int error) {
  switch (error) {
    case EACCES:
    case EPERM: return std::string("нет прав на запись"_cp);
    case ENOSPC:
    case EDQUOT: return std::string("на диске нет места"_cp);
    case EROFS: return std::string("диск доступен только для чтения"_cp);
    case ENOENT:
    case ENOTDIR: return std::string("нет такой папки"_cp);
    default: return Utf8ToCp1251(std::strerror(error));
  }
}

std::string Failure(const std::string& path, const std::string& why) {
  return std::string("Не удалось записать файл настроек «"_cp) + Utf8ToCp1251(path) +
         std::string("»: "_cp) + why + ".";
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

std::string RewriteSettingsText(std::string_view text, const std::vector<SettingChange>& changes) {
  const std::string_view eol = text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
  std::set<std::string, std::less<>> written;
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = text.find('\n', at);
    const bool lastLine = end == std::string_view::npos;
    if (lastLine) end = text.size();
    std::string_view line = text.substr(at, end - at);
    std::string_view lineEnd = lastLine ? std::string_view() : std::string_view("\n");
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
      lineEnd = lastLine ? std::string_view("\r") : std::string_view("\r\n");
    }
    at = end + 1;
    const std::string_view key = SettingsKeyOfLine(line);
    const SettingChange* change = key.empty() ? nullptr : ChangeOf(changes, key);
    if (change == nullptr) {
      out += line;
      out += lineEnd;
      continue;
    }
    const std::size_t equals = line.find('=');
    out += equals == std::string_view::npos ? line : line.substr(0, equals);
    out += '=';
    out += change->value;
    out += lineEnd;
    written.insert(change->key);
  }
  if (text.empty() && !changes.empty()) {
    out += "; Velmar32.ini — настройки программы «Днесловник»."_cp;
    out += eol;
  }
  for (const SettingChange& c : changes) {
    if (written.count(c.key) != 0) continue;
    if (!out.empty() && out.back() != '\n') out += eol;
    out += c.key + "=" + c.value;
    out += eol;
    written.insert(c.key);
  }
  return out;
}

std::string WriteSettingsFile(const std::string& path, const std::vector<SettingChange>& changes) {
  // The file a symbolic link names is the one written.
  std::string target = path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) != nullptr) target = resolved;

  std::string text;
  struct stat info {};
  const bool exists = ::stat(target.c_str(), &info) == 0;
  if (exists) {
    if (::access(target.c_str(), W_OK) != 0) return Failure(path, Reason(errno));
    const int in = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) return Failure(path, Reason(errno));
    char buffer[8192];
    ssize_t n;
    while ((n = ::read(in, buffer, sizeof buffer)) != 0) {
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        const int error = errno;
        ::close(in);
        return Failure(path, Reason(error));
      }
      text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(in);
  }
  const std::string bytes = RewriteSettingsText(text, changes);

  const std::size_t slash = target.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash);
  std::string temporary = folder + "/.Velmar32.ini.XXXXXX";
  const int out = ::mkstemp(temporary.data());
  if (out < 0) return Failure(path, Reason(errno));
  const mode_t mode = exists ? (info.st_mode & 07777) : 0644;
  bool ok = WriteAll(out, bytes) && ::fchmod(out, mode) == 0 && ::fsync(out) == 0;
  int error = errno;
  ok = ::close(out) == 0 && ok;
  if (ok && ::rename(temporary.c_str(), target.c_str()) != 0) {
    error = errno;
    ok = false;
  }
  if (!ok) {
    ::unlink(temporary.c_str());
    return Failure(path, Reason(error));
  }
  return {};
}

EditableSettings EditableFrom(const Settings& s) {
  EditableSettings e;
  e.signs = s.agiosLine != "No";
  e.icons = s.menologion.find(kIconsClass) != std::string::npos;
  e.grey = s.menologGray;
  e.fasting = s.fasting;
  e.readings = s.readings;
  e.readingsShort = s.readingsShort;
  e.rtfSize = s.rtfSize;
  return e;
}

std::vector<SettingChange> ChangesFor(const Settings& s, const EditableSettings& wanted) {
  const EditableSettings now = EditableFrom(s);
  const auto yesNo = [](bool on) { return std::string(on ? "Yes" : "No"); };
  std::vector<SettingChange> changes;
  if (wanted.signs != now.signs) changes.push_back({"AgiosLine", yesNo(wanted.signs)});
  if (wanted.icons != now.icons) changes.push_back({"Menologion", Menologion(s.menologion, wanted.icons)});
  if (wanted.grey != now.grey) changes.push_back({"MenologGray", yesNo(wanted.grey)});
  if (wanted.fasting != now.fasting) changes.push_back({"Fasting", yesNo(wanted.fasting)});
  if (wanted.readings != now.readings) changes.push_back({"Readings", yesNo(wanted.readings)});
  if (wanted.readingsShort != now.readingsShort)
    changes.push_back({"ReadingsForm", wanted.readingsShort ? "Short" : "Full"});
  if (wanted.rtfSize != now.rtfSize) changes.push_back({"RTFSize", std::to_string(wanted.rtfSize)});
  return changes;
}

void ApplyEditable(Settings& s, const EditableSettings& wanted) {
  const EditableSettings now = EditableFrom(s);
  // An AgiosLine of another spelling than "No" keeps its text while it
  // stays on.
  if (wanted.signs != now.signs) s.agiosLine = wanted.signs ? "Yes" : "No";
  if (wanted.icons != now.icons) s.menologion = Menologion(s.menologion, wanted.icons);
  s.menologGray = wanted.grey;
  s.fasting = wanted.fasting;
  s.readings = wanted.readings;
  s.readingsShort = wanted.readingsShort;
  s.rtfSize = wanted.rtfSize;
}

}  // namespace velmar
