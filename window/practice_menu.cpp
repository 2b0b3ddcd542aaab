#include "window/practice_menu.h"

#include "window/arayuz_kalip.h"

#include "sound/loudness.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>
#include <QSpinBox>
#include <QTimer>

#include <chrono>
#include <map>

namespace zerkavi {

namespace {

constexpr int kFollowMs = 10;

QString text(Language lang, const char* english, const char* turkish) {
    return QString::fromUtf8(lang == Language::English ? english : turkish);
}

int checkedIndex(const auto& items, int fallback) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] && items[i]->isChecked()) return int(i);
    return fallback;
}

} // namespace

PracticeMenu::PracticeMenu(ArayüzKalıp& window) : QObject(&window), window_(window) {
    menu = new QMenu(&window);
    menu->setObjectName(QString::fromUtf8("Mn_çalışma"));
    menu->menuAction()->setObjectName(menu->objectName());
    window.menuBar()->addMenu(menu);
    window.allControls.push_back(menu->menuAction());
    auto submenu = [this](const char* name) {
        QMenu* m = menu->addMenu(QString());
        m->setObjectName(QString::fromUtf8(name));
        return m;
    };
    auto choice = [this](QMenu* in, QActionGroup* group, const QString& name,
                         const QString& caption) {
        QAction* a = in->addAction(caption);
        a->setObjectName(name);
        a->setCheckable(true);
        group->addAction(a);
        return a;
    };
    countInMenu = submenu("Mn_sayarakGiriş");
    auto* group = new QActionGroup(this);
    for (int n = 0; n <= kMaxCountIn; ++n)
        countInItems[std::size_t(n)] =
            choice(countInMenu, group, QStringLiteral("Mn_sayma(%1)").arg(n), QString::number(n));
    countInItems[0]->setChecked(true);
    clickItem = menu->addAction(QString());
    clickItem->setObjectName(QString::fromUtf8("Mn_tıkırtı"));
    clickItem->setCheckable(true);
    clickVolumeMenu = submenu("Mn_tıkırtıSesi");
    group = new QActionGroup(this);
    for (std::size_t i = 0; i < clickVolumeItems.size(); ++i)
        clickVolumeItems[i] = choice(clickVolumeMenu, group, QStringLiteral("Mn_tıkSes(%1)").arg(i),
                                     QString::number(20 * (i + 1)) + QStringLiteral(" %"));
    clickVolumeItems[2]->setChecked(true);
    muteMenu = submenu("Mn_el");
    group = new QActionGroup(this);
    for (std::size_t i = 0; i < muteItems.size(); ++i)
        muteItems[i] = choice(muteMenu, group, QStringLiteral("Mn_el(%1)").arg(i), QString());
    muteItems[0]->setChecked(true);
    masterMenu = submenu("Mn_anaSes");
    group = new QActionGroup(this);
    for (std::size_t i = 0; i < masterItems.size(); ++i) {
        masterItems[i] = choice(masterMenu, group, QStringLiteral("Mn_anaSes(%1)").arg(i),
                                QString::number(10 * (i + 1)) + QStringLiteral(" %"));
        connect(masterItems[i], &QAction::triggered, this,
                [i] { AudioOutput::setMasterVolume(double(i + 1) / 10); });
    }
    masterItems.back()->setChecked(true);
    menu->addSeparator();
    tapItem = menu->addAction(QString());
    tapItem->setObjectName(QStringLiteral("Mn_tempoVur"));
    tapItem->setShortcut(QKeySequence(Qt::Key_T));
    window.addAction(tapItem); // works while the menu bar is locked
    connect(tapItem, &QAction::triggered, this, [this] { tap(); });
    trainerItem = menu->addAction(QString());
    trainerItem->setObjectName(QString::fromUtf8("Mn_hızÇalıştırıcı"));
    connect(trainerItem, &QAction::triggered, this, [this] { editTrainer(); });

    // The third play mode sits under Planned in the Play frame.
    Option5 = new QRadioButton(window.Frame2);
    Option5->setObjectName(QStringLiteral("Option5"));
    Option5->setGeometry(100, 69, 92, 20);
    window.Option2->group()->addButton(Option5);
    window.allControls.push_back(Option5);

    follow = new QTimer(this);
    follow->setTimerType(Qt::PreciseTimer);
    connect(follow, &QTimer::timeout, this, [this] { followStream(); });
    tapClock = [] {
        using namespace std::chrono;
        return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    };
    askTrainer = [this](SpeedTrainer& t, bool& on) {
        QDialog d(&window_);
        d.setObjectName(QString::fromUtf8("hızÇalıştırıcı"));
        d.setWindowTitle(trainerItem->text().remove(QStringLiteral("…")));
        auto* form = new QFormLayout(&d);
        const Language lang = window_.language;
        auto* use = new QCheckBox(text(lang, "Use the speed trainer", "Hız çalıştırıcıyı kullan"));
        use->setChecked(on);
        form->addRow(use);
        auto spin = [&](const char* en, const char* tr, int lo, int hi, int value) {
            auto* s = new QSpinBox;
            s->setRange(lo, hi);
            s->setValue(value);
            form->addRow(text(lang, en, tr), s);
            return s;
        };
        QSpinBox* start = spin("Start tempo", "Başlangıç temposu", kMinBpm, kMaxBpm, t.startBpm);
        QSpinBox* step = spin("Step (+/-)", "Adım (+/-)", -50, 50, t.stepBpm);
        QSpinBox* every = spin("Every … cycles", "Kaç devirde bir", 1, 99, t.everyCycles);
        QSpinBox* last = spin("Final tempo", "Son tempo", kMinBpm, kMaxBpm, t.finalBpm);
        auto* keep = new QCheckBox(
            text(lang, "Keep the final tempo (do not stop)", "Son tempoda devam et (durma)"));
        keep->setChecked(t.keepFinal);
        form->addRow(keep);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        form->addRow(buttons);
        connect(buttons, &QDialogButtonBox::accepted, &d, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, &d, &QDialog::reject);
        if (d.exec() != QDialog::Accepted) return false;
        t = {start->value(), step->value(), every->value(), last->value(), keep->isChecked()};
        on = use->isChecked();
        return true;
    };
    applyLanguage(Language::Turkish);
}

