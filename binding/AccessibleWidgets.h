#pragma once
// What screen readers need beyond Qt's own accessible interfaces:
// - a list named by its label, not by its current entry ("греющий поток", not "вода"), with a
//   labelled-by relation to every label that names it (on Linux Qt names a list by its entry);
// - a frame without caption (the ventilation window's) named by what it holds: an MDI window with
//   an empty title is spoken by the accessible name of its content, its caption stays empty.
#include <QComboBox>
#include <QList>
#include <QPointer>

class QLabel;

// A drop-down list that screen readers know by its accessible name (else by its labels' texts).
class LabelledComboBox : public QComboBox {
    Q_OBJECT
  public:
    explicit LabelledComboBox(QWidget* parent = nullptr);

    // A label that names the list besides its buddy (a column heading, a unit).
    void addLabel(QLabel* label);
    QList<QLabel*> labels() const;

  private:
    QList<QPointer<QLabel>> labels_;
};

namespace accessibleWidgets {
// Installs the interfaces above for the application; once is enough, more calls do nothing.
void install();
} // namespace accessibleWidgets
