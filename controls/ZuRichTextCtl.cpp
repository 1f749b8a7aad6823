#include "ZuRichTextCtl.h"

#include "ScriptTextEditor.h"

#include <QResizeEvent>

#include <algorithm>
#include <array>

const ZuGUID CZuRichTextCtrl::clsid = {
    0x0AA1D914, 0x9ABF, 0x4D64, {0x9E, 0x97, 0x63, 0x1A, 0x18, 0x2F, 0x54, 0x81}};

const QString CZuRichTextCtrl::builtInKeyWords =
    QStringLiteral(" Ворск Vorsk Call Const Dim Do Loop Erase Exit For To Step Next Each Function If Then "
                   "Else On Error Resume "
                   "Option Explicit Private Public Randomize ReDim Rem Select Case Set Sub End While Wend "
                   "And Eqv Imp Is Mod Not "
                   "Or Xor ");

const QString CZuRichTextCtrl::builtInConstants = QStringLiteral(
    " Empty False True Nothing Null vbBlack vbRed vbGreen vbYellow vbBlue vbMagenta vbCyan vbWhite "
    "vbBinaryCompare vbTextCompare vbDatabaseCompare vbGeneralDate vbLongDate vbShortDate vbLongTime "
    "vbShortTime vbSunday vbMonday vbTuesday vbWednesday vbThursday vbFriday vbSaturday vbFirstJan1 "
    "vbFirstFourDays vbFirstFullWeek vbUseSystem vbUseSystemDayOfWeek vbObjectError vbOKOnly vbOKCancel "
    "vbAbortRetryIgnore vbYesNoCancel vbYesNo vbRetryCancel vbCritical vbQuestion vbExclamation "
    "vbInformation "
    "vbDefaultButton1 vbDefaultButton2 vbDefaultButton3 vbDefaultButton4 vbApplicationModal vbSystemModal "
    "vbCr "
    "vbCrLf vbFormFeed vbLf vbNewLine vbNullChar vbNullString vbTab vbVerticalTab vbEmpty vbNull vbInteger "
    "vbLong vbSingle vbDouble vbCurrency vbDate vbString vbObject vbError vbBoolean vbVariant vbDataObject "
    "vbDecimal vbByte vbArray ");

namespace {

// Held once for the module: every editor made after a change takes the new lists.
QString& moduleKeyWords() {
    static QString value;
    return value;
}
QString& moduleConstants() {
    static QString value;
    return value;
}
QString& moduleFontName() {
    static QString value = QStringLiteral("Courier");
    return value;
}

// clang-format off
constexpr uint kDefaultColours[5] = {
    16711680, // keywords: blue
    16711808, // constants: blue 255, red 128
    32768,    // comments: green 128
    16744448, // numbers: blue 255, green 128
    0,        // strings: black
};

const zu::PersistedProperty kPersisted[] = {
    {"Enabled", "m_Enabled"},
    {"KeyWordColor", "KeyWordColor"},   {"KeyWordBold", "KeyWordBold"},
    {"ConstantColor", "ConstantColor"}, {"ConstantBold", "ConstantBold"},
    {"CommentColor", "CommentColor"},   {"CommentBold", "CommentBold"},
    {"NumberColor", "NumberColor"},     {"NumberBold", "NumberBold"},
    {"StringColor", "StringColor"},     {"StringBold", "StringBold"},
    {"KeyWords", "KeyWords"},
    {"Constants", "Constants"},
    {"FontName", "FontName"},
    {"FontHeight", "FontHeight"},
};
// clang-format on

// The property's token, in the editor's numbering.
constexpr zu::ScriptTextEditor::Token kTokens[5] = {
    zu::ScriptTextEditor::KeyWordToken, zu::ScriptTextEditor::ConstantToken,
    zu::ScriptTextEditor::CommentToken, zu::ScriptTextEditor::NumberToken, zu::ScriptTextEditor::StringToken};

} // namespace

CZuRichTextCtrl::CZuRichTextCtrl(QWidget* parent) : zu::CZuControlBase(clsid, parent) {
    std::copy(std::begin(kDefaultColours), std::end(kDefaultColours), colours_);
    editor_ = new zu::ScriptTextEditor(this);
    editor_->setObjectName(QStringLiteral("ZuRTF"));
    editor_->setProperty("controlId", editorId);
    editor_->setGeometry(0, 0, 200, 200);
    for (int i = 0; i < 5; ++i)
        editor_->setStyle(kTokens[i], colours_[i], bold_[i]);
    editor_->setCommentChars(QLatin1Char('\''));
    editor_->setCommentWord(QStringLiteral("rem"));
    editor_->setStringDelimiter(QLatin1Char('"'));
    applyWordLists();
    editor_->setCaseSensitive(false);
    editor_->setCaseCorrection(true);
    editor_->setTabStops();
    applyFont();
    editor_->setEnabled(enabled_);
    connect(editor_, &zu::ScriptTextEditor::keyDown, this, [this](int virtualKey, int repeatCount) {
        emit RTFKeyDown(static_cast<short>(virtualKey), static_cast<short>(repeatCount));
    });
    InitNew();
}

