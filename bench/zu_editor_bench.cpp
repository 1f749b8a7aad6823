// The script editor on a 10,000-line script: setting the whole text (coloured at once), one keystroke in the
// middle of it (only its line re-coloured), and a keyboard paste there (the whole text re-coloured, as the
// edit kind asks). Aims: SetText under 1 s, a keystroke under 16 ms.
#include "ScriptTextEditor.h"
#include "ZuRichTextCtl.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <benchmark/benchmark.h>

namespace {

QString sampleScript(int lines) {
    static const char* const pattern[] = {
        "Option Explicit",
        "Dim total, count ' running sums",
        "For i = 1 To 100 Step 2",
        "    total = total + i * 1.5e3",
        "    If total > 20000 Then MsgBox \"large: \" & total, vbOKOnly",
        "Next",
        "rem the loop is done",
        "Sub Show(name)",
        "    name = \"closed string\" & vbCrLf & \"open string",
        "End Sub",
    };
    QString text;
    for (int i = 0; i < lines; ++i) {
        text += QString::fromLatin1(pattern[i % 10]);
        text += QLatin1Char('\n');
    }
    return text;
}

void SetTextOfTenThousandLines(benchmark::State& state) {
    CZuRichTextCtrl control;
    control.resize(800, 600);
    const QString script = sampleScript(10000);
    for (auto _ : state) {
        control.SetText(QString());
        control.SetText(script);
    }
}
BENCHMARK(SetTextOfTenThousandLines)->Unit(benchmark::kMillisecond);

void KeystrokeInTheMiddle(benchmark::State& state) {
    CZuRichTextCtrl control;
    control.resize(800, 600);
    control.show();
    control.SetText(sampleScript(10000));
    zu::ScriptTextEditor* editor = control.editor();
    QTextCursor caret(editor->document()->findBlockByNumber(5003));
    caret.movePosition(QTextCursor::EndOfBlock);
    editor->setTextCursor(caret);
    bool typeLetter = true;
    for (auto _ : state) {
        // Alternately a letter and a Backspace, so the script stays as it was.
        QKeyEvent press(QEvent::KeyPress, typeLetter ? Qt::Key_X : Qt::Key_Backspace, Qt::NoModifier,
                        typeLetter ? QStringLiteral("x") : QString());
        QApplication::sendEvent(editor, &press);
        typeLetter = !typeLetter;
    }
}
BENCHMARK(KeystrokeInTheMiddle)->Unit(benchmark::kMillisecond);

// A keyboard paste is an edit of the kind that re-colours the whole text: its cost on 10,000 lines.
void KeyboardPasteInTheMiddle(benchmark::State& state) {
    CZuRichTextCtrl control;
    control.resize(800, 600);
    control.show();
    control.SetText(sampleScript(10000));
    zu::ScriptTextEditor* editor = control.editor();
    QApplication::clipboard()->setText(QStringLiteral("x"));
    QTextCursor caret(editor->document()->findBlockByNumber(5003));
    caret.movePosition(QTextCursor::EndOfBlock);
    editor->setTextCursor(caret);
    bool paste = true;
    for (auto _ : state) {
        QKeyEvent press(QEvent::KeyPress, paste ? Qt::Key_V : Qt::Key_Backspace,
                        paste ? Qt::ControlModifier : Qt::NoModifier, QString());
        QApplication::sendEvent(editor, &press);
        paste = !paste;
    }
}
BENCHMARK(KeyboardPasteInTheMiddle)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
