// The Practice menu and what it plays: a count-in, the beat click and its volume, one hand
// muted, the master volume, tap tempo and the speed trainer, and the Endless play mode
// beside Once and Looped. With none of them chosen, Start plays the rendered file; with
// any of them, the usul is played as a stream of cycles from memory, which also lets the
// tempo change while it plays (Looped and Endless). A looped file hands over to such a
// stream of its own cycle at the first change of tempo.
#pragma once

#include "plans/texts.h"
#include "platform/stream_player.h"
#include "sound/practice.h"

#include <QObject>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QMenu;
class QRadioButton;
class QSettings;
class QTimer;

namespace zerkavi {

class ArayüzKalıp;

// A child of the window, which deletes it.
class PracticeMenu : public QObject {
  public:
    explicit PracticeMenu(ArayüzKalıp& window);

    void applyLanguage(Language lang);
    void restore(const QSettings& s);
    void save(QSettings& s) const;

    // Start goes through start() when this is true.
    bool wantsStream() const;
    void start();
    // Ends the stream and the marker's following; the window's Stop does the rest.
    void stop();
    bool playing() const { return player.playing(); }
    // Start played the rendered file: in Looped mode the tempo stays free.
    void filePlaying();
    // The tempo bar moved: while a stream plays, the new tempo from the next stroke. A looped
    // file hands over to a stream of its cycle, from the sample it has come to.
    void tempoChanged();
    // True when the taps so far set the tempo.
    bool tap();
    // A press on the tempo label counts as a tap; `eventStamp` is the event's time stamp.
    // True when it set the tempo, and the press should do nothing more.
    bool labelPressed(std::uint64_t eventStamp);

    // Choices, as the menu shows them.
    int countIn() const;
    bool click() const;
    int clickVolume() const;
    std::optional<Hand> muted() const;
    int masterVolume() const;
    bool endless() const;
    SpeedTrainer trainer;
    bool trainerOn = false;

    // Asks for the speed trainer's values: a dialog unless replaced (tests answer).
    std::function<bool(SpeedTrainer& t, bool& on)> askTrainer;
    // The time of a tap in ms; a steady clock unless replaced.
    std::function<std::int64_t()> tapClock;
    StreamPlayer::ClockMs playClock; // for the clock of a stream without a device
    // The output's buffer while a stream plays: a tempo change is heard after it (and the
    // stroke then sounding), so it is kept short; the feeding thread keeps it filled. With
    // 20 to 60 ms the recorded gaps under load did not depend on it (tempo_change_bench).
    int bufferMs = 40;
    StreamPlayer player;

    QMenu *menu = nullptr, *countInMenu = nullptr, *clickVolumeMenu = nullptr, *muteMenu = nullptr,
          *masterMenu = nullptr;
    std::array<QAction*, kMaxCountIn + 1> countInItems{};
    std::array<QAction*, 5> clickVolumeItems{}; // 20, 40, 60, 80, 100 %
    std::array<QAction*, 3> muteItems{};        // both hands, Düm only, Tek only
    std::array<QAction*, 10> masterItems{};     // 10 .. 100 %
    QAction *clickItem = nullptr, *trainerItem = nullptr, *tapItem = nullptr;
    QRadioButton* Option5 = nullptr; // Endless, in the Play frame
    QTimer* follow = nullptr;        // moves the marker while a stream plays

  private:
    std::shared_ptr<const PracticeCycle> renderCycle(int bpm, UsulRender* render = nullptr);
    void freeTempo(bool free);
    bool takeOverLoopedFile();
    void followStream();
    void editTrainer();

    ArayüzKalıp& window_;
    std::shared_ptr<CycleStream> stream_;
    TapTempo taps_;
    std::uint64_t lastLabelPress_ = 0;
    int loopedFileBpm_ = 0; // while Start's looped file plays
};

} // namespace zerkavi
