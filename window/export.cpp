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

// The notation as the screen shows it for this usul: the full width, one to four rows.
QSize pictureSize(int n) {
    return QSize(kPictureWidth, pictureHeightForCircles(n));
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

JpegExportResult exportNotationJpeg(const UsulRecord& usul, const NotationStyle& style,
                                    PictureBox& canvas, const QString& nameBoxText,
                                    const std::filesystem::path& folder, int quality) {
    JpegExportResult result;
    const int n = MevcutHalka(usul);
    if (n == 0) {
        result.message = Message::noBeats;
        return result;
    }
    const QSize picture = pictureSize(n);
    const JpegLayout layout = jpegLayout(n, picture.width(), picture.height());
    canvas.resizePicture(layout.canvasWidth, layout.canvasHeight);
    canvas.clear();
    {
        QPainter p(&canvas.image());
        p.translate(0, kJpegPictureTop);
        paintNotation(p, QSize(layout.copyWidth, layout.copyHeight), usul, withoutCircles(style));
    }

    const std::u32string name = nameBoxText.toStdU32String();
    canvas.setFont(sizedFont(canvas.font(), kJpegTitlePoints));
    canvas.text(kJpegTitleX, kJpegTitleY,
                QString::fromStdU32String(jpegTitle(usul.numerator, usul.mertebe, name)),
                Qt::black);

    const std::u32string fileName = jpegFileName(usul.numerator, usul.mertebe, name);
    result.file = folder / std::filesystem::path(QString::fromStdU32String(fileName).toStdString());
    // Refused here rather than by the file system, so a name makes the same files on every
    // system the pictures may be copied to.
    if (hasForbiddenFileCharacters(fileName)) {
        result.message = Message::forbiddenName;
        result.codecStatus = kCodecFileSystemError;
        return result;
    }
    result.saved = saveAsJpeg(canvas.image(), QString::fromStdString(result.file.string()), quality,
                              result.codecStatus);
    result.message = codecStatusReport(result.codecStatus).message;
    return result;
}

PrintResult printNotation(QPrinter& printer, const UsulRecord& usul, const NotationStyle& style) {
    PrintResult result;
    const int n = MevcutHalka(usul);
    if (n == 0) {
        result.message = Message::noBeats;
        return result;
    }
    // The page shows the screen's pixels scaled up, as the JPEG does, rather than a
    // drawing at the printer's resolution with hairline staff lines.
    QImage picture(pictureSize(n), QImage::Format_RGB32);
    {
        QPainter p(&picture);
        paintNotation(p, picture.size(), usul, withoutCircles(style));
    }

    QPainter painter;
    if (painter.begin(&printer)) {
        const int dpiX = printer.logicalDpiX(), dpiY = printer.logicalDpiY();
        const QFont font = sizedFont(style.font, kPrintTitlePoints);
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
    return result;
}

} // namespace zerkavi
