// The Export menu of the window: the usul (or, on the plan screen, the selected plan) as
// sound or MIDI, the usul as MusicXML, LilyPond or a picture of its notation. Each item
// asks for the file through a save dialog opening in the user's documents folder; the
// format follows the extension chosen there.
#pragma once

#include "exchange/export.h"
#include "plans/texts.h"

#include <QObject>
#include <QString>

#include <filesystem>
#include <functional>
#include <span>

class QAction;
class QMenu;
class QWidget;

namespace zerkavi {

class ArayüzKalıp;
class MessageBoxes;

// A child of the window, which deletes it.
class ExportMenu : public QObject {
  public:
    // Puts the menu into the window's menu bar, before the loudness menu.
    ExportMenu(ArayüzKalıp& window, MessageBoxes& messages);

    void applyLanguage(Language lang);

    // Asks for the file to write: the caption, the proposed path and the filter of the
    // dialog; an empty answer is a cancel. A standard save dialog on the window unless
    // replaced (tests answer without a dialog).
    std::function<QString(QWidget* parent, const QString& caption, const QString& proposed,
                          const QString& filter)>
        chooseFile;

    QMenu* menu = nullptr;
    QAction *sound = nullptr, *midi = nullptr, *musicXml = nullptr, *lilyPond = nullptr,
            *picture = nullptr;

  private:
    enum class Kind { Sound, Midi, MusicXml, LilyPond, Picture };
    void run(Kind kind);
    // The file for `kind`, the dialog proposing `name` in the documents folder; empty when
    // cancelled. A name without one of the item's extensions gets the first of them.
    std::filesystem::path askFile(Kind kind, QAction* item, const QString& name);
    void reportFailure(const std::filesystem::path& file);
    bool onPlanScreen() const;

    ArayüzKalıp& window_;
    MessageBoxes& messages_;
    Language language_ = Language::Turkish;
};

// A file name proposed for an usul or plan name: trimmed, the Turkish letters folded,
// characters no file system takes turned into "-"; `fallback` when nothing is left.
QString proposedFileName(const QString& name, const QString& fallback);

} // namespace zerkavi
