// The script editor: colouring of sample lines character by character, the lines an edit re-colours,
// typing by key events, the shared word lists, the properties and their persistence.
#include "ScriptTextEditor.h"
#include "ZuRichTextCtl.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Texts print as text in the tests' messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

using Token = zu::ScriptTextEditor::Token;

// Distinct colours per kind, so a character's colour tells its kind.
constexpr uint kKeyWord = 0x0000C0, kConstant = 0x00C000, kComment = 0xC00000, kNumber = 0xC0C000,
               kString = 0x00C0C0;

QRgb rgbOf(uint colourRef) {
    return qRgb(colourRef & 0xFF, (colourRef >> 8) & 0xFF, (colourRef >> 16) & 0xFF);
}

// A control with the test colours; the module's word lists are left empty (the built-in ones).
struct Editor {
    std::unique_ptr<CZuRichTextCtrl> control = std::make_unique<CZuRichTextCtrl>();
    Editor() {
        control->setKeyWordColor(kKeyWord);
        control->setConstantColor(kConstant);
        control->setCommentColor(kComment);
        control->setNumberColor(kNumber);
        control->setStringColor(kString);
        control->resize(400, 300);
    }
    zu::ScriptTextEditor* textWindow() const { return control->editor(); }
    QTextCharFormat formatAt(int position) const {
        QTextCursor cursor(textWindow()->document());
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }
    // One letter per character of the text: K keyword, C constant, M comment, N number, S string, . black;
    // an upper-case letter is bold, ? a colour or weight that is none of these.
    QString styleMask() const {
        const QString text = control->GetText();
        QString mask;
        for (int i = 0; i < text.size(); ++i) {
            if (text[i] == QLatin1Char('\n')) {
                mask += QLatin1Char('\n');
                continue;
            }
            const QTextCharFormat f = formatAt(i);
            const QRgb c = f.foreground().color().rgb();
            QChar letter = QLatin1Char('?');
            if (!f.hasProperty(QTextFormat::ForegroundBrush))
                letter = QLatin1Char('?');
            else if (c == rgbOf(0))
                letter = QLatin1Char('.');
            else if (c == rgbOf(kKeyWord))
                letter = QLatin1Char('k');
            else if (c == rgbOf(kConstant))
                letter = QLatin1Char('c');
            else if (c == rgbOf(kComment))
                letter = QLatin1Char('m');
            else if (c == rgbOf(kNumber))
                letter = QLatin1Char('n');
            else if (c == rgbOf(kString))
                letter = QLatin1Char('s');
            if (f.fontWeight() == QFont::Bold)
                letter = letter.toUpper();
            else if (f.fontWeight() != QFont::Normal)
                letter = QLatin1Char('?');
            mask += letter;
        }
        return mask;
    }
};

struct ColouringCase {
    const char* name;
    const char* input;
    const char* text;
    const char* mask;
};

