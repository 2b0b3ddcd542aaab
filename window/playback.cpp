// Tempo controls of the Play strip: the tempo bar and its label, the metronome picker and
// the unit-note picture.
#include "window/arayuz_kalip.h"

#include "common/rounding.h"
#include "notation/geometry.h"
#include "sound/progress.h"
#include "sound/sample_bank.h"
#include "window/practice_menu.h"

#include <QAction>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

namespace zerkavi {

namespace {

// Metronome values of the picker's 40 cells, row by row.
constexpr int kPickerValues[40] = {20,  40,  42,  44,  46,  48,  50,  52,  54,  56,
                                   58,  60,  63,  66,  69,  72,  76,  80,  84,  88,
                                   92,  96,  100, 104, 108, 112, 116, 120, 126, 132,
                                   138, 144, 152, 160, 168, 176, 184, 192, 200, 208};

} // namespace

void ArayüzKalıp::connectPlayback() {
    connect(But_Baslat, &QPushButton::clicked, this, [this] { But_Baslat_Click(); });
    connect(But_Dur, &QPushButton::clicked, this, [this] { But_dur_Click(); });
    // Change and scroll of the tempo bar do the same.
    connect(VScroll1, &QScrollBar::valueChanged, this, [this] { VScroll1_Change(); });
}

bool ArayüzKalıp::baslat_bindir() {
    const SampleBankResult bank = prepareSampleBank(workingFolder(), mediumFactor, weakFactor);
    for (const char* text : bank.messages)
        messages_.inform(QString::fromUtf8(text));
    if (!bank.fatal) return true;
    // Without its sound files the program cannot play: it says so and ends.
    showMessage(Message::soundFileError);
    return false;
}

void ArayüzKalıp::loudnessChosen(std::array<QAction*, 10>& items, float& factor, int index) {
    for (int i = 2; i <= 9; ++i)
        items[std::size_t(i)]->setChecked(i == index);
    factor = float(index / 10.0);
    if (!baslat_bindir()) close();
}

void ArayüzKalıp::Mn_Oseviye_Click(int index) {
    loudnessChosen(Mn_Oseviye, mediumFactor, index);
}

void ArayüzKalıp::Mn_Zseviye_Click(int index) {
    loudnessChosen(Mn_Zseviye, weakFactor, index);
}

std::string ArayüzKalıp::chosenInstrument() const {
    int option = 2;
    for (int i = 1; i <= 3; ++i)
        if (Option1[std::size_t(i)]->isChecked()) option = i;
    return instrumentCode(option);
}

void ArayüzKalıp::But_Baslat_Click() {
    if (currentUsul.totalLength == 0) {
        showMessage(Message::noBeats);
        return;
    }
    if (practice->wantsStream()) {
        practice->start();
        return;
    }
    EkranKiliti(Lock::Playing);
    const UsulRenderSettings settings{bpm(), unitNote, chosenInstrument(), Option3->isChecked()};
    schedule = renderUsulToFile(currentUsul, settings, workingFolder(), sampleReader);
    playLengthMs = schedule.playLengthMs;
    if (schedule.status == UsulRenderStatus::Ok)
        currentUsul.totalLength = std::int16_t(schedule.timing.totalLength64ths);
    for (WavStatus s : schedule.messages)
        if (const char* text = wavStatusMessage(s)) messages_.inform(QString::fromUtf8(text));
    currentStroke = 0;
    planPlaying = true;
    usulPlaying = true;
    media.MciStopClose(QString::fromUtf8(kMediaAlias));
    // An usul always plays from its beginning, whatever a plan played before.
    media.MciOpenPlay(QString::fromStdString((workingFolder() / kUsulFileName).string()),
                      QString::fromUtf8(kMediaAlias), 0);
    endTimer.start(kUsulEndTimerId, int(roundHalfEven(playLengthMs)),
                   [this](int) { But_dur_Click(); });
    Picture1->setPenWidth(4);
    drawMarker(1);
    if (markerMoved) markerMoved(1);
    for (int j = 1; j < schedule.strokeCount(); ++j)
        strokeTimers.start(j, schedule.stroke(j).endMs, [this](int id) { StrokeTimerProc(id); });
    practice->filePlaying();
}

void ArayüzKalıp::drawMarker(int k) {
    if (k < 1 || k > schedule.strokeCount()) return;
    const ScheduledStroke& s = schedule.stroke(k);
    Picture1->invertCircle(s.x, rowTop(s.row) + kRowHeight / 2, 3, QColor(0, 0, 255));
}

void ArayüzKalıp::StrokeTimerProc(int j) {
    drawMarker(j);
    drawMarker(j + 1);
    strokeTimers.kill(j);
    currentStroke = j;
    if (markerMoved) markerMoved(j + 1);
}

void ArayüzKalıp::But_dur_Click() {
    // During a plan this Stop ends the plan as the plan's own Stop does.
    if (planHoldsWindow()) {
        Command3_Click();
        return;
    }
    if (practice->playing()) practice->stop();
    media.MciStopClose(QString::fromUtf8(kMediaAlias));
    endTimer.kill(1001);
    if (usulPlaying) drawMarker(currentStroke + 1);
    usulPlaying = false;
    Picture1->setPenWidth(1);
    strokeTimers.killAll();
    EkranKiliti(Lock::Idle);
}

void ArayüzKalıp::TimerWav_Timer() {
    const std::int32_t p = media.MciPosition(QString::fromUtf8(kMediaAlias));
    const int w = progressWidth(Picture2->width(), playLengthMs, p);
    // w pixels filled from the left; at the start the bar stays empty.
    if (w > 0) Picture2->box(0, 0, w - 1, Picture2->height() - 1, QColor(0, 255, 0), true);
    Label3->setText(QString::fromStdString(elapsedText(p)));
}

int ArayüzKalıp::bpm() const {
    return kTempoBarSum - VScroll1->value();
}

void ArayüzKalıp::VScroll1_Change() {
    Label5->setText(QStringLiteral("=") + QString::number(bpm()));
    if (practice) practice->tempoChanged();
}

void ArayüzKalıp::drawUnitNote() {
    // Glyph 162, 164 or 166 of the small band for a quarter, eighth or sixteenth.
    const int code = unitNote == 4 ? 162 : unitNote == 8 ? 164 : 166;
    const GlyphRect g = smallGlyphs[std::size_t(code - 159)];
    PicBirimNota->clear();
    PicBirimNota->andCopy(6, 0, PicEschel->image(), QRect(g.x, g.y, g.width, g.height));
}

void ArayüzKalıp::PicBirimNota_Click() {
    unitNote = unitNote == 4 ? 8 : unitNote == 8 ? 16 : 4;
    drawUnitNote();
    VScroll1_Change();
}

void ArayüzKalıp::drawMetronomePicker() {
    Picture8->resizePicture(170, 67);
    Picture8->setBackground(Qt::white);
    QPainter p(&Picture8->image());
    QFont f = p.font();
    f.setPixelSize(8);
    p.setFont(f);
    for (int i = 0; i < 40; ++i) {
        const QRect cell((i % 10) * 17, (i / 10) * 17, 17, 17);
        p.setPen(Qt::blue);
        p.drawRect(cell.adjusted(0, 0, -1, -1));
        p.setPen(Qt::red);
        p.drawText(cell, Qt::AlignCenter, QString::number(kPickerValues[i]));
    }
}

void ArayüzKalıp::Label5_Click() {
    if (Option4->isChecked()) return;
    Picture8->move(50, 620);
    Picture8->show();
    Picture8->raise();
}

void ArayüzKalıp::Picture8_MouseDown(double x, double y) {
    const double c = roundHalfEven(x - double(std::int64_t(roundHalfEven(x)) % 17));
    const double r = roundHalfEven(y - double(std::int64_t(roundHalfEven(y)) % 17));
    const int index = int(roundHalfEven(r / 17 * 10 + c / 17));
    Picture8->hide();
    // Outside the 40 cells there is no value; the picker just closes.
    if (index < 0 || index >= 40) return;
    VScroll1->setValue(kTempoBarSum - kPickerValues[index]);
}

} // namespace zerkavi
