// The notation written as a JPEG file and printed to a PDF page.
#include "notation/geometry.h"
#include "platform/picture_box.h"
#include "tests/support/window_fixture.h"
#include "window/export.h"
#include "window/painter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFont>
#include <QImage>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include <cmath>
#include <filesystem>

using namespace zerkavi;
using zerkavi::testing::WindowTest;

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kGrey = qRgb(200, 200, 200);

QImage glyphStrip() {
    const auto file =
        std::filesystem::path(ZERKAVI_SOURCE_DIR) / "assets" / "glyphs" / "eschel.png";
    return QImage(QString::fromStdString(file.string())).convertToFormat(QImage::Format_RGB32);
}

std::size_t filesIn(const std::filesystem::path& folder) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder))
        ++count;
    return count;
}

bool nearCircle(int x, int y) {
    for (const auto& [cx, cy] : exportCircleCentres(180))
        if (std::abs(x - cx) <= 6 && std::abs(y - cy) <= 6) return true;
    return false;
}

class ExportTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = zerkavi::testing::makeTemporaryFolder();
        QFont f;
        f.setFamilies({QStringLiteral("DejaVu Sans")});
        f.setPointSize(8);
        notation.setFont(f);
        canvas.setFont(f);
        usul.numerator = 8;
        usul.mertebe = 4;
        usul.name = fixedText(U"Düyek", kNameChars);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    // Strokes at circles 1, 3, 5 … up to `last`, drawn as the window draws them.
    void drawStrokes(int last) {
        for (int k = 1; k <= last; k += 2) {
            usul.circle(k).rightDuration = k % 4 == 1 ? 16 : 0;
            usul.circle(k).leftDuration = k % 4 == 3 ? 8 : 0;
            usul.circle(k).level = 3;
            usul.circle(k).syllable = k % 4 == 1 ? U"Düm" : U"Tek";
        }
        usul.circle(last).rightDuration = 16;
        notation.resizePicture(kPictureWidth, pictureHeightForCircles(MevcutHalka(usul)));
        UsulÇiz(notation, usul, strip, glyphs, letters);
    }
    // The screen picture's style: exports paint the same notation as the screen.
    NotationStyle style() const { return {strip, glyphs, letters, notation.font()}; }

    std::filesystem::path folder;
    QImage strip = glyphStrip();
    const GlyphTable glyphs = largeGlyphBand();
    const LoudnessLetters letters{QStringLiteral("K"), QStringLiteral("O"), QStringLiteral("Z")};
    PictureBox notation, canvas;
    UsulRecord usul;
};

} // namespace

