// The usul browser: the library list, stepping through slots, the time signature and
// name fields, Save, Save As and Delete.
#include "window/arayuz_kalip.h"

#include "common/rounding.h"
#include "common/text_codec.h"
#include "plans/library_texts.h"
#include "usul/browser.h"
#include "window/edit_keeper.h"

#include <QAction>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>

namespace zerkavi {

namespace {

QString fromChars(const std::u32string& s) {
    QString out = QString::fromStdString(toUtf8(s));
    // Slots never written by the editor may hold NUL characters; they show as blanks.
    out.replace(QChar(0), QChar(' '));
    return out;
}

double fieldValue(const QLineEdit* field) {
    return numericPrefix(field->text().toStdString());
}

} // namespace

bool ArayüzKalıp::writeSlot(int slot, const UsulRecord& r) {
    if (library_.writeUsul(slot, r)) return true;
    reportWriteFailure();
    return false;
}

void ArayüzKalıp::reportWriteFailure() {
    // A library file that may not be written is named as such; any other failure (a damaged
    // file kept read-only, a full disk) gets the general text.
    if (libraryShapeOk_ && !library_.isWritable())
        showMessage(Message::libraryReadOnly);
    else
        reportSaveFailed();
}

void ArayüzKalıp::showMessage(Message m) {
    messages_.inform(QString::fromStdString(messageText(m)));
}

void ArayüzKalıp::reportSaveFailed() {
    messages_.inform(QString::fromStdString(saveFailedText(language)));
}

void ArayüzKalıp::connectBrowser() {
    connect(But_yükle, &QPushButton::clicked, this, [this] { But_yükle_Click(); });
    connect(But_önceki, &QPushButton::clicked, this, [this] { But_önceki_Click(); });
    connect(But_sonraki, &QPushButton::clicked, this, [this] { But_sonraki_Click(); });
    connect(But_kaydet, &QPushButton::clicked, this, [this] { But_kaydet_Click(); });
    connect(But_farklı, &QPushButton::clicked, this, [this] { But_farklı_Click(); });
    connect(But_Sil, &QPushButton::clicked, this, [this] { But_Sil_Click(); });
    connect(Text2, &QLineEdit::textChanged, this, [this] { TimeSignature_Change(); });
    connect(Text3, &QLineEdit::textChanged, this, [this] { TimeSignature_Change(); });
    connect(Text5, &QLineEdit::textChanged, this, [this] { Text5_Change(); });
    for (QAction* a : {ikilik, dörtlük, sekizlik, onaltılık, otuzikilik})
        connect(a, &QAction::triggered, this, [this, a] { Text3->setText(a->text()); });
    // Picks in the lists and the click into the mertebe field need the mouse button.
    List1->viewport()->installEventFilter(this);
    List2->viewport()->installEventFilter(this);
    Text3->installEventFilter(this);
}

bool ArayüzKalıp::browserEvent(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        for (QListWidget* list : {List1, List2}) {
            if (watched != list->viewport()) continue;
            const QModelIndex index = list->indexAt(mouse->position().toPoint());
            // A press below the last entry picks nothing.
            if (!index.isValid()) return true;
            if (list == List1)
                List1_Pick(index.row(), mouse->button());
            else
                List2_Pick(index.row(), mouse->button());
            return true;
        }
        if (watched == Text3) {
            Text3_Click();
            return false;
        }
    }
    return false;
}

bool ArayüzKalıp::UsulOku() {
    auto r = library_.readUsul(currentSlot);
    if (!r) return false;
    currentUsul = *r;
    return true;
}

void ArayüzKalıp::ListeYap(int first, int last, QListWidget* list) {
    list->clear();
    for (int slot = first; slot <= last; ++slot) {
        // A slot that cannot be read keeps its place in the list, so positions stay slots.
        const UsulRecord r = library_.readUsul(slot).value_or(UsulRecord{});
        list->addItem(fromChars(UsulListItem(slot, r)));
    }
    list->setGeometry(Picture1->x() + (Picture1->width() - 400) / 2, 30, 400, 560);
    list->show();
    EkranKiliti(list == List1 ? Lock::LoadListOpen : Lock::TargetListOpen);
    openListAt(list, first);
}

void ArayüzKalıp::But_yükle_Click() {
    Picture1->hide();
    ListeYap(1, kLastUsulSlot, List1);
}

void ArayüzKalıp::setLabel1(const QString& text) {
    if (Label1->text() == text) return;
    Label1->setText(text);
    göster();
}

void ArayüzKalıp::loadCurrentSlot() {
    if (!UsulOku()) {
        showMessage(Message::loadError);
        return;
    }
    Text2->setText(QString::number(currentUsul.numerator));
    Text3->setText(QString::number(currentUsul.mertebe));
    Text5->setText(fromChars(currentUsul.name));
    Label1->setText(QString::number(currentSlot));
    göster();
}

