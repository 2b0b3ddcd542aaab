// A playing plan: the window held for it, and the notation and top bar following the sound.
#include "window/arayuz_kalip.h"

#include "common/rounding.h"
#include "common/text_codec.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

namespace zerkavi {

void ArayüzKalıp::lockForPlan() {
    if (planHoldsWindow()) return;
    // Left usable: the plan's Stop and Pause/Continue, the usul player's Stop (which stops
    // the plan), what only shows something, and the menus that only show texts.
    const std::vector<QObject*> usable = {
        Frame2, But_Dur, Frame5, Command1, Command3, Frame10, Label3,      Picture2, Frame3,
        Frame6, Frame8,  Frame1, Frame4,   Frame7,   Frame9,  Mn_Lisanlar, Mn_yardm, Mn_bilgi};
    // All states first: disabling a control also greys the controls inside it.
    for (QObject* c : allControls) {
        if (isTimer(c)) continue;
        if (const auto* w = qobject_cast<QWidget*>(c))
            enabledBeforePlan_.emplace_back(c, w->isEnabled());
        else if (const auto* a = qobject_cast<QAction*>(c))
            enabledBeforePlan_.emplace_back(c, a->isEnabled());
    }
    for (const auto& [c, enabled] : enabledBeforePlan_) {
        const bool shows = qobject_cast<QLabel*>(c) && c != Label5;
        if (!shows && std::find(usable.begin(), usable.end(), c) == usable.end())
            setControlEnabled(c, false);
    }
    EkranKiliti(Lock::PlanPlaying);
    usulBeforePlan_ = UsulView{currentUsul,    Text5->text(),  Text2->text(), Text3->text(),
                               Label1->text(), Label4->text(), expectedLength};
}

void ArayüzKalıp::unlockAfterPlan() {
    EkranKiliti(Lock::PlanStopped);
    for (const auto& [control, enabled] : enabledBeforePlan_)
        setControlEnabled(control, enabled);
    enabledBeforePlan_.clear();
    if (usulBeforePlan_) {
        // The usul loaded before comes back as it was, unsaved changes included.
        const UsulView& v = *usulBeforePlan_;
        const QSignalBlocker b2(Text2), b3(Text3), b5(Text5);
        currentUsul = v.usul;
        Text5->setText(v.name);
        Text2->setText(v.numerator);
        Text3->setText(v.mertebe);
        expectedLength = v.expectedLength;
        Label1->setText(v.slot);
        göster();
        usulBeforePlan_.reset();
    }
    planMarkerStroke = 0;
    planShownSection = -1;
}

void ArayüzKalıp::showSectionUsul(int index) {
    const int slot = plan.sectionUsul[std::size_t(index)];
    if (auto r = library_.readUsul(slot)) currentUsul = *r;
    const QSignalBlocker b2(Text2), b3(Text3), b5(Text5);
    QString name = QString::fromStdString(toUtf8(currentUsul.name));
    name.replace(QChar(0), QChar(' '));
    Text5->setText(name);
    Text2->setText(QString::number(currentUsul.numerator));
    Text3->setText(QString::number(currentUsul.mertebe));
    if (currentUsul.mertebe != 0)
        expectedLength = int(roundHalfEven(64.0 / currentUsul.mertebe * currentUsul.numerator));
    Label1->setText(QString::number(slot));
    göster();
    // Four rows would not leave room for the plan frames: pack the strokes once.
    if (Picture1->height() == 600) But_kısalt_Click();
    // Drawing the usul wiped the marker.
    planMarkerStroke = 0;
    planShownSection = index;
}

namespace {

// The marker of a plan stroke: the same ring as the usul player's, drawn with the inverting
// pen, so drawing it twice erases it.
void invertPlanMarker(PictureBox& picture, const UsulRecord& usul, int ordinal) {
    if (ordinal < 1) return;
    const std::vector<ScheduledStroke> strokes = strokeList(usul);
    if (ordinal > int(strokes.size())) return;
    const ScheduledStroke& s = strokes[std::size_t(ordinal - 1)];
    picture.invertCircle(s.x, 150 * s.row - 75, 3, QColor(0, 0, 255));
}

} // namespace

void ArayüzKalıp::followPlan() {
    if (plan.strokes.empty()) return;
    const std::int64_t sample =
        std::int64_t(roundHalfEven(media.MciPosition(QString::fromUtf8(kMediaAlias)) * 44.1));
    const auto after =
        std::upper_bound(plan.strokes.begin(), plan.strokes.end(), sample,
                         [](std::int64_t at, const PlanStroke& s) { return at < s.startSample; });
    if (after == plan.strokes.begin()) return; // before the first stroke
    const int k = int(after - plan.strokes.begin());
    const PlanStroke& s = plan.strokes[std::size_t(k - 1)];
    if (s.section != planShownSection) {
        List3->setCurrentRow(s.section);
        CalınanUsulüGöster(s.section);
    }
    if (k == planMarkerStroke) return;
    if (planMarkerStroke > 0)
        invertPlanMarker(*Picture1, currentUsul,
                         plan.strokes[std::size_t(planMarkerStroke - 1)].ordinal);
    invertPlanMarker(*Picture1, currentUsul, s.ordinal);
    planMarkerStroke = k;
    if (markerMoved) markerMoved(k);
}

} // namespace zerkavi
