// The plan screen: Planned mode, the saved plans, the plan editor and the usul table.
#include "window/arayuz_kalip.h"
#include "window/edit_keeper.h"

#include "common/rounding.h"
#include "common/text_codec.h"
#include "notation/geometry.h"
#include "plans/plan_format.h"
#include "plans/plan_render.h"
#include "plans/plan_store.h"
#include "sound/progress.h"
#include "sound/sample_bank.h"
#include "usul/browser.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QTimer>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace zerkavi {

namespace {

QString qt(std::u32string_view s) {
    return QString::fromStdString(toUtf8(s));
}
std::u32string u32(const QString& s) {
    return fromUtf8(s.toStdString());
}

// A plan file as the plan reader sees it: its lines joined by CR LF, without a final one.
std::u32string readPlanFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return planTextFromBytes(std::string{std::istreambuf_iterator<char>(in), {}});
}

// Writes a plan file through a temporary file of the same folder, which replaces the old
// file only when every byte was written and flushed; on any failure the old file stays as
// it was and the temporary file is removed.
bool writePlanFile(const std::filesystem::path& file, const std::string& bytes) {
    QSaveFile out(QString::fromStdString(file.string()));
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (out.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()) || !out.flush()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

} // namespace

void ArayüzKalıp::connectPlans() {
    connect(File1, &QListWidget::itemClicked, this, [this] { File1_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command10, &QPushButton::clicked, this, [this] { Command10_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Option4, &QRadioButton::clicked, this, [this] {
        // Staying with a changed usul puts the play mode back to Once.
        if (!mayLeaveUsul(*this)) {
            Option2->setChecked(true);
            return;
        }
        Option4_Click();
    });
    connect(Option2, &QRadioButton::clicked, this, [this] { leavePlannedMode(); });
    connect(Option3, &QRadioButton::clicked, this, [this] { leavePlannedMode(); });
}

std::filesystem::path ArayüzKalıp::selectedPlanFile() const {
    const QListWidgetItem* item = File1->currentItem();
    if (!item || !item->isSelected()) return {};
    return workingFolder() / item->text().toStdString();
}

void ArayüzKalıp::refreshFile1() {
    File1->clear();
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(workingFolder(), ec)) {
        const std::string name = e.path().filename().string();
        if (e.is_regular_file(ec) && name.size() > 4 &&
            QString::fromStdString(name).endsWith(QStringLiteral(".txt"), Qt::CaseInsensitive))
            names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& n : names) {
        File1->addItem(QString::fromStdString(n));
        File1->item(File1->count() - 1)->setToolTip(QString::fromStdString(n));
    }
}

bool ArayüzKalıp::PlanOku() {
    const std::filesystem::path file = selectedPlanFile();
    if (file.empty()) {
        showMessage(Message::noPlanSelected);
        return false;
    }
    Text14->setPlainText(
        qt(readPlanFile(file)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    Text9->setText(qt(planNameFromFileName(fromUtf8(file.filename().string()))));
    return true;
}

void ArayüzKalıp::PasajSırala() {
    const std::filesystem::path file = selectedPlanFile();
    if (file.empty()) return;
    showSections(storedSectionNames(readPlanFile(file)));
}

void ArayüzKalıp::showSections(const std::vector<std::u32string>& names) {
    sectionNames.clear();
    List3->clear();
    for (const std::u32string& n : names) {
        sectionNames.push_back(n);
        List3->addItem(qt(n));
    }
    if (List3->count() > 0) List3->setCurrentRow(0);
}

void ArayüzKalıp::File1_Click() {
    if (PlanOku()) PasajSırala();
}

void ArayüzKalıp::Command8_Click() {
    // Checking a line reads its usul into the editor, as playing it will.
    const LastCircleOfSlot lastCircle = [this](int slot) {
        if (auto r = library_.readUsul(slot)) {
            currentUsul = *r;
            return MevcutHalka(currentUsul);
        }
        return 0;
    };
    const PlanSaveResult result =
        checkPlanForSave(withCrLf(u32(Text14->toPlainText())), u32(Text9->text()), lastCircle);
    if (result.message != Message::none) {
        messages_.inform(
            QString::fromStdString(planMessageText(result.message, result.line, language)));
        return;
    }
    const std::filesystem::path file = workingFolder() / toUtf8(result.fileName);
    if (!writePlanFile(file, planFileBytes(result.normalisedText))) {
        showMessage(Message::planNotSaved);
        return;
    }
    Text14->setPlainText(
        qt(result.normalisedText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    refreshFile1();
    // The saved plan is the one Start plays next.
    const QList<QListWidgetItem*> saved =
        File1->findItems(QString::fromStdString(file.filename().string()), Qt::MatchExactly);
    if (!saved.isEmpty()) {
        File1->setCurrentItem(saved.first());
        saved.first()->setSelected(true);
    }
    showSections(result.sectionNames);
}

void ArayüzKalıp::Command10_Click() {
    refreshFile1();
    List3->clear();
    Text14->clear();
    Text9->clear();
}

void ArayüzKalıp::Command5_Click() {
    const std::filesystem::path file = selectedPlanFile();
    if (file.empty()) {
        showMessage(Message::noPlanSelected);
        return;
    }
    std::error_code ec;
    std::filesystem::remove(file, ec);
    Command10_Click();
}

void ArayüzKalıp::Command6_Click() {
    // Maintenance: keeps the fields as slot 99.
    const double numerator = numericPrefix(Text2->text().toStdString());
    const double mertebe = numericPrefix(Text3->text().toStdString());
    if (!fitsInByte(numerator) || !fitsInByte(mertebe)) {
        showMessage(Message::timeSignatureRange);
        return;
    }
    currentUsul.name = fixedText(u32(Text5->text()), kNameChars);
    currentUsul.numerator = std::uint8_t(numerator);
    currentUsul.mertebe = std::uint8_t(mertebe);
    currentUsul.totalLength = 208;
    currentSlot = 99;
    writeSlot(currentSlot, currentUsul);
}

void ArayüzKalıp::slideFrames(int dy) {
    for (int step = 0; step < 33; ++step) {
        for (QGroupBox* f : {Frame10, Frame9, Frame5})
            f->move(f->x(), f->y() + dy);
        repaint();
        QEventLoop wait;
        QTimer::singleShot(slideWaitMs, Qt::PreciseTimer, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

void ArayüzKalıp::Option4_Click() {
    Command1->setText(QString::fromStdString(texts->pauseWord));
    Command1->setEnabled(false);
    Command3->setEnabled(false);
    for (QGroupBox* f : {Frame10, Frame9, Frame5})
        f->show();
    slideFrames(-5);
    refreshFile1();
    if (File1->count() > 0) {
        File1->setCurrentRow(0);
        File1->item(0)->setSelected(true);
        PlanOku();
        PasajSırala();
    }
    Picture1->hide();
    SabitListeYap();
    Picture4->show();
    Command2->setEnabled(true);
}

void ArayüzKalıp::leavePlannedMode() {
    Picture1->show();
    Picture4->hide();
    Picture3->hide();
    Picture5->hide();
    if (Frame5->y() != innerHeight() + 2) slideFrames(5);
    // Playing a plan shows other usuls: the usul of the slot comes back.
    if (Label1->text() != QString::number(currentSlot)) {
        // With no usul loaded the editor goes back to its empty start.
        if (currentSlot == 0)
            currentUsul = UsulRecord{};
        else
            UsulOku();
        setLabel1(QString::number(currentSlot));
    }
}

void ArayüzKalıp::SabitListeYap() {
    Picture4->clear();
    QPainter p(&Picture4->image());
    QFont f = Picture1->font();
    f.setPointSize(7);
    p.setFont(f);
    p.setPen(Qt::black);
    const int w = Picture4->width();
    const int s = int(roundHalfEven(w / 5.0));
    const int ascent = QFontMetrics(f).ascent();
    int k = 0;
    for (int x = 1; x <= w && s > 0; x += s) {
        for (int r = 1; r <= 42; ++r) {
            ++k;
            const UsulRecord usul = library_.readUsul(k).value_or(UsulRecord{});
            QString line = qt(UsulListItem(k, usul));
            line.replace(QChar(0), QChar(' '));
            p.drawText(QPoint(x, r * 12 - 10 + ascent), line);
        }
    }
    p.end();
    Picture4->update();
}

} // namespace zerkavi

// ---- playing a plan --------------------------------------------------------------------

namespace zerkavi {

namespace {

void colourLabel3(QLabel* label, bool playing) {
    // Green while the plan sounds, dark red while it is paused or stopped.
    label->setStyleSheet(playing ? QStringLiteral("color: rgb(0, 128, 0)")
                                 : QStringLiteral("color: rgb(192, 0, 0)"));
}

} // namespace

void ArayüzKalıp::connectPlanPlayer() {
    planEnd.setExpiry([this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    PlanFollow = new QTimer(this);
    PlanFollow->setObjectName(QStringLiteral("PlanFollow"));
    PlanFollow->setTimerType(Qt::PreciseTimer);
    PlanFollow->setInterval(10);
    connect(PlanFollow, &QTimer::timeout, this, [this] { followPlan(); });
}

void ArayüzKalıp::Command4_Click() {
    Picture3->hide();
    Command2->setEnabled(true);
    DataYapEser();
}

void ArayüzKalıp::DataYapEser() {
    const std::filesystem::path file = selectedPlanFile();
    if (file.empty()) {
        showMessage(Message::noPlanSelected);
        return;
    }
    lockForPlan();
    const UsulOfSlot readSlot = [this](int slot) { return library_.readUsul(slot); };
    // Rendering a long plan takes a while: the bar and the time label show how far it got,
    // and the window keeps drawing itself (the controls are locked meanwhile).
    QElapsedTimer sinceDrawn;
    sinceDrawn.start();
    const PlanProgress progress = [&](std::int64_t written, std::int64_t total) {
        if (sinceDrawn.elapsed() < renderProgressMs || total <= 0) return;
        sinceDrawn.restart();
        const int w = int(std::int64_t(Picture2->width()) * written / total);
        if (w > 0) Picture2->box(0, 0, w - 1, Picture2->height() - 1, QColor(0, 128, 255), true);
        Label3->setText(QStringLiteral("%1 %").arg(100 * written / total));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
    plan = renderPlan(readPlanFile(file), readSlot, currentUsul, workingFolder(), sampleReader,
                      chosenInstrument(), {}, progress);
    Picture2->clear();
    Label3->setText(QString::fromStdString(elapsedText(0)));
    if (plan.refusal != Message::none) {
        unlockAfterPlan();
        showMessage(plan.refusal);
        return;
    }
    for (WavStatus s : plan.readerMessages)
        if (const char* text = wavStatusMessage(s)) messages_.inform(QString::fromUtf8(text));
    for (Message m : plan.messages)
        showMessage(m);
    sectionNames = plan.sectionNames;
    But_Dur->setEnabled(true);
    // Without a selected section (after New, say) the plan plays from its beginning.
    planStartIndex = std::max(List3->currentRow(), 0);
    playFromMs = playFromMsFor(planStartIndex, plan.sectionEndMs);
    Picture1->setPenWidth(4);
    if (!plan.sectionEndMs.empty()) CalınanUsulüGöster(planStartIndex);
    playLengthMs = plan.playLengthMs;
    planPlaying = true;
    media.MciStopClose(QString::fromUtf8(kMediaAlias));
    media.MciOpenPlay(QString::fromStdString((workingFolder() / kPlanSoundFileName).string()),
                      QString::fromUtf8(kMediaAlias), playFromMs);
    colourLabel3(Label3, true);
    planEnd.StartPlanEndTimer(int(roundHalfEven(playLengthMs - playFromMs)));
    startSectionTimers(playFromMs);
    TimerWav->start();
    PlanFollow->start();
    followPlan();
}

void ArayüzKalıp::startSectionTimers(std::int32_t fromMs) {
    const int count = int(plan.sectionEndMs.size());
    for (int s = 1; s < count; ++s) {
        const std::int32_t d = plan.endMsOfSection(s) - fromMs;
        if (d > 0) sectionTimers.start(s, d, [this](int id) { SectionTimerProc(id); });
    }
}

void ArayüzKalıp::CalınanUsulüGöster(int index) {
    Picture4->hide();
    Picture5->hide();
    if (index < 0 || index >= int(plan.sectionUsul.size())) return;
    showSectionUsul(index);
    Picture1->show();
}

void ArayüzKalıp::SectionTimerProc(int id) {
    sectionTimers.kill(id);
    List3->setCurrentRow(id);
    CalınanUsulüGöster(id);
}

void ArayüzKalıp::Command1_Click() {
    if (planPlaying) {
        media.MciPause(QString::fromUtf8(kMediaAlias));
        planEnd.StopPlanEndTimer();
        colourLabel3(Label3, false);
        TimerWav->stop();
        sectionTimers.killAll();
        PlanFollow->stop();
        planPlaying = false;
        planPaused = true;
        Command1->setText(QString::fromStdString(texts->continueWord));
        return;
    }
    colourLabel3(Label3, true);
    const std::int32_t p = media.MciPosition(QString::fromUtf8(kMediaAlias));
    planEnd.StartPlanEndTimer(int(roundHalfEven(playLengthMs - p)));
    startSectionTimers(media.MciPosition(QString::fromUtf8(kMediaAlias)));
    TimerWav->start();
    PlanFollow->start();
    media.MciResume(QString::fromUtf8(kMediaAlias));
    planPlaying = true;
    planPaused = false;
    Command1->setText(QString::fromStdString(texts->pauseWord));
}

void ArayüzKalıp::Command3_Click() {
    media.MciStopClose(QString::fromUtf8(kMediaAlias));
    planPlaying = false;
    planPaused = false;
    colourLabel3(Label3, false);
    planEnd.StopPlanEndTimer();
    TimerWav->stop();
    PlanFollow->stop();
    sectionTimers.killAll();
    Command1->setText(QString::fromStdString(texts->pauseWord));
    if (planStartIndex < List3->count()) List3->setCurrentRow(planStartIndex);
    Picture1->setPenWidth(1);
    Picture1->hide();
    Picture5->hide();
    Picture4->show();
    unlockAfterPlan();
    Picture2->clear();
}

} // namespace zerkavi