void PracticeMenu::applyLanguage(Language lang) {
    menu->setTitle(text(lang, "Practice", "Çalışma"));
    countInMenu->setTitle(text(lang, "Count-in", "Sayarak giriş"));
    countInItems[0]->setText(text(lang, "None", "Yok"));
    clickItem->setText(text(lang, "Beat click", "Vuruş tıkırtısı"));
    clickVolumeMenu->setTitle(text(lang, "Click volume", "Tıkırtı sesi"));
    muteMenu->setTitle(text(lang, "Hands", "Eller"));
    muteItems[0]->setText(text(lang, "Both hands", "İki el"));
    muteItems[1]->setText(text(lang, "Düm only", "Yalnız Düm"));
    muteItems[2]->setText(text(lang, "Tek only", "Yalnız Tek"));
    masterMenu->setTitle(text(lang, "Master volume", "Ana ses"));
    tapItem->setText(text(lang, "Tap tempo", "Tempoyu vurarak ver"));
    trainerItem->setText(text(lang, "Speed trainer…", "Hız çalıştırıcı…"));
    Option5->setText(text(lang, "Endless", "Sonsuz"));
}

int PracticeMenu::countIn() const {
    return checkedIndex(countInItems, 0);
}
bool PracticeMenu::click() const {
    return clickItem->isChecked();
}
int PracticeMenu::clickVolume() const {
    return 20 * (checkedIndex(clickVolumeItems, 2) + 1);
}
std::optional<Hand> PracticeMenu::muted() const {
    // "Düm only" mutes the Tek strokes and the other way round.
    switch (checkedIndex(muteItems, 0)) {
    case 1:
        return Hand::Tek;
    case 2:
        return Hand::Dum;
    default:
        return std::nullopt;
    }
}
int PracticeMenu::masterVolume() const {
    return 10 * (checkedIndex(masterItems, 9) + 1);
}
bool PracticeMenu::endless() const {
    return Option5->isChecked();
}

void PracticeMenu::restore(const QSettings& s) {
    auto pick = [&](auto& items, const char* key, int fallback) {
        const int i = s.value(QString::fromLatin1(key), fallback).toInt();
        if (i >= 0 && i < int(items.size())) items[std::size_t(i)]->setChecked(true);
    };
    pick(countInItems, "practice/countIn", 0);
    pick(clickVolumeItems, "practice/clickVolume", 2);
    pick(muteItems, "practice/hands", 0);
    pick(masterItems, "practice/masterVolume", 9);
    AudioOutput::setMasterVolume(masterVolume() / 100.0);
    clickItem->setChecked(s.value(QStringLiteral("practice/click"), false).toBool());
    if (s.value(QStringLiteral("practice/endless"), false).toBool()) Option5->setChecked(true);
    const SpeedTrainer t{s.value(QStringLiteral("trainer/start"), 80).toInt(),
                         s.value(QStringLiteral("trainer/step"), 4).toInt(),
                         s.value(QStringLiteral("trainer/every"), 2).toInt(),
                         s.value(QStringLiteral("trainer/final"), 120).toInt(),
                         s.value(QStringLiteral("trainer/keep"), false).toBool()};
    if (validTrainer(t)) {
        trainer = t;
        trainerOn = s.value(QStringLiteral("trainer/on"), false).toBool();
    }
}

