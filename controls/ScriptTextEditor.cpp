#include "ScriptTextEditor.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <functional>
#include <utility>

namespace zu {

namespace {

struct KeyCode {
    int qtKey;
    int virtualKey;
};

// clang-format off
// Keys whose virtual-key code is not their upper-case ASCII code.
constexpr KeyCode kVirtualKeys[] = {
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09}, {Qt::Key_Backtab, 0x09}, {Qt::Key_Clear, 0x0C},
    {Qt::Key_Return, 0x0D}, {Qt::Key_Enter, 0x0D}, {Qt::Key_Shift, 0x10}, {Qt::Key_Control, 0x11},
    {Qt::Key_Alt, 0x12}, {Qt::Key_Pause, 0x13}, {Qt::Key_CapsLock, 0x14}, {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20}, {Qt::Key_PageUp, 0x21}, {Qt::Key_PageDown, 0x22}, {Qt::Key_End, 0x23},
    {Qt::Key_Home, 0x24}, {Qt::Key_Left, 0x25}, {Qt::Key_Up, 0x26}, {Qt::Key_Right, 0x27},
    {Qt::Key_Down, 0x28}, {Qt::Key_Print, 0x2C}, {Qt::Key_Insert, 0x2D}, {Qt::Key_Delete, 0x2E},
    {Qt::Key_Help, 0x2F}, {Qt::Key_Meta, 0x5B}, {Qt::Key_Menu, 0x5D}, {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91},
    {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Colon, 0xBA}, {Qt::Key_Equal, 0xBB}, {Qt::Key_Plus, 0xBB},
    {Qt::Key_Comma, 0xBC}, {Qt::Key_Less, 0xBC}, {Qt::Key_Minus, 0xBD}, {Qt::Key_Underscore, 0xBD},
    {Qt::Key_Period, 0xBE}, {Qt::Key_Greater, 0xBE}, {Qt::Key_Slash, 0xBF}, {Qt::Key_Question, 0xBF},
    {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_AsciiTilde, 0xC0}, {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_BraceLeft, 0xDB}, {Qt::Key_Backslash, 0xDC}, {Qt::Key_Bar, 0xDC},
    {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
    {Qt::Key_QuoteDbl, 0xDE},
};
// The Russian layout: each Cyrillic capital (Qt's key code for the letter) and the key that carries it.
constexpr KeyCode kCyrillicKeys[] = {
    {0x419 /* Й */, 'Q'}, {0x426 /* Ц */, 'W'}, {0x423 /* У */, 'E'},
    {0x41A /* К */, 'R'}, {0x415 /* Е */, 'T'}, {0x41D /* Н */, 'Y'},
    {0x413 /* Г */, 'U'}, {0x428 /* Ш */, 'I'}, {0x429 /* Щ */, 'O'},
    {0x417 /* З */, 'P'}, {0x425 /* Х */, 0xDB}, {0x42A /* Ъ */, 0xDD},
    {0x424 /* Ф */, 'A'}, {0x42B /* Ы */, 'S'}, {0x412 /* В */, 'D'},
    {0x410 /* А */, 'F'}, {0x41F /* П */, 'G'}, {0x420 /* Р */, 'H'},
    {0x41E /* О */, 'J'}, {0x41B /* Л */, 'K'}, {0x414 /* Д */, 'L'},
    {0x416 /* Ж */, 0xBA}, {0x42D /* Э */, 0xDE}, {0x42F /* Я */, 'Z'},
    {0x427 /* Ч */, 'X'}, {0x421 /* С */, 'C'}, {0x41C /* М */, 'V'},
    {0x418 /* И */, 'B'}, {0x422 /* Т */, 'N'}, {0x42C /* Ь */, 'M'},
    {0x411 /* Б */, 0xBC}, {0x42E /* Ю */, 0xBE}, {0x401 /* Ё */, 0xC0},
};
// Keypad keys.
constexpr KeyCode kKeypadKeys[] = {
    {Qt::Key_0, 0x60}, {Qt::Key_1, 0x61}, {Qt::Key_2, 0x62}, {Qt::Key_3, 0x63}, {Qt::Key_4, 0x64},
    {Qt::Key_5, 0x65}, {Qt::Key_6, 0x66}, {Qt::Key_7, 0x67}, {Qt::Key_8, 0x68}, {Qt::Key_9, 0x69},
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B}, {Qt::Key_Minus, 0x6D}, {Qt::Key_Period, 0x6E},
    {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
};
// clang-format on

template <size_t N> int lookUp(const KeyCode (&table)[N], int key) {
    for (const KeyCode& k : table)
        if (k.qtKey == key) return k.virtualKey;
    return 0;
}

// Lower case one code unit at a time, so that a position in the lowered list is a position in the list.
QString lowerEach(const QString& text) {
    QString lower = text;
    for (QChar& c : lower)
        c = c.toLower();
    return lower;
}

bool isAsciiDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The extent of a decimal floating-point number at i (a digit): digits, a point and digits, and an
// exponent that has at least one digit.
int numberEnd(const QString& text, int i) {
    const int n = text.size();
    int j = i;
    while (j < n && isAsciiDigit(text[j]))
        ++j;
    if (j < n && text[j] == QLatin1Char('.')) {
        ++j;
        while (j < n && isAsciiDigit(text[j]))
            ++j;
    }
    if (j < n && (text[j] == QLatin1Char('e') || text[j] == QLatin1Char('E'))) {
        int k = j + 1;
        if (k < n && (text[k] == QLatin1Char('+') || text[k] == QLatin1Char('-'))) ++k;
        if (k < n && isAsciiDigit(text[k])) {
            while (k < n && isAsciiDigit(text[k]))
                ++k;
            j = k;
        }
    }
    return j;
}

bool isWordChar(QChar c) {
    return c.isLetterOrNumber() || c == QLatin1Char('_');
}

QColor qColorOf(ColorRef c) {
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

bool hasStyle(const QTextCharFormat& format, const QColor& colour, bool bold) {
    if (!format.hasProperty(QTextFormat::ForegroundBrush)) return false;
    const QBrush brush = format.foreground();
    return brush.style() == Qt::SolidPattern && brush.color().rgb() == colour.rgb() &&
           format.fontWeight() == (bold ? QFont::Bold : QFont::Normal);
}

} // namespace

int virtualKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier)
        if (int vk = lookUp(kKeypadKeys, key)) return vk;
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
    if (int vk = lookUp(kVirtualKeys, key)) return vk;
    return lookUp(kCyrillicKeys, key);
}

