// The captions of the window and the message table, in Turkish and English.
#pragma once

#include "common/messages.h"

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

// Everything a language switch replaces besides the captions.
struct LanguageTexts {
    std::string message[kLastMessage + 1]; // 1..kLastMessage; 11 and 12 stay empty
    std::string pauseWord;
    std::string continueWord;
    std::string exampleText; // the worked plan example, lines joined by CR LF
};

const LanguageTexts& languageTexts(Language lang);

} // namespace zerkavi
