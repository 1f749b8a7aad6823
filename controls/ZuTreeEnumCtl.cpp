#include "ZuTreeEnumCtl.h"

#include "ColorFunction.h"
#include "TypeInformation.h"
#include "platform/ZuGdi.h"

#include <QDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

using namespace zu::tree;

const ZuGUID CZuTreeEnumCtrl::clsid = {
    0x55D4414B, 0x25E3, 0x4AA5, {0xB7, 0x10, 0x07, 0xE2, 0xAF, 0xDC, 0xDC, 0xBA}};

namespace {

constexpr int kHandleRole = Qt::UserRole + 1;
constexpr int kImageRole = Qt::UserRole + 2;
constexpr int kSelectedImageRole = Qt::UserRole + 3;

// Members that EnumProperty leaves out of an object's properties (compared with case).
const QStringList kHiddenProperties = {
    QStringLiteral("Name"),         QStringLiteral("IDCollectionName"),
    QStringLiteral("IDObjectName"), QStringLiteral("IsCollection"),
    QStringLiteral("IDSubMenu"),    QStringLiteral("NewEnum"),
    QStringLiteral("hWnd"),         QStringLiteral("hDC"),
    QStringLiteral("Count"),        QStringLiteral("Item"),
    QStringLiteral("ClassDebugID"), QStringLiteral("Menus"),
    QStringLiteral("ButtonObj"),    QStringLiteral("Key"),
    QStringLiteral("Index"),
};

const zu::PersistedProperty kPersisted[] = {
    {"TextColor", "TextColor"},
    {"Indent", "Indent"},
    {"BackColor", "BackColor"},
};

// System colours as OLE colours: window text and window background.
constexpr uint kSystemWindowText = 0x80000008u;
constexpr uint kSystemWindow = 0x80000005u;

QPixmap maskedPixmap(const QImage& image, QRgb transparent) {
    QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if ((line[x] & 0xFFFFFF) == (transparent & 0xFFFFFF)) line[x] = 0;
    }
    return QPixmap::fromImage(argb);
}

QColor colourOf(uint oleColour) {
    const zu::ColorRef c = zu::resolveColor(oleColour);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

// The font object's font: our controls' stock Font, or any widget's font.
const char* fontPropertyOf(const QObject* object) {
    if (!object) return nullptr;
    const QMetaObject* meta = object->metaObject();
    for (const char* name : {"Font", "font"}) {
        const int index = meta->indexOfProperty(name);
        if (index >= 0 && meta->property(index).metaType().id() == QMetaType::QFont) return name;
    }
    return nullptr;
}

} // namespace

CZuTreeEnumCtrl::CZuTreeEnumCtrl(QWidget* parent) : zu::CZuControlBase(clsid, parent) {
    tree_ = new QTreeWidget(this);
    tree_->setObjectName(QStringLiteral("ZuTree"));
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    tree_->setIconSize(QSize(16, 15));
    tree_->setUniformRowHeights(true);
    tree_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    tree_->header()->setStretchLastSection(false);
    tree_->viewport()->installEventFilter(this);
    connect(tree_, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* item) { onItemExpandedOrCollapsed(item, true); });
    connect(tree_, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* item) { onItemExpandedOrCollapsed(item, false); });
    for (int i = 0; i < builtInImageCount; ++i)
        builtInImages_.append(maskedPixmap(builtInImage(i), qRgb(255, 255, 255)));
    window_ = zu::gdi::createWindow(0, 0, 0, 200, 200);
    textColor_ = kSystemWindowText;
    backColor_ = kSystemWindow;
    InitNew();
}

CZuTreeEnumCtrl::~CZuTreeEnumCtrl() {
    zu::gdi::destroyWindow(window_);
}

// ---- properties
// ----------------------------------------------------------------------------------------------

void CZuTreeEnumCtrl::setTextColor(uint colour) {
    textColor_ = colour;
    applyColours();
    setModifiedFlag();
}

void CZuTreeEnumCtrl::setBackColor(uint colour) {
    backColor_ = colour;
    applyColours();
    setModifiedFlag();
}

void CZuTreeEnumCtrl::setIndent(short indent) {
    indent_ = indent;
    tree_->setIndentation(std::max<int>(indent, 0));
    setModifiedFlag();
}

