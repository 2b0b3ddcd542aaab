// Start-up and shutdown of the main window.
#include "window/arayuz_kalip.h"
#include "window/edit_keeper.h"

#include "window/colour.h"
#include "window/guides.h"

#include "plans/library_texts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>

namespace zerkavi {

bool ArayüzKalıp::screenIsLargeEnough() {
    QSize screen = screenSize_.value_or(QSize());
    if (!screenSize_) {
        if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->geometry().size();
    }
    // Only the first failing limit is reported.
    if (screen.width() < 1024) {
        messages_.inform(QString::fromUtf8("Ekran genişliğinin en az 1024 olması gerekir."));
        return false;
    }
    if (screen.height() < 768) {
        messages_.inform(QString::fromUtf8("Ekran yüksekliğinin en az 768 olması gerekir."));
        return false;
    }
    return true;
}

void ArayüzKalıp::prepareSoundFolder() {
    // The sound folder holds the sample bank, the rendered sound and the saved plans; from
    // here on relative file names refer to it. The library stays open where it is.
    const std::filesystem::path sound = programFolder_ / kSoundFolderName;
    std::error_code ec;
    std::filesystem::create_directories(sound, ec);
    workingFolder_ = sound;
}

void ArayüzKalıp::buildMenuPictures() {
    struct Item {
        int index, glyph, y;
    };
    // Medium glyph and its vertical place in the 24-pixel picture of each note item.
    const Item items[] = {{0, 9, -8},   {1, 7, -9},   {2, 5, -9},   {3, 3, -9},
                          {4, 1, -9},   {5, 0, -16},  {9, 0, -16},  {10, 2, -25},
                          {11, 4, -25}, {12, 6, -25}, {13, 8, -25}, {14, 10, -25}};
    for (const Item& it : items) {
        PictureBox* box = MenüPenc[std::size_t(it.index)];
        box->resizePicture(24, (it.index == 0 || it.index == 14) ? 26 : 24);
        box->clear();
        const GlyphRect g = mediumGlyphs[std::size_t(it.glyph)];
        QPainter p(&box->image());
        p.drawImage(QPoint(4, it.y), PicEschel->image(), QRect(g.x, g.y, g.width, g.height));
        p.end();
        menuPictures[std::size_t(it.index)] = QPixmap::fromImage(box->image());
        Mn_editNota[std::size_t(it.index)]->setIcon(QIcon(menuPictures[std::size_t(it.index)]));
    }
}

bool ArayüzKalıp::startUp() {
    // Relative names refer to the program folder until the sound folder is made.
    workingFolder_ = programFolder_;

    // One instance per program folder: two would write the same library and sound files.
    // A lock left by a killed process is taken over.
    instanceLock_ = std::make_unique<QLockFile>(
        QString::fromStdString((programFolder_ / "zerkavi.lock").string()));
    instanceLock_->setStaleLockTime(0);
    if (!instanceLock_->tryLock(0)) {
        instanceLock_.reset();
        messages_.inform(QString::fromUtf8("Zerkavi editörü zaten çalışıyor."));
        return false;
    }

    stopwatch = std::make_unique<xTimer>();
    // The window has a fixed size; a smaller screen would cut off controls.
    if (!screenIsLargeEnough()) {
        instanceLock_.reset();
        return false;
    }

    setFixedSize(1024, 768);
    QSize screen = screenSize_.value_or(QSize(1024, 768));
    if (!screenSize_)
        if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->geometry().size();
    move((screen.width() - width()) / 2, (screen.height() - height()) / 2);

    LisanTurkce();
    List1->hide();
    List2->hide();
    largeGlyphs = largeGlyphBand();
    mediumGlyphs = mediumGlyphBand();
    smallGlyphs = smallGlyphBand();
    Text3->setText(QStringLiteral("4"));
    VScroll1->setValue(120);
    VScroll1_Change();

    // The built-in image never overwrites an existing library: it holds the user's usuls.
    const std::filesystem::path libraryPath = programFolder_ / kLibraryFileName;
    createLibraryIfMissing(libraryPath, defaultLibraryImage());
    placeGuidesIfMissing(programFolder_);
    // A file of another shape is read as far as it goes and never written; the user hears
    // of it once, in both languages since no language has been chosen yet.
    const LibraryState libraryState = inspectLibrary(libraryPath);
    if (!libraryState.writable())
        messages_.inform(
            QString::fromStdString(libraryProblemText(libraryState, Language::Turkish) + "\n\n" +
                                   libraryProblemText(libraryState, Language::English)));
    library_.open(libraryPath, !libraryState.writable());
    libraryShapeOk_ = libraryState.writable();
    // A file too short to hold its colour slot keeps the built-in colour: on the black of an
    // empty record the black captions and menus would vanish.
    colourRecord = decodeColour(
        defaultLibraryImage().subspan<(kColourSlot - 1) * kRecordBytes, kRecordBytes>());
    if (auto colour = library_.readColour()) colourRecord = *colour;

    mediumFactor = 0.6f;
    Mn_Oseviye[6]->setChecked(true);
    weakFactor = 0.4f;
    Mn_Zseviye[4]->setChecked(true);
    restoreLoudness();
    // Without the sample bank nothing can sound, so the program ends when it cannot be made.
    prepareSoundFolder();
    if (!baslat_bindir()) {
        library_.close();
        instanceLock_.reset();
        return false;
    }
    File1->setProperty("folder", QString::fromStdString(workingFolder_.string()));
    But_Dur->setEnabled(false);
    // An open list must cover the notation, and the plan frames everything below.
    List1->raise();
    List2->raise();
    Frame5->raise();
    renklendir(colourRecord.red, colourRecord.green, colourRecord.blue);
    // The unit note starts as if clicked once, which makes it the eighth.
    unitNote = 4;
    PicBirimNota_Click();
    buildMenuPictures();
    // Pending events (the window's move and resize) run before the panels are placed.
    QCoreApplication::processEvents();
    halvingTable = TabloYap();
    EkranDizayn();
    BoşPorte();
    restoreSettings();
    started_ = true;
    return true;
}

void ArayüzKalıp::closeEvent(QCloseEvent* e) {
    // Only a changed user usul is asked about; the unload sequence runs once.
    if (!shutDown_ && !mayLeaveUsul(*this)) {
        e->ignore();
        return;
    }
    planEnd.StopPlanEndTimer();
    shutDown();
    e->accept();
}

void ArayüzKalıp::shutDown() {
    if (shutDown_) return;
    shutDown_ = true;
    planEnd.StopPlanEndTimer();
    strokeTimers.killAll();
    endTimer.killAll();
    TimerWav->stop();
    if (stopwatch) stopwatch->Halt();
    if (started_) saveSettings();
    library_.close();
    // Whatever still sounds under the alias stops; the answers do not matter.
    media.send(QStringLiteral("stop ") + QString::fromUtf8(kMediaAlias));
    media.send(QStringLiteral("close ") + QString::fromUtf8(kMediaAlias));
    if (started_) {
        // The rendered and prepared sound files are made again at the next start.
        std::error_code ec;
        for (const auto& entry : std::filesystem::directory_iterator(workingFolder_, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".---") == 0) {
                std::error_code ignored;
                std::filesystem::remove(entry.path(), ignored);
            }
        }
    }
    // Every window of the program goes: the colour dialog too.
    if (colourDialog) colourDialog->hide();
    instanceLock_.reset();
}

} // namespace zerkavi