TEST_F(ExportTest, OneRowJpegHasItsNameSizeAndTheNotationWithoutCircles) {
    ASSERT_FALSE(strip.isNull());
    drawStrokes(7);
    const QImage before = notation.image().copy();
    const JpegExportResult r =
        exportNotationJpeg(usul, style(), canvas, QStringLiteral("  Düyek "), folder);
    EXPECT_TRUE(r.saved);
    EXPECT_EQ(r.message, Message::none);
    EXPECT_EQ(r.codecStatus, 0);
    EXPECT_EQ(r.file, folder / "8-4  Duyek.jpg");
    ASSERT_TRUE(std::filesystem::exists(folder / "8-4  Duyek.jpg"));

    // The canvas: the strip of at least 470 pixels under a 40-pixel title band, with every
    // circle painted white and everything else a copy of the notation.
    const QImage& c = canvas.image();
    ASSERT_EQ(c.size(), QSize(510, 210));
    int darkInNotation = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 470; ++x) {
            if (nearCircle(x, y)) continue;
            ASSERT_EQ(c.pixel(x, y + 40), before.pixel(x, y)) << x << "," << y;
            darkInNotation += qGray(before.pixel(x, y)) < 80;
        }
    EXPECT_GT(darkInNotation, 500); // staff lines and glyphs were really copied
    for (const auto& [cx, cy] : exportCircleCentres(7)) {
        if (cx >= 470) break;
        EXPECT_EQ(before.pixel(cx + 5, cy), kGrey);
        EXPECT_EQ(c.pixel(cx + 5, cy + 40), kWhite) << cx;
        EXPECT_EQ(c.pixel(cx, cy + 35), kWhite) << cx;
    }
    // Right of the copied strip and below it the canvas stays white.
    for (int y = 0; y < 210; ++y)
        for (int x = 470; x < 510; ++x)
            ASSERT_EQ(c.pixel(x, y), kWhite) << x << "," << y;
    for (int x = 0; x < 510; ++x)
        for (int y = 190; y < 210; ++y)
            ASSERT_EQ(c.pixel(x, y), kWhite) << x << "," << y;
    // The title starts at (40, 20) and stays in the band above the notation.
    int titleInk = 0, leftOfTitle = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 510; ++x)
            if (qGray(c.pixel(x, y)) < 128) (x < 40 || y < 20 ? leftOfTitle : titleInk)++;
    EXPECT_GT(titleInk, 50);
    EXPECT_EQ(leftOfTitle, 0);

    // The file decodes to the same size and, within JPEG's losses, the same pixels.
    QImage decoded(QString::fromStdString((folder / "8-4  Duyek.jpg").string()));
    ASSERT_FALSE(decoded.isNull());
    EXPECT_EQ(decoded.size(), QSize(510, 210));
    double diff = 0;
    int darkKept = 0, darkBoth = 0;
    for (int y = 0; y < 210; ++y)
        for (int x = 0; x < 510; ++x) {
            const int a = qGray(c.pixel(x, y)), b = qGray(decoded.pixel(x, y));
            diff += std::abs(a - b);
            if (a < 80) {
                ++darkBoth;
                darkKept += b < 128;
            }
        }
    EXPECT_LT(diff / (510 * 210), 4.0);
    EXPECT_GT(darkKept, darkBoth * 9 / 10);
}

TEST_F(ExportTest, TwoRowsExportTheWholePictureUnderTheTitle) {
    drawStrokes(46);
    const QImage before = notation.image().copy();
    const JpegExportResult r =
        exportNotationJpeg(usul, style(), canvas, QStringLiteral("Düyek"), folder);
    ASSERT_TRUE(r.saved);
    const QImage decoded(QString::fromStdString(r.file.string()));
    EXPECT_EQ(decoded.size(), QSize(964, 360));
    const QImage& c = canvas.image();
    ASSERT_EQ(c.size(), QSize(964, 360));
    // The second row and the separator are there, at the same places 40 pixels lower.
    for (int x : {0, 480, 959})
        EXPECT_EQ(c.pixel(x, 150 + 40), before.pixel(x, 150)) << x;
    for (int y = 0; y < 300; y += 3)
        for (int x = 0; x < 964; x += 3)
            if (!nearCircle(x, y)) {
                ASSERT_EQ(c.pixel(x, y + 40), before.pixel(x, y)) << x << "," << y;
            }
    EXPECT_EQ(c.pixel(40 + 5, 225 + 40), kWhite); // circle 46, hidden
}

TEST_F(ExportTest, TurkishLettersAreFoldedInTheFileName) {
    drawStrokes(3);
    usul.numerator = 9;
    usul.mertebe = 8;
    const JpegExportResult r = exportNotationJpeg(
        usul, style(), canvas, QString::fromUtf8("Çiftesofyan ağır Şarkı Semâî"), folder);
    EXPECT_TRUE(r.saved);
    EXPECT_TRUE(std::filesystem::exists(folder / "9-8  Ciftesofyan agir Sarki Semâî.jpg"));
    EXPECT_EQ(filesIn(folder), 1u);
}

TEST_F(ExportTest, EmptyNameStillGivesAFile) {
    drawStrokes(1);
    const JpegExportResult r = exportNotationJpeg(usul, style(), canvas, QString(), folder);
    EXPECT_TRUE(r.saved);
    EXPECT_TRUE(std::filesystem::exists(folder / "8-4  .jpg"));
}