void CZuTreeEnumCtrl::applyColours() {
    QPalette palette = tree_->palette();
    palette.setColor(QPalette::Text, colourOf(textColor_));
    palette.setColor(QPalette::Base, colourOf(backColor_));
    tree_->setPalette(palette);
}

std::span<const zu::PersistedProperty> CZuTreeEnumCtrl::persistedProperties() const {
    return kPersisted;
}

QVariantMap CZuTreeEnumCtrl::propertyDefaults() const {
    return {{QStringLiteral("TextColor"), kSystemWindowText},
            {QStringLiteral("Indent"), QVariant::fromValue<short>(19)},
            {QStringLiteral("BackColor"), kSystemWindow}};
}

void CZuTreeEnumCtrl::resizeEvent(QResizeEvent* event) {
    zu::CZuControlBase::resizeEvent(event);
    tree_->setGeometry(rect());
}

void CZuTreeEnumCtrl::Refresh() {
    tree_->viewport()->update();
    update();
}

// ---- items and handles
// ---------------------------------------------------------------------------------------

QTreeWidgetItem* CZuTreeEnumCtrl::itemOf(int32_t handle) const {
    return items_.value(handle, nullptr);
}

int32_t CZuTreeEnumCtrl::handleOf(const QTreeWidgetItem* item) const {
    return item ? item->data(0, kHandleRole).toInt() : 0;
}

int CZuTreeEnumCtrl::imageOf(int32_t handle) const {
    const QTreeWidgetItem* item = itemOf(handle);
    return item ? item->data(0, kImageRole).toInt() : -1;
}

int CZuTreeEnumCtrl::selectedImageOf(int32_t handle) const {
    const QTreeWidgetItem* item = itemOf(handle);
    return item ? item->data(0, kSelectedImageRole).toInt() : -1;
}

QTreeWidgetItem* CZuTreeEnumCtrl::insertItem(const QString& text, int32_t parent, int32_t after, int image,
                                             int selectedImage) {
    QTreeWidgetItem* parentItem = itemOf(parent); // null: the root (0, TVI_ROOT or an unknown handle)
    const int count = parentItem ? parentItem->childCount() : tree_->topLevelItemCount();
    auto childAt = [&](int i) { return parentItem ? parentItem->child(i) : tree_->topLevelItem(i); };
    int position = count;
    if (after == TVI_FIRST) {
        position = 0;
    } else if (after == TVI_SORT) {
        position = 0;
        while (position < count && childAt(position)->text(0).compare(text, Qt::CaseInsensitive) <= 0)
            ++position;
    } else if (QTreeWidgetItem* sibling = itemOf(after); sibling && sibling->parent() == parentItem) {
        position = (parentItem ? parentItem->indexOfChild(sibling) : tree_->indexOfTopLevelItem(sibling)) + 1;
    }
    auto* item = new QTreeWidgetItem(QStringList{text});
    if (parentItem)
        parentItem->insertChild(position, item);
    else
        tree_->insertTopLevelItem(position, item);
    const int32_t handle = nextHandle_++;
    item->setData(0, kHandleRole, handle);
    items_.insert(handle, item);
    setImages(item, image, selectedImage);
    return item;
}

QPixmap CZuTreeEnumCtrl::imagePixmap(int index) const {
    const QList<QPixmap>& list = userListAttached_ ? userImages_ : builtInImages_;
    return index >= 0 && index < list.size() ? list[index] : QPixmap();
}

void CZuTreeEnumCtrl::setImages(QTreeWidgetItem* item, int image, int selectedImage) {
    item->setData(0, kImageRole, image);
    item->setData(0, kSelectedImageRole, selectedImage);
    QIcon icon;
    const QPixmap normal = imagePixmap(image);
    const QPixmap selected = imagePixmap(selectedImage);
    if (!normal.isNull()) icon.addPixmap(normal, QIcon::Normal);
    if (!selected.isNull()) icon.addPixmap(selected, QIcon::Selected);
    item->setIcon(0, icon);
}

void CZuTreeEnumCtrl::refreshIcons() {
    for (QTreeWidgetItem* item : std::as_const(items_))
        setImages(item, item->data(0, kImageRole).toInt(), item->data(0, kSelectedImageRole).toInt());
}