// clang-format off
const ColouringCase kColouringCases[] = {
    {"KeywordCaseCorrected", "dim x", "Dim x", "kkk.."},
    {"NumberAndComment", "x = 1.5e3 ' note", "x = 1.5e3 ' note", "....nnnnn.mmmmmm"},
    {"RemLineIsComment", "Rem anything", "Rem anything", "mmmmmmmmmmmm"},
    {"RemInLowerCaseIsComment", "rem If x", "rem If x", "mmmmmmmm"},
    {"RemarkIsNoComment", "Remark = 1", "Remark = 1", ".........n"},
    {"RemAfterCodeStartsComment", "If x rem Then", "If x rem Then", "kk...mmmmmmmm"},
    {"RemInsideWordIsNothing", "premium = remit", "premium = remit", "..............."},
    {"OpenStringRunsToLineEnd", "x = \"open If\nIf", "x = \"open If\nIf", "....ssssssss\nkk"},
    {"ClosedStringIncludesBothQuotes", "s = \"If\" & If", "s = \"If\" & If", "....ssss...kk"},
    {"KeywordsInCommentStayComment", "' If Then Dim", "' If Then Dim", "mmmmmmmmmmmmm"},
    {"CommentEndsAtLineEnd", "x ' c\ndim", "x ' c\nDim", "..mmm\nkkk"},
    {"NumbersInsideIdentifiers", "x1 = y2_3 + _4", "x1 = y2_3 + _4", ".............."},
    {"NumberBeforeLetters", "x = 12abc", "x = 12abc", "....nn..."},
    {"TwoPointsMakeTwoNumbers", "1.2.3", "1.2.3", "nnn.n"},
    {"ExponentWithoutDigits", "1e+ 2E-3", "1e+ 2E-3", "n...nnnn"},
    {"TrailingPointBelongsToNumber", "1.x", "1.x", "nn."},
    {"ConstantCaseCorrected", "a = vbcrlf & TRUE", "a = vbCrLf & True", "....cccccc...cccc"},
    {"CyrillicKeyword", "ворск 1", "Ворск 1", "kkkkk.n"},
    {"OperatorWordsAreKeywords", "If a AND NOT b Then", "If a And Not b Then", "kk...kkk.kkk...kkkk"},
    {"TabsAndBlanksStayBlack", "\tEnd\tSub", "\tEnd\tSub", ".kkk.kkk"},
    {"EmptyLinesKeepTheirPlace", "dim\n\n\nend", "Dim\n\n\nEnd", "kkk\n\n\nkkk"},
};
// clang-format on

void PrintTo(const ColouringCase& c, std::ostream* os) {
    *os << c.name;
}

class Colouring : public testing::TestWithParam<ColouringCase> {};

TEST_P(Colouring, EachCharacterTakesTheColourOfItsToken) {
    const ColouringCase& c = GetParam();
    Editor e;
    e.control->SetText(QString::fromUtf8(c.input));
    EXPECT_EQ(e.control->GetText(), QString::fromUtf8(c.text));
    EXPECT_EQ(e.styleMask(), QString::fromUtf8(c.mask));
}

INSTANTIATE_TEST_SUITE_P(SampleLines, Colouring, testing::ValuesIn(kColouringCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RichTextProperties, BoldAndColourSettersRecolourTheWholeTextAtOnce) {
    Editor e;
    e.control->SetText(QStringLiteral("dim a\nx = 1 ' c\nset b = nothing"));
    e.control->setKeyWordBold(true);
    e.control->setNumberBold(true);
    EXPECT_EQ(e.styleMask(), QStringLiteral("KKK..\n....N.mmm\nKKK.....ccccccc"));

    e.control->setCommentColor(kString);
    e.control->setCommentBold(true);
    EXPECT_EQ(e.styleMask(), QStringLiteral("KKK..\n....N.SSS\nKKK.....ccccccc"));
}

TEST(RichTextProperties, DefaultsAndPersistedNames) {
    CZuRichTextCtrl control;
    ASSERT_EQ(control.InitNew(), ZU_S_OK);
    zu::CZuPropertyBag bag;
    ASSERT_EQ(control.Save(&bag, true, true), ZU_S_OK);
    const QVariantMap expected = {
        {"m_Enabled", true},
        {"KeyWordColor", 16711680u},
        {"KeyWordBold", false},
        {"ConstantColor", 16711808u},
        {"ConstantBold", false},
        {"CommentColor", 32768u},
        {"CommentBold", false},
        {"NumberColor", 16744448u},
        {"NumberBold", false},
        {"StringColor", 0u},
        {"StringBold", false},
        {"KeyWords", QString()},
        {"Constants", QString()},
        {"FontName", QStringLiteral("Courier")},
        {"FontHeight", QVariant::fromValue<short>(12)},
    };
    ASSERT_EQ(bag.values.size(), expected.size());
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        ASSERT_TRUE(bag.values.contains(it.key())) << it.key().toStdString();
        EXPECT_EQ(bag.values.value(it.key()).toString(), it.value().toString()) << it.key().toStdString();
    }
    EXPECT_EQ(control.IsDirty(), ZU_S_FALSE);

    // A bag from another control comes back into the properties; every setter marks the control modified.
    zu::CZuPropertyBag changed;
    changed.values = bag.values;
    changed.values["m_Enabled"] = false;
    changed.values["NumberColor"] = 255u;
    changed.values["FontHeight"] = 20;
    ASSERT_EQ(control.Load(&changed), ZU_S_OK);
    EXPECT_FALSE(control.enabledProperty());
    EXPECT_FALSE(control.editor()->isEnabled());
    EXPECT_EQ(control.numberColor(), 255u);
    EXPECT_EQ(control.fontHeight(), 20);
    control.setStringBold(true);
    EXPECT_EQ(control.IsDirty(), ZU_S_OK);
}

