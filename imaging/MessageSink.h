#pragma once
// MessageSink: how the core hands a notice for the user to its caller. The GUI shows each text
// in a message box; the command line prints it as a line on stderr; tests collect them.

#include <functional>
#include <string>

namespace velmora {

/// Receives one notice text. An empty function drops the notices.
using MessageSink = std::function<void(const std::string&)>;

/// Calls sink with text when sink is set.
inline void Notify(const MessageSink& sink, const std::string& text) {
    if (sink) sink(text);
}

}  // namespace velmora
