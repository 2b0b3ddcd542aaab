// The colour dialog: three scroll bars choose the background colour of the main window,
// a preview shows it, Apply uses it and, when asked, keeps it in the library.
#pragma once

#include <QColor>
#include <QDialog>

class QCheckBox;
class QPushButton;
class QScrollBar;

namespace zerkavi {

class ArayüzKalıp;
class PictureBox;

// Contrast of two colours as for text on a background, from 1 to 21.
double contrastRatio(const QColor& a, const QColor& b);
// A grey that reads on `background` at a contrast of at least 4.5:1, for locked captions.
QColor legibleGrey(const QColor& background);

class FRenk : public QDialog {
  public:
    explicit FRenk(ArayüzKalıp& main);

    // Opening: the main window waits, the bars show the colour in use, the captions follow
    // the main window's language.
    void Form_Load();
    void HScroll_Change();
    void Command1_Click();
    void But_RenkTamam_Click();

    QScrollBar *HScroll1, *HScroll2, *HScroll3;
    PictureBox* PicRenk;
    QCheckBox* Check1;
    QPushButton* But_RenkTamam;
    QPushButton* Command1;
    unsigned char previewColour[3] = {0, 0, 0};

  protected:
    void closeEvent(QCloseEvent* e) override;

  private:
    ArayüzKalıp& main_;
};

} // namespace zerkavi
