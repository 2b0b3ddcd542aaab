#include "window/export.h"

#include "notation/geometry.h"

#include <QFont>
#include <QFontMetrics>
#include <QImageWriter>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace zerkavi {

namespace {

const QColor kHiddenCircle(255, 255, 255);
const QColor kShownCircle(200, 200, 200);

// The grey beat circles are an editing aid, not part of the music: they are painted over
// in white (with the picture's fill) while the notation is copied, and painted back after.
void paintCircles(PictureBox& notation, int n, const QColor& outline) {
    const QColor fill = notation.background();
    for (const auto& [x, y] : exportCircleCentres(n))
        notation.circle(x, y, kCircleRadius, outline, &fill);
}

QFont titleFont(const QFont& base, int points) {
    QFont f = base;
    f.setPointSize(points);
    return f;
}

} // namespace

bool saveAsJpeg(const QImage& image, const QString& fileName, int quality, int& status) {
    status = kCodecOk;
    if (!QImageWriter::supportedImageFormats().contains("jpg")) return false;
    QImageWriter writer(fileName, "jpg");
    writer.setQuality(std::clamp(quality, 0, 100));
    if (writer.write(image)) return true;
    switch (writer.error()) {
    case QImageWriter::DeviceError:
        status = kCodecFileSystemError;
        break;
    case QImageWriter::UnsupportedFormatError:
        return false; // as a missing encoder
    case QImageWriter::InvalidImageError:
        status = kCodecInvalidParameter;
        break;
    default:
        status = kCodecGenericError;
        break;
    }
    return false;
}

JpegExportResult exportNotationJpeg(PictureBox& notation, PictureBox& canvas,
                                    const UsulRecord& usul, const QString& nameBoxText,
                                    const std::filesystem::path& folder, int quality) {
    JpegExportResult result;
    const int n = MevcutHalka(usul);
    if (n == 0) {
        result.message = kMessageNoBeats;
        return result;
    }
    const QImage& picture = notation.image();
    const JpegLayout layout = jpegLayout(n, picture.width(), picture.height());
    canvas.resizePicture(layout.canvasWidth, layout.canvasHeight);
    canvas.clear();

    paintCircles(notation, n, kHiddenCircle);
    canvas.andCopy(0, kJpegPictureTop, notation.image(),
                   QRect(0, 0, layout.copyWidth, layout.copyHeight));
    paintCircles(notation, n, kShownCircle);

    const std::u32string name = nameBoxText.toStdU32String();
    canvas.setFont(titleFont(canvas.font(), kJpegTitlePoints));
    canvas.text(kJpegTitleX, kJpegTitleY,
                QString::fromStdU32String(jpegTitle(usul.numerator, usul.mertebe, name)),
                Qt::black);

    const std::u32string fileName = jpegFileName(usul.numerator, usul.mertebe, name);
    result.file = folder / std::filesystem::path(QString::fromStdU32String(fileName).toStdString());
    // Refused here rather than by the file system, so a name makes the same files on every
    // system the pictures may be copied to.
    if (hasForbiddenFileCharacters(fileName)) {
        result.message = kMessageForbiddenName;
        result.codecStatus = kCodecFileSystemError;
        return result;
    }
    result.saved = saveAsJpeg(canvas.image(), QString::fromStdString(result.file.string()), quality,
                              result.codecStatus);
    result.message = codecStatusReport(result.codecStatus).message;
    return result;
}

PrintResult printNotation(QPrinter& printer, PictureBox& notation, const UsulRecord& usul) {
    PrintResult result;
    const int n = MevcutHalka(usul);
    if (n == 0) {
        result.message = kMessageNoBeats;
        return result;
    }
    paintCircles(notation, n, kHiddenCircle);
    const QImage picture = notation.image().copy();

    QPainter painter;
    if (painter.begin(&printer)) {
        const int dpiX = printer.logicalDpiX(), dpiY = printer.logicalDpiY();
        const QFont font = titleFont(notation.font(), kPrintTitlePoints);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QString title =
            QString::fromStdU32String(printTitle(usul.numerator, usul.mertebe, usul.name));
        painter.drawText(QPoint(twipsToDots(kPrintTitleX, dpiX),
                                twipsToDots(kPrintTitleY, dpiY) + painter.fontMetrics().ascent()),
                         title);

        const PrintPlacement p =
            printPlacement(n, picture.width(), picture.height(), printer.width(), dpiX, dpiY);
        // On white paper an AND copy is a plain copy; printer back ends have no raster
        // operations, so the plain copy is what is asked for.
        painter.drawImage(QRect(p.x, p.y, p.width, p.height), picture,
                          QRect(0, 0, p.sourceWidth, p.sourceHeight));
        result.printed = painter.end();
    }
    paintCircles(notation, n, kShownCircle);
    return result;
}

} // namespace zerkavi
