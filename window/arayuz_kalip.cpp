// Creation of the window's controls and the control lock.
#include "window/arayuz_kalip.h"

#include "platform/embedded_pictures.h"
#include "window/colour.h"
#include "window/column_header.h"
#include "window/edit_keeper.h"
#include "window/picture.h"
#include "window/practice_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QButtonGroup>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLockFile>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QTranslator>
#include <type_traits>

namespace zerkavi {

namespace {

QFont fixedFont(int points) {
    QFont f;
    f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("DejaVu Sans Mono")});
    f.setStyleHint(QFont::Monospace);
    f.setPointSize(points);
    return f;
}

// Menu items with pictures 26 pixels high instead of the small icons of text menus.
class MenuPictureStyle : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_SmallIconSize) return 26;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

ArayüzKalıp::ArayüzKalıp(std::filesystem::path programFolder, MessageBoxes& messages,
                         std::optional<QSize> screenSize)
    : programFolder_(std::move(programFolder)), workingFolder_(programFolder_), messages_(messages),
      screenSize_(screenSize) {
    setObjectName(QString::fromUtf8("ArayüzKalıp"));
    createControls();
    createMenus();
    connectPlayback();
    connectLanguage();
    connectPanels();
    connectBrowser();
    connectEditing();
    connectExport();
    connectPlans();
    connectPlanPlayer();
    createKeyboard();
    practice = new PracticeMenu(*this);
    new EditKeeper(*this);
    // The marker, the end of an usul and the plan's sections keep to the sound heard.
    const auto heard = [this] { return media.heardMs(QString::fromUtf8(kMediaAlias)); };
    for (WindowTimers* t : {&strokeTimers, &endTimer, &sectionTimers})
        t->followPosition(heard);
}

ArayüzKalıp::~ArayüzKalıp() {
    shutDown();
}

template <class W>
W* ArayüzKalıp::make(QWidget* parent, const char* name, int x, int y, int w, int h) {
    auto* widget = new W(parent);
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(x, y, w, h);
    if constexpr (std::is_same_v<W, PictureBox>) widget->resizePicture(w, h);
    allControls.push_back(widget);
    return widget;
}