// The edit and the colouring that follows it make one undo step: the edit is made inside an edit block,
// and the colouring joins that block.
class ScriptTextEditor::EditScope {
  public:
    // Undoing and redoing are not made inside a block: they restore the document's own steps.
    explicit EditScope(ScriptTextEditor* editor, bool openBlock = true) : editor_(editor) {
        if (editor_->scopeDepth_++ > 0) return;
        editor_->changedInScope_ = false;
        editor_->undoCaret_ = -1;
        editor_->undoing_ = !openBlock;
        if (!openBlock) return;
        block_ = editor_->textCursor();
        block_.beginEditBlock();
    }
    ~EditScope() {
        if (editor_->scopeDepth_ > 1) {
            --editor_->scopeDepth_;
            return;
        }
        if (!block_.isNull()) block_.endEditBlock(); // the document announces the edit now
        editor_->scopeDepth_ = 0;
        // An undone or redone step leaves the caret where its last command was, which for a keystroke is the
        // colouring at the start of the line: the caret goes to the end of the text the step changed.
        if (editor_->undoing_ && editor_->undoCaret_ >= 0) {
            QTextCursor caret = editor_->textCursor();
            caret.setPosition(editor_->clampPosition(editor_->undoCaret_));
            editor_->setTextCursor(caret);
        }
        editor_->undoing_ = false;
        editor_->undoCaret_ = -1;
        if (editor_->changedInScope_) {
            editor_->changedInScope_ = false;
            editor_->afterChange();
            editor_->ensureCursorVisible();
        }
    }
    EditScope(const EditScope&) = delete;
    EditScope& operator=(const EditScope&) = delete;

  private:
    ScriptTextEditor* editor_;
    QTextCursor block_;
};

