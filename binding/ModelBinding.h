#pragma once
// The one binding between widgets and the window model. A widget bound to a control shows that
// control and nothing of its own: user edits (typed, picked, or set through the accessibility
// interface) go into the control at once, and refresh() shows
// every bound widget from its control again (text, visibility, enabled, locked as read-only,
// colours, bold, tool tip, list items and index, check value, picture file). Whoever runs a
// command (calculation, menu pick, dialog answer) calls refresh() afterwards, so nothing the core
// wrote can be missed.
#include <QColor>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QAbstractButton;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace kalvar {
class Control;
}

class ModelBinding : public QObject {
    Q_OBJECT
  public:
    explicit ModelBinding(QObject* parent = nullptr);

    // A text box: every change of its text writes the control's text.
    void bindText(QLineEdit* box, kalvar::Control& control);
    // A label: caption, fore colour, visibility, tool tip (its back colour is the container's).
    void bindLabel(QLabel* label, kalvar::Control& control);
    // A list: a change of its entry runs Control::setListIndex, and with it the model's change handlers.
    void bindList(QComboBox* list, kalvar::Control& control);
    // A check box (or a check box drawn as a button): a toggle writes the check value 0 or 1.
    void bindCheck(QAbstractButton* check, kalvar::Control& control);
    // A command button: caption, bold, visibility, enabled; its click belongs to its owner.
    void bindButton(QAbstractButton* button, kalvar::Control& control);
    // A frame: title (group boxes), back colour, visibility, tool tip.
    void bindFrame(QGroupBox* frame, kalvar::Control& control);
    void bindFrame(QFrame* frame, kalvar::Control& control);
    // A picture: the image file named by the control's text, nothing when it is empty or unreadable.
    void bindPicture(QLabel* picture, kalvar::Control& control);

    // Shows every bound widget from its control.
    void refresh();
    // True while refresh() writes the widgets, so that what it writes is not taken for a user edit.
    bool refreshing() const { return refreshing_; }

    static QColor colour(uint32_t rgb);
    static QString qt(const std::string& text) { return QString::fromStdString(text); }

  signals:
    // After each user edit has gone into the model.
    void edited();

  private:
    void add(QWidget* widget, std::function<void()> refresher);

    std::vector<std::function<void()>> refreshers_;
    bool refreshing_ = false;
};
