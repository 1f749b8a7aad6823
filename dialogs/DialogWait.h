#pragma once
// Waiting on a dialog shown without modality: the command that asked goes on running events (the
// rest of the program stays usable) until the dialog answers, is closed or goes away. While the wait
// lasts the dialog is marked as one a command waits on, so the main window can refuse its commands.
#include <QAbstractButton>
#include <QEventLoop>
#include <QPointer>
#include <QWidget>

#include <functional>

class DialogWait {
  public:
    // Marks `dialog` as waited on; the wait also ends when the dialog is destroyed.
    explicit DialogWait(QWidget* dialog);
    // Ends the mark, unless the dialog went away meanwhile.
    ~DialogWait();
    DialogWait(const DialogWait&) = delete;
    DialogWait& operator=(const DialogWait&) = delete;

    // The wait ends when `sender` emits `signal`.
    template <typename Sender, typename Signal> void endOn(const Sender* sender, Signal signal) {
        QObject::connect(sender, signal, &loop_, &QEventLoop::quit);
    }
    // The wait ends when `button` is pressed down (a check box drawn as a button), and `when` allows.
    void endWhenPressed(QAbstractButton* button, std::function<bool()> when = {});

    // Shows the dialog above the others and gives it the keyboard.
    void present();
    // Waits; false when the dialog was destroyed while waiting.
    bool run();

    // Whether a command waits on `window` now.
    static bool isWaiting(const QWidget* window);

  private:
    QPointer<QWidget> dialog_;
    QEventLoop loop_;
};