TEST_F(ExportTest, RefusedNamesAndFoldersWriteNothing) {
    drawStrokes(3);
    for (const char* name : {"Hicaz: ağır", "a/b", "Ne?", "x|y", "\"Düyek\""}) {
        const JpegExportResult r =
            exportNotationJpeg(usul, style(), canvas, QString::fromUtf8(name), folder);
        EXPECT_FALSE(r.saved) << name;
        EXPECT_EQ(r.message, Message::forbiddenName) << name;
    }
    EXPECT_EQ(filesIn(folder), 0u);

    // A folder that is not there: the file system refuses the file, and says so the same way.
    const JpegExportResult missing =
        exportNotationJpeg(usul, style(), canvas, QStringLiteral("Düyek"), folder / "none");
    EXPECT_FALSE(missing.saved);
    EXPECT_EQ(missing.codecStatus, 7);
    EXPECT_EQ(missing.message, Message::forbiddenName);
}

TEST_F(ExportTest, AnUsulWithoutBeatsIsNeitherSavedNorPrinted) {
    const JpegExportResult r =
        exportNotationJpeg(usul, style(), canvas, QStringLiteral("Düyek"), folder);
    EXPECT_EQ(r.message, Message::noBeats);
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(filesIn(folder), 0u);

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((folder / "page.pdf").string()));
    const PrintResult p = printNotation(printer, usul, style());
    EXPECT_EQ(p.message, Message::noBeats);
    EXPECT_FALSE(p.printed);
    EXPECT_EQ(filesIn(folder), 0u);
}

TEST_F(ExportTest, SaveAsJpegClampsTheQuality) {
    drawStrokes(9);
    const QString low = QString::fromStdString((folder / "low.jpg").string());
    const QString high = QString::fromStdString((folder / "high.jpg").string());
    const QString top = QString::fromStdString((folder / "top.jpg").string());
    int status = -1;
    EXPECT_TRUE(saveAsJpeg(notation.image(), low, -20, status));
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(saveAsJpeg(notation.image(), high, 250, status));
    EXPECT_TRUE(saveAsJpeg(notation.image(), top, 100, status));
    EXPECT_LT(QFile(low).size(), QFile(high).size());
    EXPECT_EQ(QFile(high).size(), QFile(top).size());
}

