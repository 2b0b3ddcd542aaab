// The notation as pictures, against golden files in tests/golden/ (see tests/support/golden.h
// for the refresh command): the screen picture, the JPEG canvas, PNG, SVG and PDF files and
// the printed page; and the JPEG and print buttons of the window.
#include "notation/geometry.h"
#include "platform/picture_box.h"
#include "tests/support/golden.h"
#include "tests/support/window_fixture.h"
#include "window/export.h"
#include "window/picture.h"

#include <QPrinter>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

// Every glyph code on its line (159 to 169), one and two dots, the dotted thirty-second,
// a length with no glyph (5), both strokes on one circle, red bar lines (also on an empty
// circle), the white eraser of barLine 2, and loudness levels 0 to 4 in turn.
UsulRecord everyMark() {
    UsulRecord r;
    const int lengths[] = {64, 32, 32, 16, 16, 8, 8, 4, 4, 2, 2, 24, 28, 3, 5, 16};
    for (int k = 0; k < 16; ++k) {
        Halka& h = r.circle(2 * k + 1);
        const bool dum = k == 0 || k % 2 == 1;
        (dum ? h.rightDuration : h.leftDuration) = std::uint8_t(lengths[k]);
        h.level = std::uint8_t(k % 5);
        h.syllable = dum ? U"Düm" : U"Tek";
    }
    r.circle(31).leftDuration = 8;
    for (int n : {3, 7, 8})
        r.circle(n).barLine = 1;
    r.circle(11).barLine = 2;
    r.numerator = 9;
    r.mertebe = 8;
    return r;
}

class Picture : public ::testing::Test {
  protected:
    void TearDown() override { std::filesystem::remove_all(folder); }
    NotationStyle style() const { return {strip, glyphs, letters, notationFont(8)}; }
    PictureResult write(int slot, const std::string& name) {
        usul = builtIn(slot);
        return writeNotationPicture(usul, style(), QString::fromStdU32String(usul.name),
                                    folder / name);
    }
    QString path(const std::string& name) const {
        return QString::fromStdString((folder / name).string());
    }
    // A PDF page as a PNG at 96 dots to the inch, or a null image without pdftoppm.
    QImage page(const QString& pdf) const {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) return {};
        QProcess::execute(QStringLiteral("pdftoppm"),
                          {"-png", "-r", "96", "-singlefile", pdf, path("page")});
        return QImage(path("page.png"));
    }

    std::filesystem::path folder = makeTemporaryFolder();
    const QImage strip = builtInGlyphStrip();
    const GlyphTable glyphs = largeGlyphBand();
    const LoudnessLetters letters{QStringLiteral("K"), QStringLiteral("O"), QStringLiteral("Z")};
    UsulRecord usul;
};

} // namespace

TEST_F(Picture, TheScreenPictureMatchesItsGoldenFiles) {
    const std::pair<const char*, UsulRecord> cases[] = {{"screen-every-mark.png", everyMark()},
                                                        {"screen-one-row.png", builtIn(32)},
                                                        {"screen-four-rows.png", builtIn(158)}};
    for (const auto& [name, record] : cases) {
        PictureBox picture;
        picture.setFont(notationFont(8));
        picture.setBackground(QColor(200, 185, 130));
        picture.resizePicture(kPictureWidth, pictureHeightForCircles(MevcutHalka(record)));
        UsulÇiz(picture, record, strip, glyphs, letters);
        EXPECT_TRUE(matchesGolden(QString::fromUtf8(name), picture.image()));
    }
}

struct GoldenCase {
    int slot;
    const char* name;
};
class Golden : public Picture, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(Golden, PngPdfAndSvgMatchTheirGoldenFiles) {
    const std::string base = GetParam().name;
    for (const char* ext : {".png", ".pdf", ".svg"})
        ASSERT_TRUE(write(GetParam().slot, base + ext).saved) << ext;
    const QString png = path(base + ".png");
    EXPECT_TRUE(matchesGolden(QString::fromStdString(base + ".png"), QImage(png)));
    QFile svg(path(base + ".svg"));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(matchesGolden(QString::fromStdString(base + ".svg"), svg.readAll()));

