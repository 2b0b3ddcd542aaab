// The Print and JPEG buttons and the Export menu.
#include "window/arayuz_kalip.h"

#include "window/export.h"
#include "window/export_menu.h"

#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

namespace zerkavi {

void ArayüzKalıp::connectExport() {
    printSetup = [this](QPrinter& printer) {
        // Cancelling the set-up is not an error: the page goes to the default printer.
        QPrintDialog setup(&printer, this);
        setup.exec();
    };
    connect(But_JPG, &QPushButton::clicked, this, [this] { But_JPG_Click(); });
    connect(But_baskı, &QPushButton::clicked, this, [this] { But_baskı_Click(); });
    exportMenu = new ExportMenu(*this, messages_);
}

void ArayüzKalıp::But_JPG_Click() {
    showExportResult(exportNotationJpeg(currentUsul, notationStyle(), *imajPenceresi, Text5->text(),
                                        workingFolder()));
}

void ArayüzKalıp::showExportResult(const JpegExportResult& r) {
    if (r.message != Message::none)
        showMessage(r.message);
    else if (const CodecReport c = codecStatusReport(r.codecStatus); !c.text.empty())
        messages_.inform(QString::fromStdString(c.text), QString::fromUtf8(kCodecErrorTitle));
    else if (r.saved)
        // Otherwise the picture would go silently into the sound folder.
        messages_.inform((language == Language::English
                              ? QStringLiteral("The picture was saved as\n%1")
                              : QString::fromUtf8("Resim şu dosyaya kaydedildi:\n%1"))
                             .arg(QString::fromStdString(r.file.string())));
}

void ArayüzKalıp::But_baskı_Click() {
    if (MevcutHalka(currentUsul) == 0) {
        showMessage(Message::noBeats);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printSetup(printer);
    const PrintResult r = printNotation(printer, currentUsul, notationStyle());
    if (r.message != Message::none) showMessage(r.message);
}

} // namespace zerkavi
