// The texts the user reads, as message ids with their values.
//
// The engine speaks Russian of its own: a message id is its Russian text
// (with %1, %2, ... where values go) and a context that groups it for the
// translator. The GUI and the command-line tool install a translator that
// looks the text up in the chosen language (Qt Linguist's files); with none
// installed every text is the Russian as written.
//
// Texts are marked FISH_TR("context", "текст"): the translations' tool
// collects every such mark from the sources, so a text must stand there as a
// literal, never built from pieces.
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace fish {

struct TMsgId {
  const char* Context;
  const char* Source;  // Russian, UTF-8
};

#define FISH_TR(context, source) (::fish::TMsgId{context, source})

// Turns an id into its text in the chosen language; an empty result keeps the
// Russian (a text not yet translated).
using TTranslator = std::function<std::string(const char* context, const char* source)>;

// Installs the translator every later text goes through; an empty one brings
// back the Russian. Set it while no computation runs (the language menu, the
// start of a program): texts already made keep their language.
void setTranslator(TTranslator translator);

// Whether a translator is installed (the texts are not the Russian sources).
bool translated();

// The text of `id` in the chosen language.
std::string say(TMsgId id);

// The same, with %1, %2, ... replaced by `args` in order. A % not followed by
// the number of a value stands as it is.
std::string say(TMsgId id, std::initializer_list<std::string_view> args);

// A message kept as id and values, so that it can be said again in another
// language (a failure shown after the language changed). A value that is a
// text of its own (a reason, a unit's word) is kept as a message in Said and
// said again with it: Said[0] fills the placeholder after the last of Args.
struct TMessage {
  TMsgId Id{};
  std::vector<std::string> Args;
  std::vector<TMessage> Said;

  TMessage() = default;
  TMessage(TMsgId id, std::initializer_list<std::string_view> args = {}, std::initializer_list<TMessage> said = {});
  bool empty() const { return Id.Source == nullptr; }
  std::string text() const;  // in the language chosen now
};

// Replaces %1..%99 in `pattern` by `args` (the part shared by say and TMessage).
std::string fillArgs(std::string_view pattern, const std::string_view* args, std::size_t count);

}  // namespace fish
