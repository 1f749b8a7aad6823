// The type-information tree ZuTreeEnum: a tree that shows what an object offers (its properties, its methods
// with their parameter types, its events, or the whole type library of its module) and tells its container
// which node was clicked, with the node's data. Tree items are addressed by 32-bit handles.
#pragma once

#include "TreeNodeList.h"
#include "ZuModule.h"

#include <QDialog>
#include <QImage>
#include <QList>
#include <QPixmap>
#include <QPointer>

class QTreeWidget;
class QTreeWidgetItem;

class CZuTreeEnumCtrl : public zu::CZuControlBase {
    Q_OBJECT
    Q_CLASSINFO("ProgID", "ZUCOMPONENTS.ZuTreeEnumCtrl.1")
    Q_CLASSINFO("DispatchInterface", "_DZuTreeEnum")
    Q_CLASSINFO("EventInterface", "_DZuTreeEnumEvents")
    Q_PROPERTY(uint TextColor READ TextColor WRITE setTextColor)
    Q_PROPERTY(short Indent READ Indent WRITE setIndent)
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(int hWnd READ hWnd DESIGNABLE false STORED false)

  public:
    static const ZuGUID clsid;
    // The tree's own handles for the root and for insertion at the first, last or sorted place.
    static constexpr int32_t TVI_ROOT = -0x10000;
    static constexpr int32_t TVI_FIRST = -0x0FFFF;
    static constexpr int32_t TVI_LAST = -0x0FFFE;
    static constexpr int32_t TVI_SORT = -0x0FFFD;

    explicit CZuTreeEnumCtrl(QWidget* parent = nullptr);
    ~CZuTreeEnumCtrl() override;

    uint TextColor() const { return textColor_; }
    void setTextColor(uint colour);
    short Indent() const { return indent_; }
    void setIndent(short indent);
    uint BackColor() const { return backColor_; }
    void setBackColor(uint colour);
    int hWnd() const { return static_cast<int>(window_); }

    Q_INVOKABLE void Refresh();
    Q_INVOKABLE int EnumProperty(const QString& Name, QObject* Object, int htree, int typeObject,
                                 int ViewProperty, short closePicture, short openPicture, int hBeforeAfter,
                                 QObject* ParentObject, const QString& Tag);
    Q_INVOKABLE int EnumPropertyAndMetod(const QString& Name, QObject* Object, int htree, int typeObject,
                                         const QString& Tag);
    Q_INVOKABLE int EnumAllInfo(const QString& Name, QObject* Object, int htree, int typeObject,
                                const QString& Tag);
    Q_INVOKABLE int EnumEvents(const QString& Name, QObject* Object, int htree, int typeObject,
                               const QString& Tag);
    Q_INVOKABLE void EnumClear();
    Q_INVOKABLE int AddTreeItem(const QString& TVtext, int TVposition, short openPicture, short closePicture,
                                QObject* Object, int typeObject, int hTreeItemAfter);
    Q_INVOKABLE void DeleteItem(int TreeItem);
    Q_INVOKABLE void SelectItem(int TreeItem);
    Q_INVOKABLE void SetItemTextBold(int TreeItem);
    Q_INVOKABLE void ExpantTreeViewString(int TreeItem);
    Q_INVOKABLE void SetItemText(int TreeItem, const QString& NewText);
    Q_INVOKABLE QString GetTVItemText(int TreeItem);
    Q_INVOKABLE int GetParentItem(int TreeItem);
    Q_INVOKABLE int GetPrevItem(int TreeItem);
    Q_INVOKABLE int GetChildrenItemCount(int TreeItem);
    Q_INVOKABLE bool CreateUserImageList(int PictureWidth, int PictureHeight);
    Q_INVOKABLE int AddPictureToImageList(const QPixmap& Picture, uint MaskColor);
    Q_INVOKABLE void SetImageList();
    Q_INVOKABLE void ViewImageList();
    Q_INVOKABLE QString OpenAnyFile();
    Q_INVOKABLE int ScanHRESULT(int Scan);
    Q_INVOKABLE QString GetRGBColor(uint Color);
    Q_INVOKABLE uint ChangeFont(QObject* CurrentFont, uint FontColor, int Flag);

    // For the tests and the demo: the tree widget, the item behind a handle, the node records.
    QTreeWidget* tree() const { return tree_; }
    QTreeWidgetItem* itemOf(int32_t handle) const;
    int32_t handleOf(const QTreeWidgetItem* item) const;
    const std::deque<TreeNodeInfo>& nodeRecords() const { return nodes_.records(); }
    // The image index a node shows, and the one it shows selected; -1 for none.
    int imageOf(int32_t handle) const;
    int selectedImageOf(int32_t handle) const;
    QDialog* imageLegend() const { return legend_; }

  signals:
    void NodeClick(short Index, const QString& Caption, QObject* Object, int TreeItem, int VarType,
                   int VarObj, const QString& HelpString, const QString& EnumString,
                   const QString& EventString, QObject* ParentObject);
    // Declared for containers; never raised.
    void NodeSelect(short Index, const QString& Caption, QObject* Object, int TreeItem, int VarType,
                    const QString& HelpString);
    void RetArray(const QVariant& RetStr);

  protected:
    std::span<const zu::PersistedProperty> persistedProperties() const override;
    QVariantMap propertyDefaults() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QTreeWidgetItem* insertItem(const QString& text, int32_t parent, int32_t after, int image,
                                int selectedImage);
    void setImages(QTreeWidgetItem* item, int image, int selectedImage);
    void refreshIcons();
    QPixmap imagePixmap(int index) const;
    void forgetHandles(QTreeWidgetItem* item);
    void sortChildren(QTreeWidgetItem* item);
    TreeNodeInfo& addRecord(const QString& caption, QTreeWidgetItem* item, QObject* object);
    void onItemExpandedOrCollapsed(QTreeWidgetItem* item, bool expanded);
    void onTreeClicked();
    void applyColours();

    QTreeWidget* tree_ = nullptr;
    QHash<int32_t, QTreeWidgetItem*> items_;
    int32_t nextHandle_ = 1;
    TreeNodeList nodes_;
    bool enumerating_ = false;
    bool reported_ = false;
    int16_t lastIndex_ = 0;
    int32_t lastItem_ = 0;

    QList<QPixmap> builtInImages_;
    QList<QPixmap> userImages_;
    QSize userImageSize_;
    bool userListCreated_ = false;
    bool userListAttached_ = false;
    QPointer<QDialog> legend_;

    uint textColor_ = 0;
    short indent_ = 19;
    uint backColor_ = 0;
    ZuHWND window_ = 0;
};