ScriptTextEditor::ScriptTextEditor(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setLineWrapMode(QTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    connect(document(), &QTextDocument::contentsChange, this, &ScriptTextEditor::onContentsChange);
}

ScriptTextEditor::~ScriptTextEditor() = default;

void ScriptTextEditor::setStyle(Token token, OleColor colour, bool bold) {
    if (token < 0 || token >= TokenCount) return;
    styles_[token] = {resolveColor(colour), bold};
}

void ScriptTextEditor::setCommentChars(QChar first, QChar second) {
    commentFirst_ = first;
    commentSecond_ = second;
}

void ScriptTextEditor::addKeyWords(const QString& list) {
    keyWords_ += list;
    keyWordsLower_ = lowerEach(keyWords_);
}

void ScriptTextEditor::addConstants(const QString& list) {
    constants_ += list;
    constantsLower_ = lowerEach(constants_);
}

void ScriptTextEditor::setWordLists(const QString& keyWords, const QString& constants) {
    keyWords_.clear();
    constants_.clear();
    addKeyWords(keyWords);
    addConstants(constants);
}

void ScriptTextEditor::setTabStops() {
    if (tabsDpi_ == logicalDpiX()) return;
    tabsDpi_ = logicalDpiX();
    const double pixelsPerTwip = tabsDpi_ / 1440.0;
    QList<QTextOption::Tab> tabs;
    for (int n = 0; n < 32; ++n)
        tabs.append(QTextOption::Tab((n + 1) * 1440 / 5 * pixelsPerTwip, QTextOption::LeftTab));
    // Tab stops are a paragraph format: every paragraph gets them, and new ones take them from theirs.
    tabFormat_.setTabPositions(tabs);
    const bool wasColouring = std::exchange(colouring_, true);
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.mergeBlockFormat(tabFormat_);
    colouring_ = wasColouring;
}

QString ScriptTextEditor::replaceText(const QString& text) {
    const QString old = toPlainText();
    {
        EditScope scope(this);
        recordEdit(Message::Other, 0, 0, 0);
        // The new text starts black and not bold, so the colouring only touches the tokens.
        QTextCharFormat plain;
        plain.setForeground(qColorOf(0));
        plain.setFontWeight(QFont::Normal);
        QTextCursor cursor(document());
        cursor.beginEditBlock();
        cursor.select(QTextCursor::Document);
        cursor.insertText(text, plain);
        cursor.select(QTextCursor::Document);
        cursor.mergeBlockFormat(tabFormat_);
        cursor.endEditBlock();
        setTextCursor(QTextCursor(document()));
    }
    // The old text cannot be brought back by undoing, as with any text set as a whole.
    document()->clearUndoRedoStacks();
    return old;
}

int ScriptTextEditor::clampPosition(int position) const {
    return std::clamp(position, 0, std::max(0, document()->characterCount() - 1));
}

void ScriptTextEditor::colourRange(int start, int end) {
    start = clampPosition(start);
    end = clampPosition(end);
    if (start > end) std::swap(start, end);
    colourBlocks(document()->findBlock(start).blockNumber(), document()->findBlock(end).blockNumber());
}

void ScriptTextEditor::colourAll() {
    colourBlocks(0, document()->blockCount() - 1);
}

void ScriptTextEditor::colourBlocks(int firstBlock, int lastBlock) {
    if (colouring_) return;
    colouring_ = true;
    const QTextCursor view = textCursor();
    const int anchor = view.anchor();
    const int position = view.position();

    QTextCursor cursor(document());
    // The colouring belongs to the edit before it: one undo takes back a keystroke with its colours and case
    // corrections, so that undoing never meets a colouring that the next colouring would make again.
    cursor.joinPreviousEditBlock();
    QTextBlock block = document()->findBlockByNumber(firstBlock);
    for (int number = firstBlock; block.isValid() && number <= lastBlock; ++number, block = block.next())
        colourLine(cursor, block);
    cursor.endEditBlock();

    // A case correction moves a caret that stood at the start of the word it rewrote.
    QTextCursor now = textCursor();
    if (now.anchor() != anchor || now.position() != position) {
        now.setPosition(anchor);
        now.setPosition(position, QTextCursor::KeepAnchor);
        setTextCursor(now);
    }
    colouring_ = false;
}

int ScriptTextEditor::findWord(const QString& lowerList, const QString& word) const {
    const QString key = QLatin1Char(' ') + (caseSensitive_ ? word : lowerEach(word)) + QLatin1Char(' ');
    return lowerList.indexOf(key);
}

void ScriptTextEditor::colourLine(QTextCursor& cursor, const QTextBlock& block) {
    QString text = block.text();
    const int n = text.size();
    const int base = block.position();
    const Style black{};
    int gap = 0;
    auto token = [&](int from, int to, Token kind) {
        applyStyle(cursor, block, gap, from, black);
        applyStyle(cursor, block, from, to, styles_[kind]);
        gap = to;
    };
    const QString& keyList = caseSensitive_ ? keyWords_ : keyWordsLower_;
    const QString& constantList = caseSensitive_ ? constants_ : constantsLower_;

    int i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == commentFirst_ && (commentSecond_.isNull() || (i + 1 < n && text[i + 1] == commentSecond_))) {
            token(i, n, CommentToken);
            i = n;
        } else if (c == stringDelimiter_) {
            const int close = text.indexOf(stringDelimiter_, i + 1);
            const int end = close < 0 ? n : close + 1;
            token(i, end, StringToken);
            i = end;
        } else if (isAsciiDigit(c)) {
            const int end = numberEnd(text, i);
            token(i, end, NumberToken);
            i = end;
        } else if (c.isLetter() || c == QLatin1Char('_')) {
            int j = i + 1;
            while (j < n && zu::isWordChar(text[j]))
                ++j;
            const QString word = text.mid(i, j - i);
            Token kind = TokenCount;
            int found = findWord(keyList, word);
            const QString* source = &keyWords_;
            if (found >= 0) {
                if (word.compare(commentWord_, Qt::CaseInsensitive) == 0) {
                    token(i, n, CommentToken);
                    break;
                }
                kind = KeyWordToken;
            } else if ((found = findWord(constantList, word)) >= 0) {
                kind = ConstantToken;
                source = &constants_;
            }
            if (kind != TokenCount) {
                const QString spelling = source->mid(found + 1, word.size());
                if (caseCorrection_ && spelling != word) {
                    // Written in its colour at once: one change per word, for the undo steps too.
                    cursor.setPosition(base + i);
                    cursor.setPosition(base + j, QTextCursor::KeepAnchor);
                    QTextCharFormat format = cursor.charFormat();
                    format.setForeground(qColorOf(styles_[kind].colour));
                    format.setFontWeight(styles_[kind].bold ? QFont::Bold : QFont::Normal);
                    cursor.insertText(spelling, format);
                    text.replace(i, word.size(), spelling);
                }
                token(i, j, kind);
            }
            i = j;
        } else {
            ++i;
        }
    }
    applyStyle(cursor, block, gap, n, black);
}

