// The captions of the window and the message table, in Turkish and English.
#pragma once

#include "common/messages.h"

#include <array>
#include <cstddef>
#include <span>
#include <string>

namespace zerkavi {

enum class Language { Turkish, English };

// One caption: the object name of the control ("But_mertebe(0)" for item 0 of an array,
// "ArayüzKalıp" for the window title) and its text in both languages, UTF-8.
struct Caption {
    const char* control;
    const char* english;
    const char* turkish;
};

std::span<const Caption> captionTable();
const char* captionFor(const Caption& c, Language lang);

// The texts of the message table of one language, looked up by message.
class MessageTexts {
  public:
    const std::string& operator[](Message m) const {
        static const std::string none;
        const auto i = static_cast<std::size_t>(m);
        return i < texts_.size() ? texts_[i] : none;
    }
    std::string& operator[](Message m) { return texts_.at(static_cast<std::size_t>(m)); }

  private:
    std::array<std::string, kLastMessage + 1> texts_; // 11, 12 and Message::none stay empty
};

// Everything a language switch replaces besides the captions.
struct LanguageTexts {
    MessageTexts message;
    std::string pauseWord;
    std::string continueWord;
    std::string exampleText; // the worked plan example, lines joined by CR LF
};

const LanguageTexts& languageTexts(Language lang);

} // namespace zerkavi
