#include "window/guide_offer.h"

#include "window/guides.h"

#include <QDesktopServices>

namespace zerkavi {

namespace {

UrlOpener& opener() {
    static UrlOpener current;
    return current;
}

} // namespace

void setUrlOpener(UrlOpener o) {
    opener() = std::move(o);
}

void offerGuide(MessageBoxes& messages, const std::filesystem::path& programFolder,
                Language language) {
    const bool english = language == Language::English;
    const QString question = english
                                 ? QStringLiteral("Open the user guide 'ReadMe.doc' now?")
                                 : QString::fromUtf8("Kullanım kılavuzu BeniOku şimdi açılsın mı?");
    if (!messages.confirm(question)) return;

    placeGuidesIfMissing(programFolder);
    const QString file = QString::fromStdString((programFolder / guideFileName(language)).string());
    const QUrl url = QUrl::fromLocalFile(file);
    const bool opened = opener() ? opener()(url) : QDesktopServices::openUrl(url);
    if (!opened)
        messages.inform((english ? QStringLiteral("No viewer could open the guide. It is here:\n")
                                 : QString::fromUtf8("Kılavuz açılamadı. Dosyanın yeri:\n")) +
                        file);
}

} // namespace zerkavi
