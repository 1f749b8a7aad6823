// The script editor control: a text window that colours Basic script as the user types. Its keyword and
// constant lists and its font name are held once for the module, shared by every editor.
#pragma once

#include "ZuModule.h"

namespace zu {
class ScriptTextEditor;
}

class CZuRichTextCtrl : public zu::CZuControlBase {
    Q_OBJECT
    Q_CLASSINFO("ProgID", "ZUCOMPONENTS.ZuRichTextCtrl.1")
    Q_CLASSINFO("DispatchInterface", "_DZuRichText")
    Q_CLASSINFO("EventInterface", "_DZuRichTextEvents")
    // clang-format off
    Q_PROPERTY(bool Enabled READ enabledProperty WRITE setEnabledProperty)
    Q_PROPERTY(uint KeyWordColor READ keyWordColor WRITE setKeyWordColor)
    Q_PROPERTY(bool KeyWordBold READ keyWordBold WRITE setKeyWordBold)
    Q_PROPERTY(uint ConstantColor READ constantColor WRITE setConstantColor)
    Q_PROPERTY(bool ConstantBold READ constantBold WRITE setConstantBold)
    Q_PROPERTY(uint CommentColor READ commentColor WRITE setCommentColor)
    Q_PROPERTY(bool CommentBold READ commentBold WRITE setCommentBold)
    Q_PROPERTY(uint NumberColor READ numberColor WRITE setNumberColor)
    Q_PROPERTY(bool NumberBold READ numberBold WRITE setNumberBold)
    Q_PROPERTY(uint StringColor READ stringColor WRITE setStringColor)
    Q_PROPERTY(bool StringBold READ stringBold WRITE setStringBold)
    Q_PROPERTY(QString KeyWords READ keyWords WRITE setKeyWords)
    Q_PROPERTY(QString Constants READ constants WRITE setConstants)
    Q_PROPERTY(QString FontName READ fontName WRITE setFontName)
    Q_PROPERTY(short FontHeight READ fontHeight WRITE setFontHeight)
    // clang-format on

  public:
    static const ZuGUID clsid;
    // The child identifier of the editor window.
    static constexpr int editorId = 784;
    // The word lists the editor uses while the module's own are empty.
    static const QString builtInKeyWords;
    static const QString builtInConstants;

    explicit CZuRichTextCtrl(QWidget* parent = nullptr);
    ~CZuRichTextCtrl() override;

    // Replaces the whole text and returns the text held before.
    Q_INVOKABLE QString SetText(const QString& NewText);
    Q_INVOKABLE QString GetText();

    zu::ScriptTextEditor* editor() const { return editor_; }

    ZuHRESULT Load(zu::IZuPropertyBag* bag) override;

    bool enabledProperty() const { return enabled_; }
    void setEnabledProperty(bool on);
    uint keyWordColor() const { return colours_[0]; }
    void setKeyWordColor(uint colour) { setColour(0, colour); }
    bool keyWordBold() const { return bold_[0]; }
    void setKeyWordBold(bool on) { setBold(0, on); }
    uint constantColor() const { return colours_[1]; }
    void setConstantColor(uint colour) { setColour(1, colour); }
    bool constantBold() const { return bold_[1]; }
    void setConstantBold(bool on) { setBold(1, on); }
    uint commentColor() const { return colours_[2]; }
    void setCommentColor(uint colour) { setColour(2, colour); }
    bool commentBold() const { return bold_[2]; }
    void setCommentBold(bool on) { setBold(2, on); }
    uint numberColor() const { return colours_[3]; }
    void setNumberColor(uint colour) { setColour(3, colour); }
    bool numberBold() const { return bold_[3]; }
    void setNumberBold(bool on) { setBold(3, on); }
    uint stringColor() const { return colours_[4]; }
    void setStringColor(uint colour) { setColour(4, colour); }
    bool stringBold() const { return bold_[4]; }
    void setStringBold(bool on) { setBold(4, on); }
    QString keyWords() const;
    void setKeyWords(const QString& list);
    QString constants() const;
    void setConstants(const QString& list);
    QString fontName() const;
    void setFontName(const QString& name);
    short fontHeight() const { return fontHeight_; }
    void setFontHeight(short height);

  signals:
    // Declared for containers; never raised.
    void Change(short message, int X, int Y);
    // Every key press that reaches the editor, before the editor handles it: the virtual-key code and the
    // key's repeat count.
    void RTFKeyDown(short KeyCode, short Shift);

  protected:
    std::span<const zu::PersistedProperty> persistedProperties() const override;
    QVariantMap propertyDefaults() const override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void setColour(int token, uint colour);
    void setBold(int token, bool on);
    void applyFont();
    void applyWordLists();

    zu::ScriptTextEditor* editor_ = nullptr;
    bool enabled_ = true;
    uint colours_[5];
    bool bold_[5] = {};
    short fontHeight_ = 12;
};
