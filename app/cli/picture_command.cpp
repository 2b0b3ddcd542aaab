#include "app/cli/picture_command.h"

#include "common/messages.h"
#include "notation/glyphs.h"

#include <QGuiApplication>

namespace zerkavi::cli {

PictureResult writeUsulPicture(const UsulRecord& usul, Language lang,
                               const std::filesystem::path& file) {
    // Refused before any Gui is started.
    if (MevcutHalka(usul) == 0) return {Message::noBeats, false, {}};
    // Text needs the font database of a Gui application.
    char program[] = "zerkavi-cli", option[] = "-platform", platform[] = "offscreen";
    char* argv[] = {program, option, platform, nullptr};
    int argc = 3;
    QGuiApplication app(argc, argv);

    const LanguageTexts& texts = languageTexts(lang);
    const QImage strip = builtInGlyphStrip();
    const GlyphTable glyphs = largeGlyphBand();
    const NotationStyle style{strip,
                              glyphs,
                              {QString::fromStdString(texts.message[Message::letterStrong]),
                               QString::fromStdString(texts.message[Message::letterMedium]),
                               QString::fromStdString(texts.message[Message::letterWeak])},
                              notationFont(8)};
    // The stored name as the name box shows it: NULs of an old slot as blanks.
    QString name = QString::fromStdU32String(usul.name);
    name.replace(QChar(0), QChar(' '));
    return writeNotationPicture(usul, style, name, file);
}

} // namespace zerkavi::cli
