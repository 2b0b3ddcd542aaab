// The main window. It holds the state of the whole run and wires every control to the
// core; the rules themselves live in the core. Handlers are spread over one source file
// per subsystem in this folder (browser.cpp, editing.cpp, plan_screen.cpp …).
//
// No Q_OBJECT here: moc cannot read the Turkish names, so controls are connected with
// pointer-to-member functions and lambdas.
#pragma once

#include "notation/glyphs.h"
#include "notation/layout.h"
#include "plans/plan_render.h"
#include "plans/texts.h"
#include "platform/media.h"
#include "platform/message_boxes.h"
#include "platform/picture_box.h"
#include "platform/timers.h"
#include "sound/usul_render.h"
#include "sound/wav.h"
#include "usul/library_file.h"
#include "usul/record.h"
#include "window/painter.h"

#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QSize>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QLockFile;
class QMenu;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTimer;
class QToolButton;
class QTranslator;

namespace zerkavi {

class ExportMenu;
class FRenk;
class PracticeMenu;
struct JpegExportResult;

inline constexpr const char* kSoundFolderName = "zrkv";
// The media alias every rendered file (usul or plan) is opened under.
inline constexpr const char* kMediaAlias = "kivo";
// Identifier of the timer that ends a playing usul.
inline constexpr int kUsulEndTimerId = 1001;
// The tempo bar runs from 20 to 250 beats per minute with the fast end at the top.
inline constexpr int kTempoBarSum = 270; // bar value + beats per minute

// Which controls are enabled: the states of EkranKiliti.
enum class Lock {
    Playing = 1,          // an usul plays: only the Play strip and Stop
    Released = 2,         // as Idle
    Idle = 3,             // everything, the editing buttons as the slot allows
    LoadListClosed = 4,   // the library list closed, the notation back
    LoadListOpen = 5,     // only the library list
    TargetListClosed = 6, // the Save As list closed, the notation back
    TargetListOpen = 7,   // only the Save As list
    PlanPlaying = 8,      // a plan plays: the plan controls off, Pause and Stop on
    PlanStopped = 9,      // the plan controls on, Pause and Stop off
};

// Height of the strip of controls at the bottom of the inner area, and the lowest line of
// the band above the notation.
inline constexpr int kStripHeight = 92;
inline constexpr int kBandBottom = 26;

class ArayüzKalıp : public QMainWindow {
  public:
    // `programFolder` holds the library file; `screenSize` replaces the real desktop size
    // (tests use it to check the screen limits).
    ArayüzKalıp(std::filesystem::path programFolder, MessageBoxes& messages,
                std::optional<QSize> screenSize = std::nullopt);
    ~ArayüzKalıp() override;

    // Runs the start-up sequence. False means the program must end now (another instance,
    // or a screen that is too small); nothing has been written in that case.
    bool startUp();
    // The unload sequence: stops and closes everything and deletes the rendered files.
    // Safe to call more than once.
    void shutDown();

    // ---- state of the run ---------------------------------------------------------
    UsulRecord currentUsul;
    int currentSlot = 0; // 0 = nothing loaded
    ColourRecord colourRecord;
    int expectedLength = 0;
    float mediumFactor = 0.6f;
    float weakFactor = 0.4f;
    HalvingTable halvingTable{};
    GlyphTable largeGlyphs{}, mediumGlyphs{}, smallGlyphs{};
    const LanguageTexts* texts = nullptr;
    Language language = Language::Turkish;
    bool planPaused = false; // a work plan is paused (Pause/Continue shows "Continue")

    const std::filesystem::path& programFolder() const { return programFolder_; }
    // The folder relative file names refer to: the program folder, then the sound folder.
    const std::filesystem::path& workingFolder() const { return workingFolder_; }
    LibraryFile& library() { return library_; }
    int innerHeight() const;

    // ---- operations ------------------------------------------------------------------
    void EkranKiliti(Lock durum);
    void EkranDizayn();
    // Puts the strip of controls on the bottom of the inner area and the plan frames just
    // below it; the notation is placed between the band and the strip.
    void placeStrip();
    // Top of the strip in the inner area.
    int stripTop() const;
    // With a window manager the frame comes on top of the inner area: once it is known,
    // the inner area shrinks so that the whole window is 1024 x 768, centred, and the
    // controls are laid out for it again. Nothing changes where there is no frame.
    void fitFrameToScreen();
    void layoutTopBand();
    void AcEfekt(QWidget* panel, int steps);
    void LisanTurkce();
    void LisanIngilizce();
    void renklendir(std::uint8_t k, std::uint8_t s, std::uint8_t m);
    void setEditingButtonsForSlot();
    const std::string& messageText(Message m) const;
    void showMessage(Message m);
    // Writes a slot of the library; a library that refuses the write is reported.
    bool writeSlot(int slot, const UsulRecord& r);
    // A save the library file did not take, in the window's language.
    void reportSaveFailed();
    // A failed write of the library told to the user: read-only, or failed otherwise.
    void reportWriteFailure();