TEST(RichTextProperties, FontNameIsSharedAndFontHeightCountsScreenPixels) {
    CZuRichTextCtrl first, second;
    first.setFontName(QStringLiteral("Liberation Mono"));
    first.setFontHeight(16);
    EXPECT_EQ(second.fontName(), QStringLiteral("Liberation Mono"));
    EXPECT_EQ(first.editor()->font().family(), QStringLiteral("Liberation Mono"));
    EXPECT_DOUBLE_EQ(first.editor()->font().pointSizeF(), 12.0);
    first.setFontHeight(0); // no font of no size: the smallest one
    EXPECT_GT(first.editor()->font().pointSizeF(), 0.0);
    first.setFontName(QStringLiteral("Courier"));
}

TEST(RichTextText, TabStopsEvery288TwipsOnEveryLineOldAndNew) {
    Editor e;
    e.control->show();
    e.control->SetText(QStringLiteral("\tx\n\t\ty"));
    QTextCursor end(e.textWindow()->document());
    end.movePosition(QTextCursor::End);
    e.textWindow()->setTextCursor(end);
    QTest::keyClick(e.textWindow(), Qt::Key_Return);
    QTest::keyClicks(e.textWindow(), QStringLiteral("\tz"));
    const double stop = 288 * e.textWindow()->logicalDpiX() / 1440.0;
    const double expected[] = {stop, 2 * stop, stop};
    QTextBlock block = e.textWindow()->document()->firstBlock();
    for (double x : expected) {
        e.textWindow()->document()->documentLayout()->blockBoundingRect(block); // lays the line out
        const QTextLine line = block.layout()->lineAt(0);
        EXPECT_NEAR(line.cursorToX(block.length() - 2), x, 0.5) << block.text().toStdString();
        block = block.next();
    }
}

TEST(RichTextText, SetTextReturnsTheTextHeldBefore) {
    Editor e;
    EXPECT_EQ(e.control->SetText(QStringLiteral("first")), QString());
    EXPECT_EQ(e.control->SetText(QStringLiteral("second\r\nline")), QStringLiteral("first"));
    EXPECT_EQ(e.control->GetText(), QStringLiteral("second\nline"));
    EXPECT_EQ(e.control->SetText(QString()), QStringLiteral("second\nline"));
    EXPECT_EQ(e.control->GetText(), QString());
}

// The word lists are the module's: changing them affects editors made afterwards only.
class SharedWordLists : public testing::Test {
  protected:
    void TearDown() override {
        CZuRichTextCtrl reset;
        reset.setKeyWords(QString());
        reset.setConstants(QString());
    }
};

TEST_F(SharedWordLists, ListsSetInOneControlReachEditorsMadeLaterInAny) {
    Editor before;
    before.control->setKeyWords(QStringLiteral(" Alpha Beta "));
    before.control->setConstants(QStringLiteral(" Gamma "));
    before.control->SetText(QStringLiteral("alpha dim gamma"));
    EXPECT_EQ(before.styleMask(), QStringLiteral("......kkk......")); // the editor keeps its lists

    Editor after;
    EXPECT_EQ(after.control->keyWords(), QStringLiteral(" Alpha Beta "));
    after.control->SetText(QStringLiteral("alpha dim gamma"));
    EXPECT_EQ(after.control->GetText(), QStringLiteral("Alpha dim Gamma"));
    EXPECT_EQ(after.styleMask(), QStringLiteral("kkkkk.....ccccc"));
}

