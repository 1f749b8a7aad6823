#pragma once
// The plain display windows: the fixed scheme pictures (mixed, single exchanger, parallel), the
// three-circuit scheme read from the picture folder and the owner's web page. Each is a window of its
// own, shown without modality until the user closes it.
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
    QLabel* image;
};

// "Смешанная схема": the two-stage mixed scheme.
class MixedSchemeWindow : public FixedPictureWindow {
    Q_OBJECT
  public:
    explicit MixedSchemeWindow(QWidget* parent = nullptr);
};

// "Теплообменник": a single exchanger with its connections.
class ExchangerPictureWindow : public FixedPictureWindow {
    Q_OBJECT
  public:
    explicit ExchangerPictureWindow(QWidget* parent = nullptr);
};

// "Параллельная схема": the parallel scheme.
class ParallelSchemeWindow : public FixedPictureWindow {
    Q_OBJECT
  public:
    explicit ParallelSchemeWindow(QWidget* parent = nullptr);
};

// The scheme of the three-circuit systems, read from "picture/spv.jpg" at each use.
class ThreeCircuitSchemeWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ThreeCircuitSchemeWindow(QWidget* parent = nullptr);

    // Sets the caption and loads workDir/picture/spv.jpg, else dataDir/picture/spv.jpg, placed at the
    // top left with the window's client area fitted to it. A missing or unreadable file shows
    // missingLabel at the designed size (6225 × 4815 twips of client area) instead. The caller shows the
    // window.
    void present(const QString& caption, const QString& workDir, const QString& dataDir);

    QLabel* image;
    QLabel* missingLabel; // "Отствует база данных с тепловыми схемами."
};

// The owner's web page: an embedded browser when the build has one, else the user's browser opens
// the address and the window keeps it as a link, or says that no browser opened.
class WebPageWindow : public QWidget {
    Q_OBJECT
  public:
    explicit WebPageWindow(QWidget* parent = nullptr);

    // Goes to the address and shows the window, whatever became of the address.
    void navigate(const QString& address);
    QString address() const { return address_; }
    bool embedded() const;

    QLabel* statusLabel; // what happened to the address, when no browser is embedded
    // Hands the address to the user's browser; false when none opened. Tests replace it.
    std::function<bool(const QUrl&)> openExternal;

  protected:
    bool event(QEvent* event) override;

  private:
    void present();

    QString address_;
    QWidget* browser_ = nullptr;
};