void CZuTreeEnumCtrl::forgetHandles(QTreeWidgetItem* item) {
    items_.remove(handleOf(item));
    for (int i = 0; i < item->childCount(); ++i)
        forgetHandles(item->child(i));
}

void CZuTreeEnumCtrl::sortChildren(QTreeWidgetItem* item) {
    // Alphabetically without regard to case, as the platform's tree sorts; null sorts the root's children.
    auto byText = [](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return a->text(0).compare(b->text(0), Qt::CaseInsensitive) < 0;
    };
    if (item) {
        QList<QTreeWidgetItem*> children = item->takeChildren();
        std::stable_sort(children.begin(), children.end(), byText);
        item->addChildren(children);
        return;
    }
    QList<QTreeWidgetItem*> children;
    while (tree_->topLevelItemCount() > 0)
        children.append(tree_->takeTopLevelItem(0));
    std::stable_sort(children.begin(), children.end(), byText);
    tree_->addTopLevelItems(children);
}

TreeNodeInfo& CZuTreeEnumCtrl::addRecord(const QString& caption, QTreeWidgetItem* item, QObject* object) {
    TreeNodeInfo record;
    record.caption = caption;
    record.treeItem = handleOf(item);
    record.object = object;
    return nodes_.append(std::move(record));
}

void CZuTreeEnumCtrl::onItemExpandedOrCollapsed(QTreeWidgetItem* item, bool expanded) {
    // Closed collections and property boxes open as their node expands, and close again.
    auto swap = [expanded](int image) {
        if (expanded && (image == 1 || image == 3)) return image + 1;
        if (!expanded && (image == 2 || image == 4)) return image - 1;
        return image;
    };
    setImages(item, swap(item->data(0, kImageRole).toInt()), swap(item->data(0, kSelectedImageRole).toInt()));
}

// ---- enumerations
// --------------------------------------------------------------------------------------------

int CZuTreeEnumCtrl::EnumProperty(const QString& Name, QObject* Object, int htree, int typeObject,
                                  int ViewProperty, short closePicture, short, int hBeforeAfter,
                                  QObject* ParentObject, const QString&) {
    const ObjectTypeInfo info = typeInfoOf(Object);
    if (!info.dispatch) return 0;
    enumerating_ = true;

    QTreeWidgetItem* nameItem = insertItem(Name, htree, hBeforeAfter, closePicture, closePicture);
    TreeNodeInfo& nameRecord = addRecord(Name, nameItem, Object);
    nameRecord.parentObject = ParentObject;
    nameRecord.varType = VT_DISPATCH;
    nameRecord.varObj = typeObject;
    nameRecord.helpString = info.dispatch->doc;

    QTreeWidgetItem* propertys = nullptr;
    if (ViewProperty == -1) {
        const QString caption = QStringLiteral("Propertys");
        propertys = insertItem(caption, handleOf(nameItem), TVI_LAST, 3, 3);
        addRecord(caption, propertys, nullptr).helpString = caption;
    }
    QTreeWidgetItem* under = propertys ? propertys : nameItem;
    for (const FuncDesc& f : info.dispatch->functions) {
        if (f.invokeKind == INVOKE_FUNC || f.invokeKind == INVOKE_PROPERTYPUT ||
            f.invokeKind == INVOKE_PROPERTYPUTREF)
            continue;
        if (kHiddenProperties.contains(f.name)) continue;
        QTreeWidgetItem* item = insertItem(f.name, handleOf(under), TVI_LAST, 6, 5);
        TreeNodeInfo& record = addRecord(f.name, item, Object);
        record.helpString = f.doc;
        record.varType = f.returnType.vt;
        record.varObj = userKindOf(f.returnType);
        record.enumString = enumStringOf(f.returnType);
    }
    sortChildren(nameItem);
    if (propertys) sortChildren(propertys);
    return handleOf(nameItem);
}