TEST_F(SharedWordLists, WithoutRemInTheKeywordsRemIsAnOrdinaryWord) {
    CZuRichTextCtrl setter;
    setter.setKeyWords(QStringLiteral(" Dim "));
    Editor e;
    e.control->SetText(QStringLiteral("rem dim"));
    EXPECT_EQ(e.styleMask(), QStringLiteral("....kkk"));
}

// A container creates the control and then loads its properties: the lists in the bag are the ones its
// editor colours with; an empty list in the bag means the built-in one.
TEST_F(SharedWordLists, ListsLoadedFromTheBagTakeEffectInTheLoadingControl) {
    Editor e;
    zu::CZuPropertyBag bag;
    bag.values["KeyWordColor"] = kKeyWord;
    bag.values["ConstantColor"] = kConstant;
    bag.values["KeyWords"] = QStringLiteral(" Foo Bar ");
    bag.values["Constants"] = QStringLiteral(" Baz ");
    ASSERT_EQ(e.control->Load(&bag), ZU_S_OK);
    e.control->SetText(QStringLiteral("foo dim baz true"));
    EXPECT_EQ(e.control->GetText(), QStringLiteral("Foo dim Baz true"));
    EXPECT_EQ(e.styleMask(), QStringLiteral("kkk.....ccc....."));

    bag.values["KeyWords"] = QString();
    bag.values["Constants"] = QString();
    ASSERT_EQ(e.control->Load(&bag), ZU_S_OK);
    EXPECT_EQ(e.control->GetText(), QStringLiteral("Foo Dim Baz True")) << "coloured again at once";
    EXPECT_EQ(e.styleMask(), QStringLiteral("....kkk.....cccc"));
}

TEST(RichTextEditor, EmptyListsColourNoWords) {
    zu::ScriptTextEditor editor;
    editor.replaceText(QStringLiteral("If x Then ' c\n\"s\" 1"));
    editor.colourAll();
    EXPECT_EQ(editor.toPlainText(), QStringLiteral("If x Then ' c\n\"s\" 1"));
}

// ---- edits by the keyboard, the context menu and the edit kinds
// ------------------------------------------------------------------------------------------

// An editor whose second and third lines are coloured with an older keyword colour, so that a test can see
// which lines an edit re-coloured.
struct StaleLines : Editor {
    static constexpr uint kOld = 0x808080;
    StaleLines() {
        control->SetText(QStringLiteral("dim a\nif b then\nend if"));
        textWindow()->setStyle(zu::ScriptTextEditor::KeyWordToken, kOld, false);
        textWindow()->colourAll();
        textWindow()->setStyle(zu::ScriptTextEditor::KeyWordToken, kKeyWord, false);
        control->show();
        textWindow()->setFocus();
    }
    void putCaret(int position) {
        QTextCursor c = textWindow()->textCursor();
        c.setPosition(position);
        textWindow()->setTextCursor(c);
    }
    bool lineIsCurrent(int line) const {
        const QTextBlock block = textWindow()->document()->findBlockByNumber(line);
        QTextCursor c(block);
        c.setPosition(block.position() + 1);
        return c.charFormat().foreground().color().rgb() == rgbOf(kKeyWord);
    }
};

TEST(RichTextTyping, TypedCharactersColourOnlyTheirLine) {
    StaleLines e;
    e.putCaret(e.textWindow()->document()->findBlockByNumber(1).position() + 2); // "if| b then"
    QTest::keyClicks(e.textWindow(), QStringLiteral(" x = 1"));
    EXPECT_EQ(e.control->GetText(), QStringLiteral("Dim a\nIf x = 1 b Then\nEnd If"));
    EXPECT_FALSE(e.lineIsCurrent(0));
    EXPECT_TRUE(e.lineIsCurrent(1));
    EXPECT_FALSE(e.lineIsCurrent(2));
    EXPECT_EQ(e.styleMask().section(QLatin1Char('\n'), 1, 1), QStringLiteral("kk.....n...kkkk"));
}

