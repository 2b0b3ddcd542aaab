// The language switch, About and Help.
#include "window/arayuz_kalip.h"
#include "window/guide_offer.h"

#include "window/export_menu.h"
#include "window/practice_menu.h"

#include <QAction>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTranslator>

namespace zerkavi {

namespace {

void setCaption(QObject* control, const QString& text) {
    if (auto* a = qobject_cast<QAction*>(control)) {
        if (a->menu())
            a->menu()->setTitle(text);
        else
            a->setText(text);
    } else if (auto* g = qobject_cast<QGroupBox*>(control)) {
        g->setTitle(text);
    } else if (auto* b = qobject_cast<QAbstractButton*>(control)) {
        b->setText(text);
    } else if (auto* l = qobject_cast<QLabel*>(control)) {
        l->setText(text);
    }
}

} // namespace

void ArayüzKalıp::applyCaptions(Language lang) {
    for (const Caption& c : captionTable()) {
        const QString name = QString::fromUtf8(c.control);
        const QString text = QString::fromUtf8(captionFor(c, lang));
        if (name == objectName()) {
            setWindowTitle(text);
            continue;
        }
        for (QObject* control : allControls)
            if (control->objectName() == name) setCaption(control, text);
    }
    if (exportMenu) exportMenu->applyLanguage(lang);
    if (practice) practice->applyLanguage(lang);
    layoutTopBand();
}

void ArayüzKalıp::applyLanguage(Language lang) {
    language = lang;
    useQtTexts(lang);
    applyCaptions(language);
    applyKeyboardCaptions();
    texts = &languageTexts(language);
    Text1->setPlainText(QString::fromStdString(texts->exampleText).replace("\r\n", "\n"));
    Command1->setText(QString::fromStdString(planPaused ? texts->continueWord : texts->pauseWord));
    // The loudness letters and the length word are drawn in the language, on the plan
    // screen too; the marker of a playing plan is drawn again on the new picture.
    göster();
    planMarkerStroke = 0;
    if (planHoldsWindow()) followPlan();
}

void ArayüzKalıp::useQtTexts(Language lang) {
    if (lang == Language::Turkish) {
        if (!qtTurkish_) {
            qtTurkish_ = std::make_unique<QTranslator>();
            // Debian ships them in qt6-translations-l10n; without it Qt stays English.
            if (!qtTurkish_->load(QStringLiteral("qtbase_tr"),
                                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
                return;
        }
        QCoreApplication::installTranslator(qtTurkish_.get());
    } else if (qtTurkish_) {
        QCoreApplication::removeTranslator(qtTurkish_.get());
    }
}

void ArayüzKalıp::LisanTurkce() {
    applyLanguage(Language::Turkish);
}

void ArayüzKalıp::LisanIngilizce() {
    applyLanguage(Language::English);
}

void ArayüzKalıp::connectLanguage() {
    connect(Mn_Lisanlar, &QAction::triggered, this, [this] { Mn_Lisanlar_Click(); });
    connect(Mn_bilgi, &QAction::triggered, this, [this] { Mn_bilgi_Click(); });
    connect(Mn_yardm, &QAction::triggered, this, [this] { Mn_yardm_Click(); });
}

void ArayüzKalıp::Mn_Lisanlar_Click() {
    // The entry names the other language; anything else is left alone.
    const QString caption = Mn_Lisanlar->text();
    if (caption == QStringLiteral("English"))
        LisanIngilizce();
    else if (caption == QStringLiteral("Turkce"))
        LisanTurkce();
}

void ArayüzKalıp::Mn_bilgi_Click() {
    messages_.inform(QString::fromStdString(messageText(Message::aboutText)));
}

void ArayüzKalıp::Mn_yardm_Click() {
    messages_.inform(QString::fromStdString(messageText(Message::helpText)));
    offerGuide(messages_, programFolder_, language);
}

} // namespace zerkavi