    // The PDF page, and the printed page, which is laid out by the print button.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path("printed.pdf"));
    ASSERT_TRUE(printNotation(printer, usul, style()).printed);
    const QImage pdfPage = page(path(base + ".pdf"));
    if (pdfPage.isNull())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed: the PDF pages are not compared";
    EXPECT_TRUE(matchesGolden(QString::fromStdString(base + "-pdf.png"), pdfPage));
    EXPECT_TRUE(
        matchesGolden(QString::fromStdString(base + "-printed.png"), page(path("printed.pdf"))));
}
INSTANTIATE_TEST_SUITE_P(Usul, Golden,
                         ::testing::Values(GoldenCase{38, "aksak"}, GoldenCase{164, "muhammes"}),
                         [](const auto& info) { return std::string(info.param.name); });

// The JPEG button draws the PNG file's picture (the core folds the file's name).
TEST_F(Picture, TheJpegButtonWritesThePngCanvas) {
    ASSERT_TRUE(write(38, "a.png").saved);
    ASSERT_TRUE(write(38, "a.JPG").saved);
    PictureBox canvas;
    canvas.setFont(notationFont(8));
    const QString name = QString::fromStdU32String(usul.name);
    const JpegExportResult button = exportNotationJpeg(usul, style(), canvas, name, folder);
    ASSERT_TRUE(button.saved);
    EXPECT_EQ(QImage(path("a.png")).convertToFormat(QImage::Format_RGB32), canvas.image());
    EXPECT_EQ(QImage(QString::fromStdString(button.file.string())).size(), canvas.image().size());
}

TEST_F(Picture, RefusalsWriteNothing) {
    EXPECT_EQ(write(190, "empty.png").message, Message::noBeats);
    PictureResult r = write(38, "none/a.svg");
    EXPECT_NE(r.error.find("cannot write"), std::string::npos);
    r = write(38, "a.gif");
    EXPECT_NE(r.error.find("not a picture"), std::string::npos);
    PictureBox canvas;
    JpegExportResult j = exportNotationJpeg(usul, style(), canvas, QStringLiteral("a/b"), folder);
    EXPECT_EQ(j.message, Message::forbiddenName);
    j = exportNotationJpeg(usul, style(), canvas, QStringLiteral("a"), folder / "none");
    EXPECT_EQ(j.codecStatus, 7);
    EXPECT_EQ(j.message, Message::forbiddenName);
    j = exportNotationJpeg(UsulRecord{}, style(), canvas, QStringLiteral("a"), folder);
    EXPECT_EQ(j.message, Message::noBeats);
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}

TEST_F(StartedWindowTest, TheJpegAndPrintButtonsSayWhatTheyDid) {
    window->But_baskı->click(); // nothing loaded: no beats to print
    EXPECT_EQ(messages.shown, QStringList{msg(Message::noBeats)});
    load(32);
    window->But_JPG->click();
    const QString file = QString::fromStdString((folder / "zrkv" / "8-8  Duyek.jpg").string());
    EXPECT_TRUE(std::filesystem::exists(file.toStdString()));
    window->Mn_Lisanlar->trigger();
    window->But_JPG->click();
    EXPECT_EQ(messages.shown.mid(1),
              QStringList({QString::fromUtf8("Resim şu dosyaya kaydedildi:\n") + file,
                           QStringLiteral("The picture was saved as\n") + file}));
    const auto pdf = folder / "duyek.pdf";
    window->printSetup = [&](QPrinter& printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(pdf.string()));
    };
    window->But_baskı->click();
    EXPECT_EQ(messages.shown.size(), 3);
    EXPECT_GT(readBytes(pdf).size(), 1000u);
    // Failures of the image writer show in a box of their own.
    JpegExportResult failed;
    failed.codecStatus = kCodecInvalidParameter;
    window->showExportResult(failed);
    EXPECT_EQ(messages.shown.last(), QString::fromStdString(codecStatusReport(2).text));
    EXPECT_EQ(messages.titles.last(), QStringLiteral("GDI Error"));
}