CZuRichTextCtrl::~CZuRichTextCtrl() = default;

QString CZuRichTextCtrl::SetText(const QString& NewText) {
    return editor_->replaceText(NewText);
}

QString CZuRichTextCtrl::GetText() {
    return editor_->toPlainText();
}

// The editor is made with the control, before a container loads the control's properties; the lists read
// from the bag are the ones an editor made after the loading would take.
ZuHRESULT CZuRichTextCtrl::Load(zu::IZuPropertyBag* bag) {
    const ZuHRESULT result = zu::CZuControlBase::Load(bag);
    applyWordLists();
    editor_->colourAll();
    return result;
}

void CZuRichTextCtrl::applyWordLists() {
    editor_->setWordLists(moduleKeyWords().isEmpty() ? builtInKeyWords : moduleKeyWords(),
                          moduleConstants().isEmpty() ? builtInConstants : moduleConstants());
}

void CZuRichTextCtrl::setEnabledProperty(bool on) {
    enabled_ = on;
    editor_->setEnabled(on);
    setModifiedFlag();
}

void CZuRichTextCtrl::setColour(int token, uint colour) {
    colours_[token] = colour;
    editor_->setStyle(kTokens[token], colour, bold_[token]);
    editor_->colourAll();
    setModifiedFlag();
}

void CZuRichTextCtrl::setBold(int token, bool on) {
    bold_[token] = on;
    editor_->setStyle(kTokens[token], colours_[token], on);
    editor_->colourAll();
    setModifiedFlag();
}

QString CZuRichTextCtrl::keyWords() const {
    return moduleKeyWords();
}

void CZuRichTextCtrl::setKeyWords(const QString& list) {
    moduleKeyWords() = list;
    setModifiedFlag();
}

QString CZuRichTextCtrl::constants() const {
    return moduleConstants();
}

void CZuRichTextCtrl::setConstants(const QString& list) {
    moduleConstants() = list;
    setModifiedFlag();
}

QString CZuRichTextCtrl::fontName() const {
    return moduleFontName();
}

void CZuRichTextCtrl::setFontName(const QString& name) {
    moduleFontName() = name;
    applyFont();
    setModifiedFlag();
}

void CZuRichTextCtrl::setFontHeight(short height) {
    fontHeight_ = height;
    applyFont();
    setModifiedFlag();
}

// FontHeight counts pixels of a 96-dpi screen (15 twips each), so the font follows the screen's scale.
void CZuRichTextCtrl::applyFont() {
    QFont font(moduleFontName());
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(std::max<short>(fontHeight_, 1) * 15 / 20.0);
    editor_->setFont(font);
}

std::span<const zu::PersistedProperty> CZuRichTextCtrl::persistedProperties() const {
    return kPersisted;
}

QVariantMap CZuRichTextCtrl::propertyDefaults() const {
    QVariantMap defaults;
    defaults.insert(QStringLiteral("Enabled"), true);
    const char* colourNames[5] = {"KeyWordColor", "ConstantColor", "CommentColor", "NumberColor",
                                  "StringColor"};
    const char* boldNames[5] = {"KeyWordBold", "ConstantBold", "CommentBold", "NumberBold", "StringBold"};
    for (int i = 0; i < 5; ++i) {
        defaults.insert(QLatin1String(colourNames[i]), kDefaultColours[i]);
        defaults.insert(QLatin1String(boldNames[i]), false);
    }
    // The module's values start as "", "" and "Courier"; a new control leaves them as they are, so that a
    // list set in one control reaches the editors made later in any.
    defaults.insert(QStringLiteral("KeyWords"), moduleKeyWords());
    defaults.insert(QStringLiteral("Constants"), moduleConstants());
    defaults.insert(QStringLiteral("FontName"), moduleFontName());
    defaults.insert(QStringLiteral("FontHeight"), QVariant::fromValue<short>(12));
    return defaults;
}

void CZuRichTextCtrl::resizeEvent(QResizeEvent* event) {
    zu::CZuControlBase::resizeEvent(event);
    editor_->setGeometry(rect());
}

void CZuRichTextCtrl::showEvent(QShowEvent* event) {
    zu::CZuControlBase::showEvent(event);
    editor_->setGeometry(rect());
    editor_->setTabStops(); // the screen may have changed its resolution
}

namespace {
const zu::ClassRegistration registration(CZuRichTextCtrl::clsid, [](QWidget* parent) -> QWidget* {
    return new CZuRichTextCtrl(parent);
});
}