void ArayüzKalıp::createControls() {
    central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);
    QWidget* c = central;

    // Usul name and slot, time signature and length, saving: one slim band above the
    // notation, so that even a notation of four rows leaves it in sight.
    Frame3 = make<QGroupBox>(c, "Frame3", 4, 1, 592, 24);
    Label1 = make<QLabel>(Frame3, "Label1", 180, 2, 36, 20);
    Label1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Label1->setAlignment(Qt::AlignCenter);
    But_önceki = make<QPushButton>(Frame3, "But_önceki", 220, 2, 22, 20);
    But_önceki->setText(QString::fromUtf8("◀"));
    But_sonraki = make<QPushButton>(Frame3, "But_sonraki", 244, 2, 22, 20);
    But_sonraki->setText(QString::fromUtf8("▶"));
    Text5 = make<QLineEdit>(Frame3, "Text5", 270, 2, 210, 20);
    Text5->setMaxLength(kNameChars);
    But_yükle = make<QPushButton>(Frame3, "But_yükle", 484, 1, 108, 22);

    Frame6 = make<QGroupBox>(c, "Frame6", 602, 1, 192, 24);
    Text2 = make<QLineEdit>(Frame6, "Text2", 4, 2, 30, 20);
    Label7 = make<QLabel>(Frame6, "Label7", 34, 2, 10, 20);
    Label7->setText(QStringLiteral("/"));
    Label7->setAlignment(Qt::AlignCenter);
    Text3 = make<QLineEdit>(Frame6, "Text3", 44, 2, 30, 20);
    Text4 = make<QLineEdit>(Frame6, "Text4", 80, 2, 44, 20);
    Text4->setReadOnly(true);
    Text4->setAlignment(Qt::AlignRight);
    Label4 = make<QLabel>(Frame6, "Label4", 128, 2, 60, 20);
    Label4->setAlignment(Qt::AlignCenter);
    QFont bold = Label4->font();
    bold.setBold(true);
    Label4->setFont(bold);

    Frame8 = make<QGroupBox>(c, "Frame8", 800, 1, 220, 24);
    But_kaydet = make<QPushButton>(Frame8, "But_kaydet", 4, 1, 66, 22);
    But_farklı = make<QPushButton>(Frame8, "But_farklı", 72, 1, 96, 22);
    But_Sil = make<QPushButton>(Frame8, "But_Sil", 170, 1, 46, 22);

    // Maintenance button, kept out of sight.
    Command6 = make<QPushButton>(c, "Command6", 984, 4, 25, 21);
    Command6->setVisible(false);

    // The notation; göster sizes and centres it by the number of rows.
    Picture1 = make<PictureBox>(c, "Picture1", 26, 66, 964, 556);
    Picture1->setFont(notationFont(8));

    // The strip below the notation; placeStrip() puts it on the bottom of the inner area.
    Frame2 = make<QGroupBox>(c, "Frame2", 4, 640, 196, kStripHeight);
    But_Baslat = make<QPushButton>(Frame2, "But_Baslat", 8, 18, 86, 28);
    But_Dur = make<QPushButton>(Frame2, "But_Dur", 100, 18, 86, 28);
    Option2 = make<QRadioButton>(Frame2, "Option2", 8, 49, 90, 20);
    Option3 = make<QRadioButton>(Frame2, "Option3", 8, 69, 90, 20);
    Option4 = make<QRadioButton>(Frame2, "Option4", 100, 49, 92, 20);
    auto* playMode = new QButtonGroup(this);
    playMode->addButton(Option2);
    playMode->addButton(Option3);
    playMode->addButton(Option4);
    Option2->setChecked(true);

    VScroll1 = make<QScrollBar>(c, "VScroll1", 206, 644, 18, kStripHeight - 6);
    VScroll1->setOrientation(Qt::Vertical);
    VScroll1->setRange(20, 250);
    VScroll1->setSingleStep(1);
    VScroll1->setPageStep(4);
    PicBirimNota = make<PictureBox>(c, "PicBirimNota", 230, 652, 22, 46);
    Label5 = make<QLabel>(c, "Label5", 254, 664, 48, 22);

    Frame1 = make<QGroupBox>(c, "Frame1", 304, 640, 112, kStripHeight);
    auto* instruments = new QButtonGroup(this);
    const char* const optionNames[] = {"", "Option1(1)", "Option1(2)", "Option1(3)"};
    for (int i = 1; i <= 3; ++i) {
        Option1[std::size_t(i)] =
            make<QRadioButton>(Frame1, optionNames[i], 10, 18 + (i - 1) * 23, 96, 22);
        instruments->addButton(Option1[std::size_t(i)], i);
    }
    Option1[2]->setChecked(true);

    Frame4 = make<QGroupBox>(c, "Frame4", 422, 640, 250, kStripHeight);
    But_Temizle = make<QPushButton>(Frame4, "But_Temizle", 10, 20, 112, 28);
    But_optimize = make<QPushButton>(Frame4, "But_optimize", 128, 20, 112, 28);
    But_uzat = make<QPushButton>(Frame4, "But_uzat", 10, 55, 112, 28);
    But_uzat->setText(QStringLiteral("<    >"));
    But_kısalt = make<QPushButton>(Frame4, "But_kısalt", 128, 55, 112, 28);
    But_kısalt->setText(QStringLiteral(">   <"));

    Frame7 = make<QGroupBox>(c, "Frame7", 678, 640, 170, kStripHeight);
    But_mertebe[0] = make<QPushButton>(Frame7, "But_mertebe(0)", 10, 20, 150, 28);
    But_mertebe[1] = make<QPushButton>(Frame7, "But_mertebe(1)", 10, 55, 150, 28);

    But_baskı = make<QPushButton>(c, "But_baskı", 856, 652, 134, 30);
    But_JPG = make<QPushButton>(c, "But_JPG", 856, 692, 134, 30);

    // The three work-plan frames; EkranDizayn puts them just below the visible area.
    Frame5 = make<QGroupBox>(c, "Frame5", 206, 900, 212, 163);
    File1 = make<QListWidget>(Frame5, "File1", 8, 22, 122, 110);
    // Long names are shortened in the middle and shown whole in their tool tip.
    File1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    File1->setTextElideMode(Qt::ElideMiddle);
    Command10 = make<QPushButton>(Frame5, "Command10", 136, 20, 68, 25);
    Command5 = make<QPushButton>(Frame5, "Command5", 136, 47, 68, 25);
    Command4 = make<QPushButton>(Frame5, "Command4", 136, 74, 68, 25);
    Command3 = make<QPushButton>(Frame5, "Command3", 136, 101, 68, 25);
    Command1 = make<QPushButton>(Frame5, "Command1", 136, 128, 68, 25);
    Picture2 = make<PictureBox>(Frame5, "Picture2", 8, 138, 122, 14);

    Frame10 = make<QGroupBox>(c, "Frame10", 418, 900, 164, 163);
    List3 = make<QListWidget>(Frame10, "List3", 8, 22, 148, 108);
    Label3 = make<QLabel>(Frame10, "Label3", 8, 134, 148, 22);
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setFont(fixedFont(11));

    Frame9 = make<QGroupBox>(c, "Frame9", 582, 900, 438, 163);
    Label9 = make<QLabel>(Frame9, "Label9", 8, 20, 62, 22);
    Text9 = make<QLineEdit>(Frame9, "Text9", 72, 20, 196, 22);
    Command8 = make<QPushButton>(Frame9, "Command8", 276, 18, 72, 25);
    Command2 = make<QPushButton>(Frame9, "Command2", 354, 18, 76, 25);
    Command2->setIcon(style()->standardIcon(QStyle::SP_FileDialogInfoView));
    auto* header = make<ColumnHeader>(Frame9, "Label2", 8, 44, 422, 16);
    Label2 = header;
    QFont small = Label2->font();
    small.setPointSize(7);
    Label2->setFont(small);
    Text14 = make<QPlainTextEdit>(Frame9, "Text14", 8, 60, 422, 96);
    Text14->setFont(fixedFont(9));
    header->setColumnsOf(Text14);
    Text14->setLineWrapMode(QPlainTextEdit::NoWrap);

    // Panels of the plan screen, laid over the notation area and hidden until used.
    Picture5 = make<PictureBox>(c, "Picture5", 26, 12, 964, 528);
    Picture5->hide();
    Picture4 = make<PictureBox>(c, "Picture4", 30, 30, 960, 512);
    Picture4->hide();
    Picture3 = make<PictureBox>(c, "Picture3", 110, 40, 837, 430);
    Picture3->hide();
    Frame12 = make<QGroupBox>(Picture3, "Frame12", 8, 6, 420, 416);
    Text1 = make<QPlainTextEdit>(Frame12, "Text1", 8, 22, 404, 344);
    Text1->setReadOnly(true);
    Image3 = make<QToolButton>(Frame12, "Image3", 8, 372, 40, 36);
    Image3->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
    Image3->setIconSize(QSize(28, 28));
    Image3->setAutoRaise(true);
    Frame13 = make<QGroupBox>(Picture3, "Frame13", 436, 6, 393, 200);
    Frame14 = make<QGroupBox>(Picture3, "Frame14", 436, 212, 393, 210);
    drawPlanPanelPictures();

    // The metronome picker: 4 rows of 10 cells of 17 pixels.
    Picture8 = make<PictureBox>(c, "Picture8", 50, 620, 170, 67);
    Picture8->hide();
    drawMetronomePicker();

    // The two usul lists, over the notation while open.
    List1 = make<QListWidget>(c, "List1", 308, 30, 400, 560);
    List2 = make<QListWidget>(c, "List2", 308, 30, 400, 560);
    for (QListWidget* l : {List1, List2}) {
        l->setFont(fixedFont(9));
        l->hide();
    }

    // Hidden drawing helpers: the glyph strip, the export canvas and the menu pictures.
    PicEschel = make<PictureBox>(c, "PicEschel", 0, 0, 240, 230);
    const auto strip = embedded::glyphStrip();
    PicEschel->image() = QImage::fromData(strip.data(), int(strip.size()), "PNG")
                             .convertToFormat(QImage::Format_RGB32);
    PicEschel->hide();
    imajPenceresi = make<PictureBox>(c, "imajPenceresi", 0, 0, 964, 660);
    imajPenceresi->setFont(notationFont(8));
    imajPenceresi->hide();
    for (int i : {0, 1, 2, 3, 4, 5, 9, 10, 11, 12, 13, 14}) {
        const std::string name = "MenüPenc(" + std::to_string(i) + ")";
        MenüPenc[std::size_t(i)] =
            make<PictureBox>(c, name.c_str(), 0, 0, 40, (i == 0 || i == 14) ? 26 : 24);
        MenüPenc[std::size_t(i)]->hide();
    }

    TimerWav = new QTimer(this);
    TimerWav->setObjectName(QStringLiteral("TimerWav"));
    TimerWav->setInterval(100);
    connect(TimerWav, &QTimer::timeout, this, [this] { TimerWav_Timer(); });
    allControls.push_back(TimerWav);
}

