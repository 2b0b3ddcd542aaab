// Every message of the program goes through this one interface: modal boxes in the
// program, a recorder in tests.
#pragma once

#include <QString>

class QWidget;

namespace zerkavi {

inline const char* const kApplicationTitle = "Zerkavi editor";

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // A modal box with an OK button, titled with the program's name or with `title`.
    void inform(const QString& text) { inform(text, QString::fromUtf8(kApplicationTitle)); }
    virtual void inform(const QString& text, const QString& title) = 0;
    // A question with OK and Cancel, Cancel being the default; true for OK.
    virtual bool confirm(const QString& text) = 0;
};

class ModalMessageBoxes : public MessageBoxes {
  public:
    explicit ModalMessageBoxes(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    using MessageBoxes::inform;
    void inform(const QString& text, const QString& title) override;
    bool confirm(const QString& text) override;

  private:
    QWidget* parent_;
};

} // namespace zerkavi