TEST(RichTextTyping, AWordBecomesAKeywordAsItIsTyped) {
    StaleLines e;
    e.putCaret(e.control->GetText().size());
    QTest::keyClick(e.textWindow(), Qt::Key_Return);
    QTest::keyClicks(e.textWindow(), QStringLiteral("while x wen"));
    EXPECT_EQ(e.control->GetText().section(QLatin1Char('\n'), 3), QStringLiteral("While x wen"));
    QTest::keyClicks(e.textWindow(), QStringLiteral("d"));
    EXPECT_EQ(e.control->GetText().section(QLatin1Char('\n'), 3), QStringLiteral("While x Wend"));
    EXPECT_EQ(e.styleMask().section(QLatin1Char('\n'), 3), QStringLiteral("kkkkk...kkkk"));
    EXPECT_FALSE(e.lineIsCurrent(0));
    // The caret stays after the word it corrected.
    EXPECT_EQ(e.textWindow()->textCursor().position(), e.control->GetText().size());
}

TEST(RichTextTyping, EnterSplitsALineAndColoursBothParts) {
    StaleLines e;
    const int at = e.textWindow()->document()->findBlockByNumber(1).position() + 4;
    e.putCaret(at);
    QTest::keyClick(e.textWindow(), Qt::Key_Return);
    EXPECT_EQ(e.control->GetText(), QStringLiteral("Dim a\nIf b\n Then\nEnd If"));
    EXPECT_TRUE(e.lineIsCurrent(1));
    EXPECT_EQ(e.styleMask().section(QLatin1Char('\n'), 2, 2), QStringLiteral(".kkkk"));
    EXPECT_FALSE(e.lineIsCurrent(3));
}

TEST(RichTextTyping, BackspaceAndDeleteColourTheLineTheyJoin) {
    StaleLines e;
    const int lineTwo = e.textWindow()->document()->findBlockByNumber(2).position();
    e.putCaret(lineTwo);
    QTest::keyClick(e.textWindow(), Qt::Key_Backspace);
    EXPECT_EQ(e.control->GetText(), QStringLiteral("Dim a\nIf b ThenEnd If"));
    EXPECT_FALSE(e.lineIsCurrent(0));
    e.putCaret(3);
    QTest::keyClick(e.textWindow(), Qt::Key_Delete);
    EXPECT_EQ(e.control->GetText(), QStringLiteral("Dima\nIf b ThenEnd If"));
    EXPECT_EQ(e.styleMask().section(QLatin1Char('\n'), 0, 0), QStringLiteral("...."));
}

