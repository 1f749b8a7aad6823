// The script editor's text window: a QTextEdit that tracks the kind of each edit and colours Basic script
// (comments, strings, numbers, keywords with case correction, constants) on the lines the edit touched.
#pragma once

#include "ColorFunction.h"

#include <QString>
#include <QTextBlockFormat>
#include <QTextEdit>

#include <array>

class QKeyEvent;

namespace zu {

// The platform's virtual-key code of a key event (letters and digits as their upper-case ASCII codes,
// Cyrillic letters as the keys that carry them on the Russian layout); 0 for keys without one.
int virtualKeyOf(const QKeyEvent& event);

// The script editor's text window.
class ScriptTextEditor : public QTextEdit {
    Q_OBJECT

  public:
    // What the text window is about to do when it changes its text, as the edit tracking tells it apart.
    enum class Message { ReplaceSelection, Char, KeyDown, Cut, Paste, SetCharFormat, Other };
    // The kinds of edit the tracking records; they choose the lines that are coloured after the change.
    enum EditKind {
        EditNone = 0,
        EditOther = 1,
        EditTyping = 2,
        EditDelete = 3,
        EditBackspace = 4,
        EditCut = 5,
        EditPaste = 6,
        EditMove = 7,
    };
    enum Token { KeyWordToken = 0, ConstantToken, CommentToken, NumberToken, StringToken, TokenCount };
    struct Style {
        ColorRef colour = 0;
        bool bold = false;
    };

    // The platform's virtual-key codes of the two keys the tracking tells apart.
    static constexpr int VK_BACK = 0x08;
    static constexpr int VK_DELETE = 0x2E;

    explicit ScriptTextEditor(QWidget* parent = nullptr);
    ~ScriptTextEditor() override;

    // The colouring's settings. A colour is an OLE colour, resolved when it is set.
    void setStyle(Token token, OleColor colour, bool bold);
    Style style(Token token) const { return styles_[token]; }
    void setCommentChars(QChar first, QChar second = QChar());
    void setCommentWord(const QString& word) { commentWord_ = word; }
    void setStringDelimiter(QChar delimiter) { stringDelimiter_ = delimiter; }
    // Appends a blank-separated word list (leading and trailing blank) to the editor's own list.
    void addKeyWords(const QString& list);
    void addConstants(const QString& list);
    // Replaces both lists, as an editor made afresh with them would hold them.
    void setWordLists(const QString& keyWords, const QString& constants);
    QString keyWords() const { return keyWords_; }
    QString constants() const { return constants_; }
    void setCaseSensitive(bool on) { caseSensitive_ = on; }
    void setCaseCorrection(bool on) { caseCorrection_ = on; }
    // 32 tab stops, every 288 twips, in this screen's pixels (set again when the resolution changed).
    void setTabStops();

    // Replaces the whole text (an edit of kind 1, so the whole text is coloured) and returns the old text.
    QString replaceText(const QString& text);

    // Colours the lines from the one holding start to the one holding end (positions in either order).
    void colourRange(int start, int end);
    void colourAll();
    bool colouring() const { return colouring_; }

    // The edit tracking: records the kind of the edit the message is about to make, and the range
    // concerned. Entry points of the text window call it before they let Qt make the edit.
    void recordEdit(Message message, int key, int start, int end);
    int editKind() const { return kind_; }

  signals:
    // Every key press that reaches the editor, before the editor handles it.
    void keyDown(int virtualKey, int repeatCount);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;
    void dropEvent(QDropEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // Groups one user action: every change inside is coloured once, when the outermost scope ends.
    class EditScope;
    friend class EditScope;

    void onContentsChange(int position, int removed, int added);
    void undoStep(bool undo);
    void afterChange();
    void colourBlocks(int firstBlock, int lastBlock);
    void colourLine(class QTextCursor& cursor, const class QTextBlock& block);
    void applyStyle(QTextCursor& cursor, const QTextBlock& block, int from, int to, const Style& style);
    // The position of " word " in the matching list, or -1.
    int findWord(const QString& lowerList, const QString& word) const;
    int clampPosition(int position) const;

    std::array<Style, TokenCount> styles_{};
    QChar commentFirst_ = QLatin1Char('\'');
    QChar commentSecond_;
    QString commentWord_ = QStringLiteral("rem");
    QChar stringDelimiter_ = QLatin1Char('"');
    QString keyWords_, keyWordsLower_;
    QString constants_, constantsLower_;
    bool caseSensitive_ = false;
    bool caseCorrection_ = true;

    QTextBlockFormat tabFormat_;
    int tabsDpi_ = 0;
    bool colouring_ = false;
    int kind_ = EditNone;
    int recordedStart_ = 0;
    int recordedEnd_ = 0;
    int scopeDepth_ = 0;
    bool changedInScope_ = false;
    bool queued_ = false;
    bool undoing_ = false; // an undo or redo is being made
    int undoCaret_ = -1;   // where its text change ended
};

} // namespace zu
