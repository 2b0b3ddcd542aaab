#include "window/export_menu.h"

#include "common/text_codec.h"
#include "notation/export_names.h"
#include "plans/plan_format.h"
#include "sound/usul_render.h"
#include "window/arayuz_kalip.h"
#include "window/picture.h"

#include <QAction>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QStandardPaths>

#include <algorithm>
#include <array>

namespace zerkavi {

namespace {

struct MenuTexts {
    const char* menu;
    const char* sound;
    const char* picture;
    const char* soundFiles;
    const char* pictureFiles;
    const char* failed; // followed by the file
};

const MenuTexts& menuTexts(Language lang) {
    static const MenuTexts turkish{"Dışa aktar",  "Ses…",          "Resim…",
                                   "Ses dosyası", "Resim dosyası", "Dosya yazılamadı:"};
    static const MenuTexts english{"Export",     "Sound…",       "Picture…",
                                   "Sound file", "Picture file", "The file could not be written:"};
    return lang == Language::Turkish ? turkish : english;
}

constexpr std::array<ExportFormat, 4> kSoundFormats = {ExportFormat::Wav, ExportFormat::Flac,
                                                       ExportFormat::Ogg, ExportFormat::Mp3};
constexpr std::array<ExportFormat, 1> kMidi = {ExportFormat::Midi};
constexpr std::array<ExportFormat, 1> kMusicXml = {ExportFormat::MusicXml};
constexpr std::array<ExportFormat, 1> kLilyPond = {ExportFormat::LilyPond};
constexpr std::array<ExportFormat, 4> kPictureFormats = {ExportFormat::Png, ExportFormat::Pdf,
                                                         ExportFormat::Svg, ExportFormat::Jpeg};

QString filterOf(const QString& title, std::span<const ExportFormat> formats) {
    QStringList patterns;
    for (ExportFormat f : formats)
        patterns << QStringLiteral("*") + QString::fromUtf8(exportExtension(f));
    return title + QStringLiteral(" (") + patterns.join(QChar(' ')) + QStringLiteral(")");
}

} // namespace

QString proposedFileName(const QString& name, const QString& fallback) {
    std::u32string folded = trimBlanks(foldTurkishLetters(trimBlanks(name.toStdU32String())));
    for (char32_t& c : folded)
        if (isForbiddenInFileName(c)) c = U'-';
    return folded.empty() ? fallback : QString::fromStdU32String(folded);
}

ExportMenu::ExportMenu(ArayüzKalıp& window, MessageBoxes& messages)
    : QObject(&window), window_(window), messages_(messages) {
    chooseFile = [](QWidget* parent, const QString& caption, const QString& proposed,
                    const QString& filter) {
        return QFileDialog::getSaveFileName(parent, caption, proposed, filter);
    };
    menu = new QMenu(&window);
    menu->setObjectName(QString::fromUtf8("Mn_dışaAktar"));
    menu->menuAction()->setObjectName(menu->objectName());
    window.menuBar()->insertMenu(window.Mn_volüm->menuAction(), menu);
    // The menu follows the control lock as the other menus do.
    window.allControls.push_back(menu->menuAction());
    auto item = [this](const char* name, Kind kind) {
        QAction* a = menu->addAction(QString());
        a->setObjectName(QString::fromUtf8(name));
        QObject::connect(a, &QAction::triggered, menu, [this, kind] { run(kind); });
        return a;
    };
    sound = item("Mn_ses", Kind::Sound);
    midi = item("Mn_midi", Kind::Midi);
    musicXml = item("Mn_musicxml", Kind::MusicXml);
    lilyPond = item("Mn_lilypond", Kind::LilyPond);
    menu->addSeparator();
    picture = item("Mn_resim", Kind::Picture);
    midi->setText(QStringLiteral("MIDI…"));
    musicXml->setText(QStringLiteral("MusicXML…"));
    lilyPond->setText(QStringLiteral("LilyPond…"));
    applyLanguage(Language::Turkish);
}

void ExportMenu::applyLanguage(Language lang) {
    language_ = lang;
    const MenuTexts& t = menuTexts(lang);
    menu->setTitle(QString::fromUtf8(t.menu));
    sound->setText(QString::fromUtf8(t.sound));
    picture->setText(QString::fromUtf8(t.picture));
}

bool ExportMenu::onPlanScreen() const {
    return window_.Option4->isChecked();
}

std::filesystem::path ExportMenu::askFile(Kind kind, QAction* item, const QString& name) {
    const MenuTexts& t = menuTexts(language_);
    std::span<const ExportFormat> formats;
    QString title;
    switch (kind) {
    case Kind::Sound:
        formats = kSoundFormats;
        title = QString::fromUtf8(t.soundFiles);
        break;
    case Kind::Midi:
        formats = kMidi;
        title = QStringLiteral("MIDI");
        break;
    case Kind::MusicXml:
        formats = kMusicXml;
        title = QStringLiteral("MusicXML");
        break;
    case Kind::LilyPond:
        formats = kLilyPond;
        title = QStringLiteral("LilyPond");
        break;
    case Kind::Picture:
        formats = kPictureFormats;
        title = QString::fromUtf8(t.pictureFiles);
        break;
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString proposed =
        folder + QChar('/') + name + QString::fromUtf8(exportExtension(formats.front()));
    QString chosen = chooseFile(&window_, item->text().remove(QChar(0x2026)), proposed,
                                filterOf(title, formats));
    if (chosen.isEmpty()) return {};
    const auto f = exportFormatOf(chosen.toStdString());
    if (!f || std::find(formats.begin(), formats.end(), *f) == formats.end())
        chosen += QString::fromUtf8(exportExtension(formats.front()));
    return std::filesystem::path(chosen.toStdString());
}

void ExportMenu::reportFailure(const std::filesystem::path& file) {
    messages_.inform(QString::fromUtf8(menuTexts(language_).failed) + QChar('\n') +
                     QString::fromStdString(file.string()));
}

void ExportMenu::run(Kind kind) {
    ArayüzKalıp& w = window_;
    QAction* items[] = {sound, midi, musicXml, lilyPond, picture};
    QAction* item = items[int(kind)];
    const bool plan = (kind == Kind::Sound || kind == Kind::Midi) && onPlanScreen();

    if (plan) {
        const std::filesystem::path planFile = w.selectedPlanFile();
        if (planFile.empty()) {
            w.showMessage(Message::noPlanSelected);
            return;
        }
        const std::u32string planName =
            planNameFromFileName(fromUtf8(planFile.filename().string()));
        const auto file =
            askFile(kind, item,
                    proposedFileName(QString::fromStdU32String(planName), QStringLiteral("plan")));
        if (file.empty()) return;
        const UsulOfSlot readSlot = [&w](int slot) { return w.library().readUsul(slot); };
        const ExportResult r =
            exportPlan(planName, readStoredPlanFile(planFile), *exportFormatOf(file), readSlot,
                       w.chosenInstrument(), MidiKeys{}, w.workingFolder(), w.sampleReader, file);
        for (WavStatus s : r.readerMessages)
            if (const char* text = wavStatusMessage(s)) messages_.inform(QString::fromUtf8(text));
        for (Message m : r.messages)
            w.showMessage(m);
        if (r.status == ExportStatus::WriteFailed) reportFailure(file);
        return;
    }

    // The usul as the notation shows it.
    if (MevcutHalka(w.currentUsul) == 0 || sumOfStrokes(w.currentUsul) == 0) {
        w.showMessage(Message::noBeats);
        return;
    }
    const auto file =
        askFile(kind, item, proposedFileName(w.Text5->text(), QStringLiteral("usul")));
    if (file.empty()) return;
    if (kind == Kind::Picture) {
        const PictureResult r =
            writeNotationPicture(w.currentUsul, w.notationStyle(), w.Text5->text(), file);
        if (r.message != Message::none)
            w.showMessage(r.message);
        else if (!r.saved)
            reportFailure(file);
        return;
    }
    // As Start would play it: once, or as many cycles as the repeat option fills.
    UsulExportSettings settings{w.bpm(), w.unitNote, w.chosenInstrument(), 1, MidiKeys{}};
    if (w.Option3->isChecked())
        settings.cycles = loopedCycles(
            usulTiming(sumOfStrokes(w.currentUsul), settings.bpm, settings.unitNote).cycleSamples);
    const ExportResult r = exportUsul(w.currentUsul, *exportFormatOf(file), settings,
                                      w.workingFolder(), w.sampleReader, file);
    for (WavStatus s : r.readerMessages)
        if (const char* text = wavStatusMessage(s)) messages_.inform(QString::fromUtf8(text));
    for (Message m : r.messages)
        w.showMessage(m);
    if (r.status == ExportStatus::WriteFailed) reportFailure(file);
}

} // namespace zerkavi