void ArayüzKalıp::createMenus() {
    auto action = [this](QMenu* menu, const char* name, const QString& text) {
        auto* a = menu->addAction(text);
        a->setObjectName(QString::fromUtf8(name));
        allControls.push_back(a);
        return a;
    };
    auto menu = [this](const char* name) {
        auto* m = new QMenu(this);
        m->setObjectName(QString::fromUtf8(name));
        m->menuAction()->setObjectName(QString::fromUtf8(name));
        allControls.push_back(m->menuAction());
        return m;
    };
    QMenuBar* bar = menuBar();

    // The note menu stays the first drop-down of the bar; it is only ever opened as the
    // pop-up of the notation, so its bar entry is not shown.
    Mn_edit = menu("Mn_edit");
    bar->addMenu(Mn_edit);
    Mn_edit->menuAction()->setVisible(false);
    for (int i = 0; i <= 14; ++i) {
        const std::string name = "Mn_editNota(" + std::to_string(i) + ")";
        if (i == 7) {
            Mn_editNota[7] = Mn_edit->addSeparator();
            Mn_editNota[7]->setObjectName(QString::fromUtf8(name.c_str()));
            continue;
        }
        Mn_editNota[std::size_t(i)] = action(Mn_edit, name.c_str(), QString());
    }

    // Denominator and syllable menus exist only as pop-ups.
    Mn_birim = menu("Mn_birim");
    Mn_birim->setTitle(QStringLiteral("birim Nota"));
    ikilik = action(Mn_birim, "ikilik", QStringLiteral("2"));
    dörtlük = action(Mn_birim, "dörtlük", QStringLiteral("4"));
    sekizlik = action(Mn_birim, "sekizlik", QStringLiteral("8"));
    onaltılık = action(Mn_birim, "onaltılık", QStringLiteral("16"));
    otuzikilik = action(Mn_birim, "otuzikilik", QStringLiteral("32"));

    Mn_metinler = menu("Mn_metinler");
    const char* const syllables[] = {"Düm", "Dü", "Tek", "Te", "Ke", "Kâ", "Ta", "Hek", "Me"};
    for (int i = 0; i < 9; ++i) {
        const std::string name = "Mn_metin(" + std::to_string(i) + ")";
        Mn_metin[std::size_t(i)] =
            action(Mn_metinler, name.c_str(), QString::fromUtf8(syllables[i]));
    }

    Mn_volüm = menu("Mn_volüm");
    bar->addMenu(Mn_volüm);
    Mn_orta = menu("Mn_orta");
    Mn_zayıf = menu("Mn_zayıf");
    Mn_volüm->addMenu(Mn_orta);
    Mn_volüm->addMenu(Mn_zayıf);
    for (auto [sub, items, base] : {std::tuple{Mn_orta, &Mn_Oseviye, "Mn_Oseviye("},
                                    std::tuple{Mn_zayıf, &Mn_Zseviye, "Mn_Zseviye("}}) {
        auto* group = new QActionGroup(this);
        for (int n = 2; n <= 9; ++n) {
            const std::string name = base + std::to_string(n) + ")";
            QAction* a = action(sub, name.c_str(), QString::number(n * 10) + QStringLiteral(" %"));
            a->setCheckable(true);
            const bool medium = items == &Mn_Oseviye;
            connect(a, &QAction::triggered, this,
                    [this, medium, n] { medium ? Mn_Oseviye_Click(n) : Mn_Zseviye_Click(n); });
            group->addAction(a);
            (*items)[std::size_t(n)] = a;
        }
    }

    auto barAction = [&](const char* name) {
        QAction* a = bar->addAction(QString());
        a->setObjectName(QString::fromUtf8(name));
        allControls.push_back(a);
        return a;
    };
    Mn_Lisanlar = barAction("Mn_Lisanlar");
    Mn_RenkZemin = barAction("Mn_RenkZemin");
    Mn_yardm = barAction("Mn_yardm");
    Mn_bilgi = barAction("Mn_bilgi");

    // Pictures and labels that react to a press.
    for (QWidget* w : {static_cast<QWidget*>(PicBirimNota), static_cast<QWidget*>(Label5),
                       static_cast<QWidget*>(Picture8)})
        w->installEventFilter(this);
    // The note menu shows its pictures at full size. A widget does not own its style, so
    // the menu holds it as a child and it goes with the menu.
    auto* pictureStyle = new MenuPictureStyle;
    pictureStyle->setParent(Mn_edit);
    Mn_edit->setStyle(pictureStyle);
}