void ScriptTextEditor::applyStyle(QTextCursor& cursor, const QTextBlock& block, int from, int to,
                                  const Style& style) {
    if (to <= from) return;
    const QColor colour = qColorOf(style.colour);
    const int base = block.position();
    bool same = true;
    for (auto it = block.begin(); same && !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const int fragmentStart = fragment.position() - base;
        const int fragmentEnd = fragmentStart + fragment.length();
        if (fragmentEnd <= from) continue;
        if (fragmentStart >= to) break;
        same = zu::hasStyle(fragment.charFormat(), colour, style.bold);
    }
    if (same) return;
    QTextCharFormat format;
    format.setForeground(colour);
    format.setFontWeight(style.bold ? QFont::Bold : QFont::Normal);
    cursor.setPosition(base + from);
    cursor.setPosition(base + to, QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(format);
}

void ScriptTextEditor::recordEdit(Message message, int key, int start, int end) {
    switch (message) {
    case Message::ReplaceSelection:
    case Message::Char:
        kind_ = EditTyping;
        break;
    case Message::KeyDown:
        kind_ = key == VK_BACK ? EditBackspace : key == VK_DELETE ? EditDelete : EditOther;
        break;
    case Message::Cut:
        kind_ = EditCut;
        break;
    case Message::Paste:
        kind_ = kind_ == EditCut ? EditMove : EditPaste;
        break;
    case Message::SetCharFormat:
        return;
    case Message::Other:
        kind_ = EditOther;
        break;
    }
    if (kind_ != EditMove) {
        recordedStart_ = start;
        recordedEnd_ = end;
    }
}

void ScriptTextEditor::onContentsChange(int position, int removed, int added) {
    if (colouring_) return;
    if (scopeDepth_ > 0) {
        changedInScope_ = true;
        // Colours and case corrections replace as many characters as they remove; the text itself is what
        // an undone or redone step inserts or removes.
        if (undoing_ && added != removed) undoCaret_ = position + added;
        return;
    }
    // A change that came by no tracked way (a call of the text window's own slots): the whole text.
    recordEdit(Message::Other, 0, position, position + added);
    if (queued_) return;
    queued_ = true;
    QTimer::singleShot(0, this, [this] {
        queued_ = false;
        afterChange();
    });
}

void ScriptTextEditor::afterChange() {
    if (colouring_) return;
    const QTextCursor view = textCursor();
    const int s = view.selectionStart();
    const int e = view.selectionEnd();
    switch (kind_) {
    case EditNone:
    case EditDelete:
    case EditBackspace:
    case EditCut:
        colourRange(s, e);
        break;
    case EditTyping:
    case EditPaste:
        colourRange(recordedStart_, e);
        break;
    case EditMove:
        if (s == e) {
            colourRange(recordedStart_, e);
        } else {
            colourRange(s, e);
            const int other = recordedStart_ < s ? recordedStart_ : recordedEnd_;
            colourRange(other, other);
        }
        break;
    default:
        colourAll();
        break;
    }
    kind_ = EditNone;
}

void ScriptTextEditor::keyPressEvent(QKeyEvent* event) {
    emit keyDown(zu::virtualKeyOf(*event), event->count());
    const bool undo = event->matches(QKeySequence::Undo), redo = event->matches(QKeySequence::Redo);
    EditScope scope(this, !undo && !redo);
    const QTextCursor view = textCursor();
    const QString text = event->text();
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
    const bool typing = !command && !text.isEmpty() && event->key() != Qt::Key_Backspace &&
                        event->key() != Qt::Key_Delete &&
                        (text[0].isPrint() || text[0] == QLatin1Char('\r') || text[0] == QLatin1Char('\n') ||
                         text[0] == QLatin1Char('\t'));
    if (typing)
        recordEdit(Message::Char, 0, view.selectionStart(), view.selectionEnd());
    else
        recordEdit(Message::KeyDown, zu::virtualKeyOf(*event), view.selectionStart(), view.selectionEnd());
    if (undo || redo) {
        undoStep(undo);
        event->accept();
        return;
    }
    QTextEdit::keyPressEvent(event);
}

// The document's own undo and redo, without the text window's: that one moves the caret to the last command
// of the step, a colouring at the start of the line, or to a place past the end of the text. The caret goes
// where the step's text change ended (see EditScope).
void ScriptTextEditor::undoStep(bool undo) {
    if (isReadOnly()) return;
    if (undo)
        document()->undo();
    else
        document()->redo();
}

void ScriptTextEditor::inputMethodEvent(QInputMethodEvent* event) {
    EditScope scope(this);
    const QTextCursor view = textCursor();
    recordEdit(Message::Char, 0, view.selectionStart(), view.selectionEnd());
    QTextEdit::inputMethodEvent(event);
}

void ScriptTextEditor::insertFromMimeData(const QMimeData* source) {
    if (scopeDepth_ > 0) { // a key, a drop or a menu command already said what this is
        QTextEdit::insertFromMimeData(source);
        return;
    }
    EditScope scope(this);
    const QTextCursor view = textCursor();
    recordEdit(Message::Paste, 0, view.selectionStart(), view.selectionEnd());
    QTextEdit::insertFromMimeData(source);
}

void ScriptTextEditor::dropEvent(QDropEvent* event) {
    EditScope scope(this);
    const QTextCursor view = textCursor();
    // A drag within the editor moves its selection: a cut, then a paste.
    if (event->source() == this && (event->possibleActions() & Qt::MoveAction) && view.hasSelection())
        recordEdit(Message::Cut, 0, view.selectionStart(), view.selectionEnd());
    const int at = cursorForPosition(event->position().toPoint()).position();
    recordEdit(Message::Paste, 0, at, at);
    QTextEdit::dropEvent(event);
}

void ScriptTextEditor::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu(event->pos());
    if (!menu) return;
    // The menu's editing commands go through the tracking, like the keys.
    for (QAction* action : menu->actions()) {
        const QString name = action->objectName();
        Message message;
        bool undoing = false;
        std::function<void()> command;
        if (name == QLatin1String("edit-cut")) {
            message = Message::Cut;
            command = [this] { cut(); };
        } else if (name == QLatin1String("edit-paste")) {
            message = Message::Paste;
            command = [this] { paste(); };
        } else if (name == QLatin1String("edit-undo")) {
            message = Message::Other;
            undoing = true;
            command = [this] { undoStep(true); };
        } else if (name == QLatin1String("edit-redo")) {
            message = Message::Other;
            undoing = true;
            command = [this] { undoStep(false); };
        } else if (name == QLatin1String("edit-delete")) {
            message = Message::Other;
        } else {
            continue;
        }
        QObject::disconnect(action, &QAction::triggered, nullptr, nullptr);
        connect(action, &QAction::triggered, this, [this, message, command, undoing] {
            EditScope scope(this, !undoing);
            QTextCursor view = textCursor();
            recordEdit(message, 0, view.selectionStart(), view.selectionEnd());
            if (command)
                command();
            else
                view.removeSelectedText();
        });
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace zu