namespace {

// Prints the notation to a PDF and renders its page at 96 dots to the inch, where one
// picture pixel is one page pixel; the origin is moved to the printable area's corner.
struct PrintedPage {
    QImage page;
    QPoint origin;
    int usableWidth = 0;
};

PrintedPage printAndRender(const UsulRecord& usul, const NotationStyle& style,
                           const std::filesystem::path& folder, bool& printed) {
    PrintedPage out;
    const auto pdf = folder / "page.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf.string()));
    printed = printNotation(printer, usul, style).printed;
    const QRect paint = printer.pageLayout().paintRectPixels(96);
    out.origin = paint.topLeft();
    out.usableWidth = paint.width();
    if (!printed || QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        return out;
    const auto prefix = folder / "page";
    QProcess::execute(QStringLiteral("pdftoppm"),
                      {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("96"),
                       QStringLiteral("-singlefile"), QString::fromStdString(pdf.string()),
                       QString::fromStdString(prefix.string())});
    out.page = QImage(QString::fromStdString(prefix.string()) + QStringLiteral(".png"));
    return out;
}

// Bounding box of dark ink inside a band of the page.
QRect inkBox(const QImage& page, int top, int bottom) {
    QRect box;
    for (int y = top; y < std::min(bottom, page.height()); ++y)
        for (int x = 0; x < page.width(); ++x)
            if (qGray(page.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

TEST_F(ExportTest, PrintingOneCirclePutsTitleAndA150PixelStripOnThePage) {
    drawStrokes(1);
    const QImage before = notation.image().copy();
    bool printed = false;
    const PrintedPage p = printAndRender(usul, style(), folder, printed);
    ASSERT_TRUE(printed);
    QFile pdf(QString::fromStdString((folder / "page.pdf").string()));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    if (p.page.isNull()) GTEST_SKIP() << "pdftoppm did not render the page";

    // Title at 600 x 300 twips = (40, 20) pixels, above the picture at 500 twips (33.3).
    const QRect title = inkBox(p.page, p.origin.y(), p.origin.y() + 33);
    ASSERT_FALSE(title.isEmpty());
    EXPECT_NEAR(title.left(), p.origin.x() + 40, 2);
    EXPECT_GE(title.top(), p.origin.y() + 20);
    EXPECT_LE(title.bottom(), p.origin.y() + 40);
    // The notation strip: staff lines from x = 20 to the strip's right end at 150. (The
    // picture's top 12 rows are empty, the title's descenders may reach into them.)
    const QRect strip = inkBox(p.page, p.origin.y() + 41, p.origin.y() + 34 + 150);
    ASSERT_FALSE(strip.isEmpty());
    EXPECT_NEAR(strip.left(), p.origin.x() + 20, 2);
    EXPECT_NEAR(strip.right(), p.origin.x() + 149, 2);
    const int lineY = p.origin.y() + 33 + 60; // the Düm staff line, 33.3 + 60
    bool line = false;
    for (int y = lineY - 1; y <= lineY + 2; ++y)
        line = line || qGray(p.page.pixel(p.origin.x() + 100, y)) < 128;
    EXPECT_TRUE(line);
    // No grey circle outlines were printed.
    for (const auto& [cx, cy] : exportCircleCentres(1)) {
        if (cx > 150) break;
        EXPECT_GT(qGray(p.page.pixel(p.origin.x() + cx + 5, p.origin.y() + 33 + cy)), 240) << cx;
    }
}

TEST_F(ExportTest, PrintingTwoRowsStretchesThePictureToThePageWidth) {
    drawStrokes(46);
    bool printed = false;
    const PrintedPage p = printAndRender(usul, style(), folder, printed);
    ASSERT_TRUE(printed);
    if (p.page.isNull()) GTEST_SKIP() << "pdftoppm did not render the page";
    const QRect ink = inkBox(p.page, p.origin.y() + 34, p.origin.y() + 34 + 300);
    ASSERT_FALSE(ink.isEmpty());
    // The row separator reaches x = 960 of 964, stretched to the usable width.
    EXPECT_NEAR(ink.right(), p.origin.x() + 960.0 / 964 * p.usableWidth, 3);
    // Vertically the picture keeps its pixels: the separator at 149/150 and the second
    // Tek staff line at 240, under the picture top of 33.3.
    const auto lineNear = [&](int pictureY, int pictureX) {
        const int x = p.origin.x() + int(pictureX / 964.0 * p.usableWidth);
        bool dark = false;
        for (int y = p.origin.y() + 33 + pictureY - 1; y <= p.origin.y() + 33 + pictureY + 2; ++y)
            dark = dark || qGray(p.page.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_TRUE(lineNear(150, 480));
    EXPECT_TRUE(lineNear(240, 300));
    EXPECT_FALSE(lineNear(120, 300)); // nothing between the rows' staves there
}

TEST(ExportButtons, JpegAndPrintFromTheWindow) {
    zerkavi::testing::RecordingMessages messages;
    const auto folder = zerkavi::testing::makeTemporaryFolder();
    zerkavi::ArayüzKalıp window(folder, messages, QSize(1280, 1024));
    ASSERT_TRUE(window.startUp());
    window.show();
    // Nothing loaded yet: no beats to print.
    window.But_baskı_Click();
    ASSERT_EQ(messages.shown.size(), 1);
    EXPECT_EQ(messages.shown[0].toStdString(),
              zerkavi::languageTexts(zerkavi::Language::Turkish).message[Message::noBeats]);
    window.But_yükle_Click();
    window.List1_Pick(31, Qt::LeftButton);
    window.But_JPG_Click();
    EXPECT_EQ(messages.shown.size(), 2); // where the picture went

    EXPECT_TRUE(std::filesystem::exists(folder / "zrkv" / "8-8  Duyek.jpg"));
    const auto pdf = folder / "duyek.pdf";
    window.printSetup = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
    };
    window.But_baskı_Click();
    EXPECT_EQ(messages.shown.size(), 2);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    EXPECT_EQ(zerkavi::testing::readBytes(pdf).size() > 1000, true);
    window.shutDown();
    std::filesystem::remove_all(folder);
}

TEST_F(WindowTest, ImageWriterFailuresShowInABoxOfTheirOwn) {
    ASSERT_TRUE(start());
    JpegExportResult failed;
    failed.codecStatus = kCodecInvalidParameter;
    window->showExportResult(failed);
    EXPECT_EQ(messages.shown, QStringList{QString::fromStdString(codecStatusReport(2).text)});
    EXPECT_EQ(messages.titles, QStringList{QStringLiteral("GDI Error")});
}
