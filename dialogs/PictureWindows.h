#pragma once
// The plain display windows: the fixed scheme pictures (Form5, Form7, Form8), the three-circuit
// scheme read from the picture folder (Form6) and the owner's web page (Form13). Each is a window
// of its own, shown without modality until the user closes it.
#include <QString>
#include <QUrl>
#include <QWidget>

#include <functional>

class QLabel;

// A window showing one of the program's own pictures at its natural size.
class FixedPictureWindow : public QWidget {
    Q_OBJECT
  public:
    FixedPictureWindow(const QString& name, const QString& caption, const QString& picture, QWidget* parent);
    QLabel* Image1;
};

// "Смешанная схема": the two-stage mixed scheme.
class Form5 : public FixedPictureWindow {
    Q_OBJECT
  public:
    explicit Form5(QWidget* parent = nullptr);
};

// "Теплообменник": a single exchanger with its connections.
class Form7 : public FixedPictureWindow {
    Q_OBJECT
  public:
    explicit Form7(QWidget* parent = nullptr);
};

// "Параллельная схема": the parallel scheme.
class Form8 : public FixedPictureWindow {
    Q_OBJECT
  public:
    explicit Form8(QWidget* parent = nullptr);
};

// The scheme of the three-circuit systems, read from "picture/spv.jpg" at each use.
class Form6 : public QWidget {
    Q_OBJECT
  public:
    explicit Form6(QWidget* parent = nullptr);

    // Sets the caption and loads workDir/picture/spv.jpg, else dataDir/picture/spv.jpg, placed at the
    // top left with the window's client area fitted to it. A missing or unreadable file shows
    // Label1 at the designed size (6225 × 4815 twips of client area) instead. The caller shows the
    // window.
    void present(const QString& caption, const QString& workDir, const QString& dataDir);

    QLabel* Image1;
    QLabel* Label1; // "Отствует база данных с тепловыми схемами."
};

// The owner's web page: an embedded browser when the build has one, else the user's browser opens
// the address and the window keeps it as a link, or says that no browser opened.
class Form13 : public QWidget {
    Q_OBJECT
  public:
    explicit Form13(QWidget* parent = nullptr);

    // Goes to the address and shows the window, whatever became of the address.
    void navigate(const QString& address);
    QString address() const { return address_; }
    bool embedded() const;

    QLabel* Label1; // what happened to the address, when no browser is embedded
    // Hands the address to the user's browser; false when none opened. Tests replace it.
    std::function<bool(const QUrl&)> openExternal;

  protected:
    bool event(QEvent* event) override;

  private:
    void present();

    QString address_;
    QWidget* WebBrowser1 = nullptr;
};
