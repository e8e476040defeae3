#include "texts/scripture_text.h"

#include <markupfiltmgr.h>
#include <swlog.h>
#include <swmgr.h>
#include <swmodule.h>
#include <versekey.h>
#include <versificationmgr.h>

#include <algorithm>
#include <cstring>
#include <tuple>

namespace velmar {
namespace {

std::optional<std::string> scriptureFolder;

constexpr const char* kTablesVersification = "Synodal";
// A reading longer than this many verses is a broken table line.
constexpr int kMaxVerses = 2000;

// Latin-1 bytes as UTF-8 (older modules' configuration files).
std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x80) {
      out += c;
    } else {
      out += static_cast<char>(0xC0 | (b >> 6));
      out += static_cast<char>(0x80 | (b & 0x3F));
    }
  }
  return out;
}

// Runs of blanks and line ends as one space, none at the ends.
std::string Tidy(std::string_view text) {
  std::string out;
  bool blank = false;
  for (const char c : text) {
    if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

// Adds one verse to the runs of missing verses.
void AddMissing(std::vector<VerseSpan>& missing, int chapter, int fromVerse, int toVerse) {
  if (!missing.empty()) {
    VerseSpan& last = missing.back();
    if (last.toChapter == chapter && last.toVerse + 1 == fromVerse) {
      last.toVerse = toVerse;
      return;
    }
  }
  missing.push_back({chapter, fromVerse, chapter, toVerse});
}

bool IsLocked(sword::SWModule& module) {
  const char* key = module.getConfigEntry("CipherKey");
  return key != nullptr && *key == '\0';
}

// Where a module stands in the order of preference: lower first.
int PreferenceClass(const BibleInfo& b) {
  const bool synodalName = b.name.find("Synodal") != std::string::npos;
  if (b.language == "ru" && (synodalName || b.versification == kTablesVersification)) return 0;
  if (b.language == "cu" || b.language.starts_with("cu-") || b.language == "chu") return 1;
  if (b.language == "ru" || b.language.starts_with("ru-")) return 2;
  return 3;
}

}  // namespace

struct ScriptureLibrary::Impl {
  std::unique_ptr<sword::SWMgr> manager;
  std::vector<BibleInfo> bibles;

  sword::SWModule* Bible(std::string_view name) const {
    for (const BibleInfo& b : bibles) {
      if (b.name == name) return manager->getModule(b.name.c_str());
    }
    return nullptr;
  }

  void SetOptions(bool headings) const {
    static const char* const kOff[] = {
        "Footnotes",          "Cross-references",  "Strong's Numbers",   "Morphological Tags",
        "Lemmas",             "Words of Christ in Red", "Transliterated Forms", "Glosses",
        "Morpheme Segmentation", "Hebrew Cantillation", "Enumerations",     "Transliteration"};
    for (const char* option : kOff) manager->setGlobalOption(option, "Off");
    manager->setGlobalOption("Textual Variants", "Primary Reading");
    manager->setGlobalOption("Headings", headings ? "On" : "Off");
  }

  // The canonical title a module keeps before verse 1 of a chapter (a
  // psalm's title), "" when it has none.
  std::string ChapterTitle(sword::SWModule& module, const sword::VerseKey& chapterStart) const {
    SetOptions(true);
    module.setKey(chapterStart);
    module.renderText();
    std::string title;
    sword::AttributeTypeList& attributes = module.getEntryAttributes();
    const auto heading = attributes.find("Heading");
    if (heading != attributes.end()) {
      const auto preverse = heading->second.find("Preverse");
      if (preverse != heading->second.end()) {
        for (const auto& [number, text] : preverse->second)
          title += Tidy(std::string_view(module.renderText(text.c_str()).c_str()));
      }
    }
    SetOptions(false);
    return title;
  }
};

ScriptureLibrary::ScriptureLibrary() { Open(scriptureFolder); }

ScriptureLibrary::ScriptureLibrary(const std::string& folder) { Open(folder); }

ScriptureLibrary::~ScriptureLibrary() = default;

void ScriptureLibrary::Open(const std::optional<std::string>& folder) {
  // The window says in Russian what is missing; SWORD's own notes on stderr
  // (no configuration found, a module it can't open) would only repeat it.
  sword::SWLog::getSystemLog()->setLogLevel(0);
  impl_ = std::make_unique<Impl>();
  auto* filters = new sword::MarkupFilterMgr(sword::FMT_PLAIN, sword::ENC_UTF8);
  if (folder) {
    impl_->manager = std::make_unique<sword::SWMgr>(folder->c_str(), true, filters, false, false);
  } else {
    impl_->manager = std::make_unique<sword::SWMgr>(filters);
  }
  for (const auto& [name, module] : impl_->manager->getModules()) {
    if (module == nullptr || std::strcmp(module->getType(), sword::SWMgr::MODTYPE_BIBLES) != 0) continue;
    if (IsLocked(*module)) continue;
    BibleInfo b;
    b.name = name.c_str();
    const char* description = module->getDescription() != nullptr ? module->getDescription() : "";
    b.description = module->getEncoding() == sword::ENC_UTF8 ? std::string(description) : Latin1ToUtf8(description);
    b.language = module->getLanguage() != nullptr ? module->getLanguage() : "";
    const char* v11n = module->getConfigEntry("Versification");
    b.versification = v11n != nullptr && *v11n != '\0' ? v11n : "KJV";
    if (const char* font = module->getConfigEntry("Font"); font != nullptr) b.font = font;
    impl_->bibles.push_back(std::move(b));
  }
  std::stable_sort(impl_->bibles.begin(), impl_->bibles.end(), [](const BibleInfo& a, const BibleInfo& b) {
    return std::make_tuple(PreferenceClass(a), a.name) < std::make_tuple(PreferenceClass(b), b.name);
  });
  impl_->SetOptions(false);
}

const std::vector<BibleInfo>& ScriptureLibrary::Bibles() const { return impl_->bibles; }

std::string ScriptureLibrary::PreferredBible() const {
  return impl_->bibles.empty() ? std::string() : impl_->bibles.front().name;
}

ScripturePassage ScriptureLibrary::Passage(std::string_view moduleName, const ScripturePiece& piece) const {
  ScripturePassage out;
  sword::SWModule* module = impl_->Bible(moduleName);
  if (module == nullptr) return out;
  out.moduleFound = true;

  const sword::VersificationMgr::System* tables =
      sword::VersificationMgr::getSystemVersificationMgr()->getVersificationSystem(kTablesVersification);
  const int bookNumber = piece.book != nullptr && tables != nullptr
                             ? tables->getBookNumberByOSISName(std::string(piece.book->osis).c_str())
                             : -1;
  const sword::VersificationMgr::Book* book = bookNumber > 0 ? tables->getBook(bookNumber - 1) : nullptr;
  const int oldTestamentBooks = tables != nullptr ? tables->getBMAX()[0] : 0;

  sword::VerseKey from;  // a verse as the tables number it
  from.setVersificationSystem(kTablesVersification);
  from.setAutoNormalize(false);
  from.setIntros(true);
  if (book != nullptr) {
    from.setTestament(bookNumber > oldTestamentBooks ? 2 : 1);
    from.setBook(static_cast<char>(bookNumber > oldTestamentBooks ? bookNumber - oldTestamentBooks : bookNumber));
  }
  std::unique_ptr<sword::SWKey> key(module->createKey());
  auto* target = dynamic_cast<sword::VerseKey*>(key.get());
  if (target == nullptr) return out;
  target->setIntros(true);
  const sword::VersificationMgr::System* own =
      sword::VersificationMgr::getSystemVersificationMgr()->getVersificationSystem(target->getVersificationSystem());
  out.bookMissing = piece.book != nullptr && own != nullptr &&
                    own->getBookNumberByOSISName(std::string(piece.book->osis).c_str()) < 0;

  // The verses of the module already taken: several of the tables' verses
  // may be one of the module's (a psalm's title, joined verses).
  std::vector<std::pair<int, int>> taken;
  const auto take = [&](const sword::VerseKey& verse) -> bool {
    const std::pair<int, int> at{verse.getChapter(), verse.getVerse()};
    if (std::find(taken.begin(), taken.end(), at) != taken.end()) return true;
    std::string text;
    if (at.second == 0) {
      sword::VerseKey first(verse);
      first.setVerse(1);
      text = impl_->ChapterTitle(*module, first);
    } else {
      module->setKey(verse);
      text = Tidy(std::string_view(module->renderText().c_str()));
    }
    if (text.empty()) return false;
    taken.push_back(at);
    out.verses.push_back({at.first, at.second, std::move(text)});
    return true;
  };

  int budget = kMaxVerses;
  const auto readVerse = [&](int chapter, int verse) {
    from.setChapter(chapter);
    from.setVerse(verse);
    target->clearBounds();
    target->positionFrom(from);
    if (target->popError() != 0) {
      AddMissing(out.missing, chapter, verse, verse);
      return;
    }
    bool found = false;
    if (target->isBoundSet()) {
      sword::VerseKey at(target->getLowerBound());
      const sword::VerseKey last(target->getUpperBound());
      at.setIntros(true);
      for (int steps = 0; at.compare(last) <= 0 && steps < 200; ++steps) {
        if (at.getChapter() != chapter || at.getVerse() != verse) out.renumbered = true;
        found = take(at) || found;
        at.increment(1);
        if (at.popError() != 0) break;
      }
    } else {
      const sword::VerseKey at(*target);
      if (at.getChapter() != chapter || at.getVerse() != verse) out.renumbered = true;
      found = take(at);
    }
    if (!found) AddMissing(out.missing, chapter, verse, verse);
  };

  for (const VerseSpan& span : piece.spans) {
    const bool ordered = span.fromChapter >= 1 && span.fromVerse >= 1 &&
                         (span.toChapter > span.fromChapter ||
                          (span.toChapter == span.fromChapter && span.toVerse >= span.fromVerse));
    if (book == nullptr || !ordered) {
      out.missing.push_back(span);
      continue;
    }
    for (int chapter = span.fromChapter; chapter <= span.toChapter; ++chapter) {
      const int first = chapter == span.fromChapter ? span.fromVerse : 1;
      if (chapter > book->getChapterMax()) {
        out.missing.push_back({chapter, first, span.toChapter, span.toVerse});
        break;
      }
      const int verses = book->getVerseMax(chapter);
      const int last = chapter == span.toChapter ? span.toVerse : verses;
      for (int verse = first; verse <= std::min(last, verses); ++verse) {
        if (--budget < 0) break;
        readVerse(chapter, verse);
      }
      if (last > verses) AddMissing(out.missing, chapter, std::max(first, verses + 1), last);
    }
  }
  return out;
}

void SetScriptureFolder(std::optional<std::string> folder) { scriptureFolder = std::move(folder); }

}  // namespace velmar
