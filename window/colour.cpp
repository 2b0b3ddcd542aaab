#include "window/colour.h"

#include "platform/message_boxes.h"
#include "window/arayuz_kalip.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QPushButton>
#include <QScrollBar>

namespace zerkavi {

// The dialog belongs to the main window: the window manager keeps it in front of it and
// never minimises it away from it.
FRenk::FRenk(ArayüzKalıp& main) : QDialog(&main), main_(main) {
    setObjectName(QStringLiteral("FRenk"));
    setWindowTitle(QString::fromUtf8(kApplicationTitle));
    setFixedSize(330, 178);
    QScrollBar** bars[] = {&HScroll1, &HScroll2, &HScroll3};
    const char* names[] = {"HScroll1", "HScroll2", "HScroll3"};
    for (int i = 0; i < 3; ++i) {
        QScrollBar* bar = new QScrollBar(Qt::Horizontal, this);
        bar->setObjectName(QString::fromLatin1(names[i]));
        bar->setRange(0, 255);
        bar->setPageStep(10);
        bar->setGeometry(12, 14 + 26 * i, 200, 18);
        connect(bar, &QScrollBar::valueChanged, this, [this] { HScroll_Change(); });
        *bars[i] = bar;
    }
    PicRenk = new PictureBox(this);
    PicRenk->setObjectName(QStringLiteral("PicRenk"));
    PicRenk->setGeometry(224, 12, 94, 72);
    PicRenk->resizePicture(94, 72);
    Check1 = new QCheckBox(this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(12, 98, 200, 22);
    Command1 = new QPushButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(12, 134, 150, 30);
    But_RenkTamam = new QPushButton(this);
    But_RenkTamam->setObjectName(QStringLiteral("But_RenkTamam"));
    But_RenkTamam->setGeometry(212, 134, 106, 30);
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(But_RenkTamam, &QPushButton::clicked, this, [this] { But_RenkTamam_Click(); });
}

void FRenk::Form_Load() {
    main_.setEnabled(false);
    // A window may be enabled while its disabled owner waits for it.
    setEnabled(true);
    // Only the preview colour is kept between openings.
    Check1->setChecked(false);
    HScroll1->setValue(main_.colourRecord.red);
    HScroll2->setValue(main_.colourRecord.green);
    HScroll3->setValue(main_.colourRecord.blue);
    // The preview shows all three values, also those that did not change.
    HScroll_Change();
    // The language menu names the other language.
    const bool english = main_.Mn_Lisanlar->text() == QStringLiteral("Turkce");
    Check1->setText(english ? QStringLiteral("Make Permanent  ")
                            : QString::fromUtf8("Kalıcı olsun  "));
    But_RenkTamam->setText(english ? QStringLiteral("Apply ") : QStringLiteral("Uygula"));
    Command1->setText(english ? QStringLiteral("Revert to Default")
                              : QStringLiteral("Orijinal renk"));
}

void FRenk::HScroll_Change() {
    previewColour[0] = static_cast<unsigned char>(HScroll1->value());
    previewColour[1] = static_cast<unsigned char>(HScroll2->value());
    previewColour[2] = static_cast<unsigned char>(HScroll3->value());
    PicRenk->setBackground(QColor(previewColour[0], previewColour[1], previewColour[2]));
}

void FRenk::Command1_Click() {
    HScroll1->setValue(200);
    HScroll2->setValue(185);
    HScroll3->setValue(130);
}

void FRenk::But_RenkTamam_Click() {
    ColourRecord& c = main_.colourRecord;
    c.red = std::uint8_t(HScroll1->value());
    c.green = std::uint8_t(HScroll2->value());
    c.blue = std::uint8_t(HScroll3->value());
    main_.setEnabled(true);
    main_.renklendir(c.red, c.green, c.blue);
    if (Check1->isChecked() && !main_.library().writeColour(c)) main_.reportWriteFailure();
    hide();
}

void FRenk::closeEvent(QCloseEvent* e) {
    // Closed without Apply: nothing changes, but the main window must not stay locked.
    main_.setEnabled(true);
    e->accept();
}

} // namespace zerkavi
