#include "window/picture.h"

#include "exchange/export.h"
#include "notation/export_names.h"
#include "notation/geometry.h"
#include "platform/embedded_pictures.h"

#include <QFontInfo>
#include <QImageWriter>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace zerkavi {

namespace {

// Files are drawn at the screen's 96 pixels to the inch, so one notation pixel is one unit
// of the file and fonts keep the size they have on the screen.
constexpr int kFileDpi = 96;

QString qt(const std::filesystem::path& file) {
    return QString::fromStdString(file.string());
}

QString canvasTitle(const UsulRecord& usul, const QString& nameText) {
    return QString::fromStdU32String(
        jpegTitle(usul.numerator, usul.mertebe, nameText.toStdU32String()));
}

bool writeImage(QSaveFile& out, const UsulRecord& usul, const NotationStyle& style,
                const QString& title, const char* format) {
    QImage image(exportCanvasSize(MevcutHalka(usul)), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        paintExportCanvas(p, usul, style, sizedFont(style.font, kJpegTitlePoints), title);
    }
    QImageWriter writer(&out, format);
    if (QByteArray(format) == "jpg") writer.setQuality(kJpegQuality);
    return writer.write(image);
}

bool writeSvg(QSaveFile& out, const UsulRecord& usul, const NotationStyle& style,
              const QString& title) {
    const QSize size = exportCanvasSize(MevcutHalka(usul));
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(kFileDpi);
    svg.setTitle(title);
    // The file names the font family drawn with, not the first one asked for, so that a
    // viewer finds it.
    NotationStyle named = style;
    named.font.setFamily(QFontInfo(style.font).family());
    QPainter p;
    if (!p.begin(&svg)) return false;
    paintExportCanvas(p, usul, named, sizedFont(named.font, kJpegTitlePoints), title);
    return p.end();
}

// The printed page: the title in twips from the corner of the printable area, the strip of
// the notation under it as printNotation places it, on A4 with the margins a printer
// leaves by default.
bool writePdf(QSaveFile& out, const UsulRecord& usul, const NotationStyle& style) {
    const int n = MevcutHalka(usul);
    const QString title =
        QString::fromStdU32String(printTitle(usul.numerator, usul.mertebe, usul.name));
    QPdfWriter pdf(&out);
    pdf.setResolution(kFileDpi);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(10, 10, 10, 10), QPageLayout::Point));
    pdf.setTitle(title.trimmed());
    pdf.setCreator(QStringLiteral("Zerkavi"));
    QPainter p;
    if (!p.begin(&pdf)) return false;
    p.setFont(sizedFont(style.font, kPrintTitlePoints));
    p.setPen(Qt::black);
    p.drawText(QPoint(twipsToDots(kPrintTitleX, kFileDpi),
                      twipsToDots(kPrintTitleY, kFileDpi) + p.fontMetrics().ascent()),
               title);
    const PrintPlacement at = printPlacement(n, kPictureWidth, pictureHeightForCircles(n),
                                             pdf.width(), kFileDpi, kFileDpi);
    p.translate(at.x, at.y);
    p.scale(double(at.width) / at.sourceWidth, double(at.height) / at.sourceHeight);
    paintNotation(p, QSize(at.sourceWidth, at.sourceHeight), usul, withoutCircles(style));
    return p.end();
}

} // namespace

QImage builtInGlyphStrip() {
    const auto strip = embedded::glyphStrip();
    return QImage::fromData(strip.data(), int(strip.size()), "PNG")
        .convertToFormat(QImage::Format_RGB32);
}

QFont notationFont(int points) {
    QFont f;
    f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
    f.setPointSize(points);
    return f;
}

QSize exportCanvasSize(int n) {
    const JpegLayout l = jpegLayout(n, kPictureWidth, pictureHeightForCircles(n));
    return QSize(l.canvasWidth, l.canvasHeight);
}

void paintExportCanvas(QPainter& p, const UsulRecord& usul, const NotationStyle& style,
                       const QFont& titleFont, const QString& title) {
    const int n = MevcutHalka(usul);
    const JpegLayout l = jpegLayout(n, kPictureWidth, pictureHeightForCircles(n));
    p.fillRect(QRect(0, 0, l.canvasWidth, l.canvasHeight), Qt::white);
    p.save();
    p.translate(0, kJpegPictureTop);
    paintNotation(p, QSize(l.copyWidth, l.copyHeight), usul, withoutCircles(style));
    p.restore();
    p.save();
    p.setFont(titleFont);
    p.setPen(Qt::black);
    p.drawText(QPoint(kJpegTitleX, kJpegTitleY + QFontMetrics(titleFont).ascent()), title);
    p.restore();
}

PictureResult writeNotationPicture(const UsulRecord& usul, const NotationStyle& style,
                                   const QString& nameText, const std::filesystem::path& file) {
    PictureResult r;
    const auto format = exportFormatOf(file);
    if (!format || !isPictureFormat(*format)) {
        r.error = "not a picture format: " + file.string();
        return r;
    }
    if (MevcutHalka(usul) == 0) {
        r.message = Message::noBeats;
        return r;
    }
    QSaveFile out(qt(file));
    if (!out.open(QIODevice::WriteOnly)) {
        r.error = "cannot write " + file.string() + ": " + out.errorString().toStdString();
        return r;
    }
    const QString title = canvasTitle(usul, nameText);
    bool drawn = false;
    switch (*format) {
    case ExportFormat::Png:
        drawn = writeImage(out, usul, style, title, "png");
        break;
    case ExportFormat::Jpeg:
        drawn = writeImage(out, usul, style, title, "jpg");
        break;
    case ExportFormat::Svg:
        drawn = writeSvg(out, usul, style, title);
        break;
    default:
        drawn = writePdf(out, usul, style);
        break;
    }
    if (!drawn) {
        out.cancelWriting();
        r.error = "cannot write " + file.string();
        return r;
    }
    if (!out.commit()) {
        r.error = "cannot write " + file.string() + ": " + out.errorString().toStdString();
        return r;
    }
    r.saved = true;
    return r;
}

} // namespace zerkavi
