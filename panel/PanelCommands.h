#pragma once
// The commands of one button panel, keyed by the stable keys of the panel's design data: "b" for
// button b, "b.m" for item m of its menu, "b.m.s" for sub-item s of that item (the key a pick
// reports). Captions change at run time (the series names) and two of them differ by a blank
// only, so a pick is never matched by its caption; the caption is kept to check the table
// against the design data.
#include <QString>

#include <functional>
#include <utility>
#include <vector>

#include "ZuPanel.h"

struct PanelCommand {
    QString key;
    QString caption; // the entry's caption in the design data
    std::function<void()> run;
    // True for the few commands that still run while a calculation waits for a dialog; the others
    // are refused then.
    bool whileDialogWaits = false;
};

class PanelCommands {
  public:
    enum class Outcome { Ran, Refused, Unknown };

    void add(QString key, QString caption, std::function<void()> run, bool whileDialogWaits = false) {
        commands_.push_back({std::move(key), std::move(caption), std::move(run), whileDialogWaits});
    }

    const PanelCommand* find(const QString& key) const {
        for (const PanelCommand& command : commands_)
            if (command.key == key) return &command;
        return nullptr;
    }

    const std::vector<PanelCommand>& all() const { return commands_; }

    // Runs the command of `key`. While a dialog waits every pick is refused but those of the
    // commands that may run then.
    Outcome run(const QString& key, bool dialogWaits) const {
        const PanelCommand* command = find(key);
        if (dialogWaits && !(command && command->whileDialogWaits)) return Outcome::Refused;
        if (!command) return Outcome::Unknown;
        command->run();
        return Outcome::Ran;
    }

    // The key of a button of `panel` ("b"), or an empty text when the button is not the panel's.
    static QString buttonKey(const ZuPanel& panel, const ZuPanelButton* button) {
        const ZuPanelButtons& buttons = panel.Buttons();
        for (int16_t b = 1; b <= buttons.Count(); ++b)
            if (&buttons.Item(b) == button) return QString::number(b);
        return {};
    }

  private:
    std::vector<PanelCommand> commands_;
};