int CZuTreeEnumCtrl::EnumPropertyAndMetod(const QString&, QObject* Object, int, int, const QString&) {
    const ObjectTypeInfo info = typeInfoOf(Object);
    if (!info.dispatch) return 0;
    enumerating_ = true;
    // Buttons and lines at the root, no connecting lines, a 2-pixel indent; the tree keeps its other
    // settings.
    tree_->setRootIsDecorated(true);
    tree_->setIndentation(2);
    for (const FuncDesc& f : info.dispatch->functions) {
        if (f.invokeKind == INVOKE_PROPERTYPUT || f.invokeKind == INVOKE_PROPERTYPUTREF) continue;
        const int image = f.invokeKind == INVOKE_FUNC ? 7 : 6;
        insertItem(f.name, TVI_ROOT, TVI_LAST, image, image);
    }
    sortChildren(nullptr);
    return 0;
}

int CZuTreeEnumCtrl::EnumAllInfo(const QString&, QObject* Object, int htree, int typeObject, const QString&) {
    const ObjectTypeInfo info = typeInfoOf(Object);
    if (!info.dispatch || !info.library) return 0;
    enumerating_ = true;

    QTreeWidgetItem* libraryItem = insertItem(info.library->name, htree, TVI_LAST, 1, 1);
    TreeNodeInfo& libraryRecord = addRecord(info.library->name, libraryItem, Object);
    libraryRecord.varType = VT_DISPATCH;
    libraryRecord.varObj = typeObject;
    libraryRecord.helpString = info.library->doc;

    for (const auto& type : info.library->types) {
        if (!type) continue; // a type that cannot be read is left out
        const QString typeText = typeKindName(type->kind) + QLatin1Char(' ') + type->name;
        QTreeWidgetItem* typeItem = insertItem(typeText, handleOf(libraryItem), TVI_LAST, 3, 3);
        addRecord(typeText, typeItem, Object).helpString = type->doc;
        for (const FuncDesc& f : type->functions) {
            const QString text = f.name + QLatin1Char('\t') + invokeKindName(f.invokeKind) +
                                 QStringLiteral(": \" ") + f.doc + QStringLiteral(" \"");
            QTreeWidgetItem* functionItem = insertItem(text, handleOf(typeItem), TVI_LAST, 7, 7);
            TreeNodeInfo& record = addRecord(text, functionItem, Object);
            record.helpString = f.doc;
            record.varType = f.returnType.vt;
            record.varObj = userKindOf(f.returnType);
            record.enumString = enumStringOf(f.returnType);

            const QString returnText = QStringLiteral("\t\tReturn type: %1").arg(f.returnType.vt);
            QTreeWidgetItem* returnItem = insertItem(returnText, handleOf(functionItem), TVI_LAST, 8, 8);
            TreeNodeInfo& returned = addRecord(returnText, returnItem, Object);
            returned.varType = f.returnType.vt;
            returned.varObj = record.varObj;
            returned.enumString = record.enumString;
            for (int i = 0; i < f.params.size(); ++i) {
                const TypeDesc& t = f.params[i].type;
                const QString paramText = QStringLiteral("\t\tParameter %1 type: %2").arg(i + 1).arg(t.vt);
                QTreeWidgetItem* paramItem = insertItem(paramText, handleOf(functionItem), TVI_LAST, 9, 9);
                TreeNodeInfo& param = addRecord(paramText, paramItem, Object);
                param.varType = t.vt;
                param.varObj = userKindOf(t);
                param.enumString = enumStringOf(t);
            }
        }
    }
    return handleOf(libraryItem);
}

int CZuTreeEnumCtrl::EnumEvents(const QString& Name, QObject* Object, int htree, int typeObject,
                                const QString&) {
    const ObjectTypeInfo info = typeInfoOf(Object);
    if (!info.dispatch || !info.coclass) return 0;
    std::shared_ptr<const TypeInfo> events;
    for (const ImplType& impl : info.coclass->implemented)
        if (impl.source && impl.type && impl.type->name.startsWith(QLatin1String("_D"))) {
            events = impl.type;
            break;
        }
    if (!events) return 0;
    enumerating_ = true;

    QTreeWidgetItem* nameItem = insertItem(Name, htree, TVI_LAST, 10, 10);
    TreeNodeInfo& nameRecord = addRecord(Name, nameItem, Object);
    nameRecord.varType = VT_DISPATCH;
    nameRecord.varObj = typeObject;
    nameRecord.helpString = events->doc;

    const QString caption = QStringLiteral("Events");
    QTreeWidgetItem* eventsItem = insertItem(caption, handleOf(nameItem), TVI_LAST, 15, 15);
    addRecord(caption, eventsItem, Object).helpString = events->doc;
    for (const FuncDesc& f : events->functions) {
        const QString declaration = basicDeclaration(f);
        QTreeWidgetItem* item = insertItem(declaration, handleOf(eventsItem), TVI_LAST, 15, 15);
        TreeNodeInfo& record = addRecord(declaration, item, Object);
        record.helpString = f.doc;
        record.varType = f.returnType.vt;
        record.eventString = declaration;
    }
    return handleOf(nameItem);
}

