// Pictures of the notation as PNG, PDF and SVG files, against golden files.
#include "notation/geometry.h"
#include "plans/texts.h"
#include "platform/picture_box.h"
#include "tests/support/golden.h"
#include "tests/support/support.h"
#include "window/export.h"
#include "window/picture.h"

#include <gtest/gtest.h>

#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>

using namespace zerkavi;
using namespace zerkavi::testing;

namespace {

class Picture : public ::testing::Test {
  protected:
    void TearDown() override { std::filesystem::remove_all(folder); }
    // As the command line and the Export menu draw it (Turkish letters).
    NotationStyle style() const {
        const LanguageTexts& t = languageTexts(Language::Turkish);
        return {strip,
                glyphs,
                {QString::fromStdString(t.message[Message::letterStrong]),
                 QString::fromStdString(t.message[Message::letterMedium]),
                 QString::fromStdString(t.message[Message::letterWeak])},
                notationFont(8)};
    }
    PictureResult write(int slot, const char* name) {
        usul = builtIn(slot);
        return writeNotationPicture(usul, style(), QString::fromStdU32String(usul.name),
                                    folder / name);
    }
    QString path(const char* name) const {
        return QString::fromStdString((folder / name).string());
    }

    std::filesystem::path folder = makeTemporaryFolder();
    const QImage strip = builtInGlyphStrip();
    const GlyphTable glyphs = largeGlyphBand();
    UsulRecord usul;
};

struct GoldenCase {
    int slot;
    const char* name;
};
class Golden : public Picture, public ::testing::WithParamInterface<GoldenCase> {};

} // namespace

TEST_P(Golden, PngPdfAndSvgMatchTheirGoldenFiles) {
    const std::string base = GetParam().name;
    for (const char* ext : {".png", ".pdf", ".svg"})
        ASSERT_TRUE(write(GetParam().slot, (base + ext).c_str()).saved) << ext;
    const QString png = path((base + ".png").c_str());
    EXPECT_TRUE(matchesGolden(QString::fromStdString(base + ".png"), QImage(png)));
    QFile svg(path((base + ".svg").c_str()));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly));
    EXPECT_TRUE(matchesGolden(QString::fromStdString(base + ".svg"), svg.readAll()));

    // The SVG drawn by Qt's renderer lands on the pixels of the PNG: lines, dots and glyphs
    // are where the raster puts them (text may be smoothed differently).
    const QImage raster = QImage(png).convertToFormat(QImage::Format_RGB32);
    QImage vector(raster.size(), QImage::Format_RGB32);
    vector.fill(Qt::white);
    {
        QPainter p(&vector);
        QSvgRenderer(path((base + ".svg").c_str())).render(&p);
    }
    int ink = 0, differing = 0;
    for (int y = kJpegPictureTop; y < raster.height(); ++y)
        for (int x = 0; x < raster.width(); ++x) {
            const int a = qGray(raster.pixel(x, y)), b = qGray(vector.pixel(x, y));
            ink += a < 128;
            differing += std::abs(a - b) > 96;
        }
    EXPECT_GT(ink, 1000);
    EXPECT_LT(differing, ink / 20) << ink;

    const QString pdf = path((base + ".pdf").c_str());
    QFile head(pdf);
    ASSERT_TRUE(head.open(QIODevice::ReadOnly));
    EXPECT_EQ(head.read(5), QByteArray("%PDF-"));
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
        GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed: the PDF page is not compared";
    ASSERT_EQ(QProcess::execute(QStringLiteral("pdftoppm"),
                                {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("96"),
                                 QStringLiteral("-singlefile"), pdf, path("page")}),
              0);
    EXPECT_TRUE(matchesGolden(QString::fromStdString(base + "-pdf.png"), QImage(path("page.png"))));
}
INSTANTIATE_TEST_SUITE_P(Usul, Golden,
                         ::testing::Values(GoldenCase{38, "aksak"}, GoldenCase{164, "muhammes"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Picture, JpegAndPngHoldTheCanvasOfTheJpegButton) {
    ASSERT_TRUE(write(38, "a.png").saved);
    ASSERT_TRUE(write(38, "a.JPG").saved);
    PictureBox canvas;
    canvas.setFont(notationFont(8));
    const JpegExportResult button =
        exportNotationJpeg(usul, style(), canvas, QString::fromStdU32String(usul.name), folder);
    ASSERT_TRUE(button.saved);
    EXPECT_EQ(QImage(path("a.png")).convertToFormat(QImage::Format_RGB32), canvas.image());
    EXPECT_EQ(readBytes(folder / "a.JPG"), readBytes(button.file));
}

TEST_F(Picture, RefusalsWriteNothing) {
    EXPECT_EQ(write(190, "empty.png").message, Message::noBeats);
    PictureResult r = write(38, "none/a.svg");
    EXPECT_FALSE(r.saved);
    EXPECT_NE(r.error.find("cannot write"), std::string::npos);
    r = write(38, "a.gif");
    EXPECT_FALSE(r.saved);
    EXPECT_NE(r.error.find("not a picture"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_empty(folder));
}