bool ArayüzKalıp::eventFilter(QObject* watched, QEvent* event) {
    if (practice && watched == Label5 && event->type() == QEvent::MouseButtonPress &&
        practice->labelPressed(static_cast<QMouseEvent*>(event)->timestamp()))
        return true;
    if (keyboardEvent(watched, event)) return true;
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == PicBirimNota) {
            PicBirimNota_Click();
            return true;
        }
        if (watched == Label5) {
            Label5_Click();
            openPicker();
            return true;
        }
        if (watched == Picture8) {
            Picture8_MouseDown(mouse->position().x(), mouse->position().y());
            return true;
        }
    }
    return browserEvent(watched, event) || editingEvent(watched, event) ||
           QMainWindow::eventFilter(watched, event);
}

void ArayüzKalıp::drawPlanPanelPictures() {
    // Two fixed pictures beside the worked example: how the saved plans are listed, and how
    // the example plan stands in the plan box.
    auto picture = [](QWidget* frame, QSize size, auto paint) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        p.setPen(QColor(120, 120, 120));
        p.drawRect(image.rect().adjusted(0, 0, -1, -1));
        paint(p);
        p.end();
        auto* label = new QLabel(frame);
        label->setGeometry(12, 24, size.width(), size.height());
        label->setPixmap(QPixmap::fromImage(image));
    };
    picture(Frame13, QSize(368, 164), [](QPainter& p) {
        const char* const names[] = {"Muhammes pesrevi.txt", "Nihavend saz semaisi.txt",
                                     "Raks aksagi calismasi.txt", "Sofyan ilahi.txt"};
        for (int i = 0; i < 4; ++i) {
            const QRect row(3, 4 + 18 * i, 240, 17);
            if (i == 0) p.fillRect(row, QColor(48, 140, 198));
            p.setPen(i == 0 ? Qt::white : Qt::black);
            p.drawText(row.adjusted(4, 0, 0, 0), Qt::AlignVCenter, QString::fromLatin1(names[i]));
        }
    });
    picture(Frame14, QSize(368, 174), [](QPainter& p) {
        QFont mono(QStringLiteral("DejaVu Sans Mono"));
        mono.setPointSize(8);
        p.setFont(mono);
        p.setPen(Qt::black);
        const char* const lines[] = {
            "1.Hane            165   2     4    84", "Teslim            165   1     4    84",
            "Teslim            165   -48   4    84", "Final             165   49-   4    84>50"};
        for (int i = 0; i < 4; ++i)
            p.drawText(QPoint(8, 22 + 16 * i), QString::fromLatin1(lines[i]));
    });
}