    // ---- usul browser ---------------------------------------------------------------
    // Reads slot currentSlot into currentUsul; false on a failed read.
    bool UsulOku();
    void ListeYap(int first, int last, QListWidget* list);
    // Loads currentSlot into the fields and the notation, or shows Message::loadError.
    void loadCurrentSlot();
    void List1_Pick(int row, Qt::MouseButton button);
    void List2_Pick(int row, Qt::MouseButton button);
    void But_yükle_Click();
    void But_önceki_Click();
    void But_sonraki_Click();
    void But_kaydet_Click();
    void But_farklı_Click();
    void But_Sil_Click();
    void TimeSignature_Change(); // Text2 and Text3
    void Text5_Change();
    void Text3_Click();
    // Shows a slot number in Label1; a new number redraws the notation.
    void setLabel1(const QString& text);

    // ---- notation -----------------------------------------------------------------------
    void göster();
    // How the notation is painted now: the glyph strip, the letters of the language, the
    // font and background of the screen picture.
    NotationStyle notationStyle() const;
    // ---- mouse editing and the duration buttons ------------------------------------------
    void Picture1_MouseDown(Qt::MouseButton button, double x, double y);
    void Picture1_MouseMove(double x, double y);
    void Mn_editNota_Click(int index);
    void Mn_metin_Click(int index);
    void But_Temizle_Click();
    void But_mertebe_Click(int index);
    void But_uzat_Click();
    void But_kısalt_Click();
    void But_optimize_Click();
    // Opens a pop-up menu at a point of the window and returns when it closes. Tests
    // replace it to choose an item without a modal loop.
    std::function<void(QMenu*, QPoint)> popUp;
    // Label4: "Short", "Match" or "Exceed" for expectedLength against totalLength.
    void showLengthStatus();
    void BoşPorte();
    int currentHalka = 0;

    // ---- controls (object names as the controls are known) ---------------------------
    QWidget* central = nullptr;
    PictureBox* Picture1 = nullptr; // notation
    PictureBox* PicEschel = nullptr;
    PictureBox* imajPenceresi = nullptr;
    PictureBox* PicBirimNota = nullptr;
    PictureBox* Picture2 = nullptr; // plan progress bar
    PictureBox* Picture3 = nullptr; // work-plan panel
    PictureBox* Picture4 = nullptr; // usul table
    PictureBox* Picture5 = nullptr;
    PictureBox* Picture8 = nullptr; // metronome picker
    std::array<PictureBox*, 15> MenüPenc{};

    QGroupBox *Frame1 = nullptr, *Frame2 = nullptr, *Frame3 = nullptr, *Frame4 = nullptr,
              *Frame5 = nullptr, *Frame6 = nullptr, *Frame7 = nullptr, *Frame8 = nullptr,
              *Frame9 = nullptr, *Frame10 = nullptr, *Frame12 = nullptr, *Frame13 = nullptr,
              *Frame14 = nullptr;

    QPushButton *But_yükle = nullptr, *But_önceki = nullptr, *But_sonraki = nullptr,
                *But_kaydet = nullptr, *But_farklı = nullptr, *But_Sil = nullptr,
                *But_Temizle = nullptr, *But_optimize = nullptr, *But_uzat = nullptr,
                *But_kısalt = nullptr, *But_baskı = nullptr, *But_JPG = nullptr,
                *But_Baslat = nullptr, *But_Dur = nullptr;
    std::array<QPushButton*, 2> But_mertebe{};
    QPushButton *Command1 = nullptr, *Command2 = nullptr, *Command3 = nullptr, *Command4 = nullptr,
                *Command5 = nullptr, *Command6 = nullptr, *Command8 = nullptr, *Command10 = nullptr;
    QToolButton* Image3 = nullptr; // image button back to the usul table

    QRadioButton *Option2 = nullptr, *Option3 = nullptr, *Option4 = nullptr;
    std::array<QRadioButton*, 4> Option1{}; // items 1..3

    QLineEdit *Text2 = nullptr, *Text3 = nullptr, *Text4 = nullptr, *Text5 = nullptr,
              *Text9 = nullptr;
    QPlainTextEdit *Text1 = nullptr, *Text14 = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr,
           *Label5 = nullptr, *Label7 = nullptr, *Label9 = nullptr;
    QListWidget *List1 = nullptr, *List2 = nullptr, *List3 = nullptr, *File1 = nullptr;
    QScrollBar* VScroll1 = nullptr;
    QTimer* TimerWav = nullptr;