void PracticeMenu::save(QSettings& s) const {
    s.setValue(QStringLiteral("practice/countIn"), countIn());
    s.setValue(QStringLiteral("practice/click"), click());
    s.setValue(QStringLiteral("practice/clickVolume"), checkedIndex(clickVolumeItems, 2));
    s.setValue(QStringLiteral("practice/hands"), checkedIndex(muteItems, 0));
    s.setValue(QStringLiteral("practice/masterVolume"), checkedIndex(masterItems, 9));
    s.setValue(QStringLiteral("practice/endless"), endless());
    s.setValue(QStringLiteral("trainer/on"), trainerOn);
    s.setValue(QStringLiteral("trainer/start"), trainer.startBpm);
    s.setValue(QStringLiteral("trainer/step"), trainer.stepBpm);
    s.setValue(QStringLiteral("trainer/every"), trainer.everyCycles);
    s.setValue(QStringLiteral("trainer/final"), trainer.finalBpm);
    s.setValue(QStringLiteral("trainer/keep"), trainer.keepFinal);
}

bool PracticeMenu::wantsStream() const {
    return !window_.Option4->isChecked() &&
           (endless() || countIn() > 0 || click() || muted() || trainerOn);
}

std::shared_ptr<const PracticeCycle> PracticeMenu::renderCycle(int bpm, UsulRender* render) {
    const PracticeSettings p{countIn(), click(), clickVolume(), muted()};
    const UsulRenderSettings s{bpm, window_.unitNote, window_.chosenInstrument(), false};
    auto c = std::make_shared<PracticeCycle>(practiceCycle(
        window_.currentUsul, s, p, window_.workingFolder(), window_.sampleReader, render));
    return c->samples.empty() ? nullptr : c;
}

void PracticeMenu::start() {
    ArayüzKalıp& w = window_;
    if (w.currentUsul.totalLength == 0) {
        w.showMessage(Message::noBeats);
        return;
    }
    w.EkranKiliti(Lock::Playing);
    loopedFileBpm_ = 0;
    const bool training = trainerOn && validTrainer(trainer);
    UsulRender first;
    const auto cycle = renderCycle(training ? trainerBpm(trainer, 0) : w.bpm(), &first);
    for (WavStatus s : first.messages)
        if (const char* t = wavStatusMessage(s)) w.messageBoxes().inform(QString::fromUtf8(t));
    if (!cycle) {
        w.EkranKiliti(Lock::Idle);
        return;
    }
    w.schedule = first;
    w.currentUsul.totalLength = std::int16_t(first.timing.totalLength64ths);
    CycleStream::NextCycle next;
    std::map<int, CycleStream::CyclePtr> byTempo{{cycle->bpm, cycle}};
    if (training) {
        // Every tempo of the trainer is mixed now: the audio thread only picks them.
        for (int k = 0; k < trainerCycles(trainer); ++k)
            if (const int bpm = trainerBpm(trainer, k); !byTempo.contains(bpm))
                byTempo[bpm] = renderCycle(bpm);
        next = [t = trainer, byTempo](std::int64_t i, CycleStream::CyclePtr& c) {
            if (!t.keepFinal && i >= trainerCycles(t)) return false;
            c = byTempo.at(trainerBpm(t, int(std::min<std::int64_t>(i, trainerCycles(t)))));
            return c != nullptr;
        };
    } else if (!endless()) {
        const int cycles = w.Option3->isChecked() ? loopedCycles(first.timing.cycleSamples) : 1;
        next = [cycles](std::int64_t i, CycleStream::CyclePtr&) { return i < cycles; };
    }
    // Looped and Endless take a new tempo while they play; the trainer sets its own.
    const bool tempoFree = !training && (endless() || w.Option3->isChecked());
    std::vector<std::int16_t> counting = countInSound(first, w.unitNote, countIn(), clickVolume());
    // One gain for the whole run, so a new tempo does not jump in loudness: from the loudest
    // of what may play, the fastest tempo (where strokes overlap most) included.
    if (tempoFree && !byTempo.contains(kMaxBpm)) byTempo[kMaxBpm] = renderCycle(kMaxBpm);
    int peak = peakOf(counting);
    for (const auto& [bpm, c] : byTempo)
        if (c) peak = std::max(peak, peakOf(c->samples));
    stream_ = std::make_shared<CycleStream>(std::move(counting), cycle, std::move(next));
    w.currentStroke = 0;
    w.planPlaying = true;
    w.usulPlaying = true;
    w.media.MciStopClose(QString::fromUtf8(kMediaAlias));
    player.start(stream_, w.media.clockForced(), bufferMs, playClock, playbackGain(peak));
    w.Picture1->setPenWidth(4);
    w.drawMarker(1);
    if (w.markerMoved) w.markerMoved(1);
    freeTempo(tempoFree);
    follow->start(kFollowMs);
}