void ArayüzKalıp::List1_Pick(int row, Qt::MouseButton button) {
    if (button == Qt::LeftButton && !mayLeaveUsul(*this)) button = Qt::RightButton;
    if (button == Qt::LeftButton) {
        currentSlot = row + 1;
        loadCurrentSlot();
    }
    EkranKiliti(Lock::LoadListClosed);
}

void ArayüzKalıp::But_önceki_Click() {
    if (currentSlot <= 1 || !mayLeaveUsul(*this)) return;
    --currentSlot;
    loadCurrentSlot();
    setEditingButtonsForSlot();
}

void ArayüzKalıp::But_sonraki_Click() {
    if (currentSlot >= kLastUsulSlot || !mayLeaveUsul(*this)) return;
    ++currentSlot;
    loadCurrentSlot();
    setEditingButtonsForSlot();
}

void ArayüzKalıp::TimeSignature_Change() {
    const double numerator = fieldValue(Text2), mertebe = fieldValue(Text3);
    // Numbers no byte holds are refused when saving; they set no expected length.
    if (fitsInByte(numerator) && fitsInByte(mertebe) && roundHalfEven(mertebe) != 0)
        expectedLength = int(roundHalfEven(64.0 / mertebe * numerator));
    showLengthStatus();
    setLabel1(QString::number(currentSlot));
    Text4->setText(QString::number(currentUsul.totalLength));
}

void ArayüzKalıp::Text5_Change() {
    if (Text5->text() == QString(kNameChars, QChar(' '))) Text5->clear();
}

void ArayüzKalıp::Text3_Click() {
    popUp(Mn_birim, QCursor::pos());
}

Message ArayüzKalıp::composeFromFields(UsulRecord& r) const {
    const double numerator = fieldValue(Text2);
    const double mertebe = fieldValue(Text3);
    // The record holds bytes; a value that does not fit is refused rather than cut.
    if (!fitsInByte(numerator) || !fitsInByte(mertebe)) return Message::timeSignatureRange;
    r.name = fixedText(fromUtf8(Text5->text().toStdString()), kNameChars);
    r.numerator = std::uint8_t(roundHalfEven(numerator));
    r.mertebe = std::uint8_t(roundHalfEven(mertebe));
    return Message::none;
}

void ArayüzKalıp::But_kaydet_Click() {
    if (const Message refusal =
            saveRefusal(Text5->text().isEmpty(), currentUsul.totalLength, expectedLength);
        refusal != Message::none) {
        showMessage(refusal);
        return;
    }
    UsulRecord r = currentUsul;
    if (const Message refusal = composeFromFields(r); refusal != Message::none) {
        showMessage(refusal);
        return;
    }
    const double total = numericPrefix(Text4->text().toStdString());
    if (total > 32767) {
        showMessage(Message::totalTooLong);
        return;
    }
    r.totalLength = std::int16_t(roundHalfEven(total));
    currentUsul = r;
    if (writeSlot(currentSlot, currentUsul))
        if (auto* keeper = findChild<EditKeeper*>()) keeper->saved();
}

void ArayüzKalıp::But_farklı_Click() {
    if (const Message refusal =
            saveRefusal(Text5->text().isEmpty(), currentUsul.totalLength, expectedLength);
        refusal != Message::none) {
        showMessage(refusal);
        if (refusal == Message::nameMissing || refusal == Message::noBeats) Picture1->show();
        return;
    }
    UsulRecord probe = currentUsul;
    if (const Message refusal = composeFromFields(probe); refusal != Message::none) {
        showMessage(refusal);
        return;
    }
    Picture1->hide();
    ListeYap(kFirstUserSlot, kLastUsulSlot, List2);
}

void ArayüzKalıp::List2_Pick(int row, Qt::MouseButton button) {
    EkranKiliti(Lock::TargetListClosed);
    if (button != Qt::LeftButton) return;
    const int target = row + kFirstUserSlot;
    UsulRecord r = currentUsul;
    if (const Message refusal = composeFromFields(r); refusal != Message::none) {
        showMessage(refusal);
        return;
    }
    r.spare1 = std::u32string(kSpareChars, U'\0');
    r.spare2 = std::u32string(kSpareChars, U'\0');
    if (!writeSlot(target, r)) return;
    currentSlot = target;
    setLabel1(QString::number(currentSlot));
}

void ArayüzKalıp::But_Sil_Click() {
    if (!messages_.confirm(QString::fromStdString(messageText(Message::confirmDelete)))) return;
    if (!writeSlot(currentSlot, emptyRecord())) return;
    currentUsul = emptyRecord();
    showEmptyFields();
}

void ArayüzKalıp::showEmptyFields() {
    Text2->setText(QStringLiteral("0"));
    Text3->setText(QStringLiteral("8"));
    Text4->setText(QStringLiteral("0"));
    Text5->clear();
    expectedLength = 0;
    göster();
}

} // namespace zerkavi