void CZuTreeEnumCtrl::EnumClear() {
    tree_->clear();
    items_.clear();
    nodes_.clear();
    reported_ = false;
}

int CZuTreeEnumCtrl::AddTreeItem(const QString& TVtext, int TVposition, short openPicture, short closePicture,
                                 QObject* Object, int typeObject, int hTreeItemAfter) {
    QTreeWidgetItem* item = insertItem(TVtext, TVposition, hTreeItemAfter, closePicture, openPicture);
    TreeNodeInfo& record = addRecord(TVtext, item, Object);
    record.varType = Object ? VT_DISPATCH : VT_EMPTY;
    record.varObj = typeObject;
    return handleOf(item);
}

// ---- single nodes
// --------------------------------------------------------------------------------------------

void CZuTreeEnumCtrl::DeleteItem(int TreeItem) {
    QTreeWidgetItem* item = itemOf(TreeItem);
    if (!item) return;
    forgetHandles(item);
    delete item;
}

void CZuTreeEnumCtrl::SelectItem(int TreeItem) {
    if (QTreeWidgetItem* item = itemOf(TreeItem)) tree_->setCurrentItem(item);
}

void CZuTreeEnumCtrl::SetItemTextBold(int TreeItem) {
    QTreeWidgetItem* item = itemOf(TreeItem);
    if (!item) return;
    QFont font = item->font(0);
    font.setBold(true);
    item->setFont(0, font);
}

void CZuTreeEnumCtrl::ExpantTreeViewString(int TreeItem) {
    if (QTreeWidgetItem* item = itemOf(TreeItem)) item->setExpanded(true);
}

void CZuTreeEnumCtrl::SetItemText(int TreeItem, const QString& NewText) {
    if (QTreeWidgetItem* item = itemOf(TreeItem)) item->setText(0, NewText);
}

QString CZuTreeEnumCtrl::GetTVItemText(int TreeItem) {
    const QTreeWidgetItem* item = itemOf(TreeItem);
    return item ? item->text(0) : QString();
}

int CZuTreeEnumCtrl::GetParentItem(int TreeItem) {
    const QTreeWidgetItem* item = itemOf(TreeItem);
    return item ? handleOf(item->parent()) : 0;
}

int CZuTreeEnumCtrl::GetPrevItem(int TreeItem) {
    QTreeWidgetItem* item = itemOf(TreeItem);
    if (!item) return 0;
    QTreeWidgetItem* parent = item->parent();
    const int index = parent ? parent->indexOfChild(item) : tree_->indexOfTopLevelItem(item);
    if (index <= 0) return 0;
    return handleOf(parent ? parent->child(index - 1) : tree_->topLevelItem(index - 1));
}

int CZuTreeEnumCtrl::GetChildrenItemCount(int TreeItem) {
    if (TreeItem == 0 || TreeItem == TVI_ROOT) return tree_->topLevelItemCount();
    const QTreeWidgetItem* item = itemOf(TreeItem);
    return item ? item->childCount() : 0;
}

// ---- images
// --------------------------------------------------------------------------------------------------

bool CZuTreeEnumCtrl::CreateUserImageList(int PictureWidth, int PictureHeight) {
    if (PictureWidth < 1 || PictureHeight < 1 || PictureWidth > 256 || PictureHeight > 256) return false;
    userImages_.clear();
    userImageSize_ = QSize(PictureWidth, PictureHeight);
    userListCreated_ = true;
    if (userListAttached_) {
        tree_->setIconSize(userImageSize_);
        refreshIcons();
    }
    return true;
}