TEST(RichTextTyping, AKeyboardPasteColoursTheWholeText) {
    StaleLines e;
    QApplication::clipboard()->setText(QStringLiteral("x "));
    e.putCaret(0);
    QTest::keyClick(e.textWindow(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(e.control->GetText(), QStringLiteral("x Dim a\nIf b Then\nEnd If"));
    EXPECT_TRUE(e.lineIsCurrent(1));
    EXPECT_TRUE(e.lineIsCurrent(2));
}

TEST(RichTextTyping, MenuPasteColoursThePastedLinesOnly) {
    StaleLines e;
    QApplication::clipboard()->setText(QStringLiteral("loop\nnext "));
    e.putCaret(0);
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            e.textWindow()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(e.textWindow()->viewport(), &event);
    QMenu* menu = e.textWindow()->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    menu->close();
    EXPECT_EQ(e.control->GetText(), QStringLiteral("Loop\nNext Dim a\nIf b Then\nEnd If"));
    EXPECT_EQ(e.styleMask().section(QLatin1Char('\n'), 0, 1), QStringLiteral("kkkk\nkkkk.kkk.."));
    EXPECT_FALSE(e.lineIsCurrent(2));
}

TEST(RichTextTyping, MenuCutColoursTheLineItLeaves) {
    StaleLines e;
    QTextCursor selection = e.textWindow()->textCursor();
    selection.setPosition(3);
    selection.setPosition(e.textWindow()->document()->findBlockByNumber(1).position() + 2,
                          QTextCursor::KeepAnchor);
    e.textWindow()->setTextCursor(selection); // "Dim| a\nIf| b Then"
    QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            e.textWindow()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(e.textWindow()->viewport(), &event);
    QMenu* menu = e.textWindow()->findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    menu->findChild<QAction*>(QStringLiteral("edit-cut"))->trigger();
    menu->close();
    EXPECT_EQ(e.control->GetText(), QStringLiteral("Dim b Then\nEnd If"));
    EXPECT_EQ(e.styleMask().section(QLatin1Char('\n'), 0, 0), QStringLiteral("kkk...kkkk"));
    EXPECT_FALSE(e.lineIsCurrent(1));
}

TEST(RichTextTyping, TextChangedByTheEditorsOwnSlotsIsColouredWholeAfterwards) {
    StaleLines e;
    e.putCaret(0);
    e.textWindow()->insertPlainText(QStringLiteral("loop "));
    QCoreApplication::processEvents();
    EXPECT_EQ(e.control->GetText(), QStringLiteral("Loop Dim a\nIf b Then\nEnd If"));
    EXPECT_TRUE(e.lineIsCurrent(0));
    EXPECT_TRUE(e.lineIsCurrent(2));
}

TEST(RichTextTyping, OneUndoTakesBackAKeystrokeWithItsColours) {
    Editor e;
    e.control->show();
    QTest::keyClicks(e.textWindow(), QStringLiteral("di"));
    QTest::keyClicks(e.textWindow(), QStringLiteral("m"));
    ASSERT_EQ(e.styleMask(), QStringLiteral("kkk"));
    QTest::keyClick(e.textWindow(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e.control->GetText(), QStringLiteral("di"));
    EXPECT_EQ(e.styleMask(), QStringLiteral(".."));
    QTest::keyClick(e.textWindow(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(e.control->GetText(), QStringLiteral("Dim"));
    EXPECT_EQ(e.styleMask(), QStringLiteral("kkk"));
}

// Undoing every keystroke and redoing them one by one: the caret follows each redone character, as it
// followed it when typed, and the text and colours come back step by step.
QStringList& cursorWarnings() {
    static QStringList warnings;
    return warnings;
}

TEST(RichTextTyping, RedoPutsTheCaretAfterTheRedoneText) {
    cursorWarnings().clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
            if (message.contains(QLatin1String("QTextCursor"))) cursorWarnings() << message;
        });
    struct Restore {
        QtMessageHandler handler;
        ~Restore() { qInstallMessageHandler(handler); }
    } restore{previous};
    Editor e;
    e.control->show();
    QTest::keyClicks(e.textWindow(), QStringLiteral("dim x"));
    ASSERT_EQ(e.control->GetText(), QStringLiteral("Dim x"));
    for (int i = 0; i < 5; ++i)
        QTest::keyClick(e.textWindow(), Qt::Key_Z, Qt::ControlModifier);
    ASSERT_EQ(e.control->GetText(), QString());
    const char* steps[][2] = {{"d", "."}, {"di", ".."}, {"Dim", "kkk"}, {"Dim ", "kkk."}, {"Dim x", "kkk.."}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step[0]);
        QTest::keyClick(e.textWindow(), Qt::Key_Y, Qt::ControlModifier);
        EXPECT_EQ(e.control->GetText(), QLatin1String(step[0]));
        EXPECT_EQ(e.styleMask(), QLatin1String(step[1]));
        EXPECT_EQ(e.textWindow()->textCursor().position(), e.control->GetText().size());
        EXPECT_FALSE(e.textWindow()->textCursor().hasSelection());
    }
    EXPECT_TRUE(cursorWarnings().isEmpty()) << cursorWarnings().join(QLatin1Char('\n')).toStdString();
    // Undoing puts the caret where the undone text began.
    QTest::keyClick(e.textWindow(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(e.control->GetText(), QStringLiteral("Dim "));
    EXPECT_EQ(e.textWindow()->textCursor().position(), 4);
}

TEST(RichTextEvents, KeyDownReportsTheVirtualKeyAndRepeatCountBeforeTheEdit) {
    Editor e;
    e.control->show();
    QSignalSpy spy(e.control.get(), &CZuRichTextCtrl::RTFKeyDown);
    QString textAtSignal;
    QObject::connect(e.control.get(), &CZuRichTextCtrl::RTFKeyDown,
                     [&] { textAtSignal = e.control->GetText(); });
    struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        const char* text;
        short virtualKey;
    } const keys[] = {
        {Qt::Key_A, Qt::NoModifier, "a", 0x41},
        {Qt::Key_5, Qt::NoModifier, "5", 0x35},
        {Qt::Key_Return, Qt::NoModifier, "\r", 0x0D},
        {Qt::Key_Delete, Qt::NoModifier, "", 0x2E},
        {Qt::Key_F5, Qt::NoModifier, "", 0x74},
        {Qt::Key_5, Qt::KeypadModifier, "5", 0x65},
        {0x424, Qt::NoModifier, "ф", 'A'},
        {Qt::Key_Left, Qt::ShiftModifier, "", 0x25},
        {Qt::Key_Semicolon, Qt::NoModifier, ";", 0xBA},
    };
    for (const auto& k : keys) {
        spy.clear();
        QKeyEvent press(QEvent::KeyPress, k.key, k.modifiers, QString::fromUtf8(k.text));
        QApplication::sendEvent(e.textWindow(), &press);
        ASSERT_EQ(spy.count(), 1) << k.virtualKey;
        EXPECT_EQ(spy.at(0).at(0).value<short>(), k.virtualKey);
        EXPECT_EQ(spy.at(0).at(1).value<short>(), 1);
    }
    // A held key repeats: the count of the event.
    spy.clear();
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("xxx"), true, 3);
    QApplication::sendEvent(e.textWindow(), &repeated);
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(1).value<short>(), 3);
    spy.clear();
    QTest::keyClick(e.textWindow(), Qt::Key_B);
    EXPECT_EQ(textAtSignal, e.control->GetText().chopped(1)); // raised before the editor took the key
}

struct KindCase {
    int previous;
    zu::ScriptTextEditor::Message message;
    int key;
    int kind;
};

TEST(RichTextEditKinds, EachMessageRecordsItsKind) {
    using M = zu::ScriptTextEditor::Message;
    // clang-format off
    const KindCase cases[] = {
        {0, M::Char, 0, 2},             {0, M::ReplaceSelection, 0, 2},
        {0, M::KeyDown, 0x08, 4},       {0, M::KeyDown, 0x2E, 3},       {0, M::KeyDown, 'V', 1},
        {0, M::Cut, 0, 5},              {0, M::Paste, 0, 6},            {5, M::Paste, 0, 7},
        {6, M::Paste, 0, 6},            {2, M::SetCharFormat, 0, 2},    {0, M::Other, 0, 1},
    };
    // clang-format on
    for (const KindCase& c : cases) {
        zu::ScriptTextEditor editor;
        if (c.previous == 5) editor.recordEdit(M::Cut, 0, 0, 0);
        if (c.previous == 6) editor.recordEdit(M::Paste, 0, 0, 0);
        if (c.previous == 2) editor.recordEdit(M::Char, 0, 0, 0);
        editor.recordEdit(c.message, c.key, 1, 2);
        EXPECT_EQ(editor.editKind(), c.kind) << static_cast<int>(c.message) << " after " << c.previous;
    }
}

TEST(RichTextEnabled, DisabledEditorTakesNoTyping) {
    Editor e;
    e.control->show();
    e.control->setEnabledProperty(false);
    QTest::keyClicks(e.textWindow(), QStringLiteral("dim"));
    EXPECT_EQ(e.control->GetText(), QString());
    e.control->setEnabledProperty(true);
    QTest::keyClicks(e.textWindow(), QStringLiteral("dim"));
    EXPECT_EQ(e.control->GetText(), QStringLiteral("Dim"));
}

} // namespace
