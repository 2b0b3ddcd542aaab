// What the user chose last is kept per user (Qt's settings in the user's configuration
// folder) and comes back at the next start; a first start keeps the start-up values.
#include "window/arayuz_kalip.h"

#include "window/practice_menu.h"

#include <QAction>
#include <QRadioButton>
#include <QScrollBar>
#include <QSettings>

namespace zerkavi {

namespace {

QSettings userSettings() {
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("zerkavi"),
                     QStringLiteral("zerkavi"));
}

} // namespace

void ArayüzKalıp::restoreLoudness() {
    const QSettings s = userSettings();
    const int medium = s.value(QStringLiteral("loudness/medium"), 6).toInt();
    const int weak = s.value(QStringLiteral("loudness/weak"), 4).toInt();
    // The menus offer 20 to 90 %; anything else is not ours and is left alone.
    if (medium >= 2 && medium <= 9) {
        mediumFactor = float(medium / 10.0);
        Mn_Oseviye[std::size_t(medium)]->setChecked(true);
    }
    if (weak >= 2 && weak <= 9) {
        weakFactor = float(weak / 10.0);
        Mn_Zseviye[std::size_t(weak)]->setChecked(true);
    }
}

void ArayüzKalıp::restoreSettings() {
    const QSettings s = userSettings();
    if (s.value(QStringLiteral("language")).toString() == QStringLiteral("en")) LisanIngilizce();
    const int instrument = s.value(QStringLiteral("instrument"), 2).toInt();
    if (instrument >= 1 && instrument <= 3) Option1[std::size_t(instrument)]->setChecked(true);
    const int tempo = s.value(QStringLiteral("tempo"), bpm()).toInt();
    if (tempo >= 20 && tempo <= 250) VScroll1->setValue(270 - tempo);
    const int unit = s.value(QStringLiteral("unitNote"), unitNote).toInt();
    if (unit == 4 || unit == 8 || unit == 16) {
        unitNote = unit;
        drawUnitNote();
    }
    VScroll1_Change();
    if (s.value(QStringLiteral("looped"), false).toBool()) Option3->setChecked(true);
    practice->restore(s);
}

void ArayüzKalıp::saveSettings() {
    QSettings s = userSettings();
    s.setValue(QStringLiteral("language"),
               language == Language::English ? QStringLiteral("en") : QStringLiteral("tr"));
    int instrument = 2;
    for (int i = 1; i <= 3; ++i)
        if (Option1[std::size_t(i)]->isChecked()) instrument = i;
    s.setValue(QStringLiteral("instrument"), instrument);
    s.setValue(QStringLiteral("tempo"), bpm());
    s.setValue(QStringLiteral("unitNote"), unitNote);
    s.setValue(QStringLiteral("looped"), Option3->isChecked());
    s.setValue(QStringLiteral("loudness/medium"), int(mediumFactor * 10 + 0.5f));
    s.setValue(QStringLiteral("loudness/weak"), int(weakFactor * 10 + 0.5f));
    practice->save(s);
}

} // namespace zerkavi