int CZuTreeEnumCtrl::AddPictureToImageList(const QPixmap& Picture, uint MaskColor) {
    if (!userListCreated_ || Picture.isNull()) return -1;
    QImage image = Picture.toImage();
    if (image.size() != userImageSize_)
        image = image.scaled(userImageSize_, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    const zu::ColorRef mask = zu::resolveColor(MaskColor);
    userImages_.append(maskedPixmap(image, qRgb(mask & 0xFF, (mask >> 8) & 0xFF, (mask >> 16) & 0xFF)));
    if (userListAttached_) refreshIcons();
    return static_cast<int>(userImages_.size()) - 1;
}

void CZuTreeEnumCtrl::SetImageList() {
    if (!userListCreated_) return;
    userListAttached_ = true;
    tree_->setIconSize(userImageSize_);
    refreshIcons();
}

void CZuTreeEnumCtrl::ViewImageList() {
    if (legend_) {
        legend_->raise();
        legend_->show();
        return;
    }
    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(QStringLiteral("Картинки дерева"));
    auto* layout = new QVBoxLayout(dialog);
    auto* list = new QListWidget(dialog);
    list->setIconSize(QSize(16, 15));
    for (int i = 0; i < builtInImageCount; ++i)
        list->addItem(new QListWidgetItem(QIcon(builtInImages_[i]),
                                          QStringLiteral("ID %1").arg(i) + builtInImageCaption(i)));
    list->setMinimumSize(list->sizeHintForColumn(0) + 40, list->sizeHintForRow(0) * builtInImageCount + 8);
    layout->addWidget(list);
    legend_ = dialog;
    dialog->show();
}

// ---- helpers for the container
// --------------------------------------------------------------------------------

QString CZuTreeEnumCtrl::OpenAnyFile() {
    return QFileDialog::getOpenFileName(this, QString(), QString(),
                                        QStringLiteral("Picture files(*.bmp);;All files(*.*)"));
}

int CZuTreeEnumCtrl::ScanHRESULT(int Scan) {
    return Scan & 0xFFFF;
}

QString CZuTreeEnumCtrl::GetRGBColor(uint Color) {
    const zu::ColorRef c = zu::resolveColor(Color);
    return QStringLiteral("(%1,%2,%3)").arg(c & 0xFF).arg((c >> 8) & 0xFF).arg((c >> 16) & 0xFF);
}

uint CZuTreeEnumCtrl::ChangeFont(QObject* CurrentFont, uint FontColor, int) {
    const char* property = fontPropertyOf(CurrentFont);
    const QFont given = property ? CurrentFont->property(property).value<QFont>() : font();
    // The dialog starts at the size in whole points, rounded half up.
    QFont preset = given;
    if (given.pointSizeF() > 0) preset.setPointSize(static_cast<int>(std::floor(given.pointSizeF() + 0.5)));
    bool confirmed = false;
    const QFont chosen = QFontDialog::getFont(&confirmed, preset, parentWidget() ? parentWidget() : this);
    if (property) CurrentFont->setProperty(property, confirmed ? chosen : given);
    // Qt's font dialog has no colour: the colour the dialog was given comes back.
    return zu::resolveColor(FontColor);
}

// ---- node clicks
// ---------------------------------------------------------------------------------------------

bool CZuTreeEnumCtrl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == tree_->viewport() && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        onTreeClicked();
    return zu::CZuControlBase::eventFilter(watched, event);
}

void CZuTreeEnumCtrl::onTreeClicked() {
    if (!enumerating_) return;
    const QTreeWidgetItem* selected = tree_->currentItem();
    if (!selected || !selected->isSelected()) return;
    const TreeNodeInfo* record = nodes_.find(handleOf(selected), selected->text(0));
    if (!record) return;
    if (reported_ && record->index == lastIndex_ && record->treeItem == lastItem_) return;
    reported_ = true;
    lastIndex_ = record->index;
    lastItem_ = record->treeItem;
    // Copies: a handler may clear the tree.
    const TreeNodeInfo r = *record;
    emit NodeClick(r.index, r.caption, r.object, r.treeItem, r.varType, r.varObj, r.helpString, r.enumString,
                   r.eventString, r.parentObject);
}

namespace {
const zu::ClassRegistration registration(CZuTreeEnumCtrl::clsid, [](QWidget* parent) -> QWidget* {
    return new CZuTreeEnumCtrl(parent);
});
}
