// The column header above the plan text: the words of its caption, each drawn above the
// column of the 43-character plan line it names, in the plan text's fixed-pitch font, so the
// header lines up with the text in either language.
#pragma once

#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTextDocument>

namespace zerkavi {

class ColumnHeader : public QLabel {
  public:
    using QLabel::QLabel;
    // The plan box whose columns the words stand above.
    void setColumnsOf(QPlainTextEdit* text) { text_ = text; }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(palette().color(QPalette::WindowText));
        if (!text_) return;
        // Columns are measured in the plan text's font; the words keep this label's smaller
        // font and are shortened where one would run into the next column.
        const QFontMetrics m(text_->font());
        const QFontMetrics own(font());
        const int blank = m.horizontalAdvance(QChar(' '));
        // Where column 1 of the plan box starts, in this label's coordinates.
        const int left = text_->mapTo(parentWidget(), QPoint(0, 0)).x() - x() +
                         text_->frameWidth() + int(text_->document()->documentMargin());
        // Name, usul number, repeat, unit and metronome start in these columns.
        static constexpr int kColumns[5] = {1, 20, 26, 32, 37};
        const QStringList words =
            text().trimmed().split(QRegularExpression(QStringLiteral(" {2,}")));
        for (int i = 0; i < words.size() && i < 5; ++i) {
            const int room = i < 4 ? (kColumns[i + 1] - kColumns[i] - 1) * blank : width();
            p.drawText(QPoint(left + (kColumns[i] - 1) * blank,
                              (height() + own.ascent() - own.descent()) / 2),
                       own.elidedText(words[i], Qt::ElideRight, room));
        }
    }

  private:
    QPlainTextEdit* text_ = nullptr;
};

} // namespace zerkavi
