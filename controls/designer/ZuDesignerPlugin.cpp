// The controls the module serves, in Qt Designer's widget box: one entry per served control with its toolbox
// bitmap; Qt Designer creates them through the module's class factories and saves their properties in .ui
// files.
#include "ZuControls.h"

#include <QIcon>
#include <QPixmap>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace {

class ZuDesignerWidget : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_INTERFACES(QDesignerCustomWidgetInterface)
  public:
    ZuDesignerWidget(const zu::ZuClassIdentity& identity, QObject* parent)
        : QObject(parent), identity_(identity) {}

    QString name() const override { return QLatin1String(identity_.className); }
    QString group() const override { return QStringLiteral("ZuComponents"); }
    QString toolTip() const override { return QLatin1String(identity_.typeName); }
    QString whatsThis() const override {
        return QLatin1String(identity_.typeName) + QStringLiteral(" (") + QLatin1String(identity_.progId) +
               u')';
    }
    // The header of a control is named after its coclass: ZuMenuEx -> ZuMenuExCtl.h.
    QString includeFile() const override {
        return QLatin1String(identity_.coclass) + QStringLiteral("Ctl.h");
    }
    QIcon icon() const override {
        QIcon icon;
        for (int size : {16, 24, 32, 48})
            icon.addPixmap(zu::toolboxBitmap(identity_.toolboxBitmap, size));
        return icon;
    }
    bool isContainer() const override { return false; }
    QString domXml() const override {
        return QStringLiteral("<ui language=\"c++\"><widget class=\"%1\" name=\"%2\">"
                              "<property name=\"geometry\"><rect><x>0</x><y>0</y><width>120</width>"
                              "<height>26</height></rect></property></widget></ui>")
            .arg(name(), QString::fromLatin1(identity_.coclass).toLower());
    }

    QWidget* createWidget(QWidget* parent) override {
        zu::IZuClassFactory* factory = nullptr;
        if (DllGetClassObject(&identity_.clsid, &zu::IID_IClassFactory, reinterpret_cast<void**>(&factory)) <
            0)
            return new QWidget(parent);
        zu::IZuControl* control = nullptr;
        const ZuHRESULT result =
            factory->CreateInstance(nullptr, zu::IID_IZuControl, reinterpret_cast<void**>(&control));
        factory->Release();
        if (result < 0) return new QWidget(parent);
        QWidget* widget = control->Widget();
        widget->setParent(parent);
        if (parent) control->Release(); // the form owns it now
        return widget;
    }

  private:
    const zu::ZuClassIdentity& identity_;
};

class ZuDesignerCollection : public QObject, public QDesignerCustomWidgetCollectionInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetCollectionInterface")
    Q_INTERFACES(QDesignerCustomWidgetCollectionInterface)
  public:
    explicit ZuDesignerCollection(QObject* parent = nullptr) : QObject(parent) {
        for (const zu::ZuClassIdentity& identity : zu::classIdentities())
            if (identity.kind == zu::ZuClassKind::Control && zu::isServed(identity.clsid))
                widgets_.append(new ZuDesignerWidget(identity, this));
    }
    QList<QDesignerCustomWidgetInterface*> customWidgets() const override { return widgets_; }

  private:
    QList<QDesignerCustomWidgetInterface*> widgets_;
};

} // namespace

#include "ZuDesignerPlugin.moc"