void PracticeMenu::freeTempo(bool free) {
    for (QWidget* c :
         {static_cast<QWidget*>(window_.VScroll1), static_cast<QWidget*>(window_.Label5),
          static_cast<QWidget*>(window_.Picture8)})
        c->setEnabled(free);
}

void PracticeMenu::filePlaying() {
    loopedFileBpm_ = window_.Option3->isChecked() ? window_.bpm() : 0;
    freeTempo(loopedFileBpm_ != 0);
}

bool PracticeMenu::takeOverLoopedFile() {
    ArayüzKalıp& w = window_;
    const int bpm = std::exchange(loopedFileBpm_, 0);
    if (bpm == 0 || !w.usulPlaying) return false;
    // The file's cycle, sample for sample, as many times as the file holds it.
    const auto cycle = renderCycle(bpm);
    if (!cycle) return false;
    const int cycles = w.schedule.cycles;
    auto stream = std::make_shared<CycleStream>(
        std::vector<std::int16_t>(), cycle,
        [cycles](std::int64_t i, CycleStream::CyclePtr&) { return i < cycles; });
    MediaDevice::HandOver h = w.media.handOver(
        QString::fromUtf8(kMediaAlias),
        [&stream](std::int64_t at) {
            stream->startAt(at);
            return StreamPlayer::sourceOf(stream);
        },
        bufferMs);
    if (!h.ok) return false;
    if (!h.output) stream->startAt(h.atSample);
    stream_ = stream;
    player.continueFrom(stream, std::move(h.output), h.atSample, playClock);
    // The stream moves the marker and ends the play from here on.
    w.strokeTimers.killAll();
    w.endTimer.kill(kUsulEndTimerId);
    follow->start(kFollowMs);
    return true;
}

void PracticeMenu::stop() {
    loopedFileBpm_ = 0;
    follow->stop();
    player.stop();
    stream_.reset();
    window_.VScroll1_Change(); // the tempo label shows the bar again after the trainer
}

void PracticeMenu::followStream() {
    ArayüzKalıp& w = window_;
    const CycleStream::Place p = player.place();
    if (p.ended) {
        w.But_dur_Click();
        return;
    }
    const int k = p.countIn ? 1 : p.stroke;
    if (k != w.currentStroke + 1) {
        w.drawMarker(w.currentStroke + 1);
        w.drawMarker(k);
        w.currentStroke = k - 1;
        if (w.markerMoved) w.markerMoved(k);
    }
    if (trainerOn) w.Label5->setText(QStringLiteral("=") + QString::number(p.bpm));
}

void PracticeMenu::tempoChanged() {
    if (trainerOn || (!stream_ && !takeOverLoopedFile())) return;
    if (auto c = renderCycle(window_.bpm())) stream_->changeCycle(std::move(c));
}

bool PracticeMenu::labelPressed(std::uint64_t eventStamp) {
    // The window sees a press on the label twice while the picker watches every press.
    if (eventStamp != 0 && eventStamp == lastLabelPress_) return false;
    lastLabelPress_ = eventStamp;
    return tap();
}

bool PracticeMenu::tap() {
    taps_.tap(tapClock());
    const auto bpm = taps_.bpm();
    if (!bpm || !window_.VScroll1->isEnabled()) return false;
    window_.VScroll1->setValue(kTempoBarSum - *bpm);
    window_.closePicker();
    return true;
}

void PracticeMenu::editTrainer() {
    SpeedTrainer t = trainer;
    bool on = trainerOn;
    if (!askTrainer(t, on)) return;
    if (!validTrainer(t)) {
        window_.messageBoxes().inform(
            text(window_.language, "The step must lead from the start tempo to the final one.",
                 "Adım, başlangıç temposundan son tempoya götürmeli."));
        return;
    }
    trainer = t;
    trainerOn = on;
}

} // namespace zerkavi