int ArayüzKalıp::innerHeight() const {
    // The client area below the menu bar.
    return height() - menuBar()->sizeHint().height();
}

bool ArayüzKalıp::isTimer(QObject* control) const {
    return qobject_cast<QTimer*>(control);
}

void ArayüzKalıp::setControlEnabled(QObject* control, bool enabled) {
    if (auto* w = qobject_cast<QWidget*>(control))
        w->setEnabled(enabled);
    else if (auto* a = qobject_cast<QAction*>(control))
        a->setEnabled(enabled);
    else if (auto* t = qobject_cast<QTimer*>(control)) {
        if (!enabled)
            t->stop();
        else if (!t->isActive())
            t->start();
    }
}

void ArayüzKalıp::setEditingButtonsForSlot() {
    const bool editable = currentSlot >= kFirstUserSlot;
    for (QPushButton* b : {But_Sil, But_kaydet, But_Temizle, But_optimize, But_uzat, But_kısalt,
                           But_mertebe[0], But_mertebe[1]})
        b->setEnabled(editable);
}

void ArayüzKalıp::EkranKiliti(Lock durum) {
    if (durum == Lock::Released) durum = Lock::Idle;
    const std::vector<QObject*> planControls = {File1,    Picture2, Command4, Command5, Command10,
                                                Command2, Text14,   Text9,    Command8, Option2,
                                                Option3,  Option4,  List3};
    auto idle = [&] {
        for (QObject* c : allControls)
            if (!isTimer(c)) setControlEnabled(c, true);
        But_Dur->setEnabled(false);
        if (currentSlot <= 200) setEditingButtonsForSlot();
    };
    auto onlyThisList = [&](QListWidget* list) {
        for (QObject* c : allControls)
            if (c != list) setControlEnabled(c, false);
    };
    switch (durum) {
    case Lock::Playing:
        for (QObject* c : allControls)
            setControlEnabled(c, false);
        Frame2->setEnabled(true);
        But_Dur->setEnabled(true);
        break;
    case Lock::Idle:
        idle();
        break;
    case Lock::LoadListClosed:
        idle();
        Picture1->show();
        List1->hide();
        break;
    case Lock::LoadListOpen:
        onlyThisList(List1);
        break;
    case Lock::TargetListClosed:
        idle();
        Picture1->show();
        List2->hide();
        break;
    case Lock::TargetListOpen:
        onlyThisList(List2);
        break;
    case Lock::PlanPlaying:
        for (QObject* c : planControls)
            setControlEnabled(c, false);
        Command3->setEnabled(true);
        Command1->setEnabled(true);
        break;
    case Lock::PlanStopped:
        Command3->setEnabled(false);
        Command1->setEnabled(false);
        for (QObject* c : planControls)
            setControlEnabled(c, true);
        break;
    default:
        break;
    }
}

const std::string& ArayüzKalıp::messageText(Message m) const {
    static const std::string none;
    if (!texts) return none;
    return texts->message[m];
}

} // namespace zerkavi
