// Turning the notation picture into a JPEG file or a printed page. These functions show
// nothing: they return the message the window is to show, so the window keeps its one
// way of showing messages.
#pragma once

#include "notation/export_names.h"
#include "platform/picture_box.h"
#include "usul/record.h"

#include <QImage>
#include <QString>

#include <filesystem>

class QPrinter;

namespace zerkavi {

// Encodes `image` as a JPEG file; quality is clamped to 0..100. `status` receives the
// writer's status in the codes of codecStatusReport (7 when the file system refused the
// file). False when nothing was written; also false, with status 0, when no JPEG encoder
// is installed (that case shows no message).
bool saveAsJpeg(const QImage& image, const QString& fileName, int quality, int& status);

struct JpegExportResult {
    int message = 0;            // 3 (no beats) or 22 (a name no file system takes), else 0
    int codecStatus = kCodecOk; // of the writer, for codecStatusReport
    bool saved = false;
    std::filesystem::path file; // the file written, or that would have been
};

// The JPEG button: hides the grey circles of `notation`, draws on `canvas` the title line
// and the part of the notation that holds strokes, shows the circles again and writes
// the canvas into `folder` under the name made of the time signature and the name box
// text. The canvas keeps the image until the next export.
JpegExportResult exportNotationJpeg(PictureBox& notation, PictureBox& canvas,
                                    const UsulRecord& usul, const QString& nameBoxText,
                                    const std::filesystem::path& folder,
                                    int quality = kJpegQuality);

struct PrintResult {
    int message = 0; // 3 when the usul has no beats
    bool printed = false;
};

// The print button after the printer was chosen: one page with the title line and the
// notation without its grey circles, laid out in twips and scaled to the printer's
// resolution. The notation shows its circles again afterwards. Fails (printed false,
// message 0) when the printer cannot be opened.
PrintResult printNotation(QPrinter& printer, PictureBox& notation, const UsulRecord& usul);

} // namespace zerkavi
