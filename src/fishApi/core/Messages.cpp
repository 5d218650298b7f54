#include "Messages.h"

#include <mutex>
#include <unordered_map>

namespace fish {

namespace {

// The translator and the texts it gave, by the address of their Russian
// source (each literal is looked up once). Guarded: the drawing of a
// project computes on two threads, and a failure met there is said there.
struct TCatalogue {
  std::mutex Lock;
  TTranslator Translate;
  std::unordered_map<const char*, std::string> Said;
};

TCatalogue& catalogue() {
  static TCatalogue c;
  return c;
}

}  // namespace

void setTranslator(TTranslator translator) {
  TCatalogue& c = catalogue();
  std::lock_guard<std::mutex> hold(c.Lock);
  c.Translate = std::move(translator);
  c.Said.clear();
}

bool translated() {
  TCatalogue& c = catalogue();
  std::lock_guard<std::mutex> hold(c.Lock);
  return static_cast<bool>(c.Translate);
}

std::string say(TMsgId id) {
  if (id.Source == nullptr) return {};
  TCatalogue& c = catalogue();
  std::lock_guard<std::mutex> hold(c.Lock);
  if (!c.Translate) return id.Source;
  auto found = c.Said.find(id.Source);
  if (found == c.Said.end()) {
    std::string text = c.Translate(id.Context, id.Source);
    found = c.Said.emplace(id.Source, text.empty() ? std::string(id.Source) : std::move(text)).first;
  }
  return found->second;
}

std::string fillArgs(std::string_view pattern, const std::string_view* args, std::size_t count) {
  std::string out;
  out.reserve(pattern.size());
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char ch = pattern[i];
    if (ch == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
      std::size_t number = static_cast<std::size_t>(pattern[i + 1] - '0');
      std::size_t digits = 1;
      if (i + 2 < pattern.size() && pattern[i + 2] >= '0' && pattern[i + 2] <= '9') {
        number = number * 10 + static_cast<std::size_t>(pattern[i + 2] - '0');
        digits = 2;
      }
      if (number <= count) {
        out += args[number - 1];
        i += digits;
        continue;
      }
    }
    out += ch;
  }
  return out;
}

std::string say(TMsgId id, std::initializer_list<std::string_view> args) {
  return fillArgs(say(id), args.begin(), args.size());
}

TMessage::TMessage(TMsgId id, std::initializer_list<std::string_view> args, std::initializer_list<TMessage> said)
    : Id(id), Args(args.begin(), args.end()), Said(said) {}

std::string TMessage::text() const {
  std::vector<std::string> inner;
  inner.reserve(Said.size());
  for (const TMessage& m : Said) inner.push_back(m.text());
  std::vector<std::string_view> views(Args.begin(), Args.end());
  views.insert(views.end(), inner.begin(), inner.end());
  return fillArgs(say(Id), views.data(), views.size());
}

}  // namespace fish