    QMenu *Mn_edit = nullptr, *Mn_birim = nullptr, *Mn_metinler = nullptr, *Mn_volüm = nullptr,
          *Mn_orta = nullptr, *Mn_zayıf = nullptr;
    QAction *Mn_Lisanlar = nullptr, *Mn_RenkZemin = nullptr, *Mn_yardm = nullptr,
            *Mn_bilgi = nullptr;
    std::array<QAction*, 15> Mn_editNota{};
    std::array<QAction*, 9> Mn_metin{};
    std::array<QAction*, 10> Mn_Oseviye{}; // items 2..9
    std::array<QAction*, 10> Mn_Zseviye{}; // items 2..9
    QAction *ikilik = nullptr, *dörtlük = nullptr, *sekizlik = nullptr, *onaltılık = nullptr,
            *otuzikilik = nullptr;

    // What the last opening effect left on the screen, for looking at it afterwards.
    QImage lastEffectFrame;

    // Pictures of the note menu, item by item (empty for the text items).
    std::array<QPixmap, 15> menuPictures;

    // Every control with an enabled state, in creation order, for the control lock.
    std::vector<QObject*> allControls;

    // ---- keyboard and remembered settings ------------------------------------------------
    QMenu* Mn_klavye = nullptr;
    QAction *Key_BaslatDur = nullptr, *Key_kapat = nullptr, *Key_önceki = nullptr,
            *Key_sonraki = nullptr, *Key_hızlı = nullptr, *Key_yavaş = nullptr;
    void createKeyboard();
    void applyKeyboardCaptions();
    // Space: Start or Stop of the usul, or of the plan in Planned mode.
    void spacePressed();
    // Escape: closes the picker or an open list without a change.
    void escapePressed();
    void tempoStep(int bpmStep);
    // Selects the current slot in an opened list (its first entry is `firstSlot`), shows it
    // in the middle and gives the list the keyboard.
    void openListAt(QListWidget* list, int firstSlot);
    void openPicker();
    void closePicker();
    void restoreLoudness();
    void restoreSettings();
    void saveSettings();

    // ---- handlers ----------------------------------------------------------------------
    void Mn_Lisanlar_Click();
    void Mn_RenkZemin_Click();
    // ---- the plan screen ------------------------------------------------------------------
    void refreshFile1();
    std::filesystem::path selectedPlanFile() const; // empty when no plan is selected
    bool PlanOku();
    void PasajSırala();
    void showSections(const std::vector<std::u32string>& names);
    void File1_Click();
    void Command8_Click();
    void Command10_Click();
    void Command5_Click();
    void Command6_Click();
    void Option4_Click();
    void leavePlannedMode();
    void SabitListeYap();
    // Moves the three plan frames 33 times by dy pixels, showing every step.
    void slideFrames(int dy);
    int slideWaitMs = 25;
    std::vector<std::u32string> sectionNames;
    // ---- playing a plan -------------------------------------------------------------------
    void Command4_Click();
    void DataYapEser();
    void CalınanUsulüGöster(int index);
    void SectionTimerProc(int id);
    void Command1_Click(); // Pause / Continue
    void Command3_Click(); // Stop
    void startSectionTimers(std::int32_t fromMs);
    // A playing (or paused) plan holds the window: every control that would disturb it is
    // disabled, and Stop gives back exactly the state of before, the usul shown included.
    void lockForPlan();
    void unlockAfterPlan();
    bool planHoldsWindow() const { return !enabledBeforePlan_.empty(); }
    // Moves the marker to the stroke that sounds and shows the section it belongs to,
    // from the position the sound output reports.
    void followPlan();
    // Shows the usul of the plan's section `index` in the top bar as well.
    void showSectionUsul(int index);
    QTimer* PlanFollow = nullptr; // runs followPlan while the plan sounds
    int renderProgressMs = 100;   // least time between two progress displays while rendering
    int planMarkerStroke = 0;     // 1-based index into plan.strokes of the marked stroke
    int planShownSection = -1;    // section whose usul the notation shows
    PlanRenderResult plan;        // of the plan playing or played last
    WindowTimers sectionTimers;   // identifiers 1 .. sectionCount - 1
    int planStartIndex = 0;
    std::int32_t playFromMs = 0;
    void But_JPG_Click();
    // The message of a JPEG export, if any; the image writer's failures in their own box.
    void showExportResult(const JpegExportResult& r);
    void But_baskı_Click();
    ExportMenu* exportMenu = nullptr; // the Export menu of the menu bar
    PracticeMenu* practice = nullptr; // the Practice menu and the Endless play mode
    MessageBoxes& messageBoxes() { return messages_; }
    // Lets the user set up the printer before printing; tests print to a PDF file instead.
    std::function<void(QPrinter&)> printSetup;
    std::unique_ptr<FRenk> colourDialog; // made when first opened
    void Mn_bilgi_Click();
    void Mn_yardm_Click();
    void Command2_Click();
    void Image3_Click();
    void VScroll1_Change();
    // Writes the eighteen sample files into the sound folder; false (after Message::soundFileError)
    // when they cannot be made and the program has to end.
    bool baslat_bindir();
    void Mn_Oseviye_Click(int index);
    // ---- playing the usul -----------------------------------------------------------------
    void But_Baslat_Click();
    void But_dur_Click();
    void StrokeTimerProc(int j);
    // Progress of a playing plan, every 100 ms while TimerWav runs.
    void TimerWav_Timer();
    double playLengthMs = 0; // of the file playing
    // Draws the marker on stroke k of the schedule with the inverting pen: drawing it twice
    // at the same stroke erases it.
    void drawMarker(int k);
    // "KUDUM", "BENDR" or "TEFOO" for the chosen instrument option.
    std::string chosenInstrument() const;
    MediaDevice media;
    WindowTimers strokeTimers; // identifiers 1 .. strokeCount - 1
    WindowTimers endTimer;     // the one usul end timer, kUsulEndTimerId
    PlanEndTimer planEnd;
    std::unique_ptr<xTimer> stopwatch;
    // Told the stroke the marker stands on whenever it moves (for measuring it against
    // the sound).
    std::function<void(int stroke)> markerMoved;
    SampleReader sampleReader;
    UsulRender schedule; // of the usul playing or played last
    int currentStroke = 0;
    bool usulPlaying = false;
    bool planPlaying = false;
    void Mn_Zseviye_Click(int index);
    void PicBirimNota_Click();
    void Label5_Click();
    void Picture8_MouseDown(double x, double y);
    void drawUnitNote();
    void drawMetronomePicker();
    int unitNote = 4; // 4, 8 or 16: the note value one metronome beat counts
    // Metronome value: 20 at the bottom of the scroll bar, 250 at the top.
    int bpm() const;

  protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void createControls();
    void createMenus();
    void connectPlayback();
    void connectLanguage();
    void connectPanels();
    void connectBrowser();
    void connectEditing();
    void connectExport();
    void connectPlans();
    void connectPlanPlayer();
    // Keys of the lists, presses around the open picker; true when the event was used.
    bool keyboardEvent(QObject* watched, QEvent* event);
    // Presses and moves on the notation; true when the event was used.
    bool editingEvent(QObject* watched, QEvent* event);
    // Presses on the usul lists and the mertebe field; true when the press was used.
    bool browserEvent(QObject* watched, QEvent* event);
    // The usul as the fields show it, for saving: name, numerator and mertebe from the
    // fields. Returns the message that refuses it, 0 when it can be written.
    Message composeFromFields(UsulRecord& r) const;
    void applyCaptions(Language lang);
    void applyLanguage(Language lang);
    // The fields of an usul without time signature and name, as Clear and Delete leave them.
    void showEmptyFields();
    bool screenIsLargeEnough();
    void prepareSoundFolder();
    void buildMenuPictures();
    void drawPlanPanelPictures();
    void loudnessChosen(std::array<QAction*, 10>& items, float& factor, int index);
    void setControlEnabled(QObject* control, bool enabled);
    bool isTimer(QObject* control) const;
    template <class W> W* make(QWidget* parent, const char* name, int x, int y, int w, int h);

    // What a playing plan changed, to be given back when it stops.
    std::vector<std::pair<QObject*, bool>> enabledBeforePlan_;
    struct UsulView {
        UsulRecord usul;
        QString name, numerator, mertebe, slot, length;
        int expectedLength = 0;
    };
    std::optional<UsulView> usulBeforePlan_;

    std::filesystem::path programFolder_;
    std::filesystem::path workingFolder_;
    MessageBoxes& messages_;
    std::optional<QSize> screenSize_;
    std::unique_ptr<QLockFile> instanceLock_;
    LibraryFile library_;
    // False when the library file at start was not a whole library (it is then kept read-only).
    bool libraryShapeOk_ = true;
    bool started_ = false;
    bool shutDown_ = false;
    QTimer* frameWatch_ = nullptr;
    bool pickerWatched_ = false;
    // Qt's own texts (standard buttons, dialogs) in Turkish while the window is Turkish.
    std::unique_ptr<QTranslator> qtTurkish_;
    void useQtTexts(Language lang);
    int frameChecks_ = 0;
};

} // namespace zerkavi
